#include "aspects/orb_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "../support/test_support.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

std::string Orbs(int n, const char* each) {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(" ") + each;
    return s;
}

TEST(OrbLine, CuspsSevenToTwelveComeFromTheOppositeCuspsUnlessGiven) {
    // 21 orbs 1..21: cusps 7..12 repeat cusps 1..6
    std::string line = "  90.0";
    for (int p = 1; p <= 21; ++p) line += " " + std::to_string(p);
    auto a = ParseAspectLine(line + " S 0 0 -1 0");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->angle, 90.0f);
    for (int p = 1; p <= 21; ++p) EXPECT_EQ(a->Orb(p), static_cast<float>(p));
    for (int p = 22; p <= 27; ++p) EXPECT_EQ(a->Orb(p), a->Orb(p - 6)) << p;

    // 27 orbs are all kept; a 29th number is not read
    for (int p = 22; p <= 28; ++p) line += " " + std::to_string(p + 100);
    a = ParseAspectLine(line + " S 0 0 -1 0");
    for (int p = 22; p <= 27; ++p) EXPECT_EQ(a->Orb(p), static_cast<float>(p + 100)) << p;

    // an angle and ten orbs: the rest 0, and cusps 7..12 the zeros of cusps 1..6
    a = ParseAspectLine("60" + Orbs(10, "5") + " S 0 0 -1 0");
    EXPECT_EQ(a->Orb(10), 5.0f);
    for (int p = 11; p <= 27; ++p) EXPECT_EQ(a->Orb(p), 0.0f) << p;

    // 24 orbs: cusps 7..9 given, 10..12 copied from 4..6
    a = ParseAspectLine("0" + Orbs(21, "2") + Orbs(3, "7") + " S 0 0 -1 0");
    EXPECT_EQ(a->Orb(24), 7.0f);
    EXPECT_EQ(a->Orb(25), 2.0f);
}

TEST(OrbLine, TailSeparatorsAndSkippedLines) {
    auto a = ParseAspectLine("45 3 S 1 7 255 2");
    EXPECT_EQ(a->off, 1);
    EXPECT_EQ(a->reserved, 7);
    EXPECT_EQ(a->colour, 255);
    EXPECT_EQ(a->lineStyle, 2);
    // fewer than three numbers: standard colour; fewer than four: solid line
    a = ParseAspectLine("45 3 S 0 4");
    EXPECT_EQ(a->reserved, 4);
    EXPECT_EQ(a->colour, -1);
    EXPECT_EQ(a->lineStyle, 0);
    a = ParseAspectLine("45 3 S 0 0 16711680");
    EXPECT_EQ(a->colour, 16711680);
    EXPECT_EQ(a->lineStyle, 0);
    // no tail at all
    a = ParseAspectLine("45 3");
    EXPECT_EQ(a->off, 0);
    EXPECT_EQ(a->colour, -1);
    // the line is cut at the first S: whatever follows is the tail
    a = ParseAspectLine("120 4 S 1 0 -1 0 S 99");
    EXPECT_EQ(a->Orb(1), 4.0f);
    EXPECT_EQ(a->Orb(2), 0.0f);
    EXPECT_EQ(a->off, 1);

    // with the byte 1 in the line it alone separates the numbers
    a = ParseAspectLine("150\x01 2.5\x01 3\x01\x01 4 S 0 0 -1 0");
    EXPECT_EQ(a->angle, 150.0f);
    EXPECT_EQ(a->Orb(1), 2.5f);
    EXPECT_EQ(a->Orb(2), 3.0f);
    EXPECT_EQ(a->Orb(3), 4.0f);
    a = ParseAspectLine("150 2.5 3\x01 S 0 0 -1 0");
    EXPECT_EQ(a->angle, 150.0f);  // "150 2.5 3" is one number
    EXPECT_EQ(a->Orb(1), 0.0f);

    EXPECT_FALSE(
        ParseAspectLine("\x01"
                        "90 3 S 0 0 -1 0"));
    EXPECT_FALSE(ParseAspectLine("* 90 3 S 0 0 -1 0"));
    EXPECT_FALSE(ParseAspectLine("   \t"));

    auto t = ParseOrbTable("* header\r\n\r\n0 8 S 0 0 -1 0\r\n\x01 skipped\n60 4 S 0 0 -1 0", true);
    ASSERT_EQ(t.aspects.size(), 2u);
    EXPECT_EQ(t.aspects[1].angle, 60.0f);
    EXPECT_EQ(t.aspects[1].lineStyle, 0);
}

