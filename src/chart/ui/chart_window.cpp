#include "chart/ui/chart_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "chart/chart_hit_test.h"
#include "chart/ui/point_info_popup.h"
#include "chart/wheel_params.h"
#include "core/chart_compute.h"
#include "core/derived_charts.h"
#include "forecast/horary_search.h"
#include "forecast/returns.h"
#include "forecast/search_tables.h"
#include "gui/app_state.h"
#include "gui/dial.h"
#include "gui/qt_text.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

constexpr std::size_t kTitleLength = 78;

std::string PopupKeyOf(int kind, const ChartRecord& chart1) {
    if (kind == kChartKindTwo) return "K2";
    return chart1.calcMethod == kNatal ? "K0t1" : "K0";
}

int ArcBody() {
    return App().settings.ov[kOptArcBody];
}

}  // namespace

ChartWindow::ChartWindow(int kind, const ChartRecord& chart1, const ChartRecord& chart2,
                         const std::string& title, bool horary)
    : ChartWindowBase(kind, PopupKeyOf(kind, chart1), PopupKeyOf(kind, chart1)),
      title_(title.substr(0, kTitleLength)),
      horary_(horary),
      chart1_(chart1),
      chart2_(chart2) {
    setObjectName("DKart");
    setMinimumSize(kSmallestChartWindow);
    Refresh();
}

void ChartWindow::Refresh() {
    if (horary_) {
        // The searches take a moment: the hourglass meanwhile.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        Computation c(ProfileContext());
        bool untilStation = App().settings.Option(kOptElectionalTurn);
        HoraryChartList list = ComputeHoraryChartList(c, chart1_, untilStation);
        aspects_ = AspectMatrix();
        for (int i = 1; i <= kPointCount; ++i)
            for (int j = 1; j <= kPointCount; ++j) aspects_.Set(i, j, list.matrix[i - 1][j - 1]);
        horaryList_.lines = HoraryWindowLines(c, chart1_, list, 0, horaryList_.firstPart);
        horaryEntries_.clear();
        for (const auto& e : list.list)
            if (e.aspect >= 0) horaryEntries_.push_back({e.bodyA, e.bodyB, e.aspect, e.exact});
        TellDiagnostics(c.diagnostics);
        QGuiApplication::restoreOverrideCursor();
        update();
        return;
    }
    const OrbTable& table = App().orbTable;
    // Rows of an overlay's matrix are the inner chart's points, as the wheel reads it.
    aspects_ = Kind() == kChartKindTwo
                   ? ComputeAspectMatrix(chart2_, chart1_, kAspectsBetweenCharts, table)
                   : ComputeAspectMatrix(chart1_, table);
    update();
}

ChartRecord& ChartWindow::BaseOfOuter() {
    return Kind() == kChartKindTwo ? chart2_ : App().currentChart;
}

void ChartWindow::StepOuter(int direction) {
    if (chart1_.calcMethod == kCompositeMethod) return;  // no moment of its own
    TimeList& list = timeLists_[0];
    Computation c(ProfileContext());
    if (!list.moments.empty())
        SetChartLocalMoment(c, chart1_, BaseOfOuter(), MoveInTimeList(list, -direction), ArcBody());
    else
        StepChartInTime(c, chart1_, BaseOfOuter(),
                        direction * TimeStep(App().settings.delT.data(), false), ArcBody());
    TellDiagnostics(c.diagnostics);
    Refresh();
}

void ChartWindow::StepInner(int direction) {
    if (Kind() != kChartKindTwo || chart2_.calcMethod == kCompositeMethod) return;
    TimeList& list = timeLists_[1];
    Computation c(ProfileContext());
    if (!list.moments.empty()) {
        // The inner chart is recomputed by its own method, not the outer one's.
        SetChartLocalMoment(c, chart2_, App().currentChart, MoveInTimeList(list, -direction),
                            ArcBody());
    } else {
        StepChartInTime(c, chart2_, App().currentChart,
                        direction * TimeStep(App().settings.delT.data(), true), ArcBody());
        RecomputeWindowChart(c, chart1_, chart2_, ArcBody());
    }
    TellDiagnostics(c.diagnostics);
    Refresh();
}

