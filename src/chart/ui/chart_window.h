#pragma once
// The chart window: one chart, or two charts one inside the other (overlays), drawn
// as a wheel; the place where charts are stepped in time, changed and printed, and
// where a click on the wheel tells about a point.
#include <QPointer>
#include <functional>
#include <map>

#include "aspects/aspect_matrix.h"
#include "chart/chart_time.h"
#include "chart/ui/point_info_popup.h"
#include "chart/wheel_painter.h"
#include "core/time_list.h"
#include "gui/chart_window_registry.h"

namespace orbeta {

constexpr int kChartKindOne = 0;
constexpr int kChartKindTwo = 2;

class ChartWindow;
using ChartCommand = std::function<void(ChartWindow&)>;

class ChartWindow : public ChartWindowBase {
    Q_OBJECT
  public:
    // Kind 0 shows chart1 alone (chart2 is the same chart); kind 2 shows chart1 outside
    // chart2. The title is kept to 78 characters.
    ChartWindow(int kind, const ChartRecord& chart1, const ChartRecord& chart2,
                const std::string& title, bool horary = false);

    const ChartRecord& Chart1() const override { return chart1_; }
    const ChartRecord& Chart2() const { return chart2_; }
    bool IsHorary() const override { return horary_; }
    // A horary window opens wide enough for its list of coming aspects beside the wheel.
    QSize sizeHint() const override;
    const std::string& Title() const { return title_; }
    const AspectMatrix& Aspects() const { return aspects_; }
    const WheelLayout& Layout() const { return layout_; }
    bool PrintTable() const { return printTable_; }
    uint8_t PrintState() const { return printState_; }
    TimeList& TimeListOf(int chart) { return timeLists_[chart == 0 ? 0 : 1]; }

    ChartRecord& MutableChart1() { return chart1_; }
    ChartRecord& MutableChart2() { return chart2_; }

    // The commands of chart windows by id. Features that come with other parts of the
    // program add theirs here (an empty handler takes one away); a command without a
    // handler is disabled in the menus.
    static void SetCommand(int id, ChartCommand handler);
    static bool HasCommand(int id);
    // Whether this window offers the command now (its menu item is enabled).
    bool OffersCommand(int id) const override;
    void OnCommand(int id) override;
    // The button menu of command 3001 ("KDP") or 3002 ("DAK") as it would open.
    void FillButtonMenu(class QMenu& menu, int command);

    // After every change of a chart: the aspects again, and a repaint.
    void Refresh();

    // Time: the outer chart back (delta −1) or forward (+1) by its step or in its time
    // list; the inner chart likewise (kind 2).
    void StepOuter(int direction);
    void StepInner(int direction);
    // Page Up (−1) and Page Down (+1) on a return, ingress or lunation chart: the
    // previous or next return; the title's year and month follow.
    void StepReturn(int direction);
    // Kind 2: chart1 again from chart2 by a method (directions, progressions, transits).
    void RecomputeOuter(int method);
    void SwapCharts();
    // 2030: the time steps, and time lists from files (both lists are replaced).
    void ChangeTimeSteps();
    // 2031: the chart's moment moved to put its Ascendant on a chosen longitude.
    void ChangeAscendant();
    // 2056: chart1 again from chart2 by a chosen method.
    void ChooseOuterMethod();
    void ChooseHouseSystem(bool inner);
    // Prints on the program's printer (2100, or 2101 with the tables); false when
    // there is no printer or the print dialog was cancelled.
    bool Print(bool withTables);

    // The click on the wheel: the point-information popup, unless the click only
    // brought the window back.
    void ClickAt(QPoint position);
    // The point-information popup open now (one per window), or null.
    PointInfoPopup* PointInfo() const { return pointInfo_; }
    // A horary window's list beside the wheel.
    const HoraryList& HoraryLines() const { return horaryList_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // What the painter needs for this window's charts on the screen or the printer.
    WheelParams Params(bool printer) const;
    void ShowPointInfo(int pointId, bool inner, QPoint position);
    ChartRecord& BaseOfOuter();

    std::string title_;
    bool horary_;
    bool printTable_ = false;
    uint8_t printState_ = kNotPrinting;
    AspectMatrix aspects_;
    HoraryList horaryList_;  // a horary window's list, made with its matrix
    // The coming aspects of that list: (body, other body, angle, UT moment).
    struct HoraryEntry {
        int a, b, angle;
        double moment;
    };
    std::vector<HoraryEntry> horaryEntries_;
    ChartRecord chart1_;
    ChartRecord chart2_;
    WheelLayout layout_;
    bool clickedInner_ = false;
    TimeList timeLists_[2];
    QPointer<PointInfoPopup> pointInfo_;
};

// The commands on derived charts and time (in their own file).
void AddDerivedChartCommands(std::map<int, ChartCommand>& commands);
// The aspect, arc and Bindhu tables (in their own file).
void AddTableCommands(std::map<int, ChartCommand>& commands);

// A chart window on a computed chart: title "Карта %d: %s" with the text; the popup
// menu "K0t1" for a natal chart, else "K0".
ChartWindow* OpenChartWindow(const ChartRecord& chart, const std::string& text);
// A horary window on a chart of the sky at its moment: title "Карта %d:%-10.10s
// (Хорарная)", the coming aspects as its matrix and its list beside the wheel. None,
// after a message, for a chart whose positions are not of its moment.
ChartWindow* OpenHoraryWindow(const ChartRecord& chart);
// An overlay: the outer chart around the inner one, title "Наложение %s - %s".
ChartWindow* OpenOverlayWindow(const ChartRecord& outer, const ChartRecord& inner);
// The text of a newly entered chart: its name and the name of its method.
std::string NewChartText(const ChartRecord& chart);

// Start-up: chart windows open through the chart opener from now on.
void InstallChartWindowOpener();
// Command 200: birth data, computation, and a window on the new chart.
void EnterChartAndOpenWindow();
// Command 201: the pair selection, then the overlay of the two charts.
void OpenOverlayOfPair();

}  // namespace orbeta
