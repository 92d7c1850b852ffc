#pragma once
// Lists of moments read from text files, one date-time text a line, through which a
// chart window steps its charts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

struct TimeList {
    std::vector<double> moments;  // Julian days of local time, in file order
    int position = -1;            // −1 until the list is first moved
};

// The lines whose date-time text converts to a Julian day not below 0; other lines are
// skipped. No list when no line is valid.
std::optional<TimeList> ParseTimeList(std::string_view text);
// The same from a file; no list when it cannot be read.
std::optional<TimeList> ReadTimeListFile(const std::string& path);

// Moves the position by delta, kept within 0..count − 1; returns the moment there.
double MoveInTimeList(TimeList& list, int delta);

// Sets the chart to a local moment of a list (UT = local + the chart's correction) and
// recomputes it from the base by its own method.
void ApplyListMoment(Computation& c, ChartRecord& chart, const ChartRecord& base, double jdLocal);

}  // namespace orbeta
