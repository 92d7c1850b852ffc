// Degree texts, star conjunctions, lots, midpoints, directions and the progressed Moon
// on small hand-made charts and control files.
#include "forecast/degree_reports.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../support/test_support.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/houses.h"
#include "forecast/directions.h"
#include "forecast/sensitive_points.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr long kAllBodies = (1 << 15) - 1;

class DegreeReports : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
        chart.jdLocal = JulianDay({1, 1, 2000, 12, 0, 0});
        chart.jdUT = chart.jdCalc = chart.jdLocal;
        chart.houseSystem = 8;  // bodies only unless a test gives houses
        for (int b = 1; b <= kBodyCount; ++b) chart.lon[b] = chart.lat[b] = chart.speed[b] = 0;
        chart.lon[SUN] = 100;
        chart.speed[SUN] = 1;
        table.aspects = {{0.0f}, {90.0f}};
    }
    void TearDown() override { SetUiTexts({}); }
    // Equal houses from an Ascendant.
    void GiveHouses(double asc) {
        chart.houseSystem = 3;
        for (int h = 1; h <= 12; ++h) chart.cusp[h] = Normalize(asc + 30 * (h - 1));
    }
    void Body(int b, double lon) {
        chart.lon[b] = lon;
        chart.speed[b] = 1;
    }
    static std::string Cp(const char* utf8) { return Utf8ToAnsi(utf8); }
    test::TempWorkDir dir;
    ChartRecord chart;
    OrbTable table;
};

TEST_F(DegreeReports, DegreeBlocksTakeTheWholeDegreeOfEachPoint) {
    struct Case {
        double lon;
        int block;  // the block that lists the Sun
    } cases[] = {{359.6, 359}, {0.2, 0}, {29.999, 29}, {30.0, 30}, {180.5, 180}};
    std::string file = "* comment\n@0\nzero\n@29\ntwenty-nine\n@30\n@180\nmid\n@359\nlast\n";
    for (const Case& c : cases) {
        chart.lon[SUN] = c.lon;
        auto r = ComputeDegreeTexts(chart, 1, file);
        ASSERT_EQ(r.blocks.size(), 1u) << c.lon;
        EXPECT_EQ(r.blocks[0].degree, c.block) << c.lon;
        EXPECT_EQ(r.blocks[0].points, std::vector<int>{SUN});
    }
    chart.lon[SUN] = 359.6;
    std::string text = DegreeTextReport(ComputeDegreeTexts(chart, 1, file));
    EXPECT_EQ(text, Cp(" `Солнце`  Рыбы 29 град. -\nlast\n\n"));
}

TEST_F(DegreeReports, DamagedDegreeLineIsToldAndItsTextDropped) {
    chart.lon[SUN] = 10.5;
    for (const char* bad : {"@", "@360", "@-1", "@1x", "@ten"}) {
        std::string file = std::string(bad) + "\nstray\n@10\ngood\n";
        auto r = ComputeDegreeTexts(chart, 1, file);
        ASSERT_EQ(r.messages.size(), 1u) << bad;
        EXPECT_NE(r.messages[0].find(Cp("строка 1")), std::string::npos) << r.messages[0];
        ASSERT_EQ(r.blocks.size(), 1u);
        EXPECT_EQ(r.blocks[0].lines, std::vector<std::string>{"good"}) << bad;
    }
    EXPECT_FALSE(ComputeDegreeTexts(chart, 1, std::nullopt).opened);
}

