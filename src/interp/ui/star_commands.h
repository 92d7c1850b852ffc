#pragma once
// The fixed-star report (kind 4 of dialog 1050, main command 906) and the asteroid and
// hypothetical-body tables of the chart window (commands 2005, 2006).
#include "core/chart_record.h"

namespace orbeta {

// The fixed-star report of a chart: false when the base "starbb" cannot be opened (no
// report is shown then). A missing starbb.ctl gives its warning and the header alone.
bool WriteFixedStarReport(const ChartRecord& chart);
// Command 2005: the asteroids of the list "ASw" against the chart's sensitive points.
void RunAsteroidTable(const ChartRecord& chart);
// Command 2006: the hypothetical bodies against the chart's sensitive points.
void RunHypotheticalTable(const ChartRecord& chart);

}  // namespace orbeta
