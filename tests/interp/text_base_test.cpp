// Text bases: sources with FILES= compile to the documented bytes, every key prints
// its last block, the recompile rule, and a base of bad bytes refused.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "../support/test_support.h"
#include "interp/text_base.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

std::string Oem(const char* utf8) {
    return Utf8ToOem(utf8);
}

void Age(const std::string& name, int seconds) {
    auto t = std::filesystem::last_write_time(name);
    std::filesystem::last_write_time(name, t - std::chrono::seconds(seconds));
}

std::string Printed(const char* key) {
    FindText(key);
    return AnsiToUtf8(PrintBlock(FoundTextLines()).text);
}

TEST(TextBase, SourceSetRoundTrip) {
    test::TempWorkDir dir;
    test::RecordingServices services;
    dir.WriteFile(
        "b.csr",
        Oem("FILES=more.csr gone.csr b.csr more.csr\r\n"
            "* комментарий\r\n"
            "@0\r\nВведение.\r\n"
            "@p01z01 p01z02\r\nСолнце в Овне.\r\n* скрыто\r\n#служебная\r\n=7\r\n\r\n  \r\n"
            "@@\r\nвне блока\r\n"
            "@both\r\nпервый\r\n@value\r\n=5\r\n   \r\n"));
    dir.WriteFile("more.csr", Oem("@both\nвторой\n@last\nбез конца строки"));
    ASSERT_TRUE(OpenTextBase("b"));
    const struct {
        const char* key;
        const char* printed;
        const char* value;
    } cases[] = {
        {"0", "Введение.\n\n", nullptr},
        {"p01z01", "Солнце в Овне.\n\n", "7"},  // "*" left out, "#" and "=" not printed,
        {"p01z02", "Солнце в Овне.\n\n", "7"},  // trailing blank lines dropped
        {"both", "второй\n\n", nullptr},        // the later file's block
        {"last", "без конца строки\n\n", nullptr},
        {"value", "", "5"},  // no printable line: nothing at all
        {"none", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(Printed(c.key), c.printed);
        auto value = PrintBlock(FoundTextLines()).value;
        EXPECT_EQ(value.has_value(), c.value != nullptr);
        if (value && c.value) {
            EXPECT_EQ(*value, c.value);
        }
    }
    FindText("p01z01");
    EXPECT_EQ(FoundTextLines().size(), 5u);  // "#" and "=" lines are kept in the list
    CloseTextBase();
    EXPECT_TRUE(services.warnings.empty());
}

TEST(TextBase, BytesFieldByField) {
    SourceSet set;
    ParseSource("@b \xA0\n\x8F\n@a\nx\ny\n@b\nz\n", "s.csr", set);
    CompileStats stats;
    std::string error;
    auto bytes = CompileTextBase(set, stats, error);
    ASSERT_TRUE(bytes);
    // Header 0, 12, N = 3 distinct keys, K = 2.
    std::string expected("\0\0\0\0\x0C\0\0\0\x03\0\x02\0", 12);
    // "a": texts start at 12 + 3 * 8 = 36; the first block "П\n" is 2 bytes → 38, 2 lines.
    expected += std::string("a\0\x26\0\0\0\x02\0", 8);
    // "b": its last block, at 42, one line.
    expected += std::string("b\0\x2A\0\0\0\x01\0", 8);
    // The key with a byte over 0x7F sorts after ASCII: the first block, at 36.
    expected += std::string("\xA0\0\x24\0\0\0\x01\0", 8);
    expected += "\xCF\nx\ny\nz\n";  // OEM "П" is 0xCF in CP1251
    EXPECT_EQ(*bytes, expected);
    EXPECT_EQ(stats.keys, 3);
    EXPECT_EQ(stats.blocks, 3);
    EXPECT_EQ(stats.lines, 4);

    set = {};
    ParseSource("@" + std::string(256, 'k') + "\nx\n", "long.csr", set);
    EXPECT_FALSE(CompileTextBase(set, stats, error));
    EXPECT_NE(error.find("long.csr"), std::string::npos);
}

TEST(TextBase, RecompileRule) {
    test::TempWorkDir dir;
    test::RecordingServices services;
    dir.WriteFile("r.csr", "FILES=r2.csr r3.csr\n@k\none\n");
    dir.WriteFile("r2.csr", "@m\ntwo\n");
    EXPECT_TRUE(TextBaseNeedsCompile("r"));  // no .cta yet
    ASSERT_TRUE(OpenTextBase("r"));
    CloseTextBase();
    Age("r.csr", 100);
    Age("r2.csr", 100);
    EXPECT_FALSE(TextBaseNeedsCompile("r"));  // the missing r3.csr is not compared
    dir.WriteFile("r2.csr", "@m\nthree\n");
    Age("r.cta", 10);  // file times may be coarser than the time between two writes
    EXPECT_TRUE(TextBaseNeedsCompile("r"));  // a newer listed file
    ASSERT_TRUE(OpenTextBase("r"));
    EXPECT_EQ(Printed("m"), "three\n\n");
    CloseTextBase();

    // A failed compile keeps the old .cta, which is used.
    dir.WriteFile("r.csr", "FILES=r2.csr\n@" + std::string(300, 'k') + "\nx\n");
    Age("r.cta", 10);
    ASSERT_TRUE(OpenTextBase("r"));
    EXPECT_EQ(Printed("m"), "three\n\n");
    ASSERT_EQ(services.warnings.size(), 1u);
    CloseTextBase();

    // No .csr: the .cta is used as it is.
    dir.Remove("r.csr");
    EXPECT_FALSE(TextBaseNeedsCompile("r"));
    ASSERT_TRUE(OpenTextBase("r"));
    EXPECT_EQ(Printed("k"), "one\n\n");
    CloseTextBase();
}

TEST(TextBase, BadFilesAreRefused) {
    test::TempWorkDir dir;
    test::RecordingServices services;
    auto header = [](int a, int b, int n, int k) {
        std::string h(12, '\0');
        std::memcpy(h.data(), &a, 4);
        std::memcpy(h.data() + 4, &b, 4);
        int16_t n16 = static_cast<int16_t>(n), k16 = static_cast<int16_t>(k);
        std::memcpy(h.data() + 8, &n16, 2);
        std::memcpy(h.data() + 10, &k16, 2);
        return h;
    };
    const std::string refused[] = {
        "",
        header(1, 12, 0, 1),
        header(0, 16, 0, 1),
        header(0, 12, -1, 1),
        header(0, 12, 0, 0),
        header(0, 12, 2, 2) + std::string("a\0\0\0\0\0\0\0", 8),                  // table cut
        header(0, 12, 2, 2) + std::string("b\0\0\0\0\0\0\0a\0\0\0\0\0\0\0", 16),  // descending
    };
    for (const auto& bytes : refused) {
        dir.WriteFile("bad.cta", bytes);
        EXPECT_FALSE(OpenTextBase("bad"));
    }
    EXPECT_EQ(services.warnings.size(), std::size(refused));
    EXPECT_EQ(services.warnings[0], "Не открывается файл bad.cta"_cp);
    EXPECT_FALSE(BeginTextReport("bad"));
    EXPECT_EQ(services.warnings.size(), std::size(refused) + 1);

    // A slot without its terminator is K bytes of key; lines past the end are clamped.
    dir.WriteFile("odd.cta",
                  header(0, 12, 1, 2) + std::string("ab\x14\0\0\0\x09\0", 8) + "one\ntwo");
    ASSERT_TRUE(OpenTextBase("odd"));
    ASSERT_TRUE(FindText("ab"));
    EXPECT_EQ(FoundTextLines(), (std::vector<std::string>{"one", "two"}));
    CloseTextBase();
}

TEST(TextBase, AspectKeys) {
    EXPECT_EQ(AspectKey(1, 2, 89.6), "p01p02a090");
    EXPECT_EQ(AspectKey(16, 27, 0.4), "h01h12a000");
    EXPECT_EQ(AspectKey(15, 25, 120), "p15h10a120");
}

}  // namespace
}  // namespace orbeta
