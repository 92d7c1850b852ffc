#include "platform/text_view.h"

#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

TEST(TextView, WordProcessorJoinsParagraphLinesAndBreaksAtEmptyLines) {
    std::vector<std::string> lines = {"first line", "second line", "", "third", "   ", " indented"};
    EXPECT_EQ(EditorText(lines, true), "first line second line \n third \n    \n indented ");
    // Outside word-processor mode every line keeps its own line.
    EXPECT_EQ(EditorText({"a", "", " b"}, false), "a \n \n\n b \n");
}

TEST(TextView, EditorTextAndSavedTextAreUtf8) {
    std::vector<std::string> lines = {"Солнце"_cp, "Луна"_cp};
    EXPECT_EQ(EditorText(lines, false), "Солнце \nЛуна \n");
    EXPECT_EQ(SavedText(lines), "Солнце\nЛуна\n");
    EXPECT_EQ(ClipboardText(lines), "Солнце\r\nЛуна\r\n");
}

TEST(TextView, WordProcessorIsRecognisedByFileNameOnly) {
    EXPECT_TRUE(IsWordProcessor("C:\\Office\\WINWORD.EXE"));
    EXPECT_TRUE(IsWordProcessor("/opt/winword.exe"));
    EXPECT_TRUE(IsWordProcessor("winword.exe"));
    EXPECT_FALSE(IsWordProcessor("/usr/bin/winword"));
    EXPECT_FALSE(IsWordProcessor("/winword.exe/kate"));
    EXPECT_FALSE(IsWordProcessor("xwinword.exe"));
}

TEST(TextView, EditorFileReplacesTheExtension) {
    EXPECT_EQ(EditorFilePath("r0001.tmp"), "r0001.txt");
    EXPECT_EQ(EditorFilePath("/a.b/r0001"), "/a.b/r0001.txt");
    EXPECT_EQ(EditorFilePath("dir/x.y.tmp"), "dir/x.y.txt");
}

TEST(TextView, ScrollRanges) {
    // 100 lines of 16 pixels on a 1000-pixel screen in a 400-pixel client area.
    EXPECT_EQ(ScrollRange(1000, 100 * 16 + 1, 400, 2, 16), (1000 + 1601 - 400 + 2) / 16);
    // A small positive range is one unit, a text that fits none.
    EXPECT_EQ(ScrollRange(0, 402, 400, 3, 8), 1);
    EXPECT_EQ(ScrollRange(0, 100, 400, 3, 8), 0);
    EXPECT_EQ(ScrollRange(0, 100, 400, 3, 0), 0);
}

TEST(TextView, PrintPageHoldsOnlyWholeLines) {
    PrintPage page = PrintPageGeometry(2900, 2000);
    EXPECT_EQ(page.lineHeight, 40);
    EXPECT_EQ(page.charWidth, 18);
    EXPECT_EQ(page.left, 54);
    EXPECT_EQ(page.linesPerPage, 72);
    EXPECT_LE(page.linesPerPage * page.lineHeight, 2900);
    // An A4 page at 1200 dpi.
    PrintPage a4 = PrintPageGeometry(13228, 9354);
    EXPECT_EQ(a4.lineHeight, 182);
    EXPECT_EQ(a4.linesPerPage, 72);
    PrintPage tiny = PrintPageGeometry(10, 10);
    EXPECT_EQ(tiny.lineHeight, 1);
    EXPECT_EQ(tiny.linesPerPage, 10);
}

TEST(TextView, APrintoutNeverReplacesAnEarlierFile) {
    test::TempWorkDir work;
    const std::filesystem::path folder = work.Path();
    EXPECT_EQ(FreshPrintFile(folder, "Иванов", "Печать"), folder / "Иванов.pdf");
    work.WriteFile("Иванов.pdf", "%PDF-");
    work.WriteFile("Иванов (2).pdf", "%PDF-");
    EXPECT_EQ(FreshPrintFile(folder, "Иванов", "Печать"), folder / "Иванов (3).pdf");
    // What a file name cannot hold goes; nothing left gives the fallback.
    EXPECT_EQ(FreshPrintFile(folder, "Наложение A/B: 1?", "x"), folder / "Наложение A_B_ 1.pdf");
    EXPECT_EQ(FreshPrintFile(folder, " ../ ", "Печать"), folder / "Печать.pdf");
}

TEST(TextView, FileLinesLoseTheirEnds) {
    test::TempWorkDir dir;
    dir.WriteFile("r.tmp", "one\r\ntwo\n\nlast");
    std::vector<std::string> lines;
    EXPECT_TRUE(ForEachFileLine("r.tmp", [&](std::string_view l) { lines.emplace_back(l); }));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "last"}));
    EXPECT_FALSE(ForEachFileLine("missing.tmp", [](std::string_view) {}));
}

}  // namespace
}  // namespace orbeta
