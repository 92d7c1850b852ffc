// A click on a painted wheel: the house rings give houses, the rings of glyphs the
// nearest glyph of the ring clicked, other places nothing.
#include "chart/chart_hit_test.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/angles.h"
#include "wheel_test_support.h"

namespace orbeta {
namespace {

using test::ChartWith;
using test::OneChartParams;
using test::PaintWheel;

// A point at a radius between two longitudes as the painted wheel places them.
ScreenPoint At(const WheelLayout& l, double lon, int radius) {
    return l.geometry.ToScreen(lon, radius);
}

TEST(HitTest, HouseRingsGiveTheHouseUnderTheClick) {
    ChartRecord c = ChartWith({{SUN, 10}, {MON, 100}}, 0);
    for (int direction : {-1, 1}) {
        SCOPED_TRACE(direction);
        WheelParams params = OneChartParams(c);
        params.display.direction = direction;
        auto painted = PaintWheel(params);
        const WheelLayout& l = painted.layout;
        int between = (l.r3 + l.r0) / 2;
        for (int house = 1; house <= 12; ++house) {
            double middle = c.cusp[house] + Difference(c.cusp[house % 12 + 1], c.cusp[house]) / 2;
            ScreenPoint p = At(l, middle, between);
            EXPECT_EQ(HitTestWheel(l, c, c, 0, p.x, p.y).pointId, PointOfCusp(house)) << house;
        }
        ScreenPoint outside = At(l, 45, l.r0 + 5);
        EXPECT_EQ(HitTestWheel(l, c, c, 0, outside.x, outside.y).pointId, 0);
    }
}

TEST(HitTest, NearestGlyphOfTheRingClicked) {
    ChartRecord outer = ChartWith({{SUN, 10}, {MON, 40}, {MER, 44}, {VEN, 200}}, 0);
    ChartRecord inner = ChartWith({{SUN, 100}, {MON, 41}, {JUP, 300}}, 90);
    WheelParams params = OneChartParams(outer);
    params.second = inner;
    params.kind = kWheelTwoCharts;
    auto painted = PaintWheel(params);
    const WheelLayout& l = painted.layout;
    ASSERT_LT(l.ra, l.r3);

    // Between the aspect circle and R3: the outer ring's glyphs, whichever is nearest.
    for (int body : {SUN, MON, MER, VEN}) {
        ScreenPoint g = At(l, l.rings[0].lon[body], l.rings[0].radius[body]);
        WheelHit hit = HitTestWheel(l, outer, inner, 2, g.x + 2, g.y - 1);
        EXPECT_EQ(hit.pointId, body);
        EXPECT_FALSE(hit.inner);
    }
    // Far from any glyph but still in that ring: the nearest glyph still answers.
    ScreenPoint between = At(l, 215, (l.ra + l.r3) / 2);
    EXPECT_EQ(HitTestWheel(l, outer, inner, 2, between.x, between.y).pointId, VEN);

    // Inside the aspect circle of the first ring: the inner chart. The inner Moon sits
    // by the outer Moon's longitude, and the inner ring is chosen by the radius.
    ChartRecord innerNoHouses = inner;
    innerNoHouses.houseSystem = 8;
    params.second = innerNoHouses;
    auto noHouses = PaintWheel(params);
    const WheelLayout& m = noHouses.layout;
    for (int body : {SUN, MON, JUP}) {
        ScreenPoint g = At(m, m.rings[1].lon[body], m.rings[1].radius[body]);
        WheelHit hit = HitTestWheel(m, outer, innerNoHouses, 2, g.x, g.y);
        EXPECT_EQ(hit.pointId, body);
        EXPECT_TRUE(hit.inner);
    }
    // With houses the inner chart's house under the click.
    ScreenPoint house = At(l, inner.cusp[1] + 5, l.rb - 2);
    WheelHit hit = HitTestWheel(l, outer, inner, 2, house.x, house.y);
    EXPECT_TRUE(hit.inner);
    EXPECT_EQ(hit.pointId, PointOfCusp(1));
}

TEST(HitTest, NothingBeforeThePaintingOrWithoutGlyphs) {
    ChartRecord c = ChartWith({{SUN, 10}}, 0);
    EXPECT_EQ(HitTestWheel(WheelLayout{}, c, c, 0, 10, 10).pointId, 0);
    ChartRecord empty = ChartWith({}, 0, 8);
    auto painted = PaintWheel(OneChartParams(empty));
    const WheelGeometry& g = painted.layout.geometry;
    EXPECT_EQ(HitTestWheel(painted.layout, empty, empty, 0, g.cx + 3, g.cy).pointId, 0);
}

}  // namespace
}  // namespace orbeta
