#include "chart/wheel_painter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <algorithm>

#include "aspects/aspect_matrix.h"
#include "chart/chart_tables.h"
#include "chart/make_font.h"
#include "chart/wheel_glyphs.h"
#include "chart/wheel_painter_internal.h"
#include "core/angles.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

constexpr double kArrowSpread = 1.5;  // degrees either side of an angular cusp
constexpr double kAngleGlyphOffset = 5.0;

QString QtText(const std::string& cp1251) {
    return QString::fromStdString(AnsiToUtf8(cp1251));
}

}  // namespace

namespace {

// The aspect grid under a printed wheel. A grid that needs a page of its own is left
// out on a surface of one page.
void PaintPrintedGrid(QPainter& painter, const WheelParams& params, QSize size,
                      const WheelLayout& layout) {
    AspectTable table;
    table.kind = params.kind == kWheelTwoCharts ? kTableTwoCharts : kTableOneChart;
    table.horary = params.horary;
    table.chartA = params.first;
    table.chartB = params.second;
    table.matrix = params.matrix;
    table.maskP = params.maskP;
    table.maskA = params.maskA;
    PrintedGrid grid = LayOutPrintedGrid(table, size.width(), size.height(), layout.geometry.cy);
    if (grid.newPage) {
        auto* pages = dynamic_cast<QPagedPaintDevice*>(painter.device());
        if (!pages || !pages->newPage()) return;
    }
    std::optional<QFont> font = MakeFont(params.textFace, grid.rowHeight, grid.unit);
    if (!font) return;
    painter.save();
    painter.setFont(*font);
    painter.setPen(QPen(Qt::black, std::max(1, size.width() / 2000)));
    int ascent = painter.fontMetrics().ascent();
    for (const GridItem& item : grid.items) {
        if (item.rule)
            painter.drawLine(item.x, item.y, item.x2, item.y2);
        else
            painter.drawText(item.x, item.y + ascent, QString::fromUtf8(AnsiToUtf8(item.text)));
    }
    painter.restore();
}

}  // namespace

WheelLayout PaintChart(QPainter& painter, const WheelParams& params, QSize size, bool printer,
                       uint8_t& printState, WheelTrace* trace) {
    if (printState == kPrinting) return {};
    bool requested = printState == kPrintRequested;
    if (requested) printState = kPrinting;
    WheelPainter wheel(painter, params, printer, trace);
    painter.save();
    wheel.Paint(size);
    painter.restore();
    if (printer && params.printTable) PaintPrintedGrid(painter, params, size, wheel.Layout());
    if (requested) printState = kNotPrinting;
    return wheel.Layout();
}

void WheelPainter::Paint(QSize size) {
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setBrush(Qt::NoBrush);
    ComputeLayout(size);
    FillSigns();
    DrawRingsAndScale();
    SpreadFirstRing();
    if (HasHouses(params_.first)) DrawFirstChartCusps();
    DrawBodies(0);
    UsePen(plainPen_);
    Circle(layout_.ra);
    if (params_.kind == kWheelTwoCharts) {
        DrawSecondRing();
        DrawCrossAspectLines();
    } else {
        DrawAspectLines();
    }
    DrawTextBeside();
    layout_.painted = true;
}

