// The fixed-star report's daily circle, heliacal star, parans and angles, and the
// asteroid and hypothetical tables.
#include "interp/star_report.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../core/chart_fixture.h"
#include "../core/ephemeris_fixture.h"
#include "core/hypothetical.h"
#include "core/star_catalogue.h"
#include "interp/extra_points.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

TEST(StarCircle, DropNeverSetAndOrdinaryStarsAtSixtyNorth) {
    struct Case {
        double ra, dec;
        bool visible;
        double rising, culmination, setting;
    } cases[] = {
        {0, -35, false, kNoEvent, kNoEvent, kNoEvent},  // never rises
        {0, 35, true, kNoEvent, 0, kNoEvent},           // never sets
        {90, 0, true, 0, 6, 12},                        // H0 = 90°
        {0, 0, true, 18, 0, 6},                         // rising wraps round 24 h
    };
    for (const Case& c : cases) {
        std::array<double, 4> h{};
        EXPECT_EQ(CircleHours(c.ra, c.dec, 60, h), c.visible) << c.dec;
        EXPECT_NEAR(h[kRising], c.rising, 1e-9) << c.ra << " " << c.dec;
        EXPECT_NEAR(h[kCulmination], c.culmination, 1e-9) << c.ra << " " << c.dec;
        EXPECT_NEAR(h[kSetting], c.setting, 1e-9) << c.ra << " " << c.dec;
    }
}

TEST(StarCircle, HourDifferenceIsTakenRoundTheDay) {
    struct Case {
        double a, b, diff;
    } cases[] = {
        {5.02, 5.00, 0.02}, {0.01, 23.99, 0.02}, {23.99, 0.01, -0.02}, {12, 0, -12}, {0, 12, -12},
    };
    for (const Case& c : cases) EXPECT_NEAR(HourDifference(c.a, c.b), c.diff, 1e-9) << c.a;
}

class StarReportTest : public test::EphemerisTest {
  protected:
    // A star of J2000.0 at an ecliptic longitude on the ecliptic, or at a right
    // ascension and declination.
    static StarEntry Star(double ra, double dec, int number, int cls = 1) {
        StarEntry s;
        s.name = "S" + std::to_string(number);
        s.raHours = ra / 15;
        s.declination = dec;
        s.number = number;
        s.heliacalClass = cls;
        return s;
    }
    static std::vector<StarEntry> Shipped() {
        Diagnostics d;
        return ReadStarCatalogue(test::WorkspaceTemplate() + "/starbb.ctl", d).stars;
    }
};

TEST_F(StarReportTest, SunEventsAgreeWithTheReferenceAndTheHeliacalStarRises) {
    // Moscow, 20.01.1990: the Sun rises at sidereal 16.32 h, where a never-setting star's
    // 999 would wrap into the heliacal window.
    StarReportInput in;
    in.chart = test::NatalAt("20.01.1990 12:00:00", -3, 55.45, 37.37);
    in.stars = Shipped();
    ASSERT_EQ(in.stars.size(), 88u);
    StarReport r = ComputeStarReport(test::Scratch(), in);
    ASSERT_FALSE(r.bodies.empty());
    ASSERT_EQ(r.bodies[0].body, SUN);
    // swetest -rise -norefrac -disccenter and -metr: 05:51:06.1, 09:40:30.4, 13:30:27.4 UT
    const double day = std::floor(in.chart.jdUT - 0.5) + 0.5;
    const double expected[3] = {5 + 51 / 60.0 + 6.1 / 3600, 9 + 40 / 60.0 + 30.4 / 3600,
                                13 + 30 / 60.0 + 27.4 / 3600};
    for (int e = 0; e < 3; ++e)
        EXPECT_NEAR((r.bodies[0].events[e].jdUT - day) * 86400, expected[e] * 3600, 10) << e;
    EXPECT_NEAR(r.bodies[0].events[kRising].hour, 16.32, 0.01);
    ASSERT_GE(r.heliacal, 0);
    const StarRow& h = r.stars[r.heliacal];
    EXPECT_NE(h.hours[kRising], kNoEvent) << h.star.number;
    EXPECT_GT(h.star.heliacalClass, 0);
    EXPECT_GE(r.heliacalD, 0);
    EXPECT_LE(r.heliacalD, 30);
    // Capella (17) and Vega (75) never set in Moscow.
    EXPECT_EQ(r.stars[16].hours[kRising], kNoEvent);
    EXPECT_EQ(r.stars[74].hours[kRising], kNoEvent);
}