TEST_F(DegreeReports, StarWithinOneDegreeIsConjunct) {
    StarEntry regulus = *ParseStarLine("=Regulus 10.13953 11.96719 -0.1033 0.5 1.40 2 3");
    double star = StarPositionAt(regulus, chart.jdUT).longitude;
    struct Case {
        double offset;
        bool hit;
    } cases[] = {{1.0, true}, {-1.0, true}, {0.3, true}, {1.001, false}, {-1.01, false}};
    for (const Case& c : cases) {
        chart.lon[MON] = Normalize(star + c.offset);
        chart.speed[MON] = 13;
        auto r = ComputeStarConjunctions(
            chart, 3, std::string("=Regulus 10.13953 11.96719 -0.1033 0.5 1.40 2 3\ntext\n@\n"));
        ASSERT_EQ(r.stars.size(), 1u);
        bool moon = false;
        for (const StarHit& h : r.stars[0].hits)
            if (h.point == MON) moon = std::fabs(h.diff - c.offset) < 1e-6;
        EXPECT_EQ(moon, c.hit) << c.offset;
    }
}

TEST_F(DegreeReports, StarBlockWithoutStarLineIsSkipped) {
    StarEntry s = *ParseStarLine("=Spica 13.41988 -11.16132 -0.28 -3.2 0.98 5 2");
    chart.lon[SUN] = StarPositionAt(s, chart.jdUT).longitude;
    std::string file =
        "=Broken 25 10 0 0 1 1 1\nlost text\n@\n* note\n=Spica 13.41988 -11.16132 -0.28 -3.2 0.98 "
        "5 2\n* hidden\nSpica text\n@\n";
    auto r = ComputeStarConjunctions(chart, 1, file);
    ASSERT_EQ(r.messages.size(), 1u);
    ASSERT_EQ(r.stars.size(), 1u);
    EXPECT_EQ(r.stars[0].lines, std::vector<std::string>{"Spica text"});
    std::string text = StarConjunctionReport(r);
    EXPECT_NE(text.find(Cp(" `Солнце` соед. `Spica`  0.98 зв.вел. в ")), std::string::npos) << text;
    EXPECT_NE(text.find("Spica text\n"), std::string::npos);
}

TEST_F(DegreeReports, LotsFollowDayAndNight) {
    GiveHouses(0);  // Sun at 100 is in house 4: a night chart
    Body(MON, 200);
    std::string file =
        "   SUN+MON-ASC Both\n"
        " N ASC+MON-SUN Night\n"
        " D ASC+SUN-MON Day\n";
    struct Case {
        double sun;
        bool night;
        std::vector<std::string> names;
    } cases[] = {{100, true, {"Both", "Night"}}, {250, false, {"Both", "Day"}}};
    for (const Case& c : cases) {
        chart.lon[SUN] = c.sun;
        auto r = ComputeLots(chart, kAllBodies, file);
        EXPECT_EQ(r.night, c.night);
        std::vector<std::string> names;
        for (auto& e : r.entries) names.push_back(e.lot.formula.substr(12));
        EXPECT_EQ(names, c.names) << c.sun;
    }
    chart.lon[SUN] = 100;
    auto r = ComputeLots(chart, kAllBodies, file);
    EXPECT_DOUBLE_EQ(r.entries[0].lot.lon, 300);  // 100 + 200 − 0
    EXPECT_DOUBLE_EQ(r.entries[1].lot.lon, 100);  // 0 + 200 − 100
}

