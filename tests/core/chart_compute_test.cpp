#include "core/chart_compute.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "../support/scratch_computation.h"
#include "chart_fixture.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "ephemeris_fixture.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

class ChartCompute : public test::EphemerisTest {
  protected:
    void SetUp() override {
        EphemerisTest::SetUp();
        base = Record("16.05.1945 08:00:00", -3, 55.45, 37.37);
        ComputeChart(test::Scratch(), base, base, kNatal);
    }
    static ChartRecord Record(const char* date, double gmtHours, double lat, double lon) {
        return test::ChartAt(date, gmtHours, lat, lon);
    }
    ChartRecord Target(double days) const {
        ChartRecord t = base;
        t.jdUT += days;
        t.jdLocal += days;
        t.jdCalc = t.jdUT;
        return t;
    }
    ChartRecord base;
};

// The periods of the progressions, from outside the program: the tropical year and
// month from the mean motions of the Sun and the Moon in longitude, 36000.76983 and
// 481267.88123421 degrees per Julian century (Meeus, Astronomical Algorithms, 25.2 and
// 47.1); the week; a twelfth of the Julian year.
constexpr double kYear = 36525.0 * 360.0 / 36000.76983;
constexpr double kMonth = 36525.0 * 360.0 / 481267.88123421;
constexpr double kWeek = 7.0;
constexpr double kTwelfth = 365.25 / 12.0;
// The program's rounded periods agree with these to a millionth.
double Tolerance(double offset) {
    return 1e-9 + 1e-6 * std::fabs(offset);
}

TEST_F(ChartCompute, EveryMethodComputesAtItsMoment) {
    struct Case {
        int method;
        double days;    // target after the base
        double offset;  // expected jdCalc after the base
    };
    const Case cases[] = {
        {1, 1000, 1000},     {17, 10, -10},        {6, kYear, 1},         {18, kYear, -1},
        {7, kMonth, 1},      {19, kMonth, -1},     {8, kWeek, 1},         {20, kWeek, -1},
        {25, kYear, kMonth}, {26, kYear, -kMonth}, {30, kTwelfth, 1},     {31, kTwelfth, -1},
        {32, 500, 500},      {33, 500, -500},      {13, 500, 500},        {16, 500, 500},
        {100, 500, 500},     {107, 500, 500},      {6, -10 * kYear, -10}, {18, -10 * kYear, 10}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.method);
        ChartRecord t = Target(k.days);
        ComputeChart(test::Scratch(), t, base, k.method);
        EXPECT_NEAR(t.jdCalc, base.jdUT + k.offset, Tolerance(k.offset));
        // time searches ask for the same moment without computing the chart
        EXPECT_NEAR(CalculationMoment(k.method, t.jdUT, base), t.jdCalc, 1e-8);
        EXPECT_EQ(t.calcMethod, k.method);
        EXPECT_EQ(t.baseJdUT, base.jdUT);
        EXPECT_EQ(t.baseJdLocal, base.jdLocal);
        EXPECT_EQ(t.lon[MON], BodyLongitude(test::Scratch(), t.jdCalc, MON));
        if (k.method == kNatal || k.method == kConverse) {
            ChartRecord own = t;
            ComputeHouses(own, test::Scratch().diagnostics);
            EXPECT_EQ(std::memcmp(own.cusp, t.cusp, sizeof t.cusp), 0);
        } else {
            // the Midheaven advances with the Sun
            EXPECT_NEAR(Difference(t.cusp[10], base.cusp[10]),
                        Difference(t.lon[SUN], base.lon[SUN]), 1e-9);
            EXPECT_NEAR(Separation(t.cusp[4], t.cusp[10]), 180.0, 1e-9);
        }
    }
    EXPECT_EQ(CalculationMoment(11, 2460000.0, base), 2460000.0);
    EXPECT_EQ(CalculationMoment(24, 2460000.0, base), 2460000.0);
}

TEST_F(ChartCompute, DirectionsMoveEveryPointByTheArc) {
    for (int method : {kDegreeDirections, kSignDirections}) {
        ChartRecord t = Target(10 * kYear);
        t.jdCalc = 123.0;
        t.houseSystem = kKoch;
        for (int i = SUN; i <= LIL; ++i) t.lat[i] = t.speed[i] = 0.5;
        ComputeChart(test::Scratch(), t, base, method);
        double arc = method == kDegreeDirections ? 10.0 : Normalize(300.0);
        for (int i = SUN; i <= LIL; ++i) {
            EXPECT_NEAR(Normalize(t.lon[i] - base.lon[i]), arc, Tolerance(arc)) << i;
            EXPECT_EQ(t.lat[i], 0.5);
            EXPECT_EQ(t.speed[i], 0.5);
        }
        for (int n = 1; n <= 12; ++n)
            EXPECT_NEAR(Normalize(t.cusp[n] - base.cusp[n]), arc, Tolerance(arc));
        EXPECT_EQ(t.jdCalc, 123.0);
        EXPECT_EQ(t.houseSystem, base.houseSystem);
    }
}

