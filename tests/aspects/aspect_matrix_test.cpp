#include "aspects/aspect_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "../support/test_support.h"
#include "core/angles.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

// A chart whose points stand where the test puts them; every body available.
ChartRecord ChartAt(std::map<int, double> lon) {
    ChartRecord c;
    for (int p = 1; p <= kPointCount; ++p) {
        double x = lon.count(p) ? lon[p] : 3.0 * p + 0.37 * p * p;  // spread, no aspects
        if (p <= kBodyCount) {
            c.lon[p] = x;
            c.speed[p] = 1.0;
        } else {
            c.cusp[CuspOfPoint(p)] = x;
        }
    }
    return c;
}

// One aspect per line: angle, then orbs by PointId as given, the rest 0.
OrbTable Table(const std::string& text) {
    return ParseOrbTable(text, false);
}

TEST(AspectMatrix, TheFirstAdmittingAspectInTableOrderWins) {
    ChartRecord c = ChartAt({{SUN, 10}, {MON, 15}, {MER, 38}});
    // SUN–MON 5 apart: 0 admits; 30 does not, whichever comes first
    auto m = ComputeAspectMatrix(c, Table("0 8 8 8 S 0 0 -1 0\n30 2 2 2 S 0 0 -1 0\n"));
    EXPECT_EQ(m.At(SUN, MON), 0.0f);
    EXPECT_EQ(m.At(SUN, MER), 30.0f);  // 28 apart
    m = ComputeAspectMatrix(c, Table("30 2 2 2 S 0 0 -1 0\n0 8 8 8 S 0 0 -1 0\n"));
    EXPECT_EQ(m.At(SUN, MON), 0.0f);
    // MON–MER 23 apart is within a 25° conjunction and a 30° aspect of orb 7: the one
    // listed first wins, not the closer one
    m = ComputeAspectMatrix(c, Table("0 25 25 25 S 0 0 -1 0\n30 7 7 7 S 0 0 -1 0\n"));
    EXPECT_EQ(m.At(MON, MER), 0.0f);
    m = ComputeAspectMatrix(c, Table("30 7 7 7 S 0 0 -1 0\n0 25 25 25 S 0 0 -1 0\n"));
    EXPECT_EQ(m.At(MON, MER), 30.0f);
}

TEST(AspectMatrix, WithinAChartTheLargerOrbBetweenChartsTheRowPoints) {
    // SUN orb 8, MON orb 1; the two 2 apart
    auto t = Table("0 8 1 S 0 0 -1 0\n");
    ChartRecord a = ChartAt({{SUN, 100}, {MON, 102}});
    auto within = ComputeAspectMatrix(a, t);
    EXPECT_EQ(within.At(SUN, MON), 0.0f);
    auto between = ComputeAspectMatrix(a, a, kAspectsBetweenCharts, t);
    EXPECT_EQ(between.At(SUN, MON), 0.0f);       // row SUN: orb 8
    EXPECT_EQ(between.At(MON, SUN), kNoAspect);  // row MON: orb 1
    // any mode other than 0 is between charts
    EXPECT_EQ(ComputeAspectMatrix(a, a, 1, t).At(MON, SUN), kNoAspect);
}

TEST(AspectMatrix, BetweenABodyAndACuspTheBodysOrbDecides) {
    std::string ascWide = "0 1";
    for (int p = 2; p <= 15; ++p) ascWide += " 0";
    ascWide += " 10 S 0 0 -1 0\n";  // SUN 1, ASC 10
    std::string ascNarrow = "0 5";
    for (int p = 2; p <= 16; ++p) ascNarrow += " 0";
    ascNarrow += " S 0 0 -1 0\n";  // SUN 5, ASC 0
    ChartRecord c = ChartAt({{SUN, 200}, {kPointAsc, 203}});
    EXPECT_EQ(ComputeAspectMatrix(c, Table(ascWide)).At(SUN, kPointAsc), kNoAspect);
    EXPECT_EQ(ComputeAspectMatrix(c, Table(ascNarrow)).At(SUN, kPointAsc), 0.0f);
    // between charts too, when the cusp is the row point
    EXPECT_EQ(ComputeAspectMatrix(c, c, kAspectsBetweenCharts, Table(ascWide)).At(kPointAsc, SUN),
              kNoAspect);
    EXPECT_EQ(ComputeAspectMatrix(c, c, kAspectsBetweenCharts, Table(ascNarrow)).At(kPointAsc, SUN),
              0.0f);
    // between two cusps their own orbs count: cusp 7 (PointId 22) has ASC's orb 10
    ChartRecord d = ChartAt({{kPointAsc, 10}, {PointOfCusp(7), 16}});
    EXPECT_EQ(ComputeAspectMatrix(d, Table(ascWide)).At(kPointAsc, PointOfCusp(7)), 0.0f);
}

TEST(AspectMatrix, DeviationsBeyondTheLargestOrbAreNotExamined) {
    ChartRecord c = ChartAt({{SUN, 0}, {MON, 3}});
    OrbTable t = Table("0 5 5 S 0 0 -1 0\n");
    EXPECT_EQ(ComputeAspectMatrix(c, t).At(SUN, MON), 0.0f);
    t.largestOrb = 2.0f;  // a table whose largest orb is stale
    EXPECT_EQ(ComputeAspectMatrix(c, t).At(SUN, MON), kNoAspect);
}

