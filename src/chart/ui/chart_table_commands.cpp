// The chart-window commands that open the tables of its charts: aspects (2001), arcs
// (2053) and the Bindhu table (2002).
#include <cstring>

#include "chart/ui/aspect_table_window.h"
#include "chart/ui/bindhu_window.h"
#include "chart/ui/chart_window.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/format.h"

namespace orbeta {
namespace {

std::string NameOf(const ChartRecord& chart) {
    return std::string(chart.name, strnlen(chart.name, sizeof chart.name));
}

AspectTable TableOf(const ChartWindow& w, int kind) {
    AspectTable t;
    t.kind = kind;
    t.horary = w.IsHorary();
    t.chartA = w.Chart1();
    t.chartB = w.Chart2();
    t.maskP = App().settings.maskP;
    t.maskA = App().settings.maskA;
    t.matrix = kind == kTableArcs ? ArcMatrix(t.chartA, t.chartB) : w.Aspects();
    return t;
}

void OpenTable(const ChartWindow& w, int kind, const std::string& title) {
    auto* window = new AspectTableWindow(w.Number(), TableOf(w, kind));
    window->ShowInFrame(FromAnsi(title));
}

}  // namespace

void AddTableCommands(std::map<int, ChartCommand>& commands) {
    commands[cmd::chart::kAspects] = [](ChartWindow& w) {
        if (w.Kind() == kChartKindTwo)
            OpenTable(w, kTableTwoCharts,
                      Format("Аспекты %s - %s"_cp, NameOf(w.Chart1()).c_str(),
                             NameOf(w.Chart2()).c_str()));
        else
            OpenTable(w, kTableOneChart, Format(" Аспекты %d"_cp, w.Number()));
    };
    commands[cmd::chart::kArcs] = [](ChartWindow& w) {
        OpenTable(
            w, kTableArcs,
            Format("Дуги %s - %s"_cp, NameOf(w.Chart1()).c_str(), NameOf(w.Chart2()).c_str()));
    };
    commands[cmd::chart::kBinduTable] = [](ChartWindow& w) { OpenBindhu(w.Chart1()); };
}

}  // namespace orbeta
