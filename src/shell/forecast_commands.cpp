#include "shell/forecast_commands.h"

#include <QMainWindow>

#include "chart/ui/chart_window.h"
#include "forecast/ui/forecast_command.h"
#include "gui/app_state.h"
#include "gui/select_chart.h"
#include "interp/text_report.h"
#include "platform/command_ids.h"
#include "shell/command_map.h"

namespace orbeta {
namespace {

// The forecast's texts come from the base "gnoz", opened only when they are asked for.
ForecastTexts ForecastBaseTexts() {
    ForecastTexts t;
    t.open = [] { return OpenTextBase("gnoz"); };
    t.print = [](const std::string& key) {
        if (!FindText(key)) return false;
        PrintTextF("%s", key.c_str());
        return true;
    };
    t.close = [] { CloseTextBase(); };
    return t;
}

// Menu 905: the chosen chart gets a window of its own, whose forecast command runs.
void ForecastOfChosenChart() {
    auto chart = SelectChart(App().frame.data());
    if (!chart) return;
    ChartWindow* w = OpenChartWindow(*chart, NewChartText(*chart));
    RunForecastCommand(w, w->Chart1(), ForecastBaseTexts());
}

}  // namespace

void AddForecastCommands(CommandMap& commands) {
    commands.Set(cmd::menu::kForecastInterpretation, [] { ForecastOfChosenChart(); });
    ChartWindow::SetCommand(cmd::chart::kForecast, [](ChartWindow& w) {
        RunForecastCommand(&w, w.Chart1(), ForecastBaseTexts());
    });
}

}  // namespace orbeta
