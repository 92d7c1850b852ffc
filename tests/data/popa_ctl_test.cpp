// popa.ctl as written by hand: sections, quoted tokens, continuation lines.
#include <gtest/gtest.h>

#include "core/calendar.h"
#include "data/popa_ctl.h"

namespace orbeta {
namespace {

using Lines = std::vector<PopaLine>;

TEST(PopaCtl, SectionsAreKnownByEveryNameOfTheirHeader) {
    auto ctl = ParsePopaCtl(
        "1 2 before any section\n"
        "@@PopTime Zones\n"
        "* comment\n"
        "\n"
        "5 3\n"
        "@@ Europe/Moscow\t\n"
        "a b c\r\n"
        "@@PopTime\n"
        "9 9\n");
    ASSERT_NE(ctl.Find("PopTime"), nullptr);
    EXPECT_EQ(*ctl.Find("PopTime"), (Lines{{"5", "3"}}));  // the first section wins
    EXPECT_EQ(*ctl.Find("Zones"), (Lines{{"5", "3"}}));
    EXPECT_EQ(*ctl.Find("Europe/Moscow"), (Lines{{"a", "b", "c"}}));
    EXPECT_EQ(ctl.Find("popTime"), nullptr);
    EXPECT_EQ(ctl.Find("1"), nullptr);
}

TEST(PopaCtl, QuotedTokensAndContinuationLines) {
    auto ctl = ParsePopaCtl(
        "@@S\n"
        "1 \"two words\" \"&\" 3 & dropped text\n"
        "* a comment between does not end the line\n"
        "   4 5& 6\n"
        "7\n"
        "8 &\n"
        "@@T\n"
        "9 \"unclosed\n");
    // "5&" continues too; "8 &" at the end of the section ends with it.
    EXPECT_EQ(*ctl.Find("S"), (Lines{{"1", "two words", "&", "3", "4", "5", "7"}, {"8"}}));
    EXPECT_EQ(*ctl.Find("T"), (Lines{{"9", "unclosed"}}));
}

TEST(PopaCtl, DatesMayCarryTheTimeOfDay) {
    EXPECT_DOUBLE_EQ(PopaMoment("01.04.1981"), JulianDayOfDateTimeText("01.04.1981 00:00:00"));
    EXPECT_DOUBLE_EQ(PopaMoment("01.04.1981.02"), JulianDayOfDateTimeText("01.04.1981 02:00:00"));
    EXPECT_DOUBLE_EQ(PopaMoment("03.07.1916.00:01:02"),
                     JulianDayOfDateTimeText("03.07.1916 00:01:02"));
    EXPECT_DOUBLE_EQ(PopaMoment("..1981"), JulianDayOfDateTimeText("01.01.1981 00:00:00"));
    EXPECT_DOUBLE_EQ(PopaMoment("15.3"), JulianDayOfDateTimeText("15.03.0001 00:00:00"));
}

}  // namespace
}  // namespace orbeta