void ChartWindow::StepReturn(int direction) {
    Computation c(ProfileContext());
    ChartRecord chart = chart1_;
    bool stepped = StepReturnChart(c, chart, direction);
    TellDiagnostics(c.diagnostics);
    if (!stepped) return;
    App().inputChart = chart;
    bool alone = Kind() != kChartKindTwo;
    chart1_ = chart;
    if (alone) chart2_ = chart;
    // "Карта N: " stays; the text after it follows the new moment.
    size_t colon = title_.find(": ");
    std::string head = colon == std::string::npos ? std::string() : title_.substr(0, colon + 2);
    title_ = (head + ReturnChartText(chart)).substr(0, kTitleLength);
    setWindowTitle(FromAnsi(title_));
    Refresh();
}

void ChartWindow::RecomputeOuter(int method) {
    if (Kind() != kChartKindTwo) return;
    chart1_.calcMethod = static_cast<int16_t>(method);
    Computation c(ProfileContext());
    RecomputeWindowChart(c, chart1_, chart2_, ArcBody());
    TellDiagnostics(c.diagnostics);
    Refresh();
}

void ChartWindow::SwapCharts() {
    std::swap(chart1_, chart2_);
    Refresh();
}

WheelParams ChartWindow::Params(bool printer) const {
    WheelParams params = MakeWheelParams(App().settings, App().orbTable, printer);
    params.first = chart1_;
    params.second = chart2_;
    params.matrix = aspects_;
    params.kind = Kind() == kChartKindTwo ? kWheelTwoCharts : kWheelOneChart;
    params.horary = horary_;
    params.horaryList = horaryList_;
    return params;
}

void ChartWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    WheelLayout layout = PaintChart(painter, Params(false), size(), false, printState_);
    // While the printer has the wheel the window draws nothing and keeps its layout.
    if (layout.painted) layout_ = layout;
}

void ChartWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            if (!pointInfo_) break;
            pointInfo_->close();
            return;
        case Qt::Key_Up:
            StepOuter(-1);
            return;
        case Qt::Key_Down:
            StepOuter(1);
            return;
        case Qt::Key_Left:
            StepInner(-1);
            return;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (!IsReturnChart(chart1_.calcMethod)) break;
            StepReturn(event->key() == Qt::Key_PageDown ? 1 : -1);
            return;
        case Qt::Key_Right:
            StepInner(1);
            return;
        case Qt::Key_F1:
            Dial::OpenHelp(PopupKey());
            return;
        default:
            break;
    }
    if (Kind() == kChartKindTwo && event->text().size() == 1) {
        switch (event->text()[0].toLatin1()) {
            case 'D':
            case 'd':
                RecomputeOuter(kDegreeDirections);
                return;
            case 'P':
            case 'p':
                RecomputeOuter(kSecondary);
                return;
            case 'K':
            case 'k':
            case 'T':
            case 't':
                RecomputeOuter(kNatal);
                return;
            default:
                break;
        }
    }
    ChartWindowBase::keyPressEvent(event);
}

void ChartWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        ClickAt(event->position().toPoint());
        return;
    }
    ChartWindowBase::mousePressEvent(event);
}

void ChartWindow::ClickAt(QPoint position) {
    if (!TakeClick()) return;
    WheelHit hit = HitTestWheel(layout_, chart1_, chart2_, Kind(), position.x(), position.y());
    clickedInner_ = hit.inner;
    if (hit.pointId == 0) return;
    ShowPointInfo(hit.pointId, hit.inner, position);
}

void ChartWindow::ShowPointInfo(int pointId, bool inner, QPoint position) {
    // A new point replaces the one shown: popups of earlier clicks do not pile up.
    delete pointInfo_.data();
    // A horary window tells the coming aspects of the point instead of its aspects.
    PointInfoSource source{&chart1_, &chart2_, horary_ ? nullptr : &aspects_, Kind()};
    orbeta::PointInfo info = DescribePoint(source, pointId, inner);
    if (horary_)
        for (const auto& e : horaryEntries_) {
            if (e.a != pointId && e.b != pointId) continue;
            int other = e.a == pointId ? e.b : e.a;
            info.lines.push_back(Format(" %s %3d %s", PointShortName(other).c_str(), e.angle,
                                        DateText(e.moment - chart1_.gmtCorr, 0).c_str()));
        }
    pointInfo_ = new PointInfoPopup(this, info, App().settings.monoFont);
    pointInfo_->move(mapToGlobal(position));
    pointInfo_->show();
}

QSize ChartWindow::sizeHint() const {
    QSize hint = ChildWindow::sizeHint();
    return horary_ ? hint.expandedTo(QSize(1300, 600)) : hint;
}

}  // namespace orbeta
