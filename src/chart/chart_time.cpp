#include "chart/chart_time.h"

#include <algorithm>

#include "core/chart_compute.h"

namespace orbeta {

double TimeStep(const std::array<long, 8>& delT, bool inner) {
    const long* v = delT.data() + (inner ? 4 : 0);
    return static_cast<double>(v[0]) +
           (static_cast<double>(v[1]) + static_cast<double>(v[2]) / 60.0 +
            static_cast<double>(v[3]) / 3600.0) /
               24.0;
}

std::optional<double> MoveListPosition(TimeList& list, int delta) {
    if (list.moments.empty()) return std::nullopt;
    int last = static_cast<int>(list.moments.size()) - 1;
    list.position = std::clamp(list.position + delta, 0, last);
    return list.moments[static_cast<std::size_t>(list.position)];
}

void MoveChartInTime(ChartRecord& chart, const ChartRecord& base, double days, int arcBody) {
    chart.jdLocal += days;
    chart.jdUT += days;
    ComputeChart(chart, base, chart.calcMethod, arcBody);
}

void SetChartLocalMoment(ChartRecord& chart, const ChartRecord& base, double jdLocal, int arcBody) {
    chart.jdLocal = jdLocal;
    chart.jdUT = jdLocal + chart.gmtCorr;
    ComputeChart(chart, base, chart.calcMethod, arcBody);
}

}  // namespace orbeta
