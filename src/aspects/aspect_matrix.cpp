#include "aspects/aspect_matrix.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"

namespace orbeta {
namespace {

bool IsBody(int pointId) {
    return pointId >= 1 && pointId <= kBodyCount;
}

float OrbFor(const AspectRecord& a, int row, int column, int mode) {
    if (IsBody(row) != IsBody(column)) return a.Orb(IsBody(row) ? row : column);
    if (mode == kAspectsWithinChart) return std::max(a.Orb(row), a.Orb(column));
    return a.Orb(row);
}

bool Unavailable(const ChartRecord& chart, int pointId) {
    return IsBody(pointId) && !BodyAvailable(chart, pointId);
}

}  // namespace

float FindAspectAngle(float separation, int row, int column, int mode, const OrbTable& table) {
    for (const auto& a : table.aspects) {
        // single precision throughout, as the cells and the table hold it
        float d = std::fabs(separation - a.angle);
        if (d > table.largestOrb) continue;
        if (d <= OrbFor(a, row, column, mode)) return a.angle;
    }
    return kNoAspect;
}

AspectMatrix ComputeAspectMatrix(const ChartRecord& rowChart, const ChartRecord& columnChart,
                                 int mode, const OrbTable& table) {
    AspectMatrix m;
    for (int row = 1; row <= kPointCount; ++row) {
        for (int column = 1; column <= kPointCount; ++column) {
            auto s = static_cast<float>(
                Separation(PointLongitude(rowChart, row), PointLongitude(columnChart, column)));
            if (mode == kAspectsWithinChart && row >= column) {
                m.Set(row, column, s);
            } else if (Unavailable(rowChart, row) || Unavailable(columnChart, column)) {
                m.Set(row, column, kNoAspect);
            } else {
                m.Set(row, column, FindAspectAngle(s, row, column, mode, table));
            }
        }
    }
    return m;
}

bool IsPointShown(int pointId, long maskP) {
    if (pointId > kBodyCount && pointId <= kPointCount) return true;
    return IsBody(pointId) && (maskP >> (pointId - 1) & 1) != 0;
}

bool TakesPartInAspects(int pointId, long maskP, long maskA) {
    if (!IsPointShown(pointId, maskP)) return false;
    return !IsBody(pointId) || (maskA >> (pointId - 1) & 1) != 0;
}

}  // namespace orbeta
