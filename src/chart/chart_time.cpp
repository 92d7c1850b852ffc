#include "chart/chart_time.h"

#include "core/chart_compute.h"
#include "core/derived_charts.h"

namespace orbeta {

void RecomputeWindowChart(ChartRecord& chart, const ChartRecord& base, int arcBody) {
    if (chart.calcMethod == kPlanetaryArcs)
        ComputeChart(chart, base, kPlanetaryArcs, arcBody);
    else
        RecomputeChart(chart, base);
}

void StepChartInTime(ChartRecord& chart, const ChartRecord& base, double days, int arcBody) {
    chart.jdLocal += days;
    chart.jdUT += days;
    RecomputeWindowChart(chart, base, arcBody);
}

void SetChartLocalMoment(ChartRecord& chart, const ChartRecord& base, double jdLocal, int arcBody) {
    chart.jdLocal = jdLocal;
    chart.jdUT = jdLocal + chart.gmtCorr;
    RecomputeWindowChart(chart, base, arcBody);
}

}  // namespace orbeta
