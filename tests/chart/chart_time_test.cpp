// Moving the charts of a chart window in time: by a step or to a listed moment, with
// the chart computed again at its new moment.
#include "chart/chart_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../core/chart_fixture.h"
#include "../core/ephemeris_fixture.h"
#include "../support/scratch_computation.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/derived_charts.h"
#include "core/ephemeris.h"

namespace orbeta {
namespace {

class ChartTime : public test::EphemerisTest {
  protected:
    void SetUp() override {
        EphemerisTest::SetUp();
        chart = test::NatalAt("16.05.1945 08:00:00", -3, 55.45, 37.37);
    }
    ChartRecord chart;
};

TEST_F(ChartTime, AStepMovesBothMomentsAndTheBodiesWithTheEphemeris) {
    ChartRecord moved = chart;
    StepChartInTime(test::Scratch(), moved, chart, 1.0, 0);
    EXPECT_NEAR(moved.jdLocal - chart.jdLocal, 1.0, 1e-9);
    EXPECT_NEAR(moved.jdUT - chart.jdUT, 1.0, 1e-9);
    // The ephemeris itself, a day later: the Moon about 13 degrees on.
    EXPECT_NEAR(moved.lon[MON], BodyLongitude(test::Scratch(), chart.jdUT + 1.0, MON), 1e-6);
    double moonDay = Difference(moved.lon[MON], chart.lon[MON]);
    EXPECT_GT(moonDay, 11.0);
    EXPECT_LT(moonDay, 16.0);
    EXPECT_NE(moved.cusp[1], chart.cusp[1]);

    StepChartInTime(test::Scratch(), moved, chart, -1.0, 0);
    EXPECT_NEAR(moved.lon[MON], chart.lon[MON], 1e-6);
}

TEST_F(ChartTime, AListMomentIsLocalTimeAndUniversalTimeFollowsTheCorrection) {
    ChartRecord listed = chart;
    double local = JulianDayOfDateTimeText("01.01.2000 12:00:00");
    SetChartLocalMoment(test::Scratch(), listed, chart, local, 0);
    EXPECT_DOUBLE_EQ(listed.jdLocal, local);
    EXPECT_NEAR(listed.jdUT, local - 3 / 24.0, 1e-9);
    EXPECT_EQ(DateTimeText(listed.jdLocal), DateTimeText(local));
    EXPECT_NEAR(listed.lon[SUN], BodyLongitude(test::Scratch(), local - 3 / 24.0, SUN), 1e-6);
}

TEST_F(ChartTime, AProgressedChartMovesByItsOwnMethod) {
    ChartRecord progressed = chart;
    progressed.calcMethod = kSecondary;
    progressed.jdUT += 365.2421 * 30;
    progressed.jdLocal += 365.2421 * 30;
    ComputeChart(test::Scratch(), progressed, chart, kSecondary);
    double sun = progressed.lon[SUN];
    // A year of real time moves the progressed Sun about one degree, not 360.
    StepChartInTime(test::Scratch(), progressed, chart, 365.2421, 0);
    EXPECT_NEAR(Difference(progressed.lon[SUN], sun), 1.0, 0.1);
    EXPECT_NEAR(progressed.jdCalc, chart.jdUT + 31, 1e-6);
}

TEST_F(ChartTime, HarmonicChartsStayHarmonicAndArcsUseTheChosenBody) {
    ChartRecord harmonic = HarmonicChart(chart, 5);
    StepChartInTime(test::Scratch(), harmonic, chart, 1.0, 0);
    EXPECT_EQ(harmonic.calcMethod, kHarmonicMethod);
    double moon = BodyLongitude(test::Scratch(), chart.jdUT + 1.0, MON);
    EXPECT_NEAR(harmonic.lon[MON], 5 * std::fmod(moon, 72.0), 1e-6);

    // Planetary arcs of Mars (index 4): a year on, every point moved by Mars's arc.
    ChartRecord arcs = chart;
    arcs.calcMethod = kPlanetaryArcs;
    StepChartInTime(test::Scratch(), arcs, chart, 365.2421 * 10, 4);
    ChartRecord byMars = arcs;
    ComputeChart(test::Scratch(), byMars, chart, kPlanetaryArcs, 4);
    ChartRecord bySun = arcs;
    ComputeChart(test::Scratch(), bySun, chart, kPlanetaryArcs, 0);
    EXPECT_NEAR(arcs.lon[VEN], byMars.lon[VEN], 1e-9);
    EXPECT_GT(Separation(byMars.lon[VEN], bySun.lon[VEN]), 0.5);
}

}  // namespace
}  // namespace orbeta
