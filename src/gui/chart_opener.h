#pragma once
// Opening a chart window from anywhere in the program (a dated report line, a card of
// the database, a dialog): the chart window installs the opener at start-up, so code
// that only needs to show a chart does not depend on the window itself.
#include <functional>
#include <string>

#include "core/chart_record.h"

namespace orbeta {

// Opens a chart window on a computed chart; the text follows "Карта %d: " in the title.
using ChartOpener = std::function<void(const ChartRecord& chart, const std::string& text)>;

void SetChartOpener(ChartOpener opener);

// False (and nothing opens) while no chart window has been installed.
bool OpenChart(const ChartRecord& chart, const std::string& text);

}  // namespace orbeta
