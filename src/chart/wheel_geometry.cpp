#include "chart/wheel_geometry.h"

#include <cmath>

#include "core/angles.h"

namespace orbeta {

double WheelGeometry::WheelLongitude(double lon) const {
    if (!houseWheel) return lon;
    lon = Normalize(lon);
    int h = HouseOf(lon, cusps.data());
    if (h == 0) return lon;  // no houses to map through
    double c1 = cusps[h];
    double c2 = cusps[h % 12 + 1];
    if (c2 < c1) {
        if (lon <= 180.0)
            c1 -= 360.0;
        else
            c2 += 360.0;
    }
    if (c2 == c1) return lon;
    return (lon - c1) * 30.0 / (c2 - c1) + (h - 1) * 30.0 + cusps[1];
}

double WheelGeometry::ScreenAngle(double lon) const {
    double a = WheelLongitude(lon) - rotation;
    if (direction == -1) a = 180.0 - a;
    return Normalize(a);
}

ScreenPoint WheelGeometry::ToScreen(double lon, int radius) const {
    double a = ScreenAngle(lon);
    if (!std::isfinite(a)) a = 0;  // a damaged record still draws
    a *= 0.017453292519943295;
    return {static_cast<int>(cx + radius * std::cos(a)),
            static_cast<int>(cy + radius * std::sin(a))};
}

}  // namespace orbeta