TEST_F(StarReportTest, ParansWithinTheOrbInHours) {
    StarReportInput in;
    in.chart = test::NatalAt("01.01.2000 15:00:00", -3, 55.45, 37.37);  // 12 h UT: J2000.0
    StarReport bodiesOnly = ComputeStarReport(test::Scratch(), in);
    const double culmination = bodiesOnly.bodies[0].events[kCulmination].hour;
    // On the equator of J2000.0 a star rises 6 h before it culminates.
    for (double offset : {0.02, -0.03, 0.04}) {
        in.stars = {Star(15 * (culmination + offset) + 90, 0, 1)};
        StarReport r = ComputeStarReport(test::Scratch(), in);
        bool found = false;
        for (const Paran& p : r.parans)
            if (p.body == SUN && p.event == kCulmination && p.angle == 0) {
                found = true;
                EXPECT_NEAR(p.diff, offset, 1e-4);
            }
        EXPECT_EQ(found, std::fabs(offset) < 0.5 / 15) << offset;
    }
}

TEST_F(StarReportTest, StarsOnTheTrueAnglesOfAChartWithoutHouses) {
    StarReportInput in;
    in.chart = test::ChartAt("01.01.2000 15:00:00", -3, 55.45, 37.37);
    in.chart.houseSystem = kZodiacHouses;
    ComputeChart(test::Scratch(), in.chart, in.chart, kNatal);
    AnglePair angles = TrueAngles(in.chart);
    ASSERT_GT(Separation(angles.ascendant, 0), 1);  // not the cusp of 0° Aries
    const double eps = MeanObliquity(in.chart.jdUT);
    auto onEcliptic = [&](double lon, int number) {
        double l = lon * M_PI / 180;
        double ra = std::atan2(std::sin(l) * std::cos(eps), std::cos(l)) * 180 / M_PI;
        double dec = std::asin(std::sin(eps) * std::sin(l)) * 180 / M_PI;
        return Star(Normalize(ra), dec, number);
    };
    in.stars = {onEcliptic(angles.ascendant + 0.3, 1), onEcliptic(angles.midheaven - 0.2, 2),
                onEcliptic(0.1, 3)};
    StarReport r = ComputeStarReport(test::Scratch(), in);
    ASSERT_EQ(r.onAngles.size(), 2u);
    EXPECT_EQ(r.onAngles[0].angle, 0);
    EXPECT_EQ(r.onAngles[0].star, 0);
    EXPECT_EQ(r.onAngles[1].angle, 1);
    EXPECT_EQ(r.onAngles[1].star, 1);
}

TEST(ExtraPoints, AsteroidListEntries) {
    // the last token is the body number: a library-range id, with a name before it
    auto entries = ParseAsteroidList("Фолус 16/Без номера/Икс 5/Седна 100377/20/Веста  20 "_cp);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].number, 16);
    EXPECT_EQ(entries[0].name, "Фолус 16"_cp);
    EXPECT_EQ(entries[1].number, 100377);
    EXPECT_EQ(entries[2].number, 20);
}

TEST_F(StarReportTest, AnAsteroidWithoutEphemerisDataIsNeverInContact) {
    ChartRecord chart = test::NatalAt("01.01.2000 15:00:00", -3, 55.45, 37.37);
    OrbTable table;
    table.aspects.resize(1);
    table.aspects[0].angle = 0;
    Computation c;
    auto bodies = ComputeAsteroids(c, chart, table, 1023,
                                   {{"Церера 17"_cp, 17}, {"Седна 100377"_cp, 100377}});
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_TRUE(bodies[0].available);
    EXPECT_FALSE(bodies[1].available);  // no file for it: not a body at 0° Aries
    EXPECT_TRUE(bodies[1].contacts.empty());
    ReportSink sink;
    WriteAsteroidTable(bodies, sink);
    EXPECT_NE(sink.Body().find("\n  Седна 100377           нет данных эфемерид\n"_cp),
              std::string::npos)
        << sink.Body();
}

TEST_F(StarReportTest, HypotheticalBodiesWithoutElementsPrintNothing) {
    ChartRecord chart = test::NatalAt("01.01.2000 15:00:00", -3, 55.45, 37.37);
    Computation c;
    auto bodies = ComputeHypotheticalBodies(c, chart, OrbTable{}, 1023);
    ASSERT_EQ(bodies.size(), 8u);
    for (const ExtraBody& b : bodies) EXPECT_FALSE(b.available);
    ReportSink sink;
    WriteHypotheticalTable(bodies, sink);
    EXPECT_EQ(sink.Body(), "");
}

}  // namespace
}  // namespace orbeta
