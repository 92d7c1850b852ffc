#include "platform/ui_text.h"

#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "platform/codepage.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

// Restores the program's texts after each test.
class UiTextTest : public ::testing::Test {
  protected:
    void TearDown() override { SetUiTexts({}); }
};

TEST_F(UiTextTest, ContinuedLinesJoinPastCommentsAndForeignLines) {
    auto lines = ParseUiTexts(
        "* comment\n"
        "K1 first@ dropped tail\n"
        "* a comment between\n"
        "skip me #xDx\n"
        "second@\n"
        "third\n"
        "K2 #D on its own line stays\r\n"
        "K3 a@b\n"
        "b@c\n"
        "d\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "K1 firstsecondthird");
    EXPECT_EQ(lines[1], "K2 #D on its own line stays");
    EXPECT_EQ(lines[2], "K3 abd");  // a joined line may continue again
}

TEST_F(UiTextTest, ContinuationOnTheLastLineEndsTheFile) {
    auto lines = ParseUiTexts("K1 end@\n* only comments follow\nx #D\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "K1 end");
    EXPECT_EQ(ParseUiTexts("K2 @").at(0), "K2 ");
}

TEST_F(UiTextTest, LongChainOfContinuationsStaysOneLine) {
    std::string text = "KEY ";
    for (int i = 0; i < 200000; ++i) text += "a@\n";
    text += "end\n";
    auto lines = ParseUiTexts(text);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 4u + 200000u + 3u);
}

TEST_F(UiTextTest, OemTextsBecomeAnsi) {
    SetUiTexts(ParseUiTexts(Utf8ToOem("UW Орбета: ёж №1\n")));
    EXPECT_EQ(LookupText("UW"), "Орбета: ёж №1"_cp);
}

TEST_F(UiTextTest, LookupFallsBackToTheKey) {
    EXPECT_EQ(LookupText("UW"), "UW");  // no texts loaded
    SetUiTexts(ParseUiTexts("UW Title text\nUWX other\nUW second\nNOTEXT\n"));
    EXPECT_EQ(LookupText("UW"), "Title text");  // the first entry wins, keys match exactly
    EXPECT_EQ(LookupText("UWX"), "other");
    EXPECT_EQ(LookupText("U"), "U");
    EXPECT_EQ(LookupText("Missing"), "Missing");
    EXPECT_EQ(LookupText("NOTEXT"), "NOTEXT");
    EXPECT_EQ(LookupText(""), "");
    EXPECT_EQ(LookupText("UW plus a literal"), "UW plus a literal");
}

TEST_F(UiTextTest, MenuItemsCarryCommandIds) {
    auto items = SplitMenuText("Open [5]/-/Close[7]/Odd [x]");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Open [5]");
    EXPECT_EQ(items[0].id, 5);
    EXPECT_EQ(items[1].text, "-");
    EXPECT_EQ(items[1].id, 0);
    EXPECT_EQ(items[2].id, 7);
    EXPECT_EQ(items[3].id, 0);

    SetUiTexts({"MENU Open [5]/-/Close [7]", "LONG " + std::string(100, 'x') + "[9]"});
    EXPECT_EQ(MenuItemText("MENU", 7), "Close [7]");
    EXPECT_EQ(MenuItemText("MENU", 6), "");
    EXPECT_EQ(MenuItemText("MENU", 0), "");
    EXPECT_EQ(MenuItemText("LONG", 9), std::string(78, 'x'));
}

TEST_F(UiTextTest, ListItemsCountFromZero) {
    SetUiTexts({"LST /one//three"});
    EXPECT_EQ(ListItem("LST", 0), "");
    EXPECT_EQ(ListItem("LST", 1), "one");
    EXPECT_EQ(ListItem("LST", 2), "");
    EXPECT_EQ(ListItem("LST", 3), "three");
    EXPECT_EQ(ListItem("LST", 4), "");
    EXPECT_EQ(ListItem("LST", -1), "");
}

TEST_F(UiTextTest, ShippedFileNamesEveryCalculationMethod) {
    ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
    EXPECT_NE(LookupText("virhous"), "virhous");
    EXPECT_NE(LookupText("virhous").find("66"), std::string::npos);
    // Methods are named by the code in their item's brackets; charts made by other
    // rules (composite, harmonic, returns) are named by their own lists.
    for (int code : {1, 6, 7, 8, 11, 12, 15, 17, 18, 19, 20, 24, 25, 26, 30, 31, 32, 33}) {
        std::string name = MethodName(code);
        EXPECT_FALSE(name.empty()) << code;
        EXPECT_EQ(name.find('?'), std::string::npos) << code;  // a character CP866 lacks
    }
    EXPECT_EQ(MethodName(6), "Вторичные прогрессии"_cp);
    EXPECT_EQ(MethodName(2), "");
    EXPECT_EQ(MethodName(13), "");
    EXPECT_EQ(ReturnKindName(7), "Эмболисмическая лунация"_cp);

    EXPECT_FALSE(LoadUiTexts("no-such-file.t"));
    EXPECT_EQ(LookupText("virhous"), "virhous");
}

}  // namespace
}  // namespace orbeta
