#include "core/derived_charts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../support/scratch_computation.h"
#include "chart_fixture.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/houses.h"
#include "ephemeris_fixture.h"
#include "platform/codepage.h"
#include "swetest_houses.h"

namespace orbeta {
namespace {

constexpr double kArcSecond = 1.0 / 3600.0;

class DerivedCharts : public test::EphemerisTest {
  protected:
    void SetUp() override {
        EphemerisTest::SetUp();
        moscow = Natal("16.05.1945 08:00:00", -3, 55.45, 37.37);
        newYork = Natal("04.07.1976 12:30:00", 4, 40.43, -73.59);
    }
    static ChartRecord Natal(const char* date, double gmtHours, double lat, double lon) {
        ChartRecord r = test::ChartAt(date, gmtHours, lat, lon);
        CopyText(r.name, "Moscow");
        ComputeChart(test::Scratch(), r, r, kNatal);
        return r;
    }
    ChartRecord moscow, newYork;
};

TEST(HarmonicNumber, BelowOneOrNoNumberGivesTheSecond) {
    EXPECT_EQ(ParseHarmonicNumber("5"), 5);
    EXPECT_EQ(ParseHarmonicNumber("  12"), 12);
    EXPECT_EQ(ParseHarmonicNumber("+7"), 7);
    EXPECT_EQ(ParseHarmonicNumber("9x"), 9);  // read as far as it is a number
    for (const char* text : {"0", "-3", "", "abc", "  ", "-", "x9"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseHarmonicNumber(text), 2);
    }
    // nine digits do not fit the record's 16 bits
    EXPECT_EQ(ParseHarmonicNumber("999999999"), 32767);
}

TEST_F(DerivedCharts, HarmonicMultipliesEveryLongitude) {
    for (int n : {1, 2, 5, 7, 12}) {
        SCOPED_TRACE(n);
        ChartRecord h = HarmonicChart(moscow, n);
        EXPECT_EQ(h.calcMethod, kHarmonicMethod);
        EXPECT_EQ(h.houseSystem, kZodiacHouses);
        EXPECT_EQ(h.harmonic, n);
        EXPECT_STREQ(h.eventHeader.name, "Moscow");
        for (int b = SUN; b <= LIL; ++b) {
            // n × (λ mod 360/n) is the n-fold longitude taken around the circle
            EXPECT_NEAR(Difference(h.lon[b], std::fmod(n * moscow.lon[b], 360.0)), 0, 1e-9);
            EXPECT_GE(h.lon[b], 0);
            EXPECT_LT(h.lon[b], 360);
        }
        EXPECT_DOUBLE_EQ(h.cusp[1], 0);
        EXPECT_DOUBLE_EQ(h.cusp[10], 270);
    }
    EXPECT_EQ(HarmonicChart(moscow, 0).harmonic, 2);
    EXPECT_EQ(HarmonicChart(moscow, -4).harmonic, 2);
}

TEST_F(DerivedCharts, HarmonicStaysHarmonicWhenMovedInTime) {
    ChartRecord h = HarmonicChart(moscow, 5);
    MoveChartInTime(test::Scratch(), h, moscow, 30);
    ChartRecord later = moscow;
    later.jdUT += 30;
    ComputeChart(test::Scratch(), later, moscow, kNatal);
    EXPECT_EQ(h.calcMethod, kHarmonicMethod);
    EXPECT_EQ(h.houseSystem, kZodiacHouses);
    for (int b = SUN; b <= PLT; ++b)
        EXPECT_NEAR(Difference(h.lon[b], std::fmod(5 * later.lon[b], 360.0)), 0, 1e-9) << b;
}

TEST(AveragedPlace, LongitudesOnBothSidesOfGreenwich) {
    // 37°37' E and 73°59' W: the mean is 18°11' W, stored as 341°49'
    EXPECT_NEAR(AveragedLongitude(StoredLongitude(37.37), StoredLongitude(-73.59)), 341.49, 1e-9);
    EXPECT_NEAR(AveragedLongitude(StoredLongitude(10.30), StoredLongitude(20.30)), 15.30, 1e-9);
    // 170° E and 170° W meet across the date line, not at Greenwich
    EXPECT_NEAR(AveragedLongitude(StoredLongitude(170.0), StoredLongitude(-170.0)), 180.0, 1e-9);
    // minutes average as minutes: 55°45' and 33°52' S give 10°56'30"
    EXPECT_NEAR(AveragedLatitude(55.45, -33.52), 10.565, 1e-9);
}

TEST_F(DerivedCharts, CompositeTakesMidpointsAndHousesFromTheMidheavens) {
    ChartRecord a = moscow, b = newYork;
    a.lon[SUN] = 350;
    b.lon[SUN] = 10;  // across 0° Aries
    a.lon[MON] = 100;
    b.lon[MON] = 300;  // the shorter arc runs through 20°
    ContactPlace averaged;
    ChartRecord c = CompositeChart(a, b, averaged, kPlacidus);
    EXPECT_EQ(c.calcMethod, kCompositeMethod);
    EXPECT_NEAR(c.lon[SUN], 0, 1e-9);
    EXPECT_NEAR(c.lon[MON], 20, 1e-9);
    EXPECT_DOUBLE_EQ(c.speed[MER], (a.speed[MER] + b.speed[MER]) / 2);
    EXPECT_NEAR(c.cusp[10], Midpoint(a.cusp[10], b.cusp[10]), 1e-6);
    EXPECT_NEAR(Separation(c.cusp[4], c.cusp[10]), 180, 1e-6);
    EXPECT_STREQ(c.place, "");
    EXPECT_NEAR(c.latitude, AveragedLatitude(55.45, 40.43), 1e-12);
    EXPECT_STREQ(c.eventHeader.name, "Moscow");

    ContactPlace given{false, "Sydney", -33.52, 151.13};
    ChartRecord p = CompositeChart(a, b, given, kKoch);
    EXPECT_STREQ(p.place, "Sydney");
    EXPECT_DOUBLE_EQ(p.latitude, -33.52);
    EXPECT_EQ(p.houseSystem, kKoch);
    EXPECT_NEAR(p.cusp[10], c.cusp[10], 1e-6);  // the Midheaven does not depend on the place
    EXPECT_GT(Separation(p.cusp[1], c.cusp[1]), 1);
}

TEST_F(DerivedCharts, MidpointChartStandsAtTheMeanMoment) {
    ChartRecord m =
        MidpointChart(test::Scratch(), moscow, newYork, ContactPlace{}, kPlacidus, moscow);
    double mean = (moscow.jdUT + newYork.jdUT) / 2;
    EXPECT_DOUBLE_EQ(m.jdUT, mean);
    EXPECT_DOUBLE_EQ(m.jdLocal, mean);
    EXPECT_DOUBLE_EQ(m.gmtCorr, 0);  // so the local time shown is that moment
    EXPECT_EQ(m.calcMethod, kMidpointMethod);
    ChartRecord natal = m;
    ComputeChart(test::Scratch(), natal, moscow, kNatal);
    for (int b = SUN; b <= PLT; ++b) EXPECT_DOUBLE_EQ(m.lon[b], natal.lon[b]);
    EXPECT_DOUBLE_EQ(m.cusp[1], natal.cusp[1]);
}

TEST_F(DerivedCharts, RelocationHousesAreTheNewPlacesHouses) {
    if (!test::HaveProgram("swetest")) GTEST_SKIP() << "swetest is not installed";
    ChartRecord r = RelocationChart(test::Scratch(), moscow, "New York", 40.43, -73.59, kPlacidus);
    EXPECT_EQ(r.calcMethod, kRelocationMethod);
    EXPECT_STREQ(r.place, "New York");
    EXPECT_DOUBLE_EQ(r.jdUT, moscow.jdUT);
    EXPECT_DOUBLE_EQ(r.lon[SUN], moscow.lon[SUN]);
    auto oracle =
        test::SwetestHouses(moscow.jdUT, PackedToDegrees(-73.59), PackedToDegrees(40.43), 'P');
    ASSERT_TRUE(oracle.ok);
    for (int i = 1; i <= 12; ++i)
        EXPECT_NEAR(Separation(r.cusp[i], oracle.cusp[i]), 0, 5 * kArcSecond) << i;
}

TEST_F(DerivedCharts, ThematicEqualHousesFromOneOrTwoPlanets) {
    ChartRecord t = moscow;
    t.lon[MRS] = 100;
    t.lon[VEN] = 50;
    t.cusp[1] = 200;
    std::string error;
    ChartRecord one = t;
    ASSERT_TRUE(ThematicChart(test::Scratch(), one, 1, MRS, VEN, moscow, error));
    EXPECT_EQ(one.houseSystem, kEqualFromAsc);
    EXPECT_DOUBLE_EQ(one.cusp[1], 100);
    EXPECT_NEAR(one.cusp[10], 10, 1e-9);
    EXPECT_DOUBLE_EQ(one.lon[MRS], 100);  // bodies stay
    ChartRecord two = t;
    ASSERT_TRUE(ThematicChart(test::Scratch(), two, 2, MRS, VEN, moscow, error));
    EXPECT_DOUBLE_EQ(two.cusp[1], 150);  // 200 + (50 − 100)
    EXPECT_NEAR(two.cusp[12], 120, 1e-9);
}

TEST_F(DerivedCharts, ThematicPutsThePlanetOnTheAscendant) {
    for (int body : {SUN, MON, MRS, SAT}) {
        SCOPED_TRACE(body);
        ChartRecord t = moscow;
        std::string error;
        ASSERT_TRUE(ThematicChart(test::Scratch(), t, 0, body, SUN, moscow, error)) << error;
        EXPECT_LT(Separation(t.lon[body], t.cusp[1]), 0.001);
        EXPECT_EQ(t.houseSystem, kPlacidus);
        EXPECT_DOUBLE_EQ(t.jdLocal, t.jdUT - t.gmtCorr);
        // within a day of the chart's moment (the search may settle on the crossing before)
        EXPECT_LT(std::fabs(t.jdUT - moscow.jdUT), 1.1);
    }
}

TEST_F(DerivedCharts, ThematicOnAChartWithoutHousesIsRefused) {
    ChartRecord t = moscow;
    t.houseSystem = kZodiacHouses;
    ComputeChart(test::Scratch(), t, moscow, kNatal);
    ChartRecord before = t;
    std::string error;
    EXPECT_FALSE(ThematicChart(test::Scratch(), t, 0, MRS, SUN, moscow, error));
    EXPECT_NE(error.find("без домов"_cp), std::string::npos);
    EXPECT_DOUBLE_EQ(t.jdUT, before.jdUT);
    EXPECT_FALSE(ThematicChart(test::Scratch(), t, 0, 0, SUN, moscow, error));  // no planet chosen
}

TEST(TimeSteps, DaysAndTimeOfDay) {
    const long delT[8] = {1, 2, 30, 36, 0, 0, 90, 0};
    EXPECT_DOUBLE_EQ(TimeStep(delT, false), 1 + (2 + 0.5 + 0.01) / 24);
    EXPECT_DOUBLE_EQ(TimeStep(delT, true), 1.5 / 24);
    EXPECT_DOUBLE_EQ(StepDays(-1, 0, 0, 0), -1);
}

TEST_F(DerivedCharts, MovingKeepsTheMethodAndItsBase) {
    ChartRecord progressed = moscow;
    progressed.jdUT += 365.2421 * 30;
    progressed.jdLocal += 365.2421 * 30;
    ComputeChart(test::Scratch(), progressed, moscow, kSecondary);
    MoveChartInTime(test::Scratch(), progressed, moscow, 365.2421);
    EXPECT_EQ(progressed.calcMethod, kSecondary);
    EXPECT_NEAR(progressed.jdCalc, moscow.jdUT + 31, 1e-6);
    EXPECT_NEAR(progressed.jdLocal, progressed.jdUT - progressed.gmtCorr, 1e-9);
}

TEST_F(DerivedCharts, AscendantChangeReachesTheTarget) {
    EXPECT_DOUBLE_EQ(AscendantTarget(4, 12, 30, 36), 132.51);
    std::string error;
    for (double target : {AscendantTarget(0, 0, 0, 0), AscendantTarget(4, 12, 30, 0),
                          AscendantTarget(11, 29, 59, 59)}) {
        SCOPED_TRACE(target);
        ChartRecord c = moscow;
        ASSERT_TRUE(ChangeAscendant(test::Scratch(), c, moscow, target, error)) << error;
        EXPECT_LT(Separation(c.cusp[1], target), 0.001);
        EXPECT_DOUBLE_EQ(c.jdCalc, c.jdUT);
        EXPECT_NEAR(c.jdLocal, c.jdUT - c.gmtCorr, 1e-9);
        ChartRecord natal = c;  // bodies move with the moment
        ComputeChart(test::Scratch(), natal, moscow, kNatal);
        EXPECT_DOUBLE_EQ(c.lon[MON], natal.lon[MON]);
    }
}

TEST_F(DerivedCharts, AscendantChangeOfAConverseChartMapsTheMomentBack) {
    ChartRecord c = moscow;
    c.jdUT += 3000;
    c.jdLocal += 3000;
    ComputeChart(test::Scratch(), c, moscow, kConverse);
    std::string error;
    ASSERT_TRUE(ChangeAscendant(test::Scratch(), c, moscow, 200.0, error)) << error;
    EXPECT_EQ(c.calcMethod, kConverse);
    EXPECT_LT(Separation(c.cusp[1], 200.0), 0.001);
    EXPECT_NEAR(c.jdCalc, 2 * moscow.jdUT - c.jdUT, 1e-9);
    EXPECT_NEAR(c.jdUT, moscow.jdUT + 3000, 1.0);  // within a day of where it was
}

TEST_F(DerivedCharts, AscendantChangeRefusedWhereNoMomentGivesIt) {
    ChartRecord p = moscow;
    p.jdUT += 10000;
    ComputeChart(test::Scratch(), p, moscow, kSecondary);
    ChartRecord before = p;
    std::string error;
    EXPECT_FALSE(ChangeAscendant(test::Scratch(), p, moscow, 100.0, error));
    EXPECT_NE(error.find("Асцендент"_cp), std::string::npos);
    EXPECT_DOUBLE_EQ(p.jdUT, before.jdUT);
    ChartRecord h = HarmonicChart(moscow, 3);
    EXPECT_FALSE(ChangeAscendant(test::Scratch(), h, moscow, 100.0, error));
}

}  // namespace
}  // namespace orbeta
