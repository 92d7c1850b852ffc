// The correction of a town card at a moment, from field 4 or popa.ctl.
#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "core/calendar.h"
#include "data/town_correction.h"

namespace orbeta {
namespace {

double At(const char* text) {
    return JulianDayOfDateTimeText(text);
}

TownCard Zone(const char* code, const char* dst = "") {
    TownCard card;
    card.zoneCode = code;
    card.dstSection = dst;
    return card;
}

const char* kPopa =
    "@@PopTime\n"
    "5\n"  // a code alone is passed over
    "05 3 01.04.1981-01.10.1981 4\n"
    "5 7\n"  // only the first full line counts
    "6 2 &\n"
    "  01.01.1930-02.01.1930 5 01.01.1920 6\n"  // the first period that holds wins
    "7 1 01.03.2000.02:30-01.04.2000 2 junk\n"
    "9 2\n"
    "@@Summer Winter\n"
    "29.03.1981 27.09.1981 1\n"
    "01.01.1981 31.12.1981\n"  // fewer than three tokens
    "01.01.1981 31.12.1981 5\n";

TEST(TownCorrection, PopTimePeriods) {
    auto popa = ParsePopaCtl(kPopa);
    auto card = Zone("5");
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card, &popa), -4);
    EXPECT_EQ(TownCorrection(At("01.04.1981 00:00:00"), card, &popa), -4);
    EXPECT_EQ(TownCorrection(At("31.03.1981 23:59:00"), card, &popa), -3);
    EXPECT_EQ(TownCorrection(At("01.10.1981 00:00:00"), card, &popa), -3);
    EXPECT_EQ(TownCorrection(At("15.07.1982 12:00:00"), card, &popa), -3);
    auto six = Zone("6");
    EXPECT_EQ(TownCorrection(At("01.01.1930 12:00:00"), six, &popa), -5);
    EXPECT_EQ(TownCorrection(At("05.01.1930 12:00:00"), six, &popa), -6);
    EXPECT_EQ(TownCorrection(At("05.01.1919 12:00:00"), six, &popa), -2);
    auto seven = Zone("7");
    EXPECT_EQ(TownCorrection(At("01.03.2000 02:29:00"), seven, &popa), -1);
    EXPECT_EQ(TownCorrection(At("01.03.2000 02:31:00"), seven, &popa), -2);
    EXPECT_EQ(TownCorrection(At("01.03.2000 02:31:00"), Zone("8"), &popa), 0);
}

TEST(TownCorrection, DaylightSavingSection) {
    auto popa = ParsePopaCtl(kPopa);
    auto card = Zone("9", "Winter");
    // After the first date, up to and including the second.
    EXPECT_EQ(TownCorrection(At("29.03.1981 00:00:00"), card, &popa), -2 - 5);
    EXPECT_EQ(TownCorrection(At("29.03.1981 00:01:00"), card, &popa), -2 - 1);
    EXPECT_EQ(TownCorrection(At("27.09.1981 00:00:00"), card, &popa), -2 - 1);
    EXPECT_EQ(TownCorrection(At("27.09.1981 00:01:00"), card, &popa), -2 - 5);
    EXPECT_EQ(TownCorrection(At("01.01.1982 12:00:00"), card, &popa), -2);
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), Zone("9", "Autumn"), &popa), -2);
}

TEST(TownCorrection, FieldFourOverridesTheZone) {
    auto popa = ParsePopaCtl(kPopa);
    auto card = Zone("5");
    card.fixedCorrection = "3";
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card, &popa), -3);
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card, nullptr), -3);
    card.fixedCorrection = "-5.5";
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card, nullptr), 5.5);
    card.fixedCorrection = "nan";
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card, nullptr), 0);
}

TEST(TownCorrection, WithoutTheFileOrItsSectionsTheCorrectionIsZero) {
    auto card = Zone("5", "Summer");
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card, nullptr), 0);
    auto noPopTime = ParsePopaCtl("@@Summer\n01.01.1981 31.12.1981 1\n");
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card, &noPopTime), 0);
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), TownCard{}, &noPopTime), 0);
}

TEST(TownCorrection, ReadsPopaCtlOfTheWorkingDirectory) {
    test::TempWorkDir work;
    auto card = Zone("5", "Summer");
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card), 0);
    work.WriteFile("popa.ctl", kPopa);
    EXPECT_EQ(TownCorrection(At("15.07.1981 12:00:00"), card), -5);
}

}  // namespace
}  // namespace orbeta