void WheelPainter::ComputeLayout(QSize size) {
    WheelLayout& L = layout_;
    int cx, cy, r, lh;
    page_ = size;
    if (printer_ && size.height() > 0 && size.height() < size.width()) {
        // A landscape page: the wheel as high as the page allows (its angle glyphs
        // reach r), the lists at its sides, the type as on an upright page.
        int h = size.height();
        lh = h * 40 / 2000;
        cx = size.width() / 2;
        cy = h / 2;
        r = h / 2 - lh;
    } else if (printer_) {
        int w = size.width();
        cx = w / 2;
        cy = cx * 3 / 4;
        r = cx * 3 / 4;
        lh = w * 40 / 2000;
    } else {
        QFontMetrics fm = p_.fontMetrics();
        lh = fm.height() + std::max(0, fm.leading());
        cx = size.width() / 2;
        bool besideWheel = params_.kind == kWheelTwoCharts || params_.horary;
        if (params_.display.aspectarium && besideWheel) cx = cx * 7 / 8;
        cy = size.height() / 2;
        r = std::min(cx, cy);
        // A narrow window gives up to a third of the wheel's radius to keep the body
        // list beside it.
        if (auto font = lh > 0 ? MakeFont(params_.textFace, lh, 0) : std::nullopt) {
            QFontMetrics metrics(*font, p_.device());
            int w = metrics.horizontalAdvance("123456789012");
            r = std::min(r, std::max((cx - w - lh) * 10 / 9 - 1, r * 2 / 3));
            if (params_.horary) {
                // The list beside a horary wheel keeps its widest line in the window: the
                // wheel moves left and shrinks (to two thirds at most) to make room, the
                // body column on its left keeping its own.
                int widest = metrics.horizontalAdvance("=================");
                for (const auto& line : params_.horaryList.lines)
                    widest = std::max(widest, metrics.horizontalAdvance(QtText(line)));
                int right = size.width() - widest - lh / 2;  // where the list may start
                int fit = (right - w - lh) * 100 / 185;      // r0 on both sides of cx
                r = std::min(r, std::max(fit, r * 2 / 3));
                cx = std::max(r * 9 / 10 + w + lh, std::min(cx, right - r * 945 / 1000));
            }
        }
        p_.fillRect(QRect(QPoint(0, 0), size), ToQColor(params_.elements[10]));
    }
    r = std::max(r, 0);
    L.lineHeight = lh;
    L.r0 = (r + 1) * 9 / 10;
    L.r1 = L.r0 * 9 / 10;
    L.r2 = L.r1 * 33 / 34;
    L.r3 = HasHouses(params_.first) ? L.r2 * 9 / 10 : L.r2;
    L.step = L.r0 / 15;
    cxText_ = cx;

    const ChartRecord& angles = params_.kind == kWheelTwoCharts ? params_.second : params_.first;
    WheelGeometry& g = L.geometry;
    g.cx = cx;
    g.cy = cy;
    g.direction = params_.display.direction;
    g.houseWheel = params_.display.houseWheel;
    g.rotation = params_.display.originAscendant ? angles.cusp[1] : 0.0;
    std::copy(std::begin(angles.cusp), std::end(angles.cusp), g.cusps.begin());

    plainPen_ = SolidPen(params_.elements[0]);
    angularPen_ = SolidPen(params_.elements[3]);
    linePen_ = plainPen_;
    wheelGlyphFont_ = MakeFont(params_.glyphFace, L.r0 / 10, 0);
    textFont_ = MakeFont(params_.textFace, lh, 0);
    listGlyphFont_ = MakeFont(params_.glyphFace, lh * 5 / 6, 0);
}

void WheelPainter::DrawRingsAndScale() {
    const WheelLayout& L = layout_;
    UsePen(plainPen_);
    Circle(L.r0);
    Circle(L.r1);
    Circle(L.r2);
    for (int i = 0; i < 12; ++i)
        PolarLine(30.0 * i, L.r0, 30.0 * i, L.r1 - 1, WheelItem::SignBoundary);
    for (int d = 0; d < 360; d += 5)
        PolarLine(d, L.r2, d, d % 10 == 0 ? L.r1 : (L.r2 + L.r1) / 2, WheelItem::Tick);
    SelectFont(wheelGlyphFont_);
    for (int s = 0; s < 12; ++s)
        GlyphAt(30.0 * s + 15.0, (L.r0 + L.r1) / 2, SignGlyph(s), params_.elements[9],
                WheelItem::SignGlyph);
}

bool WheelPainter::BodyShown(const ChartRecord& chart, int body) const {
    return IsPointShown(body, params_.maskP) && BodyAvailable(chart, body);
}

