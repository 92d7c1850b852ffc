#include "gui/app_state.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QPrinter>

#include "platform/program_state.h"

namespace orbeta {

AppState::AppState() : currentChart(DefaultProfileChart()), inputChart(currentChart) {}
AppState::~AppState() = default;

AppState& App() {
    static AppState state;
    // A fresh start (a test) returns to the defaults of a program without a profile.
    static const StateReset reset{[] {
        state.settings = Settings{};
        state.currentChart = DefaultProfileChart();
        state.inputChart = state.currentChart;
        state.orbTable = OrbTable{};
        state.activeChild = nullptr;
        state.printer.reset();
    }};
    return state;
}

ChartContext ProfileContext() {
    const Settings& s = App().settings;
    ChartContext context;
    context.options = {s.Option(kOptTrueNode), s.Option(kOptTrueLilith),
                       s.Option(kOptHeliocentric)};
    return context;
}

}  // namespace orbeta
