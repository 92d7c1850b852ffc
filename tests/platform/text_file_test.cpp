#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"

namespace orbeta {
namespace {

TEST(TextFile, SkipsBlankAndStarLinesAndKeepsQuotedTokens) {
    test::TempWorkDir dir;
    dir.WriteFile("a.ctl", "* comment\r\n\r\n   \n  value 1 \"two words\"  3\r\nlast");
    auto lines = ReadMeaningfulLines("a.ctl");
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 2u);
    EXPECT_EQ((*lines)[0], "  value 1 \"two words\"  3");
    auto tokens = SplitTokens((*lines)[0]);
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[2], "two words");
    EXPECT_EQ((*lines)[1], "last");
    EXPECT_FALSE(ReadMeaningfulLines("missing.ctl"));
}

TEST(TextFile, TokenEdgeCases) {
    EXPECT_TRUE(SplitTokens("").empty());
    EXPECT_TRUE(SplitTokens(" \t ").empty());
    auto t = SplitTokens("\"\" a \"unclosed tail");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], "");
    EXPECT_EQ(t[2], "unclosed tail");
    EXPECT_EQ(SplitTokens("a\"b c\"")[0], "a\"b");  // a quote inside a token is a character
}

TEST(TextFile, AtomicWriteReplacesWholeOrLeavesOld) {
    test::TempWorkDir dir;
    ASSERT_TRUE(WriteFileAtomically("f.txt", "first"));
    ASSERT_TRUE(WriteFileAtomically("f.txt", "second"));
    EXPECT_EQ(*ReadFileBytes("f.txt"), "second");
    // A file that cannot be written leaves the old one and no temporary behind.
    std::filesystem::create_directory("sub");
    ASSERT_TRUE(WriteFileAtomically("sub/g.txt", "old"));
    std::filesystem::permissions("sub", std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_exec);
    bool wrote = WriteFileAtomically("sub/g.txt", "new");
    std::filesystem::permissions("sub", std::filesystem::perms::owner_all);
    if (::geteuid() != 0) {  // root writes anyway
        EXPECT_FALSE(wrote);
        EXPECT_EQ(*ReadFileBytes("sub/g.txt"), "old");
    }
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator("sub")) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(TextFile, AtomicWriteKeepsModeAndWritesThroughLinks) {
    namespace fs = std::filesystem;
    test::TempWorkDir dir;
    // A private file stays private.
    ASSERT_TRUE(WriteFileAtomically("orbt.ini", "first"));
    fs::permissions("orbt.ini", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomically("orbt.ini", "second"));
    EXPECT_EQ(fs::status("orbt.ini").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(*ReadFileBytes("orbt.ini"), "second");
    // A link (relative, through a second link) keeps pointing at its target, which gets
    // the new text in its own directory and keeps its mode.
    fs::create_directory("real");
    ASSERT_TRUE(WriteFileAtomically("real/profile.ini", "old"));
    fs::permissions("real/profile.ini",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/profile.ini", "middle.ini");
    fs::create_symlink("middle.ini", "link.ini");
    ASSERT_TRUE(WriteFileAtomically("link.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("link.ini")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("middle.ini")));
    EXPECT_EQ(*ReadFileBytes("real/profile.ini"), "new");
    EXPECT_EQ(fs::status("real/profile.ini").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A dangling link gets its target created; no temporary is left anywhere.
    fs::create_symlink("real/fresh.ini", "dangling.ini");
    ASSERT_TRUE(WriteFileAtomically("dangling.ini", "made"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("dangling.ini")));
    EXPECT_EQ(*ReadFileBytes("real/fresh.ini"), "made");
    int entries = 0;
    for (auto& e : fs::recursive_directory_iterator(".")) entries += !e.is_directory();
    EXPECT_EQ(entries, 6);  // orbt.ini, three links, two files in real/
}

}  // namespace
}  // namespace orbeta