bool WheelPainter::TakesAspects(const ChartRecord& chart, int point) const {
    if (!TakesPartInAspects(point, params_.maskP, params_.maskA)) return false;
    return point > kBodyCount || BodyAvailable(chart, point);
}

int WheelPainter::AspectPointCount(const ChartRecord& chart) const {
    return params_.display.cuspAspects && HasHouses(chart) ? 21 : kBodyCount;
}

SpreadResult WheelPainter::SpreadBodies(int ring, const ChartRecord& chart, int start, int floor) {
    // The boxes are those of the inked glyphs as GlyphAt will draw them.
    SelectFont(wheelGlyphFont_);
    QFontMetrics fm = p_.fontMetrics();
    SpreadRing request;
    request.start = start;
    request.floor = floor;
    request.step = layout_.step;
    for (int i = 1; i <= kBodyCount; ++i) {
        request.lon[i] = chart.lon[i];
        request.active[i] = BodyShown(chart, i);
        QChar glyph = QChar::fromLatin1(PointGlyph(i));
        QRect ink = fm.boundingRect(glyph);
        int left = -(fm.horizontalAdvance(QString(glyph)) / 2) + ink.x();
        int top = -(fm.height() / 2) + fm.ascent() + ink.y();
        request.box[i] = {left, top, left + ink.width(), top + ink.height()};
    }
    SpreadResult s = SpreadGlyphs(request, layout_.geometry);
    layout_.rings[ring].radius = s.radius;
    layout_.rings[ring].lon = s.drawn;
    return s;
}

void WheelPainter::SpreadFirstRing() {
    WheelLayout& L = layout_;
    int floor = params_.kind == kWheelTwoCharts ? L.r0 / 3 : L.r0 / 6;
    SpreadResult s = SpreadBodies(0, params_.first, L.r3 - L.step, floor);
    L.ra = s.smallest - L.step;
}

void WheelPainter::DrawAngleCusp(int ring, double lon, int cusp, int innerEnd) {
    const WheelLayout& L = layout_;
    int outer17 = L.r0 * 17 / 16, outer33 = L.r0 * 33 / 32;
    UsePen(angularPen_);
    TracedLine info{WheelItem::CuspLine, {}, {}, 0, false, ring, 0, 0, static_cast<float>(cusp)};
    if (cusp == 1 || cusp == 10) {
        PolarLine(lon, outer17, lon, innerEnd, WheelItem::CuspLine, info);
        PolarLine(lon + kArrowSpread, L.r0, lon, outer17, WheelItem::Arrow, info);
        PolarLine(lon - kArrowSpread, L.r0, lon, outer17, WheelItem::Arrow, info);
        SelectFont(wheelGlyphFont_);
        GlyphAt(lon + kAngleGlyphOffset, outer17, PointGlyph(PointOfCusp(cusp)),
                params_.elements[3], WheelItem::AngleGlyph);
    } else {
        PolarLine(lon, outer33, lon, innerEnd, WheelItem::CuspLine, info);
        PolarLine(lon + kArrowSpread, outer17, lon, outer33, WheelItem::Arrow, info);
        PolarLine(lon - kArrowSpread, outer17, lon, outer33, WheelItem::Arrow, info);
    }
}

void WheelPainter::DrawFirstChartCusps() {
    const WheelLayout& L = layout_;
    const ChartRecord& c = params_.first;
    UsePen(plainPen_);
    Circle(L.r3);
    for (int k = 1; k <= 12; ++k) {
        bool angular = k == 1 || k == 4 || k == 7 || k == 10;
        TracedLine info{WheelItem::CuspLine, {}, {}, 0, false, 0, 0, 0, static_cast<float>(k)};
        if (angular && params_.kind != kWheelTwoCharts) {
            DrawAngleCusp(0, c.cusp[k], k, L.ra);
            continue;
        }
        UsePen(angular ? angularPen_ : plainPen_);
        PolarLine(c.cusp[k], L.r2, c.cusp[k], L.ra, WheelItem::CuspLine, info);
    }
    SelectFont(wheelGlyphFont_);
    for (int k = 1; k <= 12; ++k)
        GlyphAt(Midpoint(c.cusp[k], c.cusp[k % 12 + 1]), (L.r2 + L.r3) / 2, HouseNumberGlyph(k),
                params_.elements[2], WheelItem::HouseNumber);
}

