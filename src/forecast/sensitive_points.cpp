#include "forecast/sensitive_points.h"

#include <algorithm>

#include "core/angles.h"

namespace orbeta {

bool ChartHasHouses(const ChartRecord& chart) {
    return chart.houseSystem != 8;
}

bool SensitivePointActive(const ChartRecord& chart, int pointId, long maskP) {
    if (pointId > kBodyCount) return pointId <= kPointCount && ChartHasHouses(chart);
    if (pointId < 1) return false;
    return (maskP >> (pointId - 1) & 1) != 0 && BodyAvailable(chart, pointId);
}

std::vector<SensitivePoint> SensitivePoints(const ChartRecord& chart, const OrbTable& table,
                                            const SensitivePointOptions& options) {
    std::vector<SensitivePoint> out;
    for (int p = 1; p <= kPointCount; ++p) {
        if (!SensitivePointActive(chart, p, options.maskP)) continue;
        const double lon = PointLongitude(chart, p);
        for (const AspectRecord& a : table.aspects) {
            if (a.IsOff()) continue;
            const double angle = a.angle;
            out.push_back({Normalize(lon + angle), p, angle});
            if (angle != 0 && angle != 180) out.push_back({Normalize(lon - angle), p, angle});
        }
    }
    if (options.signStarts)
        for (int i = 0; i < 12; ++i) out.push_back({30.0 * i, kSignStartOwner + i, 0});
    std::stable_sort(out.begin(), out.end(), [](const SensitivePoint& a, const SensitivePoint& b) {
        return a.position < b.position;
    });
    return out;
}

}  // namespace orbeta
