#include "forecast/draw/graph_draw_common.h"

#include "chart/wheel_glyphs.h"
#include "core/angles.h"
#include "platform/format.h"

namespace orbeta::graph_draw {

void TimeGrid(GraphCanvas& canvas, const GraphLayout& l, const GraphPeriod& period,
              const GraphStyle& style) {
    QPainter& p = canvas.Painter();
    p.setPen(QPen(ToQColor(style.grid), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(l.x0, l.y0), QPoint(l.x1, l.y1)));
    if (style.lowMemory) return;
    TimeAxis axis{l.x0, l.x1, period.start, period.end};
    for (int k = 1; k < period.divisions; ++k) {
        int x = axis.X(period.start + k * (period.end - period.start) / period.divisions);
        if (k % 2 == 0) {
            canvas.Line(x, l.y0, x, l.y1, style.grid);
        } else {
            canvas.Line(x, l.y0 - 2, x, l.y0 + 2, style.grid);
            canvas.Line(x, l.y1 - 2, x, l.y1 + 2, style.grid);
        }
    }
}

void CursorLine(GraphCanvas& canvas, const GraphLayout& l, const GraphPeriod& period,
                double cursor) {
    if (!(cursor >= period.start && cursor <= period.end)) return;
    int x = TimeAxis{l.x0, l.x1, period.start, period.end}.X(cursor);
    // Twice the grid's width: the cursor stands out from the division lines.
    canvas.Line(x, l.y0, x, l.y1, RgbColour(0, 0, 0), 2);
}

std::string PositionInSign(double lon) {
    SignPosition s = SignPositionOf(lon);
    return Format("%02d %c %02d", s.degrees, SignGlyph(s.sign), s.minutes);
}

std::string PositionEntry(const GraphLabel& label) {
    SignPosition s = SignPositionOf(label.lon);
    return Format("%c %02d %c %02d %c", PointGlyph(label.point), s.degrees, SignGlyph(s.sign),
                  s.minutes, label.retrograde ? kRetrogradeGlyph : ' ');
}

}  // namespace orbeta::graph_draw
