// The graphic ephemerides: the bodies' longitudes modulo the modulus over the period,
// with the natal points as horizontal lines.
#include <algorithm>

#include "chart/wheel_glyphs.h"
#include "core/calendar.h"
#include "forecast/draw/graph_draw_common.h"
#include "platform/format.h"

namespace orbeta {
namespace {

constexpr int kLevels = 24;

int CharWidth(GraphCanvas& canvas, const GraphLayout& l, const GraphStyle& style) {
    if (!canvas.SelectFont(style.textFace, l.rowHeight)) return 1;
    return std::max(1, canvas.AverageCharWidth() * 6 / 5);
}

PlotBox BoxOf(const GraphLayout& l) {
    return {l.x0, l.x1, l.y0, l.y1};
}

void Levels(GraphCanvas& canvas, const GraphLayout& l, const GraphStyle& style) {
    if (style.lowMemory) return;
    for (int k = 1; k < kLevels; ++k) {
        int y = l.y1 - k * l.levelPitch;
        if (k % 2 == 0) {
            canvas.Line(l.x0, y, l.x1, y, style.grid);
        } else {
            canvas.Line(l.x0 - 2, y, l.x0 + 2, y, style.grid);
            canvas.Line(l.x1 - 2, y, l.x1 + 2, y, style.grid);
        }
    }
}

void NatalLines(GraphCanvas& canvas, const GraphLayout& l, const EphemerisModel& m,
                const GraphStyle& style) {
    bool font = canvas.SelectFont(style.glyphFace, l.rowHeight);
    for (const GraphLabel& natal : m.natalLines) {
        int y = LongitudeY(natal.lon, m.modulus, BoxOf(l));
        Colour colour = style.PointColour(natal.point);
        canvas.Line(l.x0, y, l.x1, y, colour);
        if (font) canvas.Text(l.x1 + 5, y, std::string(1, PointGlyph(natal.point)), colour);
    }
}

void ScaleLabels(GraphCanvas& canvas, const GraphLayout& l, const EphemerisModel& m,
                 const GraphStyle& style) {
    bool signs = m.modulus == 360;
    if (!canvas.SelectFont(signs ? style.glyphFace : style.textFace, l.rowHeight)) return;
    int j = 0;
    for (int k = 0; k <= kLevels; k += 2, ++j) {
        int y = l.y1 - k * l.levelPitch;
        if (y < l.y0 - 5) break;
        std::string text =
            signs ? Format("     %c", SignGlyph(j % 12)) : Format("%7.2f", j * m.modulus / 12.0);
        canvas.Text(0, y - l.rowHeight / 2, text, style.text);
    }
}

void PeriodLabel(GraphCanvas& canvas, const GraphLayout& l, const EphemerisModel& m,
                 const GraphStyle& style, int cw) {
    if (!canvas.SelectFont(style.textFace, l.rowHeight)) return;
    const GraphPeriod& p = m.period;
    std::string text = p.kind == kPeriodYear    ? Format("%d", p.year)
                       : p.kind == kPeriodMonth ? Format("%02d.%d", p.month, p.year)
                                                : DateText(p.start);
    canvas.Text(0, l.y1 + l.rowHeight / 2, text, style.text);
    if (p.kind == kPeriodFree)
        canvas.Text(l.width - 11 * cw, l.y1 + l.rowHeight / 2, DateText(p.end), style.text);
}

void ChartBox(GraphCanvas& canvas, const GraphLayout& l, const GraphStyle& style, int cw) {
    if (style.lowMemory) return;
    canvas.FillBox(l.width - 37 * cw / 2, l.y1 + 3 * l.rowHeight / 2, l.width - cw / 2,
                   l.y1 + 9 * l.rowHeight / 2, style.box);
    if (!canvas.SelectFont(style.textFace, l.rowHeight)) return;
    canvas.Text(l.width - 18 * cw, l.y1 + 2 * l.rowHeight, style.chartName, style.text);
    canvas.Text(l.width - 18 * cw, l.y1 + 3 * l.rowHeight, style.chartDate, style.text);
}

void Curves(GraphCanvas& canvas, const GraphLayout& l, const EphemerisModel& m,
            const GraphStyle& style, int cw) {
    std::vector<BodyCurve> curves;
    std::vector<CurveWrap> wraps;
    BuildCurves(m, BoxOf(l), curves, wraps);
    QPainter& p = canvas.Painter();
    bool font = canvas.SelectFont(style.glyphFace, l.rowHeight);
    for (const BodyCurve& curve : curves) {
        Colour colour = style.PointColour(curve.body);
        p.setPen(QPen(ToQColor(colour), 1));
        for (const CurveSegment& s : curve.segments) p.drawLine(s.xa, s.ya, s.xb, s.yb);
        if (!font || m.jd.empty()) continue;
        std::string glyph(1, PointGlyph(curve.body));
        canvas.Text(l.x0 + cw, curve.firstY, glyph, colour);
        canvas.Text(l.x1 - cw, curve.lastY - l.rowHeight, glyph, colour);
    }
}

}  // namespace

void PaintEphemerisPlot(QPainter& painter, QSize size, const EphemerisModel& m,
                        const GraphStyle& style) {
    GraphCanvas canvas(painter);
    GraphLayout l = EphemerisLayout(size.width(), size.height(), style.printing);
    painter.fillRect(QRect(QPoint(0, 0), size), ToQColor(style.background));
    int cw = CharWidth(canvas, l, style);
    graph_draw::TimeGrid(canvas, l, m.period, style);
    Levels(canvas, l, style);
    NatalLines(canvas, l, m, style);
    ScaleLabels(canvas, l, m, style);
    PeriodLabel(canvas, l, m, style, cw);
    ChartBox(canvas, l, style, cw);
    Curves(canvas, l, m, style, cw);
}

void PaintEphemerisCursor(QPainter& painter, QSize size, const EphemerisModel& m,
                          const GraphStyle& style) {
    GraphCanvas canvas(painter);
    GraphLayout l = EphemerisLayout(size.width(), size.height(), style.printing);
    int cw = CharWidth(canvas, l, style);
    int step = l.rowHeight * 10 / 9, top = l.y1 + step;
    int boxLeft = style.lowMemory ? l.width : l.width - 37 * cw / 2;
    painter.fillRect(QRect(QPoint(12 * cw - 2, top), QPoint(boxLeft - 1, l.height)),
                     ToQColor(style.background));
    if (canvas.SelectFont(style.glyphFace, l.rowHeight)) {
        // Columns as wide as the widest entry and a character: five columns of fifteen
        // bodies end before the chart box.
        int pitch = 0;
        for (const GraphLabel& label : m.legend)
            pitch = std::max(pitch, canvas.TextWidth(graph_draw::PositionEntry(label)));
        pitch += cw;
        for (size_t i = 0; i < m.legend.size(); ++i) {
            int row = static_cast<int>(i % 3), column = static_cast<int>(i / 3);
            canvas.Text(12 * cw + column * pitch, top + row * step,
                        graph_draw::PositionEntry(m.legend[i]),
                        style.PointColour(m.legend[i].point));
        }
    }
    graph_draw::CursorLine(canvas, l, m.period, m.cursor);
}

}  // namespace orbeta
