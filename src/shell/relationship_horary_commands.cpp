#include "shell/relationship_horary_commands.h"

#include <QMainWindow>
#include <QPointer>

#include "chart/ui/chart_window.h"
#include "core/birth_data.h"
#include "core/computation.h"
#include "core/dated_line.h"
#include "forecast/horary_search.h"
#include "gui/app_state.h"
#include "gui/date_place_dialogs.h"
#include "gui/pair_selection.h"
#include "gui/select_chart.h"
#include "interp/ui/interpretation_dialog.h"
#include "interp/ui/relationship_horary.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/report.h"
#include "shell/command_map.h"

namespace orbeta {
namespace {

QWidget* Frame() {
    return App().frame.data();
}

// 907: the pair of 1010; yours is the inner chart (list 1502), as in an overlay.
void RelationshipOfPair() {
    auto pair = SelectChartPair(Frame(), true);
    if (!pair) return;
    QPointer<ChartWindowBase> outer = pair->first, inner = pair->second;
    RunRelationshipReport(Frame(),
                          [outer, inner]() -> std::optional<std::pair<ChartRecord, ChartRecord>> {
                              if (!outer || !inner) return std::nullopt;
                              return std::pair{inner->Chart1(), outer->Chart1()};
                          });
}

// 2050 on an overlay: yours is chart2, the inner chart.
void RelationshipOfOverlay(ChartWindow& w) {
    QPointer<ChartWindow> window = &w;
    RunRelationshipReport(Frame(),
                          [window]() -> std::optional<std::pair<ChartRecord, ChartRecord>> {
                              if (!window) return std::nullopt;
                              return std::pair{window->Chart2(), window->Chart1()};
                          });
}

void HoraryAspectList(const ChartRecord& chart, bool day) {
    Computation c(ProfileContext());
    std::string body = day ? HoraryDayText(c, chart, 0) : HoraryMomentText(c, chart, 0);
    TellDiagnostics(c.diagnostics);
    std::string title = day ? "Хорарные аспекты суточные"_cp : "Хорарные аспекты мгновенные"_cp;
    if (!BeginReport(title)) return;
    ReportWrite(body);
    ShowReport(title, day ? "ElectD" : "HorM", ReportOriginOf(chart));
}

// 1002: the day of dialog 1067 at its place.
void HoraryDayOfDialog() {
    ChartRecord chart = App().inputChart;
    {
        ElectionalDayDialog dialog(Frame(), chart);
        if (dialog.exec() != QDialog::Accepted) return;
        ApplyBirthData(chart, dialog.Data());
    }
    HoraryAspectList(chart, true);
}

}  // namespace

void AddRelationshipHoraryCommands(CommandMap& commands) {
    commands.Set(cmd::menu::kRelationshipInterpretation, [] { RelationshipOfPair(); });
    commands.Set(cmd::menu::kHoraryInterpretation, [] {
        auto chart = SelectChart(Frame());
        if (chart) RunInterpretation(Frame(), *chart, kHoraryInterpretationKind);
    });
    commands.Set(cmd::menu::kHoraryAnswer, [] {
        auto chart = SelectChart(Frame());
        if (chart) RunHoraryAnswer(Frame(), *chart);
    });
    commands.Set(cmd::menu::kHoraryAspectsInstant, [] {
        auto chart = SelectChart(Frame());
        if (chart) HoraryAspectList(*chart, false);
    });
    commands.Set(cmd::menu::kHoraryAspectsDaily, [] { HoraryDayOfDialog(); });
    commands.Set(cmd::menu::kHoraryChart, [] {
        auto chart = SelectChart(Frame());
        if (chart) OpenHoraryWindow(*chart);
    });
    ChartWindow::SetCommand(cmd::chart::kHoraryChart,
                            [](ChartWindow& w) { OpenHoraryWindow(w.Chart1()); });
    ChartWindow::SetCommand(cmd::chart::kRelationship,
                            [](ChartWindow& w) { RelationshipOfOverlay(w); });
}

}  // namespace orbeta