TEST_F(DegreeReports, LotSymbolsAndTheirFaults) {
    GiveHouses(15);  // cusp 1 in Aries (ruler Mars), cusp 2 in Taurus (Venus)
    Body(MRS, 40);
    Body(VEN, 70);
    Body(MON, 10);
    struct Case {
        const char* line;
        bool lot;
        const char* symbol;
        double lon;
    } cases[] = {
        {"M  R01+R02-SUN Rulers", true, "", Normalize(40 + 70 - 100)},
        {"F  H07-MON+ASC Seventh", true, "", Normalize(195 - 10 + 15)},
        {"   SUN+XYZ-MON Unknown", false, "XYZ", 0},
        {"   SUN*MON-ASC Operator", false, "*", 0},
        {"   SUN+URN-MON No data", false, "URN", 0},
    };
    for (const Case& c : cases) {
        auto r = ComputeLots(chart, kAllBodies, std::string(c.line) + "\n");
        ASSERT_EQ(r.entries.size(), 1u) << c.line;
        EXPECT_EQ(r.entries[0].isLot, c.lot) << c.line;
        if (c.lot)
            EXPECT_NEAR(r.entries[0].lot.lon, c.lon, 1e-9) << c.line;
        else
            EXPECT_EQ(r.entries[0].error.symbol, c.symbol);
    }
    std::string text = LotReport(ComputeLots(chart, kAllBodies, std::string(cases[2].line)));
    EXPECT_NE(text.find(LookupText("ErChr")), std::string::npos) << text;
    EXPECT_NE(text.find(" SUN, \n MON, "), std::string::npos) << text;
    EXPECT_NE(text.find(" R12, \n"), std::string::npos) << text;
    text = LotReport(ComputeLots(chart, kAllBodies, std::string(cases[0].line)));
    EXPECT_EQ(text.rfind(Cp(" Для мужчин:\n R01+R02-SUN Rulers")), 0u) << text;
    chart.houseSystem = 8;
    EXPECT_EQ(LotReport(ComputeLots(chart, kAllBodies, std::string(cases[0].line))),
              LookupText("dZ") + "\n");
}

TEST_F(DegreeReports, MidpointsOnAspectPointsAndSignStarts) {
    Body(MON, 350);
    chart.lon[SUN] = 20;  // midpoint 5 by the shorter arc
    auto entries = ComputeMidpoints(chart, table, 3);
    ASSERT_EQ(entries.size(), 1u);  // no houses: no Ascendant or MC
    EXPECT_DOUBLE_EQ(entries[0].lon, 5);
    EXPECT_TRUE(entries[0].hits.empty());
    chart.lon[SUN] = 10.5;  // midpoint 0.25: 0° Aries, and nothing else
    entries = ComputeMidpoints(chart, table, 3);
    ASSERT_EQ(entries[0].hits.size(), 1u);
    EXPECT_EQ(entries[0].hits[0].owner, kSignStartOwner);
    EXPECT_NEAR(entries[0].hits[0].orb, 0.25, 1e-9);
    GiveHouses(95);
    entries = ComputeMidpoints(chart, table, 3);
    ASSERT_EQ(entries.size(), 6u);  // Sun, Moon, Asc, MC
    EXPECT_EQ(entries.back().a, kPointAsc);
    EXPECT_EQ(entries.back().b, kPointMc);
    std::string text = MidpointReport(entries);
    EXPECT_NE(text.find(Cp(" Солнце-Луна 00Ar15 0° Овна(00Ar00) -   0 (орбис=0.25)\n")),
              std::string::npos)
        << text;
}

TEST_F(DegreeReports, BodyWithoutDataIsNeverActive) {
    // Uranus has no position: it stays at 0 and must not meet 0° Aries anywhere.
    Body(MON, 0.5);
    GiveHouses(95);
    for (auto& e : ComputeMidpoints(chart, table, kAllBodies))
        EXPECT_TRUE(e.a != URN && e.b != URN);
    for (auto& f :
         DirectionFindings(chart, table, kAllBodies, false, chart.jdUT, chart.jdUT + 365.2421 * 30))
        EXPECT_TRUE(f.point != URN && f.owner != URN);
    for (int p : ExaminedPoints(chart, kAllBodies)) EXPECT_NE(p, URN);
}

