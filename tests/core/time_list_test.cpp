#include "core/time_list.h"

#include <gtest/gtest.h>

#include "../support/scratch_computation.h"
#include "../support/test_support.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/houses.h"
#include "ephemeris_fixture.h"

namespace orbeta {
namespace {

TEST(TimeList, KeepsTheLinesThatAreMoments) {
    auto list = ParseTimeList(
        "01.01.2000 12:00:00\r\n"
        "not a date\n"
        "\n"
        "15.06.2001\n"
        "31.12.-4800 00:00\n"  // before the first Julian day
        "02.01.2000 06:30");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->moments.size(), 3u);
    EXPECT_DOUBLE_EQ(list->moments[0], 2451545.0);
    EXPECT_DOUBLE_EQ(list->moments[1], JulianDayOfDateTimeText("15.06.2001"));
    EXPECT_DOUBLE_EQ(list->moments[2], 2451546.0 - 5.5 / 24);
    EXPECT_EQ(list->position, -1);
}

TEST(TimeList, NoListWithoutAMoment) {
    EXPECT_FALSE(ParseTimeList(""));
    EXPECT_FALSE(ParseTimeList("\n\n"));
    EXPECT_FALSE(ParseTimeList("abc\n12\n"));
    EXPECT_FALSE(ReadTimeListFile("no-such-file.txt"));
}

TEST(TimeList, ReadFromAFile) {
    test::TempWorkDir work;
    work.WriteFile("moments.txt", "01.01.2000 12:00:00\n02.01.2000 12:00:00\n");
    auto list = ReadTimeListFile("moments.txt");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->moments.size(), 2u);
    work.WriteFile("empty.txt", "");
    EXPECT_FALSE(ReadTimeListFile("empty.txt"));
}

TEST(TimeList, PositionStaysWithinTheList) {
    TimeList list{{10, 20, 30}, -1};
    // Up four times over three moments stops at the last
    EXPECT_EQ(MoveInTimeList(list, 1), 10);
    EXPECT_EQ(MoveInTimeList(list, 1), 20);
    EXPECT_EQ(MoveInTimeList(list, 1), 30);
    EXPECT_EQ(MoveInTimeList(list, 1), 30);
    EXPECT_EQ(list.position, 2);
    EXPECT_EQ(MoveInTimeList(list, -5), 10);
    EXPECT_EQ(list.position, 0);
    TimeList fresh{{10, 20}, -1};
    EXPECT_EQ(MoveInTimeList(fresh, -1), 10);  // back from "none" lands on the first
    TimeList empty;
    EXPECT_EQ(MoveInTimeList(empty, 1), 0);
    EXPECT_EQ(empty.position, -1);
}

class TimeListMoment : public test::EphemerisTest {};

TEST_F(TimeListMoment, TheLineIsLocalTime) {
    ChartRecord base;
    base.jdLocal = JulianDayOfDateTimeText("16.05.1945 08:00:00");
    base.gmtCorr = -3.0 / 24;
    base.jdUT = base.jdCalc = base.jdLocal + base.gmtCorr;
    base.latitude = 55.45;
    base.longitude = 37.37;
    base.houseSystem = kPlacidus;
    ComputeChart(test::Scratch(), base, base, kNatal);

    ChartRecord c = base;
    double local = JulianDayOfDateTimeText("01.01.2000 12:00:00");
    ApplyListMoment(test::Scratch(), c, base, local);
    EXPECT_DOUBLE_EQ(c.jdLocal, local);
    EXPECT_DOUBLE_EQ(c.jdUT, local - 3.0 / 24);
    EXPECT_DOUBLE_EQ(c.jdCalc, c.jdUT);
    ChartRecord direct = base;
    direct.jdUT = local - 3.0 / 24;
    ComputeChart(test::Scratch(), direct, base, kNatal);
    EXPECT_DOUBLE_EQ(c.lon[MON], direct.lon[MON]);

    // a progressed chart keeps its method and base
    ChartRecord p = base;
    p.jdUT += 100;
    ComputeChart(test::Scratch(), p, base, kSecondary);
    ApplyListMoment(test::Scratch(), p, base, base.jdLocal + 365.2421);
    EXPECT_EQ(p.calcMethod, kSecondary);
    EXPECT_NEAR(p.jdCalc, base.jdUT + 1, 1e-6);
}

}  // namespace
}  // namespace orbeta
