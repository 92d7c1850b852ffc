// The chart window's commands on derived charts: time steps and time files, the
// change of Ascendant, harmonic, composite, midpoint, relocation and thematic charts,
// and the method of the outer chart.
#include "chart/ui/chart_window.h"
#include "chart/ui/derived_dialogs.h"
#include "core/derived_charts.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

constexpr int kOptThematicPlanet1 = 17;
constexpr int kOptThematicPlanet2 = 18;

// A derived chart in a window of its own; its inner chart is this window's.
void OpenDerivedWindow(const ChartRecord& chart, const ChartRecord& inner, const char* text) {
    std::string title = Format("Карта %d:%s"_cp, App().charts.Counter() + 1, text);
    auto* window = new ChartWindow(kChartKindOne, chart, inner, title);
    window->ShowInFrame(FromAnsi(window->Title()));
}

void ContactChart(ChartWindow& w, bool composite) {
    auto where = RunContactPlaceDialog(&w, w.Chart1());
    if (!where) return;
    int houses = App().settings.houseSet;
    Computation c(ProfileContext());
    ChartRecord made =
        composite ? CompositeChart(w.Chart1(), w.Chart2(), *where, houses)
                  : MidpointChart(c, w.Chart1(), w.Chart2(), *where, houses, App().currentChart);
    TellDiagnostics(c.diagnostics);
    OpenDerivedWindow(made, w.Chart2(), made.name);
}

}  // namespace

void ChartWindow::ChangeTimeSteps() {
    auto result = RunTimeStepDialog(this, {App().settings.delT, Kind() == kChartKindTwo});
    if (!result) return;
    App().settings.delT = result->delT;
    for (int i = 0; i < 2; ++i) timeLists_[i] = result->lists[i].value_or(TimeList{});
}

void ChartWindow::ChangeAscendant() {
    auto result = RunAscendantDialog(this, {chart1_.cusp[1], Kind() == kChartKindTwo});
    if (!result) return;
    bool inner = Kind() == kChartKindTwo && result->inner;
    ChartRecord& target = inner ? chart2_ : chart1_;
    ChartRecord changed = target;
    std::string error;
    Computation c(ProfileContext());
    bool changedOk = orbeta::ChangeAscendant(c, changed, inner ? App().currentChart : BaseOfOuter(),
                                             result->target, error);
    if (changedOk) {
        target = changed;
        if (inner) RecomputeWindowChart(c, chart1_, chart2_, App().settings.ov[kOptArcBody]);
    }
    TellDiagnostics(c.diagnostics);
    if (!changedOk) {
        Svc().Warning(error);
        return;
    }
    Refresh();
}

void ChartWindow::ChooseOuterMethod() {
    auto method = RunMethodDialog(this, chart1_.calcMethod);
    if (!method) return;
    RecomputeOuter(*method);
}

void AddDerivedChartCommands(std::map<int, ChartCommand>& commands) {
    commands.emplace(cmd::chart::kTimeSteps, [](ChartWindow& w) { w.ChangeTimeSteps(); });
    commands.emplace(cmd::chart::kChangeAscendant, [](ChartWindow& w) { w.ChangeAscendant(); });
    commands.emplace(cmd::chart::kOuterMethod, [](ChartWindow& w) { w.ChooseOuterMethod(); });
    commands.emplace(cmd::chart::kHarmonic, [](ChartWindow& w) {
        auto n = RunHarmonicDialog(&w);
        if (!n) return;
        OpenChartWindow(HarmonicChart(w.Chart1(), *n), Format("Гармоника %d"_cp, *n));
    });
    commands.emplace(cmd::chart::kComposite, [](ChartWindow& w) { ContactChart(w, true); });
    commands.emplace(cmd::chart::kMidChart, [](ChartWindow& w) { ContactChart(w, false); });
    commands.emplace(cmd::chart::kRelocation, [](ChartWindow& w) {
        auto place = RunRelocationDialog(&w, w.Chart1());
        if (!place) return;
        Computation c(ProfileContext());
        App().inputChart = RelocationChart(c, w.Chart1(), place->town, place->latitude,
                                           place->longitude, App().settings.houseSet);
        TellDiagnostics(c.diagnostics);
        OpenChartWindow(App().inputChart, ReturnKindName(kRelocationMethod - 100));
    });
    commands.emplace(cmd::chart::kThematicChart, [](ChartWindow& w) {
        auto& ov = App().settings.ov;
        auto chosen = RunThematicDialog(&w, {ov[kOptThematicPlanet1], ov[kOptThematicPlanet2]});
        if (!chosen) return;
        ov[kOptThematicPlanet1] = static_cast<uint8_t>(chosen->planet1);
        ov[kOptThematicPlanet2] = static_cast<uint8_t>(chosen->planet2);
        ChartRecord copy = w.Chart1();
        std::string error;
        Computation c(ProfileContext());
        bool made = ThematicChart(c, copy, chosen->type, chosen->planet1 + 1, chosen->planet2 + 1,
                                  App().currentChart, error);
        TellDiagnostics(c.diagnostics);
        if (!made) {
            Svc().Warning(error);
            return;
        }
        OpenChartWindow(copy, chosen->title);
    });
}

}  // namespace orbeta