TEST(AspectMatrix, WithinAChartTheLowerTriangleHoldsSeparations) {
    ChartRecord c = ChartAt({{SUN, 350}, {MON, 20}, {kPointMc, 140}});
    OrbTable t = Table("0 360 360 S 0 0 -1 0\n");  // every pair would be a conjunction
    auto m = ComputeAspectMatrix(c, t);
    for (int p = 1; p <= kPointCount; ++p) EXPECT_EQ(m.At(p, p), 0.0f) << p;
    EXPECT_EQ(m.At(SUN, MON), 0.0f);
    EXPECT_FLOAT_EQ(m.At(MON, SUN), 30.0f);  // across 0 Aries
    EXPECT_FLOAT_EQ(m.At(kPointMc, SUN), 150.0f);
    // between charts every cell is searched
    auto between = ComputeAspectMatrix(c, c, kAspectsBetweenCharts, t);
    EXPECT_EQ(between.At(MON, SUN), 0.0f);
}

TEST(AspectMatrix, SwitchedOffAspectsNeverMatch) {
    ChartRecord c = ChartAt({{SUN, 0}, {MON, 90.5}});
    const std::string text = "90 3 3 S 1 0 -1 0\n";
    EXPECT_EQ(ComputeAspectMatrix(c, ParseOrbTable(text, false)).At(SUN, MON), kNoAspect);
    EXPECT_EQ(ComputeAspectMatrix(c, ParseOrbTable(text, true)).At(SUN, MON), 90.0f);
}

TEST(AspectMatrix, BodiesWithoutPositionsHaveNoAspects) {
    ChartRecord c = ChartAt({{SUN, 0}, {HIR, 0}});
    c.speed[HIR] = 0;  // the ephemeris gave nothing
    ASSERT_FALSE(BodyAvailable(c, HIR));
    auto m = ComputeAspectMatrix(c, Table("0 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 S 0 0 -1 0\n"));
    EXPECT_EQ(m.At(SUN, HIR), kNoAspect);
    EXPECT_EQ(m.At(HIR, SUN), 0.0f);  // still the separation
}

TEST(AspectMatrix, OutOfRangePairsReadAsNoAspect) {
    AspectMatrix m;
    m.Set(0, 5, 90.0f);
    m.Set(28, 1, 90.0f);
    m.Set(27, 27, 60.0f);
    EXPECT_EQ(m.At(0, 5), kNoAspect);
    EXPECT_EQ(m.At(1, 28), kNoAspect);
    EXPECT_EQ(m.At(27, 27), 60.0f);
    EXPECT_EQ(m.At(1, 1), kNoAspect);
}

TEST(PointMasks, CuspsAlwaysShownBodiesByTheirBits) {
    const long maskP = 1023;        // SUN..PLT
    const long maskA = 1023 & ~2L;  // no aspects of the Moon
    EXPECT_TRUE(IsPointShown(SUN, maskP));
    EXPECT_TRUE(IsPointShown(PLT, maskP));
    EXPECT_FALSE(IsPointShown(NDE, maskP));
    EXPECT_TRUE(IsPointShown(kPointAsc, 0));
    EXPECT_TRUE(IsPointShown(27, 0));
    EXPECT_FALSE(IsPointShown(0, -1));
    EXPECT_FALSE(IsPointShown(28, -1));
    EXPECT_TRUE(TakesPartInAspects(SUN, maskP, maskA));
    EXPECT_FALSE(TakesPartInAspects(MON, maskP, maskA));
    EXPECT_FALSE(TakesPartInAspects(NDE, maskP, -1L));  // not shown
    EXPECT_TRUE(TakesPartInAspects(kPointMc, 0, 0));
    EXPECT_TRUE(TakesPartInAspects(LIL, 1L << 14, 1L << 14));
}

TEST(ShippedOrbs, TheCurrentTableNeverDependsOnTheOrderOfItsAspects) {
    // no two switched-on aspects of 0.ao overlap for any point, so each pair fits one
    test::TempWorkDir work;
    auto t = LoadOrbTable(test::WorkspaceTemplate() + "/0.ao", "", false);
    ASSERT_EQ(t.aspects.size(), 9u);
    EXPECT_EQ(t.largestOrb, 10.0f);
    for (int p = 1; p <= kPointCount; ++p)
        for (const auto& a : t.aspects)
            for (const auto& b : t.aspects) {
                if (&a == &b) continue;
                EXPECT_GT(std::fabs(a.angle - b.angle), a.Orb(p) + b.Orb(p))
                    << a.angle << " " << b.angle << " point " << p;
            }
    for (const char* name : {"tr.ao", "pr.ao", "dir.ao"}) {
        auto f = LoadOrbTable(test::WorkspaceTemplate() + "/" + name, "", false);
        EXPECT_GE(f.aspects.size(), 5u) << name;
        EXPECT_EQ(f.largestOrb, 1.0f) << name;
    }
}

}  // namespace
}  // namespace orbeta