void WheelPainter::DrawBodies(int ring) {
    RingGlyphs& g = layout_.rings[ring];
    SelectFont(wheelGlyphFont_);
    for (int i = 1; i <= kBodyCount; ++i) {
        if (g.radius[i] == kNotPlaced) continue;
        g.topLeft[i] = GlyphAt(g.lon[i], g.radius[i], PointGlyph(i), params_.elements[1],
                               WheelItem::BodyGlyph, ring);
    }
}

QPen WheelPainter::PenForAspect(float angle) {
    AspectPen pen = params_.PenOf(angle);
    // A pen that cannot be made leaves the one before; the line is drawn all the same.
    if (!pen.Valid()) return linePen_;
    QPen q = SolidPen(pen.colour);
    if (pen.lineStyle == kLineDashed) q.setStyle(Qt::DashLine);
    return q;
}

void WheelPainter::DrawAspectLines() {
    const ChartRecord& c = params_.first;
    int n = AspectPointCount(c);
    for (int i = 1; i <= n; ++i) {
        if (!TakesAspects(c, i)) continue;
        for (int j = i + 1; j <= n; ++j) {
            if (!TakesAspects(c, j)) continue;
            float v = params_.matrix.At(i, j);
            if (v == kNoAspect || v == 0.0f) continue;  // conjunctions draw no line
            UsePen(PenForAspect(v));
            TracedLine info{WheelItem::AspectLine, {}, {}, 0, false, 0, i, j, v};
            PolarLine(PointLongitude(c, j), layout_.ra, PointLongitude(c, i), layout_.ra,
                      WheelItem::AspectLine, info);
        }
    }
}

void WheelPainter::DrawSecondRing() {
    WheelLayout& L = layout_;
    const ChartRecord& c = params_.second;
    SpreadResult s = SpreadBodies(1, c, L.ra - L.step, L.r0 / 6);
    L.rb = s.smallest - L.step;
    L.rh = HasHouses(c) ? L.rb - L.r0 / 10 : L.rb;
    UsePen(plainPen_);
    Circle(L.rb);
    if (HasHouses(c)) {
        Circle(L.rh);
        for (int k = 1; k <= 12; ++k) {
            if (k == 1 || k == 10) {
                DrawAngleCusp(1, c.cusp[k], k, L.rh);
            } else if (k == 4 || k == 7) {
                DrawAngleCusp(1, c.cusp[k], k, L.ra);
            } else {
                UsePen(plainPen_);
                TracedLine info{WheelItem::CuspLine,  {}, {}, 0, false, 1, 0, 0,
                                static_cast<float>(k)};
                PolarLine(c.cusp[k], L.rh, c.cusp[k], L.rb, WheelItem::CuspLine, info);
            }
        }
        SelectFont(wheelGlyphFont_);
        for (int k = 1; k <= 12; ++k)
            GlyphAt(Midpoint(c.cusp[k], c.cusp[k % 12 + 1]), (L.rh + L.rb) / 2, HouseNumberGlyph(k),
                    params_.elements[2], WheelItem::HouseNumber);
    }
    DrawBodies(1);
}

void WheelPainter::DrawCrossAspectLines() {
    const ChartRecord& first = params_.first;
    const ChartRecord& second = params_.second;
    // Rows of the matrix are the second chart's points, columns the first chart's.
    int nb = AspectPointCount(second), na = AspectPointCount(first);
    for (int i = 1; i <= nb; ++i) {
        if (!TakesAspects(second, i)) continue;
        for (int j = 1; j <= na; ++j) {
            if (!TakesAspects(first, j)) continue;
            float v = params_.matrix.At(i, j);
            if (v == kNoAspect || v == 0.0f) continue;
            UsePen(PenForAspect(v));
            TracedLine info{WheelItem::AspectLine, {}, {}, 0, false, 0, i, j, v};
            PolarLine(PointLongitude(second, i), layout_.rh, PointLongitude(first, j), layout_.rh,
                      WheelItem::AspectLine, info);
        }
    }
}