TEST(OrbTableRead, LargestOrbAndSwitchedOffAspects) {
    const std::string text =
        "0 0.5 0.5 S 0 0 -1 0\n"
        "30 12 S 1 0 -1 0\n"
        "90 6 2 S 0 0 -1 0\n";
    auto all = ParseOrbTable(text, true);
    EXPECT_EQ(all.aspects.size(), 3u);
    EXPECT_EQ(all.largestOrb, 12.0f);
    // left out, the switched-off aspect neither appears nor widens the largest orb
    auto current = ParseOrbTable(text, false);
    ASSERT_EQ(current.aspects.size(), 2u);
    EXPECT_EQ(current.aspects[1].angle, 90.0f);
    EXPECT_EQ(current.largestOrb, 6.0f);
    // never below 1.0
    EXPECT_EQ(ParseOrbTable("0 0.5 S 0 0 -1 0\n", false).largestOrb, 1.0f);
    EXPECT_EQ(ParseOrbTable("", false).largestOrb, 1.0f);
}

TEST(OrbTableRead, FindReturnsTheFirstRecordOfAnAngle) {
    auto t = ParseOrbTable("90 3 S 0 0 100 0\n60 3 S 0 0 -1 0\n90 5 S 0 0 200 2\n", false);
    ASSERT_TRUE(t.Find(90.0f));
    EXPECT_EQ(t.Find(90.0f)->colour, 100);
    EXPECT_EQ(t.Find(90.0f)->lineStyle, 0);
    EXPECT_EQ(t.Find(60.0f), &t.aspects[1]);
    EXPECT_EQ(t.Find(90.1f), nullptr);
}

class OrbFiles : public ::testing::Test {
  protected:
    test::TempWorkDir work;
    test::RecordingServices services;
};

TEST_F(OrbFiles, SavedLinesHaveTheDocumentedLayout) {
    OrbTable t;
    AspectRecord a;
    a.angle = 120;
    for (int p = 1; p <= 27; ++p) a.orbs[p - 1] = p <= 21 ? 8.0f : a.orbs[p - 7];
    a.orbs[1] = 10.25f;
    a.off = 1;
    a.reserved = 3;
    a.colour = 65280;
    a.lineStyle = 2;
    t.aspects.push_back(a);
    ASSERT_TRUE(SaveOrbTable("t.ao", t));
    EXPECT_EQ(*ReadFileBytes("t.ao"), " 120.0  8.0 10.2" + Orbs(19, " 8.0") + " S 1 3 65280 2\n");

    // cusps 7..12 with orbs of their own are written out in full
    t.aspects[0].orbs[24] = 4.5f;
    ASSERT_TRUE(SaveOrbTable("t.ao", t));
    EXPECT_EQ(*ReadFileBytes("t.ao"), " 120.0  8.0 10.2" + Orbs(19, " 8.0") + Orbs(3, " 8.0") +
                                          "  4.5" + Orbs(2, " 8.0") + " S 1 3 65280 2\n");
    auto back = LoadOrbTable("t.ao", "", true);
    EXPECT_EQ(back.aspects[0].Orb(25), 4.5f);
    EXPECT_EQ(back.aspects[0].Orb(19), 8.0f);
}

