#include "forecast/ui/graph_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "core/chart_compute.h"
#include "forecast/graph_forecast.h"
#include "gui/app_state.h"
#include "gui/chart_opener.h"
#include "gui/print_start.h"
#include "gui/qt_text.h"

namespace orbeta {
namespace {

std::vector<GraphWindow*>& OpenWindows() {
    static std::vector<GraphWindow*> windows;
    return windows;
}

}  // namespace

GraphWindow::GraphWindow(const std::string& popupKey, const std::string& helpKey,
                         const ChartRecord& chart, int calcMethod, const GraphPeriod& period,
                         QWidget* parent)
    : ChildWindow(popupKey, helpKey, parent),
      chart_(chart),
      calcMethod_(calcMethod),
      period_(period),
      cursor_(period.start) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    OpenWindows().push_back(this);
}

GraphWindow::~GraphWindow() {
    auto& all = OpenWindows();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void GraphWindow::RepaintAll() {
    for (GraphWindow* w : OpenWindows()) w->InvalidatePlot();
}

void GraphWindow::InvalidatePlot() {
    plotValid_ = false;
    update();
}

GraphStyle GraphWindow::Style(bool onPrinter, int dpiY) const {
    GraphStyle s = MakeGraphStyle(App().settings, App().orbTable, chart_, onPrinter);
    s.dpiY = dpiY;
    return s;
}

void GraphWindow::MoveCursor(int days) {
    cursor_ += days;
    cursorSteps_ += days;
    Computation c(ProfileContext());
    CursorMoved(c);
    TellDiagnostics(c.diagnostics);
    update();
}

void GraphWindow::OpenCursorChart() {
    Computation c(ProfileContext());
    ChartRecord chart = ChartAtMoment(c, chart_, 1, cursor_);
    TellDiagnostics(c.diagnostics);
    OpenChart(chart, "");
}

QImage GraphWindow::Picture() {
    QSize size = this->size().expandedTo(QSize(1, 1));
    if (!plotValid_ || plot_.size() != size) {
        plot_ = QImage(size, QImage::Format_RGB32);
        QPainter p(&plot_);
        PaintPlot(p, size, Style(false, logicalDpiY()));
        plotValid_ = true;
    }
    QImage shown = plot_;
    QPainter p(&shown);
    PaintCursorParts(p, size, Style(false, logicalDpiY()));
    return shown;
}

void GraphWindow::paintEvent(QPaintEvent*) {
    QImage picture = Picture();
    QPainter p(this);
    p.drawImage(0, 0, picture);
}

void GraphWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Right:
            MoveCursor(1);
            return;
        case Qt::Key_Left:
            MoveCursor(-1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            OpenCursorChart();
            return;
        default:
            ChildWindow::keyPressEvent(event);
    }
}

bool GraphWindow::OffersCommand(int id) const {
    return id == cmd::picture::kPrint || id == cmd::picture::kCopy;
}

void GraphWindow::OnCommand(int id) {
    if (id == cmd::picture::kPrint) {
        Print();
        return;
    }
    ChildWindow::OnCommand(id);
}

void GraphWindow::Print() {
    if (!App().printer) return;
    QPrinter& printer = *App().printer;
    QPainter painter;
    std::string title = windowTitle().toStdString();
    if (!StartPrinting(painter, printer, this, title, title)) return;
    printing = true;
    QSize page(painter.device()->width(), painter.device()->height());
    GraphStyle style = Style(true, painter.device()->logicalDpiY());
    PaintPlot(painter, page, style);
    PaintCursorParts(painter, page, style);
    painter.end();
    printing = false;
}

}  // namespace orbeta
