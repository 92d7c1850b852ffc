#include "chart/chart_hit_test.h"

#include <cmath>
#include <limits>

#include "core/angles.h"

namespace orbeta {
namespace {

bool HasHouses(const ChartRecord& chart) {
    return chart.houseSystem != 8;  // zodiac houses: the wheel draws no cusps
}

// The house under a screen angle: the cusps are mapped to the screen as drawn, which
// runs backwards when longitude grows counter-clockwise.
int HouseUnder(const WheelGeometry& g, const ChartRecord& chart, double angle) {
    double screen[13] = {};
    for (int i = 1; i <= 12; ++i) screen[i] = g.ScreenAngle(chart.cusp[i]);
    return HouseOf(angle, screen, g.direction == -1);
}

int NearestGlyph(const WheelLayout& layout, const RingGlyphs& ring, int x, int y) {
    int best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (int i = 1; i <= kBodyCount; ++i) {
        if (ring.radius[i] == kNotPlaced) continue;
        ScreenPoint c = layout.geometry.ToScreen(ring.lon[i], ring.radius[i]);
        long dx = c.x - x, dy = c.y - y;
        long distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

}  // namespace

WheelHit HitTestWheel(const WheelLayout& layout, const ChartRecord& first,
                      const ChartRecord& second, int kind, int x, int y) {
    WheelHit hit;
    if (!layout.painted) return hit;
    const WheelGeometry& g = layout.geometry;
    double dx = x - g.cx, dy = y - g.cy;
    double d = std::hypot(dx, dy);
    double angle = Normalize(std::atan2(dy, dx) * 57.29577951308232);

    if (HasHouses(first) && d > layout.r3 && d <= layout.r0) {
        int house = HouseUnder(g, first, angle);
        if (house > 0) hit.pointId = PointOfCusp(house);
        return hit;
    }
    if (d > layout.r3) return hit;
    if (kind == 2 && d < layout.ra) {
        hit.inner = true;
        if (HasHouses(second) && d <= layout.rb) {
            int house = HouseUnder(g, second, angle);
            if (house > 0) hit.pointId = PointOfCusp(house);
            return hit;
        }
    }
    hit.pointId = NearestGlyph(layout, layout.rings[hit.inner ? 1 : 0], x, y);
    return hit;
}

}  // namespace orbeta
