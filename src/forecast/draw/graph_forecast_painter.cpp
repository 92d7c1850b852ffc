// The graphic forecast: bands of the chosen points with the aspect periods as bars.
#include <algorithm>

#include "chart/wheel_glyphs.h"
#include "core/calendar.h"
#include "forecast/draw/graph_draw_common.h"

namespace orbeta {
namespace {

using graph_draw::PositionEntry;
using graph_draw::PositionInSign;

struct Fonts {
    int symbol = 1, small = 1;
};

Fonts FontsOf(const GraphLayout& l, const GraphStyle& style) {
    Fonts f;
    f.symbol = style.printing ? std::max(1, style.dpiY / 5) : l.rowHeight;
    f.small = std::max(1, l.rowHeight * 2 / 3);
    return f;
}

// The average character width ·6/5 of the symbol font of the legend.
int CharWidth(GraphCanvas& canvas, const GraphLayout& l, const GraphStyle& style) {
    if (!canvas.SelectFont(style.glyphFace, std::max(1, l.rowHeight * 5 / 6))) return 1;
    return std::max(1, canvas.AverageCharWidth() * 6 / 5);
}

void Bands(GraphCanvas& canvas, const GraphLayout& l, int count, const GraphStyle& style) {
    for (int r = 1; r < count; ++r) {
        int y = l.y1 - r * l.rowPitch;
        canvas.Line(l.x0, y, l.x1, y, style.grid);
    }
}

void LeftLabels(GraphCanvas& canvas, const GraphLayout& l, const ForecastModel& m,
                const GraphStyle& style) {
    if (!canvas.SelectFont(style.glyphFace, std::max(1, l.rowHeight * 3 / 4))) return;
    int h = canvas.FontHeight();
    for (size_t r = 0; r < m.bands.size(); ++r) {
        const GraphLabel& label = m.bands[r].label;
        int bottom = l.y1 - static_cast<int>(r) * l.rowPitch;
        int y = bottom - l.rowPitch * 9 / 10;
        Colour colour = style.PointColour(label.point);
        canvas.Text(l.x0 - l.rowHeight, y, std::string(1, PointGlyph(label.point)), colour);
        std::string pos = PositionInSign(label.lon);
        canvas.Text(l.x0 - canvas.TextWidth(pos), y + h, pos, colour);
    }
}

// The legend's area is cleared up to the chart box, which stays.
void Legend(GraphCanvas& canvas, const GraphLayout& l, const ForecastModel& m,
            const GraphStyle& style, int cw) {
    int pitch = (l.x1 - l.x0) / 7;
    // A symbol font of wide average characters would put the cursor box over the
    // first column: the legend then starts right of the box.
    int x = std::max(l.x0 + pitch * 3 / 4, 23 * cw / 2), top = l.y1 + l.rowHeight * 2 / 3;
    int right = m.options.current ? l.width : l.width - 41 * cw / 2;
    canvas.Painter().fillRect(QRect(QPoint(x - 2, top), QPoint(right - 1, l.height)),
                              ToQColor(style.background));
    if (!canvas.SelectFont(style.glyphFace, std::max(1, l.rowHeight * 5 / 6))) return;
    int step = canvas.FontHeight() + 2;
    for (size_t i = 0; i < m.legend.size(); ++i) {
        int row = static_cast<int>(i % 5), column = static_cast<int>(i / 5);
        canvas.Text(x + column * (pitch * 4 / 5), top + row * step, PositionEntry(m.legend[i]),
                    style.PointColour(m.legend[i].point));
    }
}

void CursorBox(GraphCanvas& canvas, const GraphLayout& l, const ForecastModel& m,
               const GraphStyle& style, int cw) {
    canvas.Painter().setPen(QPen(ToQColor(style.text), 1));
    canvas.Painter().setBrush(ToQColor(style.background));
    canvas.Painter().drawRect(
        QRect(QPoint(cw, l.y1 + 3 * l.rowHeight), QPoint(11 * cw, l.y1 + 5 * l.rowHeight)));
    canvas.Painter().setBrush(Qt::NoBrush);
    if (!canvas.SelectFont(style.textFace, l.rowHeight)) return;
    canvas.Text(2 * cw, l.y1 + l.rowHeight * 7 / 2, DateText(m.cursor), style.text);
}

void ChartBox(GraphCanvas& canvas, const GraphLayout& l, const GraphStyle& style, int cw) {
    if (!style.lowMemory)
        canvas.FillBox(l.width - 41 * cw / 2, l.y1 + 5 * l.rowHeight / 2, l.width - cw / 2,
                       l.y1 + 11 * l.rowHeight / 2, style.box);
    if (!canvas.SelectFont(style.textFace, l.rowHeight)) return;
    canvas.Text(l.width - 20 * cw, l.y1 + 3 * l.rowHeight, style.chartName, style.text);
    canvas.Text(l.width - 20 * cw, l.y1 + 4 * l.rowHeight, style.chartDate, style.text);
}

// A bar's height in its band.
int BarY(const GraphLayout& l, const ForecastBand& band, size_t r, const GraphBar& bar) {
    int bottom = l.y1 - static_cast<int>(r) * l.rowPitch;
    return bottom - BarOffset(bar.level, band.maxLevel, l.rowPitch);
}

// Bars band by band: lines and exact moments first, then the glyphs, then the motion
// letters, so that each font is chosen once.
void Bars(GraphCanvas& canvas, const GraphLayout& l, const ForecastModel& m,
          const GraphStyle& style, const Fonts& fonts) {
    TimeAxis axis{l.x0, l.x1, m.period.start, m.period.end};
    QPainter& p = canvas.Painter();
    int penWidth = style.printing ? 3 : 1;
    for (size_t r = 0; r < m.bands.size(); ++r)
        for (const GraphBar& bar : m.bands[r].bars) {
            int y = BarY(l, m.bands[r], r, bar);
            canvas.Line(axis.X(bar.start), y, axis.X(bar.end), y, style.AspectColourOf(bar.aspect),
                        penWidth);
            if (bar.exact < 0) continue;
            int xx = axis.X(bar.exact);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(QPoint(xx - 1, y - 1), QPoint(xx + 1, y + 1)));
        }
    if (canvas.SelectFont(style.glyphFace, fonts.symbol)) {
        int gh = canvas.FontHeight();
        for (size_t r = 0; r < m.bands.size(); ++r)
            for (const GraphBar& bar : m.bands[r].bars) {
                int y = BarY(l, m.bands[r], r, bar);
                char glyph = AspectGlyph(bar.aspect);
                std::string aspect = glyph ? std::string(1, glyph) : std::string("?");
                int xm = (axis.X(bar.start) + axis.X(bar.end)) / 2 - canvas.TextWidth(aspect) / 2;
                canvas.Text(xm, y - gh, aspect, style.AspectColourOf(bar.aspect));
                canvas.Text(xm + gh * 3 / 4, y - gh, std::string(1, PointGlyph(bar.partner)),
                            style.PointColour(bar.partner));
            }
    }
    if (!canvas.SelectFont(style.textFace, fonts.small)) return;
    for (size_t r = 0; r < m.bands.size(); ++r)
        for (const GraphBar& bar : m.bands[r].bars) {
            int y = BarY(l, m.bands[r], r, bar);
            for (const MotionMark& mark : bar.motion)
                canvas.Text(axis.X(mark.jd) + 2, y - l.rowHeight * 2 / 3,
                            std::string(1, mark.letter), style.text);
        }
}

}  // namespace

