#pragma once
// Base of the two graphic windows: the window's own copy of the chart, the period and
// the time cursor. The plot is painted once into a picture kept by the window; a
// cursor move repaints only what belongs to the cursor (its line, box and the
// positions at the cursor) over that picture. Right and Left move the cursor a day,
// Enter or F2 open the chart of the cursor's moment, F1 the help; 2100 prints and
// 2102 copies the picture.
#include <QImage>

#include "core/chart_record.h"
#include "core/computation.h"
#include "forecast/draw/graph_style.h"
#include "forecast/graph_period.h"
#include "gui/child_window.h"

namespace orbeta {

class GraphWindow : public ChildWindow {
    Q_OBJECT
  public:
    GraphWindow(const std::string& popupKey, const std::string& helpKey, const ChartRecord& chart,
                int calcMethod, const GraphPeriod& period, QWidget* parent = nullptr);
    ~GraphWindow() override;

    const ChartRecord& Chart() const { return chart_; }
    double Cursor() const { return cursor_; }
    int CursorSteps() const { return cursorSteps_; }
    // Moves the cursor by whole days.
    void MoveCursor(int days);
    // The chart of the cursor's moment (method 1 from the window's chart) in a chart
    // window.
    void OpenCursorChart();
    void OnCommand(int id) override;
    bool OffersCommand(int id) const override;
    // The window as it shows: the kept plot with the cursor's parts.
    QImage Picture();
    // The colours changed: every graphic window paints its plot again.
    static void RepaintAll();

  protected:
    virtual void PaintPlot(QPainter& painter, QSize size, const GraphStyle& style) = 0;
    virtual void PaintCursorParts(QPainter& painter, QSize size, const GraphStyle& style) = 0;
    // The model follows the cursor (positions at the new moment).
    virtual void CursorMoved(Computation& c) = 0;
    GraphStyle Style(bool onPrinter, int dpiY) const;
    void InvalidatePlot();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    ChartRecord chart_;
    int calcMethod_ = 1;
    GraphPeriod period_;
    double cursor_ = 0;
    int cursorSteps_ = 0;

  private:
    void Print();
    QImage plot_;
    bool plotValid_ = false;
};

}  // namespace orbeta