TEST_F(ChartCompute, NodalChartPutsTheNodeAtZero) {
    ChartRecord t = base;
    ComputeChart(test::Scratch(), t, base, kNodalChart);
    EXPECT_NEAR(Difference(t.lon[NDE], 0.0), 0.0, 1e-9);
    for (int i = 1; i <= kPointCount; ++i)
        EXPECT_NEAR(Difference(PointLongitude(t, i), t.lon[NDE]),
                    Difference(PointLongitude(base, i), base.lon[NDE]), 1e-9)
            << i;
}

TEST_F(ChartCompute, PlanetaryArcsOfTheChosenBody) {
    double days = 30 * kYear;
    for (int option : {20, -1, 0, 1}) {
        int body = option == 1 ? MON : SUN;
        ChartRecord t = Target(days);
        ComputeChart(test::Scratch(), t, base, kPlanetaryArcs, option);
        SCOPED_TRACE(option);
        EXPECT_NEAR(t.jdCalc, base.jdUT + 30, Tolerance(30));
        double arc = BodyLongitude(test::Scratch(), t.jdCalc, body) - base.lon[body];
        for (int i : {SUN, MON, PLT, LIL})
            EXPECT_NEAR(Difference(t.lon[i], base.lon[i] + arc), 0.0, 1e-9) << i;
        EXPECT_NEAR(Difference(t.cusp[1], base.cusp[1] + arc), 0.0, 1e-9);
    }
}

TEST_F(ChartCompute, PolarWarningOnceAYearAndOnlyForChartsAtTheirOwnMoment) {
    ChartRecord north = Record("01.07.1990 12:00:00", 0, 69.39, 18.57);
    // A year of daily charts in Placidus at a polar place, as a search computes them:
    // each switches to zodiac houses, the command warns once.
    Computation search;
    for (int day = 0; day < 365; ++day) {
        ChartRecord t = north;
        t.houseSystem = kPlacidus;
        t.jdUT += day;
        ComputeChart(search, t, t, kNatal);
        EXPECT_EQ(t.houseSystem, kZodiacHouses);
    }
    EXPECT_TRUE(services.warnings.empty());  // computations never talk to the user
    TellDiagnostics(search.diagnostics);
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_EQ(services.warnings[0], LookupText("virhous"));
    ComputeChart(search, north, north, kNatal);
    ChartRecord progressed = north;
    progressed.houseSystem = kRegiomontanus;
    progressed.jdUT += 3652.421;
    Computation progression;
    ComputeChart(progression, progressed, north, kSecondary);
    EXPECT_TRUE(progression.diagnostics.Empty());
    EXPECT_EQ(progressed.houseSystem, kRegiomontanus);
}

TEST_F(ChartCompute, MomentForAnAscendant) {
    ChartRecord t = base;
    double sun = t.lon[SUN];
    double wanted = Normalize(base.cusp[1] + 40.0);
    int corrections = MomentForAscendant(t, wanted, test::Scratch().diagnostics);
    EXPECT_LT(corrections, 20);
    ChartRecord check = t;
    ComputeHouses(check, test::Scratch().diagnostics);
    EXPECT_LT(Separation(check.cusp[1], wanted), 0.001);
    EXPECT_GT(t.jdUT, base.jdUT);
    EXPECT_LT(t.jdUT, base.jdUT + 0.2);
    EXPECT_EQ(t.jdUT, t.jdCalc);
    EXPECT_EQ(t.jdLocal, t.jdUT - t.gmtCorr);
    EXPECT_EQ(t.lon[SUN], sun);  // bodies stay

    // At the polar latitude the Ascendant leaps: the search gives up after 20.
    ChartRecord polar = Record("01.01.2000 12:00:00", 0, 66.0, 37.37);
    ComputeHouses(polar, test::Scratch().diagnostics);
    EXPECT_EQ(MomentForAscendant(polar, 10.0, test::Scratch().diagnostics), 20);
    EXPECT_GT(Separation(polar.cusp[1], 10.0), 0.001);
}

TEST_F(ChartCompute, StartupChartsAreTheCurrentChartAtItsMoment) {
    ChartRecord current = Record("09.12.2026 03:00:00", -3, 55.45, 37.37);
    current.calcMethod = 0;
    ChartRecord input;
    ComputeStartupCharts(test::Scratch(), current, input);
    EXPECT_EQ(current.calcMethod, kNatal);
    EXPECT_EQ(current.jdCalc, current.jdUT);
    EXPECT_EQ(current.lon[SUN], BodyLongitude(test::Scratch(), current.jdUT, SUN));
    EXPECT_NE(current.cusp[1], 0.0);
    EXPECT_EQ(std::memcmp(&current, &input, sizeof current), 0);
}

}  // namespace
}  // namespace orbeta
