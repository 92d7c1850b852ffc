#pragma once
// The aspects between the points of one chart, or of two charts, found once and kept
// for every display and report: 27 × 27 cells addressed by PointId pairs.
#include <array>

#include "aspects/orb_file.h"
#include "core/chart_record.h"

namespace orbeta {

constexpr float kNoAspect = 999.0f;

// Mode 0: the points of one chart among themselves; any other mode (2 by custom):
// the points of one chart against those of another.
constexpr int kAspectsWithinChart = 0;
constexpr int kAspectsBetweenCharts = 2;

// Cell (row, column) holds the angle of the aspect found between PointId row of the
// row chart and PointId column of the column chart, or kNoAspect. Within one chart
// only the cells with row < column are searched; the others hold the plain separation
// of the two points (the diagonal 0).
class AspectMatrix {
  public:
    AspectMatrix() { cells_.fill(kNoAspect); }
    // PointIds 1..27; a pair outside that range reads as no aspect.
    float At(int rowPoint, int columnPoint) const {
        return InRange(rowPoint, columnPoint) ? cells_[Index(rowPoint, columnPoint)] : kNoAspect;
    }
    // A pair outside 1..27 is ignored.
    void Set(int rowPoint, int columnPoint, float value) {
        if (InRange(rowPoint, columnPoint)) cells_[Index(rowPoint, columnPoint)] = value;
    }

  private:
    static bool InRange(int r, int c) {
        return r >= 1 && r <= kPointCount && c >= 1 && c <= kPointCount;
    }
    static int Index(int r, int c) { return (r - 1) * kPointCount + (c - 1); }
    std::array<float, kPointCount * kPointCount> cells_;
};

// Every pair is tried against the table's aspects in table order and gets the first
// whose orb admits it. The orb is the larger of the two points' orbs within one chart
// and the row point's between charts; between a body and a cusp it is always the
// body's. A body the ephemeris could not give (see BodyAvailable) has no aspects.
AspectMatrix ComputeAspectMatrix(const ChartRecord& rowChart, const ChartRecord& columnChart,
                                 int mode, const OrbTable& table);
inline AspectMatrix ComputeAspectMatrix(const ChartRecord& chart, const OrbTable& table) {
    return ComputeAspectMatrix(chart, chart, kAspectsWithinChart, table);
}

// The first aspect that admits a separation s (0..180) between the two points, or
// kNoAspect; the orb rule as above.
float FindAspectAngle(float separation, int rowPoint, int columnPoint, int mode,
                      const OrbTable& table);

// Shown: every cusp, and body i when bit i − 1 of maskP is set.
bool IsPointShown(int pointId, long maskP);
// Takes part in aspects: shown, and a cusp or body i with bit i − 1 of maskA set.
bool TakesPartInAspects(int pointId, long maskP, long maskA);

}  // namespace orbeta
