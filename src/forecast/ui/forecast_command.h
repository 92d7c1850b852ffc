#pragma once
// The forecast report of a chart (command 2060 of a chart window, menu 905 after the
// chart is chosen): dialog 1052, the run with its progress dialog ("Прервать" ends the
// running search only) and the report in a text window.
#include "forecast/forecast_report.h"

class QWidget;

namespace orbeta {
struct Settings;
}

namespace orbeta {

// Runs the forecast of chart1, which stands as the current chart while it runs (the
// previous one is restored on every path); false on Cancel or when no report was shown.
bool RunForecastCommand(QWidget* parent, const ChartRecord& chart1, const ForecastTexts& texts);

// The request's orb tables and eclipse parameters from the profile.
void CompleteForecastRequest(ForecastRequest& request, const Settings& settings);

}  // namespace orbeta