TEST_F(DegreeReports, DirectionsCrossAriesByWholeTurns) {
    chart.lon[SUN] = 359.5;
    Body(MON, 0.3);  // Moon's conjunction point 0.3: the Sun reaches it after 0.8 years
    table.aspects = {{0.0f}};
    double start = chart.jdUT, end = chart.jdUT + 365.2421 * 2;
    auto f = DirectionFindings(chart, table, 3, false, start, end);
    std::vector<std::pair<int, int>> got;
    for (auto& x : f) got.push_back({x.point, x.owner});
    // Sun → Moon at 0.8 y, Sun → 0° Aries at 0.5 y; the Moon reaches no sign start.
    ASSERT_EQ(got, (std::vector<std::pair<int, int>>{{SUN, kSignStartOwner}, {SUN, MON}}));
    EXPECT_NEAR(f[1].jd - chart.jdUT, 0.8 * 365.2421, 1e-6);
    EXPECT_TRUE(std::is_sorted(f.begin(), f.end(), [](auto& a, auto& b) { return a.jd < b.jd; }));
    // An interval ending before it starts finds nothing.
    EXPECT_TRUE(DirectionFindings(chart, table, 3, false, end, start).empty());
    // Right ascension: the same scan on a converted copy.
    ChartRecord ra = RightAscensionChart(chart);
    EXPECT_NEAR(ra.lon[SUN], EquatorialOf(chart, SUN).rightAscension, 1e-12);
    EXPECT_DOUBLE_EQ(chart.lon[SUN], 359.5);
}

class ProgressedMoon : public DegreeReports {
  protected:
    // A Moon moving steadily: lon0 at the chart's moment, `speed` degrees a day.
    std::vector<DirectionFinding> Run(double lon0, double speed, double years, long maskP = 0) {
        auto moon = [&](double jd) { return Normalize(lon0 + speed * (jd - chart.jdUT)); };
        return ProgressedMoonFindings(chart, table, maskP, chart.jdUT,
                                      chart.jdUT + 365.2421 * years, moon);
    }
};

TEST_F(ProgressedMoon, SeveralPassagesInOneStepInOrder) {
    chart.houseSystem = 8;
    table.aspects = {{0.0f}};  // only the sign starts (maskP 0: no bodies)
    // 13°/day: a half-year step covers 6.5° of progressed motion.
    auto f = Run(25, 13, 3);
    ASSERT_EQ(f.size(), 2u);  // 30° after 5/13 year, then 60°
    EXPECT_NEAR(f[0].jd - chart.jdUT, 5.0 / 13 * 365.2421, 1e-6);
    table.aspects = {{0.0f}, {5.0f}, {10.0f}};  // and the Sun's points
    chart.lon[SUN] = 28;
    chart.speed[SUN] = 1;
    auto g =
        ProgressedMoonFindings(chart, table, 1, chart.jdUT, chart.jdUT + 365.2421,
                               [&](double jd) { return Normalize(27 + 13 * (jd - chart.jdUT)); });
    // Aspect points 18, 23, 28, 30, 33, 38 ahead of 27: within the first step 28, 30, 33.
    std::vector<double> at;
    for (auto& x : g) at.push_back(std::round((x.jd - chart.jdUT) / 365.2421 * 13 + 27));
    EXPECT_EQ(at, (std::vector<double>{28, 30, 33, 38}));
}

TEST_F(ProgressedMoon, StartPastTheLastPointGoesOnAndEachPassageOnce) {
    chart.houseSystem = 8;
    table.aspects = {{0.0f}};
    chart.lon[SUN] = 340;
    chart.speed[SUN] = 1;
    // The Moon starts at 350, past the last aspect point (340): it must go on to 0° Aries
    // and the later sign starts, one passage each, over several whole turns.
    auto f = Run(350, 13, 60, 1);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(f[0].owner, kSignStartOwner);
    EXPECT_NEAR(f[0].jd - chart.jdUT, 10.0 / 13 * 365.2421, 1e-6);
    // 60 years at 13°/year = 780°: 13 points a turn (12 starts and the Sun).
    EXPECT_EQ(f.size(), 28u);
    for (size_t i = 1; i < f.size(); ++i) EXPECT_GT(f[i].jd, f[i - 1].jd);
}

}  // namespace
}  // namespace orbeta
