// Text beside the wheel: the header and body list of each chart, and the aspect list
// (or the horary list) at the right.
#include <QPagedPaintDevice>
#include <algorithm>
#include <limits>

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
    // The column never starts left of the window or page.
    int x = std::max(0, std::min(cxText_ - L.r0 - w, 2 * lh));
    int listTop = DrawColumn(0, params_.first, x);
    int secondListTop = listTop;
    int x2 = cxText_ + L.r0;
    if (params_.kind == kWheelTwoCharts) {
        // On paper the second column moves left as far as its widest line needs.
        if (printer_) x2 = std::max(0, std::min(x2, page_.width() - ColumnWidth(params_.second)));
        secondListTop = DrawColumn(1, params_.second, x2);
    }

    if (params_.horary) {
        DrawHoraryList(cxText_ + L.r0 * 21 / 20, lh);
        return;
    }
    if (!params_.display.aspectarium) return;
    const int unbounded = std::numeric_limits<int>::max();
    if (params_.kind == kWheelTwoCharts) {
        SelectFont(textFont_);
        int ax = cxText_ + L.r0 * 15 / 14 + TextWidth("e 00 X 00 0    ");
        int rows = HasHouses(params_.second) ? 21 : kBodyCount;
        std::vector<TextArea> areas =
            printer_ ? PrintedListAreas(x2, secondListTop + (rows + 1) * lh)
                     : std::vector<TextArea>{{ax, secondListTop, unbounded, unbounded}};
        DrawAspectarium(areas, true, AspectPointCount(params_.second),
                        AspectPointCount(params_.first));
    } else {
        int m = params_.first.calcMethod;
        int ay = m == kComposite || m == kMidpointChart ? 5 * lh : lh;
        int n = AspectPointCount(params_.first);
        int ax = cxText_ + L.r0 * 21 / 20;
        std::vector<TextArea> areas = printer_
                                          ? PrintedListAreas(ax, ay)
                                          : std::vector<TextArea>{{ax, ay, unbounded, unbounded}};
        DrawAspectarium(areas, false, n, n);
    }
}

std::vector<WheelPainter::TextArea> WheelPainter::PrintedListAreas(int x, int listBottom) const {
    const WheelLayout& L = layout_;
    const int lh = L.lineHeight;
    const int w = page_.width(), h = page_.height();
    // The wheel reaches down to its angle glyphs below R0 × 17/16.
    const int wheelBottom = L.geometry.cy + L.r0 * 9 / 8;
    std::vector<TextArea> areas;
    int left = std::max(x, L.geometry.cx + L.r0 * 21 / 20);
    if (wheelBottom >= h) {
        areas.push_back({left, listBottom, w, h});  // beside the wheel down to the foot
    } else {
        areas.push_back({left, listBottom, w, wheelBottom});
        // Below the wheel and below both text columns, across the page.
        int rows = HasHouses(params_.first) ? 21 : kBodyCount;
        int below = std::max({wheelBottom, listBottom, (8 + rows) * lh}) + lh;
        areas.push_back({lh, below, w, h});
    }
    return areas;
}

int WheelPainter::ColumnWidth(const ChartRecord& chart) {
    SelectFont(textFont_);
    int widest = layout_.r0 / 12 + TextWidth("e 00 X 00 0");
    for (const std::string& line : ChartHeaderLines(chart, params_.second))
        widest = std::max(widest, TextWidth(line));
    return widest + layout_.lineHeight / 2;
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

// Entries "point, aspect, point", three to a line on the screen; on paper as many as
// the area's width holds, area after area, then on new pages. Within one chart the
// pairs i < j; between charts the second chart's point (row) with the first chart's
// (column).
void WheelPainter::DrawAspectarium(std::vector<TextArea> areas, bool crossPairs, int rows,
                                   int columns) {
    const int lh = std::max(layout_.lineHeight, 1);
    const ChartRecord& rowChart = crossPairs ? params_.second : params_.first;
    const ChartRecord& columnChart = params_.first;
    SelectFont(listGlyphFont_);
    const int w1 = TextWidth(Format("%c ", PointGlyph(MON)));
    const int w2 = TextWidth(Format("%c ", AspectGlyph(90)));
    const int w3 = TextWidth("   ") + w1;
    const int pitch = std::max(w1 + w2 + w3, 1);
    const int last = w1 + w2 + w1;  // the last entry of a line needs no blanks after it
    auto perLine = [&](const TextArea& a) {
        if (!printer_) return 3;
        int width = a.right - a.left;
        return width < last ? 0 : (width - last) / pitch + 1;
    };
    auto fits = [&](const TextArea& a) {
        return !printer_ || (perLine(a) > 0 && a.top + lh <= a.bottom);
    };
    auto* paged = printer_ ? dynamic_cast<QPagedPaintDevice*>(p_.device()) : nullptr;
    size_t area = 0;
    while (area < areas.size() && !fits(areas[area])) ++area;
    int entry = 0;  // within the area
    int lineBase = 0;
    for (int i = 1; i <= rows; ++i) {
        if (!TakesAspects(rowChart, i)) continue;
        for (int j = crossPairs ? 1 : i + 1; j <= columns; ++j) {
            if (!TakesAspects(columnChart, j)) continue;
            float v = params_.matrix.At(i, j);
            if (v == kNoAspect) continue;
            // The next area when this one is full; a new page when none is left.
            while (area < areas.size() && printer_ &&
                   areas[area].top + (entry / perLine(areas[area]) + 1) * lh > areas[area].bottom) {
                lineBase += entry / perLine(areas[area]);
                entry = 0;
                do ++area;
                while (area < areas.size() && !fits(areas[area]));
            }
            if (area == areas.size()) {
                if (!paged || !paged->newPage()) return;  // nowhere left to print
                ++pageNumber_;
                areas.push_back({lh, lh, page_.width(), page_.height()});
                if (!fits(areas.back())) return;
            }
            const TextArea& box = areas[area];
            int per = perLine(box);
            int line = entry / per;
            int ex = box.left + (entry % per) * pitch, ey = box.top + line * lh;
            line += lineBase;
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
