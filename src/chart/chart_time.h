#pragma once
// Moving the charts of a chart window in time: by a step, or to a moment of a time
// list, and computing them again from their base afterwards.
#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

// The chart again from its base by its own method: a harmonic chart stays harmonic,
// and planetary arcs use the chosen body (a 0-based index, 0 the Sun).
void RecomputeWindowChart(Computation& c, ChartRecord& chart, const ChartRecord& base, int arcBody);

// The chart's local and universal moments both move by the days; then it is computed
// again from the base.
void StepChartInTime(Computation& c, ChartRecord& chart, const ChartRecord& base, double days,
                     int arcBody);

// A moment from a time list is local time: jdUT follows with the chart's correction,
// so that the header shows the moment as written. Then the chart is computed again.
void SetChartLocalMoment(Computation& c, ChartRecord& chart, const ChartRecord& base,
                         double jdLocal, int arcBody);

}  // namespace orbeta
