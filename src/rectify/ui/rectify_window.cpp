#include "rectify/ui/rectify_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "core/calendar.h"
#include "core/chart_compute.h"
#include "gui/app_state.h"
#include "gui/chart_opener.h"
#include "gui/print_start.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {
namespace {

constexpr int kTicks = 6;

// The printer's page has many more pixels than a window: its text grows with it.
int FontPixels(const QRect& area, bool print) {
    return print ? std::max(10, area.height() / 60) : std::clamp(area.height() / 45, 10, 18);
}

}  // namespace

RectifyWindow::RectifyWindow(RectifyRun run, QWidget* parent)
    : ChildWindow("MDReG", "HGRe", parent), run_(std::move(run)) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(400, 240);
    // The middle of the first run of best totals: the time the curve points to.
    auto best = std::max_element(run_.totals.begin(), run_.totals.end());
    if (best != run_.totals.end()) {
        auto end = std::find_if(best, run_.totals.end(), [&](double t) { return t != *best; });
        selected_ = static_cast<int>((best - run_.totals.begin()) + (end - best - 1) / 2);
    }
}

RectifyWindow::~RectifyWindow() {
    std::error_code ec;
    if (!run_.resultFile.empty()) std::filesystem::remove(run_.resultFile, ec);
}

double RectifyWindow::CandidateLocal(int k) const {
    return run_.params.startLocal + k * run_.params.stepSeconds / 86400.0;
}

void RectifyWindow::Select(int k) {
    if (run_.totals.empty()) return;
    selected_ = std::clamp(k, 0, static_cast<int>(run_.totals.size()) - 1);
    update();
}

QString RectifyWindow::SelectionText() const {
    CandidateScore s;
    if (run_.totals.empty() || !ReadResultRecord(run_.resultFile, selected_, s)) return {};
    std::string text = CandidateTimeText(CandidateLocal(selected_)) +
                       Format("   S=%.1f T=%.1f P=%.1f D=%.1f", s.total, s.parts[kRuleTransit],
                              s.parts[kRuleProgression], s.parts[kRuleDirection]);
    return FromAnsi(text);
}

ChartRecord RectifyWindow::CandidateChart(int k) const {
    ChartRecord chart = run_.natal;
    chart.jdLocal = CandidateLocal(k);
    chart.jdUT = chart.jdLocal + run_.params.correction;
    chart.gmtCorr = run_.params.correction;
    Computation c(ProfileContext());
    ComputeChart(c, chart, chart, kNatal);
    TellDiagnostics(c.diagnostics);
    return chart;
}

void RectifyWindow::OpenSelectedChart() {
    if (run_.totals.empty()) return;
    ChartRecord chart = CandidateChart(selected_);
    OpenChart(chart, "Ректификация "_cp + CandidateTimeText(chart.jdLocal));
}

QRect RectifyWindow::PlotArea(const QRect& area) const {
    int margin = std::max(8, area.width() / 40);
    int line = FontPixels(area, printing) * 3 / 2;
    return area.adjusted(margin, margin + 2 * line, -margin, -margin - 2 * line);
}

void RectifyWindow::Draw(QPainter& painter, const QRect& area) const {
    QFont font(FromAnsi(App().settings.monoFont));
    font.setPixelSize(FontPixels(area, printing));
    painter.setFont(font);
    painter.fillRect(area, Qt::white);
    QRect plot = PlotArea(area);
    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    int n = static_cast<int>(run_.totals.size());
    int count = std::max(n, 2);
    auto xOf = [&](int k) { return plot.left() + plot.width() * k / (count - 1); };
    auto yOf = [&](double total) {
        return plot.bottom() - static_cast<int>(std::lround(plot.height() * total / run_.best));
    };
    // Time labels of the candidates at even intervals of the axis.
    QFontMetrics fm(font);
    for (int t = 0; t <= kTicks; ++t) {
        int k = (count - 1) * t / kTicks;
        int x = xOf(k);
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + fm.height() / 3);
        QString label = FromAnsi(CandidateTimeText(CandidateLocal(k)).substr(11, 5));
        int w = fm.horizontalAdvance(label);
        int left = std::clamp(x - w / 2, area.left(), area.right() - w);
        painter.drawText(left, plot.bottom() + fm.height() + fm.ascent() / 2, label);
    }
    painter.drawText(area.left() + 4, plot.top() - 4, FromAnsi(Format("%.1f", run_.best)));
    if (n == 0) return;
    painter.setPen(QPen(Qt::darkBlue, printing ? 4 : 1));
    QPoint previous(xOf(0), yOf(run_.totals[0]));
    for (int k = 1; k < n; ++k) {
        QPoint p(xOf(k), yOf(run_.totals[k]));
        painter.drawLine(previous, p);
        previous = p;
    }
    painter.setPen(QPen(Qt::red, printing ? 3 : 1, Qt::DashLine));
    int xs = xOf(selected_);
    painter.drawLine(xs, plot.top(), xs, plot.bottom());
    painter.setPen(Qt::black);
    painter.drawText(area.left() + 4, area.top() + fm.ascent() + 4, SelectionText());
}

void RectifyWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, rect());
}

void RectifyWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !TakeClick() || run_.totals.empty()) return;
    QRect plot = PlotArea(rect());
    int count = std::max(static_cast<int>(run_.totals.size()), 2);
    double at = (event->position().x() - plot.left()) * (count - 1) / std::max(1, plot.width());
    Select(static_cast<int>(std::lround(at)));
}

void RectifyWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            Select(selected_ - 1);
            return;
        case Qt::Key_Right:
            Select(selected_ + 1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OpenSelectedChart();
            return;
        default:
            ChildWindow::keyPressEvent(event);
    }
}

bool RectifyWindow::Print() {
    QPrinter* printer = App().printer.get();
    if (!printer) return false;
    std::string title = AnsiToUtf8("Ректификация"_cp);
    bool printed = false;
    QPainter painter;
    if (StartPrinting(painter, *printer, this, title, title)) {
        printing = true;
        Draw(painter, QRect(0, 0, printer->width(), printer->height()));
        printing = false;
        printed = painter.end();
    }
    setFocus(Qt::OtherFocusReason);
    clickArmed = true;
    return printed;
}

void RectifyWindow::OnCommand(int id) {
    if (id == cmd::picture::kPrint)
        Print();
    else
        ChildWindow::OnCommand(id);
}

}  // namespace orbeta
