#include "chart/chart_time.h"

#include "core/chart_compute.h"
#include "core/derived_charts.h"

namespace orbeta {

void RecomputeWindowChart(Computation& c, ChartRecord& chart, const ChartRecord& base,
                          int arcBody) {
    if (chart.calcMethod == kPlanetaryArcs)
        ComputeChart(c, chart, base, kPlanetaryArcs, arcBody);
    else
        RecomputeChart(c, chart, base);
}

void StepChartInTime(Computation& c, ChartRecord& chart, const ChartRecord& base, double days,
                     int arcBody) {
    chart.jdLocal += days;
    chart.jdUT += days;
    RecomputeWindowChart(c, chart, base, arcBody);
}

void SetChartLocalMoment(Computation& c, ChartRecord& chart, const ChartRecord& base,
                         double jdLocal, int arcBody) {
    chart.jdLocal = jdLocal;
    chart.jdUT = jdLocal + chart.gmtCorr;
    RecomputeWindowChart(c, chart, base, arcBody);
}

}  // namespace orbeta
