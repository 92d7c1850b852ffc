#pragma once
// The aspect table window: the aspect grid (or the arcs) of a chart window's charts
// with the coordinates of their points below it, scrolled by bars and keys, printed
// and saved as text.
#include <QFont>
#include <QString>
#include <functional>
#include <string>

#include "chart/chart_tables.h"
#include "gui/child_window.h"

class QScrollBar;
class QPainter;

namespace orbeta {

class AspectTableWindow : public ChildWindow {
    Q_OBJECT
  public:
    AspectTableWindow(int number, const AspectTable& table, QWidget* parent = nullptr);

    int Number() const { return number_; }
    const AspectTable& Table() const { return table_; }
    int FirstRow() const { return firstRow_; }
    int FirstColumn() const { return firstColumn_; }
    TableScrollMaxima Maxima() const;
    QScrollBar* VerticalBar() const { return vertical_; }
    QScrollBar* HorizontalBar() const { return horizontal_; }
    int LineHeight() const;
    int CellWidth() const;  // one column unit; a cell is three

    bool OffersCommand(int id) const override;
    void OnCommand(int id) override;

    // The saved text (UTF-8) written whole or not at all.
    bool SaveTo(const std::string& path) const;
    // 2014 on the program's printer; false without a printer or when cancelled.
    bool Print();

    // The file dialog of 2015; tests put their own in its place.
    using SaveNameChooser = std::function<QString(QWidget* parent)>;
    static void SetSaveNameChooser(SaveNameChooser chooser);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateBars();
    void SetPosition(int row, int column);
    QSize ClientSize() const;

    int number_;
    AspectTable table_;
    QFont gridFont_;
    QFont coordinateFont_;
    int firstRow_ = 0;
    int firstColumn_ = 0;
    QScrollBar* vertical_;
    QScrollBar* horizontal_;
};

// Paints the grid from a first row and column, then the coordinates, inside `size`;
// returns the height used. `lineHeight` and `cellWidth` are of the grid font.
int PaintAspectTable(QPainter& painter, const AspectTable& table, QSize size, int firstRow,
                     int firstColumn, const QFont& gridFont, const QFont& coordinateFont);

}  // namespace orbeta
