#pragma once
// The rectification window: the total score of every candidate birth time over the
// interval, scaled by the best total, with a selected candidate whose time and scores
// (read from its record of the result file) stand above the curve. Enter opens the
// chart of the selected candidate. The window owns the result file and deletes it
// when it closes.
#include <filesystem>
#include <vector>

#include "core/chart_record.h"
#include "gui/child_window.h"
#include "rectify/rectification.h"

class QPainter;

namespace orbeta {

struct RectifyRun {
    RectifyParams params;
    ChartRecord natal;  // place, correction and house system of every candidate
    std::filesystem::path resultFile;
    std::vector<double> totals;  // of the scored candidates, in time order
    double best = 1;
};

class RectifyWindow : public ChildWindow {
    Q_OBJECT
  public:
    explicit RectifyWindow(RectifyRun run, QWidget* parent = nullptr);
    ~RectifyWindow() override;

    int Selected() const { return selected_; }
    void Select(int k);
    // The local time of the selected candidate and its "S=… T=… P=… D=…" line.
    QString SelectionText() const;
    // The natal chart of candidate k.
    ChartRecord CandidateChart(int k) const;
    void OpenSelectedChart();
    bool Print();
    void OnCommand(int id) override;
    QSize sizeHint() const override { return {640, 360}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Draw(QPainter& painter, const QRect& area) const;
    double CandidateLocal(int k) const;
    QRect PlotArea(const QRect& area) const;

    RectifyRun run_;
    int selected_ = 0;
};

}  // namespace orbeta
