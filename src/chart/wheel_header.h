#pragma once
// The text header beside a wheel: the chart's name, moments and place, its house
// system and how it was computed. Composite and midpoint charts show both charts they
// were made from.
#include <string>
#include <vector>

#include "core/chart_record.h"

namespace orbeta {

// Lines in CP1251. `partner` is the window's second chart: for a composite (13) or
// midpoint (14) chart the second of its base charts (the first is its event header).
std::vector<std::string> ChartHeaderLines(const ChartRecord& chart, const ChartRecord& partner);

}  // namespace orbeta