// Drawing helpers.

QPen WheelPainter::SolidPen(Colour colour) const {
    QPen pen(ToQColor(colour));
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void WheelPainter::SelectFont(const std::optional<QFont>& font) {
    // A font that could not be made leaves the previous one.
    if (font) p_.setFont(*font);
}

void WheelPainter::Line(ScreenPoint a, ScreenPoint b, WheelItem item, const TracedLine& info) {
    p_.setPen(linePen_);
    p_.drawLine(a.x, a.y, b.x, b.y);
    if (!trace_) return;
    TracedLine t = info;
    t.item = item;
    t.from = a;
    t.to = b;
    QColor c = linePen_.color();
    t.colour = RgbColour(c.red(), c.green(), c.blue());
    t.dashed = linePen_.style() == Qt::DashLine;
    trace_->lines.push_back(t);
}

void WheelPainter::PolarLine(double lon1, int r1, double lon2, int r2, WheelItem item,
                             const TracedLine& info) {
    const WheelGeometry& g = layout_.geometry;
    Line(g.ToScreen(lon1, r1), g.ToScreen(lon2, r2), item, info);
}

void WheelPainter::Circle(int radius) {
    if (radius < 0) return;
    p_.setPen(linePen_);
    p_.setBrush(Qt::NoBrush);
    p_.drawEllipse(QPoint(layout_.geometry.cx, layout_.geometry.cy), radius, radius);
    if (trace_) trace_->circles.push_back(radius);
}

ScreenPoint WheelPainter::GlyphAt(double lon, int radius, char glyph, Colour colour, WheelItem item,
                                  int ring) {
    QFontMetrics fm = p_.fontMetrics();
    QString text(QChar::fromLatin1(glyph));
    ScreenPoint centre = layout_.geometry.ToScreen(lon, radius);
    ScreenPoint topLeft{centre.x - fm.horizontalAdvance(text) / 2, centre.y - fm.height() / 2};
    DrawString(topLeft.x, topLeft.y + fm.ascent(), text, colour);
    if (trace_)
        trace_->texts.push_back({item, std::string(1, glyph), topLeft, colour, true, ring, 0,
                                 fm.horizontalAdvance(text), pageNumber_});
    return topLeft;
}

int WheelPainter::TextAt(int x, int y, const std::string& text, Colour colour,
                         const TracedText& info) {
    QFontMetrics fm = p_.fontMetrics();
    QString s = QtText(text);
    DrawString(x, y + fm.ascent(), s, colour);
    int width = fm.horizontalAdvance(s);
    if (trace_) {
        TracedText t = info;
        t.text = text;
        t.topLeft = {x, y};
        t.colour = colour;
        t.width = width;
        t.page = pageNumber_;
        trace_->texts.push_back(t);
    }
    return width;
}

void WheelPainter::DrawString(int x, int baseline, const QString& text, Colour colour) {
    // An SVG file names its fonts and does not carry them: elsewhere the glyph letters
    // would show as letters. There the text goes as outlines.
    if (p_.paintEngine() && p_.paintEngine()->type() == QPaintEngine::SVG) {
        QPainterPath path;
        path.addText(x, baseline, p_.font(), text);
        p_.fillPath(path, ToQColor(colour));
        return;
    }
    p_.setPen(ToQColor(colour));
    p_.drawText(x, baseline, text);
}

int WheelPainter::TextWidth(const std::string& text) const {
    return p_.fontMetrics().horizontalAdvance(QtText(text));
}

}  // namespace orbeta
