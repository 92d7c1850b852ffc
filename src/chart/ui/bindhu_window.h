#pragma once
// The Bindhu table of a chart: for every point and aspect, the degrees where a body
// would make that aspect, as a window of twelve sign columns or as a text report.
#include <vector>

#include "chart/chart_tables.h"
#include "gui/child_window.h"

class QPainter;

namespace orbeta {

class BindhuWindow : public ChildWindow {
    Q_OBJECT
  public:
    BindhuWindow(const ChartRecord& chart, long maskP, const OrbTable& table,
                 QWidget* parent = nullptr);

    const std::vector<BindhuRow>& Rows() const { return rows_; }
    int FirstRow() const { return firstRow_; }

    bool OffersCommand(int id) const override;
    void OnCommand(int id) override;
    // 2100 on the program's printer; false without a printer or when cancelled.
    bool Print();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::vector<BindhuRow> rows_;
    int firstRow_ = 0;
};

// Paints the heading and the rows [first, end) into `size`; rows that do not fit are
// left out. Returns the row after the last one drawn.
int PaintBindhu(QPainter& painter, const std::vector<BindhuRow>& rows, int first, QSize size,
                bool printing);

// The report of command 2002 with the table form off (title "Таблица Биндху").
void WriteBindhuReport(const ChartRecord& chart, long maskP);
// Command 2002: the window when "Табличная форма Биндху" is on, else the report.
void OpenBindhu(const ChartRecord& chart);

}  // namespace orbeta