TEST_F(OrbFiles, ReadSaveReadKeepsEveryField) {
    // the shipped files are written in the saved layout: re-saving changes no byte
    for (const char* name : {"0.ao", "tr.ao", "pr.ao", "dir.ao"}) {
        auto shipped = ReadFileBytes(test::WorkspaceTemplate() + "/" + name);
        ASSERT_TRUE(shipped) << name;
        auto t = ParseOrbTable(*shipped, true);
        ASSERT_TRUE(SaveOrbTable("copy.ao", t));
        std::string dataLines;
        for (const auto& line : SplitLines(*shipped))
            if (IsMeaningfulLine(line)) dataLines += line + "\n";
        EXPECT_EQ(*ReadFileBytes("copy.ao"), dataLines) << name;
    }
    // every field, switched-off aspects and own cusp orbs included
    work.WriteFile("in.ao",
                   "  0.0 10 9 8 7 6 5 4 3 2 1 1.5 2.5 3.5 4.5 0.1 5 4 3 2 1 0 6 6 6 6 6 6.5"
                   " S 0 9 -1 0\n"
                   "* comment\n"
                   "-36.0 2 S 1 0 16777215 2\n"
                   "180 8 8 S 0 255 123 0\n");
    auto first = LoadOrbTable("in.ao", "", true);
    ASSERT_EQ(first.aspects.size(), 3u);
    ASSERT_TRUE(SaveOrbTable("out.ao", first));
    auto second = LoadOrbTable("out.ao", "", true);
    EXPECT_EQ(second, first);
    EXPECT_EQ(second.aspects[1].off, 1);
    EXPECT_EQ(second.aspects[2].reserved, 255);
    EXPECT_EQ(second.aspects[0].Orb(27), 6.5f);
    ASSERT_TRUE(SaveOrbTable("again.ao", second));
    EXPECT_EQ(ReadFileBytes("again.ao"), ReadFileBytes("out.ao"));
    // the current table leaves the switched-off aspect out
    EXPECT_EQ(LoadOrbTable("out.ao", "", false).aspects.size(), 2u);
    EXPECT_TRUE(services.warnings.empty());
}

TEST_F(OrbFiles, MissingFileFallsBackToTheCurrentTablesFile) {
    work.WriteFile("0.ao", "90 5 S 0 0 -1 0\n");
    auto t = LoadOrbTable("gone.ao", "0.ao", false);
    ASSERT_EQ(t.aspects.size(), 1u);
    EXPECT_EQ(t.aspects[0].angle, 90.0f);
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_EQ(services.warnings[0], "Не открывается файл gone.ao"_cp);

    // an unnamed slot goes to the current table's file without a message
    EXPECT_EQ(LoadOrbTable("", "0.ao", false).aspects.size(), 1u);
    EXPECT_EQ(services.warnings.size(), 1u);

    services.warnings.clear();
    t = LoadOrbTable("gone.ao", "also-gone.ao", false);
    EXPECT_TRUE(t.aspects.empty());
    EXPECT_EQ(t.largestOrb, 1.0f);
    EXPECT_EQ(services.warnings.size(), 2u);
    // the current table's own file is not tried twice
    services.warnings.clear();
    LoadOrbTable("also-gone.ao", "also-gone.ao", false);
    EXPECT_EQ(services.warnings.size(), 1u);

    // the slots of the settings: unnamed ones fall back to slot 0, an unnamed slot 0
    // to 0.ao
    work.WriteFile("tr.ao", "0 1 S 0 0 -1 0\n60 1 S 0 0 -1 0\n");
    services.warnings.clear();
    EXPECT_EQ(LoadOrbSlot({"tr.ao", "", "gone.ao", ""}, kOrbSlotTransits).aspects.size(), 2u);
    EXPECT_EQ(LoadOrbSlot({"0.ao", "tr.ao", "", ""}, kOrbSlotTransits).aspects.size(), 2u);
    EXPECT_EQ(LoadOrbSlot({"", "", "", ""}, kOrbSlotDirections).aspects.size(), 1u);
    EXPECT_TRUE(services.warnings.empty());
    EXPECT_EQ(LoadOrbSlot({"tr.ao", "", "gone.ao", ""}, kOrbSlotProgressions).aspects.size(), 2u);
    EXPECT_EQ(services.warnings.size(), 1u);
}

TEST_F(OrbFiles, FailedSaveSaysSoAndLeavesTheOldFileWhole) {
    const std::string old = "90 5 S 0 0 -1 0\n";
    work.WriteFile("keep.ao", old);
    OrbTable big;
    big.aspects.resize(200);
    // a file size limit makes the write fail part way, as a full disk would
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok = SaveOrbTable("keep.ao", big);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(ok);
    EXPECT_EQ(*ReadFileBytes("keep.ao"), old);
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_EQ(services.warnings[0], "Не записывается файл keep.ao"_cp);

    EXPECT_FALSE(SaveOrbTable("no-such-dir/x.ao", big));
    EXPECT_EQ(services.warnings.size(), 2u);
}

}  // namespace
}  // namespace orbeta
