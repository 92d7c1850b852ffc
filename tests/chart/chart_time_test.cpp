// Moving the charts of a chart window in time: the steps of DelT, time lists, and the
// chart recomputed at its new moment.
#include "chart/chart_time.h"

#include <gtest/gtest.h>

#include "../core/ephemeris_fixture.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"

namespace orbeta {
namespace {

TEST(TimeStep, OuterAndInnerStepsFromTheirFourFields) {
    std::array<long, 8> delT = {1, 6, 30, 36, 0, 0, 90, 0};
    EXPECT_NEAR(TimeStep(delT, false), 1 + (6 + 30 / 60.0 + 36 / 3600.0) / 24, 1e-12);
    EXPECT_NEAR(TimeStep(delT, true), 1.5 / 24, 1e-12);
    EXPECT_DOUBLE_EQ(TimeStep({1, 0, 0, 0, 1, 0, 0, 0}, false), 1.0);
}

TEST(TimeList, PositionStaysWithinTheList) {
    TimeList list{{10.0, 20.0, 30.0}};
    EXPECT_EQ(list.position, -1);
    std::optional<double> at;
    for (int i = 0; i < 4; ++i) at = MoveListPosition(list, 1);  // four steps over three moments
    EXPECT_EQ(list.position, 2);
    EXPECT_EQ(at, 30.0);
    MoveListPosition(list, -1);
    EXPECT_EQ(MoveListPosition(list, -5), 10.0);
    EXPECT_EQ(list.position, 0);

    TimeList fresh{{10.0, 20.0, 30.0}};
    EXPECT_EQ(MoveListPosition(fresh, -1), 10.0);  // backwards from before the first: the first

    TimeList empty;
    EXPECT_FALSE(MoveListPosition(empty, 1));
    EXPECT_EQ(empty.position, -1);
}

class ChartTime : public test::EphemerisTest {
  protected:
    void SetUp() override {
        EphemerisTest::SetUp();
        chart.jdLocal = JulianDayOfDateTimeText("16.05.1945 08:00:00");
        chart.gmtCorr = -3 / 24.0;
        chart.jdUT = chart.jdCalc = chart.jdLocal + chart.gmtCorr;
        chart.latitude = 55.45;
        chart.longitude = StoredLongitude(37.37);
        chart.houseSystem = 3;
        chart.calcMethod = kNatal;
        ComputeChart(chart, chart, kNatal);
    }
    ChartRecord chart;
};

TEST_F(ChartTime, AStepMovesBothMomentsAndTheBodiesWithTheEphemeris) {
    ChartRecord moved = chart;
    MoveChartInTime(moved, chart, 1.0, 0);
    EXPECT_NEAR(moved.jdLocal - chart.jdLocal, 1.0, 1e-9);
    EXPECT_NEAR(moved.jdUT - chart.jdUT, 1.0, 1e-9);
    // The ephemeris itself, a day later: the Moon about 13 degrees on.
    EXPECT_NEAR(moved.lon[MON], BodyLongitude(chart.jdUT + 1.0, MON), 1e-6);
    double moonDay = Difference(moved.lon[MON], chart.lon[MON]);
    EXPECT_GT(moonDay, 11.0);
    EXPECT_LT(moonDay, 16.0);
    EXPECT_NE(moved.cusp[1], chart.cusp[1]);

    MoveChartInTime(moved, chart, -1.0, 0);
    EXPECT_NEAR(moved.lon[MON], chart.lon[MON], 1e-6);
}

TEST_F(ChartTime, AListMomentIsLocalTimeAndUniversalTimeFollowsTheCorrection) {
    ChartRecord listed = chart;
    double local = JulianDayOfDateTimeText("01.01.2000 12:00:00");
    SetChartLocalMoment(listed, chart, local, 0);
    EXPECT_DOUBLE_EQ(listed.jdLocal, local);
    EXPECT_NEAR(listed.jdUT, local - 3 / 24.0, 1e-9);
    EXPECT_EQ(DateTimeText(listed.jdLocal), DateTimeText(local));
    EXPECT_NEAR(listed.lon[SUN], BodyLongitude(local - 3 / 24.0, SUN), 1e-6);
}

TEST_F(ChartTime, AProgressedChartMovesByItsOwnMethod) {
    ChartRecord progressed = chart;
    progressed.calcMethod = kSecondary;
    progressed.jdUT += 365.2421 * 30;
    progressed.jdLocal += 365.2421 * 30;
    ComputeChart(progressed, chart, kSecondary);
    double sun = progressed.lon[SUN];
    // A year of real time moves the progressed Sun about one degree, not 360.
    MoveChartInTime(progressed, chart, 365.2421, 0);
    EXPECT_NEAR(Difference(progressed.lon[SUN], sun), 1.0, 0.1);
    EXPECT_NEAR(progressed.jdCalc, chart.jdUT + 31, 1e-6);
}

}  // namespace
}  // namespace orbeta
