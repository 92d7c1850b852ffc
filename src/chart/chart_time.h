#pragma once
// Moving the charts of a chart window in time: the steps of the profile, lists of
// moments read from files, and the recomputation after a move.
#include <array>
#include <optional>

#include "core/chart_record.h"
#include "core/time_list.h"

namespace orbeta {

// Days of one step from the eight integers of DelT: days, hours, minutes, seconds of
// the outer chart, then of the inner one.
double TimeStep(const std::array<long, 8>& delT, bool inner);

// Moves a list's position by delta within 0..count − 1; the moment there, or none for
// an empty list.
std::optional<double> MoveListPosition(TimeList& list, int delta);

// The chart's local and universal moments both move by the days; the chart is
// recomputed with its own method from the base.
void MoveChartInTime(ChartRecord& chart, const ChartRecord& base, double days, int arcBody);

// A moment from a time list is local time: jdUT follows with the chart's correction,
// so that the header shows the moment as written. The chart is recomputed with its own
// method from the base.
void SetChartLocalMoment(ChartRecord& chart, const ChartRecord& base, double jdLocal, int arcBody);

}  // namespace orbeta
