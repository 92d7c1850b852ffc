#pragma once
// The text of the point-information popup of a chart window: where the point stands,
// how fast it moves, its declination and its aspects.
#include <string>
#include <vector>

#include "aspects/aspect_matrix.h"
#include "core/chart_record.h"

namespace orbeta {

struct PointInfo {
    std::string caption;  // CP1251
    // First line: degrees "%02d ", the sign glyph, minutes "%02d", then the
    // retrograde mark when the point moves backwards.
    std::string degrees;
    char signGlyph = 0;
    std::string minutes;
    bool retrograde = false;
    std::vector<std::string> lines;  // the following lines, CP1251
};

// The charts and aspects of a chart window. Kind 0: the matrix of the first chart
// with itself; kind 2: rows the second (inner) chart's points, columns the first's.
struct PointInfoSource {
    const ChartRecord* first = nullptr;
    const ChartRecord* second = nullptr;
    const AspectMatrix* matrix = nullptr;
    int kind = 0;
};

// PointId 1..27 of the first chart, or of the second when inner (kind 2).
PointInfo DescribePoint(const PointInfoSource& source, int pointId, bool inner);

}  // namespace orbeta
