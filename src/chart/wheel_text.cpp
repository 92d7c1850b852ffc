// Text beside the wheel: the header and body list of each chart, and the aspect list
// (or the horary list) at the right.
#include <algorithm>

#include "chart/wheel_glyphs.h"
#include "chart/wheel_header.h"
#include "chart/wheel_painter_internal.h"
#include "core/angles.h"
#include "platform/format.h"

namespace orbeta {
namespace {

constexpr int kComposite = 13;
constexpr int kMidpointChart = 14;
constexpr int kListPoints[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                               12, 13, 14, 15, 16, 25, 17, 18, 20, 21};

std::string Glyph(char c) {
    return std::string(1, c);
}

}  // namespace

void WheelPainter::DrawTextBeside() {
    const WheelLayout& L = layout_;
    const int lh = L.lineHeight;
    SelectFont(textFont_);
    int w = TextWidth("123456789012");
    int x = std::min(cxText_ - L.r0 - w, 2 * lh);
    int listTop = DrawColumn(0, params_.first, x);
    int secondListTop = listTop;
    if (params_.kind == kWheelTwoCharts)
        secondListTop = DrawColumn(1, params_.second, cxText_ + L.r0);

    if (params_.horary) {
        DrawHoraryList(cxText_ + L.r0 * 21 / 20, lh);
        return;
    }
    if (!params_.display.aspectarium) return;
    if (params_.kind == kWheelTwoCharts) {
        SelectFont(textFont_);
        int ax = cxText_ + L.r0 * 15 / 14 + TextWidth("e 00 X 00 0    ");
        DrawAspectarium(ax, secondListTop, true, AspectPointCount(params_.second),
                        AspectPointCount(params_.first));
    } else {
        int m = params_.first.calcMethod;
        int ay = m == kComposite || m == kMidpointChart ? 5 * lh : lh;
        int n = AspectPointCount(params_.first);
        DrawAspectarium(cxText_ + L.r0 * 21 / 20, ay, false, n, n);
    }
}

// Header and body list of one chart; returns where the list began.
int WheelPainter::DrawColumn(int column, const ChartRecord& chart, int x) {
    const int lh = layout_.lineHeight;
    SelectFont(textFont_);
    int y = 0;
    for (const std::string& line : ChartHeaderLines(chart, params_.second)) {
        TextAt(x, y, line, params_.elements[4],
               {WheelItem::HeaderText, {}, {}, 0, false, column, y / std::max(lh, 1)});
        y += lh;
    }
    if (column == 1) x += layout_.r0 / 12;
    DrawBodyList(column, chart, x, y);
    return y;
}

void WheelPainter::DrawBodyList(int column, const ChartRecord& chart, int x, int y) {
    const int lh = layout_.lineHeight;
    const Colour text = params_.elements[4];
    SelectFont(listGlyphFont_);
    int glyphWidth = TextWidth("e "), signWidth = TextWidth("X ");
    SelectFont(textFont_);
    int numberWidth = TextWidth("00 ");
    const int xDegrees = x + glyphWidth, xSign = xDegrees + numberWidth;
    const int xMinutes = xSign + signWidth, xRetro = xMinutes + numberWidth;

    int rows = HasHouses(chart) ? 21 : kBodyCount;
    for (int k = 1; k <= rows; ++k, y += lh) {
        int point = kListPoints[k - 1];
        if (point <= kBodyCount && !BodyShown(chart, point)) continue;
        double lon = PointLongitude(chart, point);
        SignPosition pos = SignPositionOf(lon);
        TracedText info{WheelItem::ListEntry, {}, {}, 0, true, column, k};
        SelectFont(listGlyphFont_);
        TextAt(x, y, Format("%c ", PointGlyph(point)), params_.elements[1], info);
        TextAt(xSign, y, Format("%c ", SignGlyph(pos.sign)), params_.elements[9], info);
        info.glyphFont = false;
        SelectFont(textFont_);
        TextAt(xDegrees, y, Format("%02d ", pos.degrees), text, info);
        TextAt(xMinutes, y, Format("%02d", pos.minutes), text, info);
        if (point <= kBodyCount && chart.speed[point] < 0) {
            info.glyphFont = true;
            SelectFont(listGlyphFont_);
            TextAt(xRetro, y, Glyph(kRetrogradeGlyph), text, info);
        }
    }
}

// Entries "point, aspect, point", three to a line. Within one chart the pairs i < j;
// between charts the second chart's point (row) with the first chart's (column).
void WheelPainter::DrawAspectarium(int x, int y, bool crossPairs, int rows, int columns) {
    const int lh = layout_.lineHeight;
    const ChartRecord& rowChart = crossPairs ? params_.second : params_.first;
    const ChartRecord& columnChart = params_.first;
    SelectFont(listGlyphFont_);
    const int w1 = TextWidth(Format("%c ", PointGlyph(MON)));
    const int w2 = TextWidth(Format("%c ", AspectGlyph(90)));
    const int w3 = TextWidth("   ") + w1;
    int entry = 0;
    for (int i = 1; i <= rows; ++i) {
        if (!TakesAspects(rowChart, i)) continue;
        for (int j = crossPairs ? 1 : i + 1; j <= columns; ++j) {
            if (!TakesAspects(columnChart, j)) continue;
            float v = params_.matrix.At(i, j);
            if (v == kNoAspect) continue;
            int line = entry / 3;
            int ex = x + (entry % 3) * (w1 + w2 + w3), ey = y + line * lh;
            TracedText info{WheelItem::AspectariumEntry, {}, {}, 0, true, 0, line};
            TextAt(ex, ey, Glyph(PointGlyph(i)), params_.elements[1], info);
            if (char a = AspectGlyph(v))
                TextAt(ex + w1, ey, Glyph(a), params_.PenOf(v).colour, info);
            TextAt(ex + w1 + w2, ey, Glyph(PointGlyph(j)), params_.elements[1], info);
            ++entry;
        }
    }
}

void WheelPainter::DrawHoraryList(int x, int y) {
    const int lh = layout_.lineHeight;
    const HoraryList& h = params_.horaryList;
    SelectFont(textFont_);
    int row = 0;
    auto put = [&](const std::string& text) {
        TextAt(x, y + row * lh, text, params_.elements[4],
               {WheelItem::HoraryText, {}, {}, 0, false, 0, row});
        ++row;
    };
    for (int i = 0; i < static_cast<int>(h.lines.size()); ++i) {
        if (i == h.firstPart) put("=================");
        put(h.lines[i]);
    }
}

}  // namespace orbeta