void PaintForecastPlot(QPainter& painter, QSize size, const ForecastModel& m,
                       const GraphStyle& style) {
    GraphCanvas canvas(painter);
    int count = static_cast<int>(m.bands.size());
    GraphLayout l = ForecastLayout(size.width(), size.height(), style.printing, style.dpiY, count);
    Fonts fonts = FontsOf(l, style);
    painter.fillRect(QRect(QPoint(0, 0), size), ToQColor(style.background));
    graph_draw::TimeGrid(canvas, l, m.period, style);
    if (l.rowPitch > 0) Bands(canvas, l, count, style);
    int cw = CharWidth(canvas, l, style);
    if (!m.options.current) ChartBox(canvas, l, style, cw);
    if (l.rowPitch > 0) Bars(canvas, l, m, style, fonts);
}

void PaintForecastCursor(QPainter& painter, QSize size, const ForecastModel& m,
                         const GraphStyle& style) {
    GraphCanvas canvas(painter);
    GraphLayout l = ForecastLayout(size.width(), size.height(), style.printing, style.dpiY,
                                   static_cast<int>(m.bands.size()));
    if (l.rowPitch > 0) {
        // The labels' column is cleared so that positions of the last cursor go.
        painter.fillRect(QRect(QPoint(0, l.y0), QPoint(l.x0 - 1, l.y1)),
                         ToQColor(style.background));
        LeftLabels(canvas, l, m, style);
    }
    int cw = CharWidth(canvas, l, style);
    Legend(canvas, l, m, style, cw);
    CursorBox(canvas, l, m, style, cw);
    if (canvas.SelectFont(style.textFace, l.rowHeight)) {
        canvas.Text(0, l.y1 + l.rowHeight, DateText(m.period.start), style.text);
        std::string end = DateText(m.period.end);
        int x = std::min(l.x1 - 5 * l.rowHeight, l.width - canvas.TextWidth(end));
        canvas.Text(x, l.y1 + l.rowHeight, end, style.text);
    }
    graph_draw::CursorLine(canvas, l, m.period, m.cursor);
}

}  // namespace orbeta
