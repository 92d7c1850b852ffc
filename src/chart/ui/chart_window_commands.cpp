// The commands of chart windows: which exist, when a window offers them, and the
// windows that commands of the main menu and of chart windows open.
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <cstring>

#include "chart/ui/chart_window.h"

#include "core/chart_compute.h"
#include "core/houses.h"
#include "forecast/horary_search.h"
#include "gui/app_state.h"
#include "gui/birth_data_dialog.h"
#include "gui/chart_opener.h"
#include "gui/child_window.h"
#include "gui/choice_dialogs.h"
#include "gui/pair_selection.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

using namespace cmd::chart;

std::string NameOf(const ChartRecord& chart) {
    return std::string(chart.name, strnlen(chart.name, sizeof chart.name));
}

// The commands built so far; reports, the database and derived charts add theirs
// with SetCommand.
std::map<int, ChartCommand>& Commands() {
    static std::map<int, ChartCommand> commands = {
        {kOverlayCurrent,
         [](ChartWindow& w) { OpenOverlayWindow(w.Chart1(), App().currentChart); }},
        {kMakeCurrent, [](ChartWindow& w) { App().currentChart = w.Chart1(); }},
        {kHousesOuter, [](ChartWindow& w) { w.ChooseHouseSystem(false); }},
        {kHousesInner, [](ChartWindow& w) { w.ChooseHouseSystem(true); }},
        {kSwap, [](ChartWindow& w) { w.SwapCharts(); }},
        {kPrint, [](ChartWindow& w) { w.Print(false); }},
        {kPrintWithTables, [](ChartWindow& w) { w.Print(true); }},
        {kCopyPicture, [](ChartWindow& w) { w.ChildWindow::OnCommand(kCmdCopyPicture); }},
    };
    static bool derived = (AddDerivedChartCommands(commands), AddTableCommands(commands), true);
    (void)derived;
    // A fresh start (a test) drops the commands other parts of the program added.
    static const StateReset reset{[initial = commands] { commands = initial; }};
    return commands;
}

const char* ButtonMenuKey(int command) {
    return command == kReportsMenu ? "KDP" : "DAK";
}

}  // namespace

void ChartWindow::SetCommand(int id, ChartCommand handler) {
    if (handler)
        Commands()[id] = std::move(handler);
    else
        Commands().erase(id);
}

bool ChartWindow::HasCommand(int id) {
    return Commands().count(id) != 0;
}

bool ChartWindow::OffersCommand(int id) const {
    switch (id) {
        case kReportsMenu:
        case kDerivedMenu:
            // A button menu is offered when any of its items is.
            for (const auto& item : SplitMenuText(LookupText(ButtonMenuKey(id))))
                if (item.id != 0 && OffersCommand(item.id)) return true;
            return false;
        case kHousesInner:
        case kSwap:
            return Kind() == kChartKindTwo && HasCommand(id);
        case kPrint:
        case kPrintWithTables:
            return App().printer != nullptr;
        default:
            return HasCommand(id);
    }
}

void ChartWindow::OnCommand(int id) {
    if (!OffersCommand(id)) return;
    if (id == kReportsMenu || id == kDerivedMenu) {
        QMenu menu(this);
        FillButtonMenu(menu, id);
        menu.exec(QCursor::pos());
        return;
    }
    Commands()[id](*this);
}

void ChartWindow::FillButtonMenu(QMenu& menu, int command) {
    FillMenuFromText(menu, ButtonMenuKey(command));
}

void ChartWindow::ChooseHouseSystem(bool inner) {
    ChartRecord& chart = inner ? chart2_ : chart1_;
    std::vector<std::string> names;
    for (int code = 1; code <= 11; ++code) names.push_back(HouseSystemName(code));
    int chosen = RunRadioDialog(this, 1004, inner ? "Hous2" : "Hous1", "Система Домов"_cp, names,
                                201, chart.houseSystem - 1);
    if (chosen < 0) return;
    // The buttons are counted from 0 and the systems from 1.
    chart.houseSystem = static_cast<int16_t>(chosen + 1);
    if (chart.calcMethod == kNatal) {
        Diagnostics diagnostics;
        ComputeHouses(chart, diagnostics);
        TellDiagnostics(diagnostics);
    } else  // derived charts keep the Midheaven their method gave them
        HousesFromMidheaven(chart, chart.cusp[10]);
    Refresh();
}

bool ChartWindow::Print(bool withTables) {
    QPrinter* printer = App().printer.get();
    if (!printer) return false;
    printTable_ = withTables && !horary_;
    std::string name = AnsiToUtf8(NameOf(chart1_));
    PrepareToPrint(*printer, AnsiToUtf8(printTable_ ? "Карта с Аспектами"_cp : "Карта"_cp),
                   name.empty() ? AnsiToUtf8("Карта"_cp) : name);
    bool printed = false;
    bool asked = App().settings.Option(kOptPrintDialog);
    if (!asked || QPrintDialog(printer, this).exec() == QDialog::Accepted) {
        QPainter painter;
        if (painter.begin(printer)) {
            WheelParams params = Params(true);
            // 2101 prints the aspect grid under the wheel.
            params.printTable = printTable_;
            printState_ = kPrintRequested;
            PaintChart(painter, params, QSize(printer->width(), printer->height()), true,
                       printState_);
            printed = painter.end();
        } else {
            Svc().Warning("Принтер недоступен"_cp);
        }
    }
    printState_ = kNotPrinting;
    setFocus(Qt::OtherFocusReason);
    clickArmed = true;
    update();
    return printed;
}

ChartWindow* OpenChartWindow(const ChartRecord& chart, const std::string& text) {
    std::string title = Format("Карта %d: %s"_cp, App().charts.Counter() + 1, text.c_str());
    auto* window = new ChartWindow(kChartKindOne, chart, chart, title);
    window->ShowInFrame(FromAnsi(window->Title()));
    return window;
}

ChartWindow* OpenHoraryWindow(const ChartRecord& chart) {
    if (!HoraryMomentChart(chart.calcMethod)) {
        Svc().Warning(HoraryMomentRefusal());
        return nullptr;
    }
    std::string title = Format("Карта %d:%-10.10s (Хорарная)"_cp, App().charts.Counter() + 1,
                               NameOf(chart).c_str());
    auto* window = new ChartWindow(kChartKindOne, chart, chart, title, true);
    window->ShowInFrame(FromAnsi(window->Title()));
    return window;
}

ChartWindow* OpenOverlayWindow(const ChartRecord& outer, const ChartRecord& inner) {
    std::string title =
        Format("Наложение %s - %s"_cp, NameOf(outer).c_str(), NameOf(inner).c_str());
    auto* window = new ChartWindow(kChartKindTwo, outer, inner, title);
    window->ShowInFrame(FromAnsi(window->Title()));
    return window;
}

std::string NewChartText(const ChartRecord& chart) {
    return Format("%-10.10s (%-.20s)", NameOf(chart).c_str(), MethodName(chart.calcMethod).c_str());
}

void InstallChartWindowOpener() {
    SetChartOpener(
        [](const ChartRecord& chart, const std::string& text) { OpenChartWindow(chart, text); });
}

void EnterChartAndOpenWindow() {
    if (!EnterAndComputeChart(App().frame.data())) return;
    OpenChartWindow(App().inputChart, NewChartText(App().inputChart));
}

void OpenOverlayOfPair() {
    auto pair = SelectChartPair(App().frame.data(), false);
    if (!pair) return;
    OpenOverlayWindow(pair->first->Chart1(), pair->second->Chart1());
}

}  // namespace orbeta
