#pragma once
// The painter of one picture: its state while drawing (fonts, pens, layout) and the
// steps of the picture, split over the files of the wheel.
#include <QFont>
#include <QPen>
#include <optional>
#include <vector>

#include "chart/wheel_painter.h"

namespace orbeta {

class WheelPainter {
  public:
    WheelPainter(QPainter& painter, const WheelParams& params, bool printer, WheelTrace* trace)
        : p_(painter), params_(params), printer_(printer), trace_(trace) {}

    void Paint(QSize size);
    const WheelLayout& Layout() const { return layout_; }

  private:
    // wheel_painter.cpp
    void ComputeLayout(QSize size);
    void DrawRingsAndScale();
    void SpreadFirstRing();
    void DrawFirstChartCusps();
    // Radii and drawn longitudes of a ring's glyphs, kept in the layout.
    SpreadResult SpreadBodies(int ring, const ChartRecord& chart, int start, int floor);
    void DrawBodies(int ring);
    void DrawAspectLines();
    void DrawSecondRing();
    void DrawCrossAspectLines();
    void DrawAngleCusp(int ring, double lon, int cusp, int innerEnd);
    // sign_fill.cpp
    void FillSigns();
    // wheel_text.cpp
    void DrawTextBeside();
    int DrawColumn(int column, const ChartRecord& chart, int x);
    void DrawBodyList(int column, const ChartRecord& chart, int x, int y);
    // A rectangle the aspect list may fill (right and bottom just outside).
    struct TextArea {
        int left, top, right, bottom;
    };
    void DrawAspectarium(std::vector<TextArea> areas, bool crossPairs, int rows, int columns);
    // Printed: the areas of the aspect list below the text column at x whose list ends
    // at listBottom, beside and below the wheel.
    std::vector<TextArea> PrintedListAreas(int x, int listBottom) const;
    int ColumnWidth(const ChartRecord& chart);
    void DrawHoraryList(int x, int y);

    // Drawing helpers.
    void SelectFont(const std::optional<QFont>& font);
    void UsePen(const QPen& pen) { linePen_ = pen; }
    QPen SolidPen(Colour colour) const;
    void Line(ScreenPoint a, ScreenPoint b, WheelItem item, const TracedLine& info = {});
    void PolarLine(double lon1, int r1, double lon2, int r2, WheelItem item,
                   const TracedLine& info = {});
    void Circle(int radius);
    // A one-character glyph whose cell is centred on the point; returns the cell's
    // top-left corner. The trace gives body glyphs their ring as the column.
    ScreenPoint GlyphAt(double lon, int radius, char glyph, Colour colour, WheelItem item,
                        int ring = 0);
    // Text with its top-left corner at (x, y); returns its width.
    int TextAt(int x, int y, const std::string& text, Colour colour, const TracedText& info);
    int TextWidth(const std::string& text) const;
    void DrawString(int x, int baseline, const QString& text, Colour colour);

    // Who takes part: shown and computed (bodies), and for aspects also in MaskA.
    bool BodyShown(const ChartRecord& chart, int body) const;
    bool TakesAspects(const ChartRecord& chart, int point) const;
    int AspectPointCount(const ChartRecord& chart) const;
    QPen PenForAspect(float angle);

    QPainter& p_;
    const WheelParams& params_;
    bool printer_;
    WheelTrace* trace_;
    WheelLayout layout_;
    QPen linePen_;
    QPen plainPen_;
    QPen angularPen_;
    std::optional<QFont> wheelGlyphFont_;  // R0 / 10
    std::optional<QFont> textFont_;        // lh
    std::optional<QFont> listGlyphFont_;   // lh × 5 / 6
    int cxText_ = 0;                       // the centre the text columns are placed by
    QSize page_;                           // the surface painted on
    int pageNumber_ = 0;                   // printed: pages begun after the first
};

inline bool HasHouses(const ChartRecord& chart) {
    return chart.houseSystem != 8;
}

}  // namespace orbeta
