// The editing of a block without its windows: the key from the choices, the last
// block found, the splice keeping every other byte, new keys, refused characters.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"
#include "interp/text_edit.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

TEST(TextEdit, KeysOfChoices) {
    const struct {
        const char* format;
        std::vector<std::string> lists;
        std::vector<int> positions;
        std::vector<std::string> entries;
        const char* key;
    } cases[] = {
        {"p%02dz%02d", {"PLAN", "ZOD"}, {0, 11}, {"Солнце", "Рыбы"}, "p01z12"},
        {"p%02dp%02da%03d",
         {"PLAN", "PLAN", "AAA"},
         {1, 2, 6},
         {"Луна", "Меркурий", "90"},
         "p02p03a090"},
        {"S%d", {"STIH"}, {3}, {"Вода"}, "S4"},
        {"100%%%d", {"X"}, {0}, {"a"}, "100%1"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ValidKeyFormat(c.format, c.lists.size())) << c.format;
        std::vector<int> values;
        for (size_t i = 0; i < c.lists.size(); ++i)
            values.push_back(ChoiceValue(c.lists[i], c.positions[i], c.entries[i]));
        EXPECT_EQ(FormatKey(c.format, values), c.key);
    }
    for (const char* bad : {"%s", "%x%d", "%d%d", "%5d", "%0d", "%n", "%"})
        EXPECT_FALSE(ValidKeyFormat(bad, 1)) << bad;

    std::string reason;
    CtlLine line;
    EXPECT_TRUE(ParseCtlLine("=Планета в знаке $ p%02dz%02d PLAN ZOD", line, reason));
    EXPECT_EQ(line.label, "Планета в знаке");
    EXPECT_FALSE(ParseCtlLine("=Плохая $ %s%n PLAN", line, reason));
    EXPECT_FALSE(ParseCtlLine("=Без доллара p%02d PLAN", line, reason));
}

TEST(TextEdit, SpliceKeepsEveryOtherByte) {
    test::TempWorkDir dir;
    const std::string before = "FILES=e2.csr\r\n@k\r\nold\r\n@@\r\nfree \xFF text\r\n";
    dir.WriteFile("e.csr", before + "@x\r\nx\r\n");
    const std::string second = "@k\nfirst\n";
    const std::string secondTail = "@k z\n\x8F\xE0\xA8\xA2\xA5\xE2\n* note\n";  // "Привет"
    dir.WriteFile("e2.csr", second + secondTail + "@@\ntail");
    std::vector<std::filesystem::path> sources{"e.csr", "e2.csr"};

    // The last block naming the key is the one opened, in CP1251.
    EditSession session;
    std::string error;
    ASSERT_EQ(StartEdit(sources, "k", "p.tmp", session, error), EditStart::Opened);
    EXPECT_EQ(session.span.file, "e2.csr");
    EXPECT_EQ(dir.Read("p.tmp"), "@k z\n\xCF\xF0\xE8\xE2\xE5\xF2\n* note\n");

    std::string message;
    // Unchanged: nothing written, p.tmp deleted.
    EXPECT_EQ(FinishEdit(session, message), EditEnd::Unchanged);
    EXPECT_FALSE(std::filesystem::exists("p.tmp"));

    // A dash, quotes and an ellipsis become OEM substitutes; the last line lacking its
    // end gets one before the lines after the block.
    ASSERT_EQ(StartEdit(sources, "k", "p.tmp", session, error), EditStart::Opened);
    dir.WriteFile("p.tmp", "@k z\n\xCF\x97\xAB\xE0\xBB\x85");
    EXPECT_EQ(FinishEdit(session, message), EditEnd::Written);
    EXPECT_EQ(dir.Read("e2.csr"), second + "@k z\n\x8F-\"\xA0\"...\n@@\ntail");
    EXPECT_EQ(dir.Read("e.csr"), before + "@x\r\nx\r\n");
    EXPECT_FALSE(std::filesystem::exists("p.tmp"));

    // A character OEM lacks (the euro sign) is refused: nothing written, p.tmp kept.
    ASSERT_EQ(StartEdit(sources, "x", "p.tmp", session, error), EditStart::Opened);
    EXPECT_EQ(session.span.file, "e.csr");
    dir.WriteFile("p.tmp", "@x\r\n\x88\r\n");
    EXPECT_EQ(FinishEdit(session, message), EditEnd::Kept);
    EXPECT_NE(message.find("p.tmp"), std::string::npos);
    EXPECT_EQ(dir.Read("e.csr"), before + "@x\r\nx\r\n");
    EXPECT_TRUE(std::filesystem::exists("p.tmp"));

    // The source changed meanwhile: the splice would land on other lines.
    ASSERT_EQ(StartEdit(sources, "x", "p.tmp", session, error), EditStart::Opened);
    dir.WriteFile("e.csr", before + "@x\r\nx\r\nmore\r\n");
    dir.WriteFile("p.tmp", "@x\r\ny\r\n");
    EXPECT_EQ(FinishEdit(session, message), EditEnd::Kept);
    EXPECT_EQ(dir.Read("e.csr"), before + "@x\r\nx\r\nmore\r\n");

    // A new key goes to the first source after a line end.
    EXPECT_EQ(StartEdit(sources, "new", "p.tmp", session, error), EditStart::NoSuchKey);
    dir.WriteFile("e.csr", "@a\r\nno end");
    ASSERT_TRUE(AppendKeyLine("e.csr", "new"));
    EXPECT_EQ(dir.Read("e.csr"), "@a\r\nno end\r\n@new\r\n");
    ASSERT_EQ(StartEdit(sources, "new", "p.tmp", session, error), EditStart::Opened);
    EXPECT_EQ(dir.Read("p.tmp"), "@new\r\n");
}

}  // namespace
}  // namespace orbeta
