// The wheel checked by its parts: where the painter put the cusps, glyphs and lines,
// which it left out, and what it left behind for hit testing.
#include "chart/wheel_painter.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPdfWriter>
#include <cmath>
#include <limits>
#include <map>
#include <random>

#include "../support/test_support.h"
#include "chart/make_font.h"
#include "chart/wheel_glyphs.h"
#include "core/angles.h"
#include "platform/text_file.h"
#include "wheel_test_support.h"

namespace orbeta {
namespace {

using test::ChartWith;
using test::OneChartParams;
using test::PaintWheel;

constexpr Colour kBlue = RgbColour(0, 0, 255);
constexpr Colour kRed = RgbColour(255, 0, 0);

int Distance(ScreenPoint p, const WheelGeometry& g) {
    return static_cast<int>(std::lround(std::hypot(p.x - g.cx, p.y - g.cy)));
}

const TracedLine* CuspLine(const test::Painted& w, int ring, int cusp) {
    for (const TracedLine* l : w.Lines(WheelItem::CuspLine))
        if (l->ring == ring && l->angle == cusp) return l;
    return nullptr;
}

std::vector<const TracedLine*> AspectLines(const test::Painted& w, int a, int b) {
    std::vector<const TracedLine*> v;
    for (const TracedLine* l : w.Lines(WheelItem::AspectLine))
        if (l->pointA == a && l->pointB == b) v.push_back(l);
    return v;
}

TEST(WheelGeometry, TheOriginAndDirectionPlaceTheAscendant) {
    ChartRecord c = ChartWith({{SUN, 10}}, 120.0);
    WheelParams p = OneChartParams(c);
    p.display.originAscendant = true;
    test::Painted w = PaintWheel(p);
    const WheelGeometry& g = w.layout.geometry;
    for (int r : {w.layout.r0, w.layout.r2, w.layout.ra})
        EXPECT_EQ(g.ToScreen(c.cusp[1], r), (ScreenPoint{g.cx - r, g.cy})) << r;
    // The drawn Ascendant runs along the horizontal to the left of the centre.
    const TracedLine* asc = CuspLine(w, 0, 1);
    ASSERT_NE(asc, nullptr);
    EXPECT_EQ(asc->from.y, g.cy);
    EXPECT_EQ(asc->to.y, g.cy);
    EXPECT_LT(asc->from.x, asc->to.x);
    EXPECT_LT(asc->to.x, g.cx);

    // From 0 Aries the Aries boundary is at the left and the Ascendant is not.
    p.display.originAscendant = false;
    w = PaintWheel(p);
    EXPECT_EQ(w.layout.geometry.ToScreen(0.0, 100), (ScreenPoint{g.cx - 100, g.cy}));
    EXPECT_NE(w.layout.geometry.ToScreen(c.cusp[1], 100).y, g.cy);
    // Longitudes grow counter-clockwise: 90 degrees lies at the bottom (screen y down).
    EXPECT_EQ(w.layout.geometry.ToScreen(90.0, 100), (ScreenPoint{g.cx, g.cy + 100}));

    // Clockwise: the Ascendant at the right, 90 degrees past it at the bottom.
    p.display.originAscendant = true;
    p.display.direction = 1;
    w = PaintWheel(p);
    EXPECT_EQ(w.layout.geometry.ToScreen(c.cusp[1], 100), (ScreenPoint{g.cx + 100, g.cy}));
    EXPECT_EQ(w.layout.geometry.ToScreen(c.cusp[1] + 90, 100), (ScreenPoint{g.cx, g.cy + 100}));
}

TEST(WheelGeometry, TheHouseWheelGivesEveryHouseThirtyDegrees) {
    ChartRecord c = ChartWith({{SUN, 10}}, 350.0);  // houses of 20, 30 and 40 degrees
    WheelParams p = OneChartParams(c);
    p.display.houseWheel = true;
    p.display.originAscendant = true;
    test::Painted w = PaintWheel(p);
    const WheelGeometry& g = w.layout.geometry;
    int r = w.layout.r2;
    EXPECT_EQ(g.ToScreen(c.cusp[1], r), (ScreenPoint{g.cx - r, g.cy}));
    EXPECT_EQ(g.ToScreen(c.cusp[4], r), (ScreenPoint{g.cx, g.cy + r}));  // IC at 6 o'clock
    EXPECT_EQ(g.ToScreen(c.cusp[7], r), (ScreenPoint{g.cx + r, g.cy}));
    ScreenPoint mc = g.ToScreen(c.cusp[10], r);  // truncation may take a pixel off x
    EXPECT_NEAR(mc.x, g.cx, 1);
    EXPECT_EQ(mc.y, g.cy - r);
    // The middle of the 20-degree first house (across 0 Aries) is 15 degrees on.
    EXPECT_NEAR(g.ScreenAngle(Normalize(c.cusp[1] + 10.0)), 165.0, 1e-9);
    // The middle of the 40-degree third house.
    EXPECT_NEAR(g.ScreenAngle(c.cusp[3] + 20.0), 105.0, 1e-9);
}

TEST(WheelPainter, BodyGlyphsAreDrawnAndStoredWhereTheSpreadPutThem) {
    ChartRecord c = ChartWith({{SUN, 100}, {MON, 103}, {MER, 140}, {VEN, 200}, {HIR, 250}}, 0);
    c.lon[JUP] = c.lat[JUP] = c.speed[JUP] = 0;  // not computed
    WheelParams p = OneChartParams(c);
    p.maskP = (1023 | 1 << (HIR - 1)) & ~(1 << (VEN - 1));  // SUN..PLT and HIR, not VEN
    test::Painted w = PaintWheel(p);
    const WheelLayout& L = w.layout;
    const RingGlyphs& ring = L.rings[0];
    int start = L.r3 - L.step;
    EXPECT_EQ(ring.radius[SUN], start);
    EXPECT_LT(ring.radius[MON], start);  // 3 degrees from the Sun: inwards by steps
    EXPECT_EQ((start - ring.radius[MON]) % L.step, 0);
    EXPECT_EQ(ring.radius[MER], start);
    EXPECT_EQ(ring.radius[HIR], start);
    EXPECT_EQ(L.ra, ring.radius[MON] - L.step);

    QFont font = *MakeFont("Sigilum", L.r0 / 10, 0);
    QFontMetrics fm(font, &w.image);
    auto bodies = w.Texts(WheelItem::BodyGlyph);
    ASSERT_EQ(bodies.size(), 4u);  // SUN MON MER HIR
    for (int b : {SUN, MON, MER, HIR}) {
        ScreenPoint centre = L.geometry.ToScreen(ring.lon[b], ring.radius[b]);
        QString glyph(QChar::fromLatin1("pqrstuvwxy\\_Z[^"[b - 1]));
        ScreenPoint expected{centre.x - fm.horizontalAdvance(glyph) / 2,
                             centre.y - fm.height() / 2};
        EXPECT_EQ(ring.topLeft[b], expected) << b;
        bool traced = false;
        for (const TracedText* t : bodies) traced = traced || t->topLeft == expected;
        EXPECT_TRUE(traced) << b;
    }
    for (int b : {VEN, JUP, SAT, LIL}) {  // hidden, not computed, unset
        EXPECT_EQ(ring.radius[b], kNotPlaced) << b;
        EXPECT_EQ(ring.topLeft[b], (ScreenPoint{-1, -1})) << b;
    }
    EXPECT_EQ(w.layout.rings[1].topLeft[SUN], (ScreenPoint{-1, -1}));  // no second ring
}

TEST(WheelPainter, AspectLinesFollowTheMatrixMasksAndPens) {
    ChartRecord c = ChartWith({{SUN, 10}, {MON, 12}, {MER, 100}, {VEN, 130}, {MRS, 190}}, 70);
    WheelParams p = OneChartParams(c);
    p.matrix.Set(SUN, MON, 0);  // conjunction: listed, no line
    p.matrix.Set(SUN, MER, 90);
    p.matrix.Set(SUN, MRS, 180);
    p.matrix.Set(MER, VEN, 30);  // Venus takes no aspects (MaskA)
    p.matrix.Set(SUN, kPointAsc, 60);
    p.maskA &= ~(1 << (VEN - 1));
    test::Painted w = PaintWheel(p);
    auto lines = w.Lines(WheelItem::AspectLine);
    ASSERT_EQ(lines.size(), 2u);
    auto square = AspectLines(w, SUN, MER);
    ASSERT_EQ(square.size(), 1u);
    const WheelGeometry& g = w.layout.geometry;
    EXPECT_EQ(square[0]->from, g.ToScreen(c.lon[MER], w.layout.ra));
    EXPECT_EQ(square[0]->to, g.ToScreen(c.lon[SUN], w.layout.ra));
    EXPECT_EQ(square[0]->colour, kBlue);
    EXPECT_FALSE(square[0]->dashed);
    EXPECT_EQ(AspectLines(w, SUN, MRS).size(), 1u);

    // Aspects to cusps when asked for; the orb table's pen: red and dashed.
    p.display.cuspAspects = true;
    p.aspectPens = {{90.0f, kRed, kLineDashed}};
    w = PaintWheel(p);
    ASSERT_EQ(AspectLines(w, SUN, kPointAsc).size(), 1u);
    square = AspectLines(w, SUN, MER);
    ASSERT_EQ(square.size(), 1u);
    EXPECT_EQ(square[0]->colour, kRed);
    EXPECT_TRUE(square[0]->dashed);
    // A pen that cannot be made (a line style no pen has) leaves the pen before it.
    p.aspectPens.push_back({180.0f, kBlue, 7});
    w = PaintWheel(p);
    auto opposition = AspectLines(w, SUN, MRS);
    ASSERT_EQ(opposition.size(), 1u);
    EXPECT_EQ(opposition[0]->colour, kRed);
    EXPECT_TRUE(opposition[0]->dashed);
}

TEST(WheelPainter, TheAspectariumListsConjunctionsAndSkipsBodiesWithoutPositions) {
    ChartRecord c = ChartWith({{SUN, 10}, {MON, 12}, {MER, 100}}, 70);
    c.lon[VEN] = c.lat[VEN] = c.speed[VEN] = 0;  // not computed, though the matrix says 60
    WheelParams p = OneChartParams(c);
    p.display.aspectarium = true;
    p.matrix.Set(SUN, MON, 0);
    p.matrix.Set(SUN, MER, 90);
    p.matrix.Set(SUN, VEN, 60);
    test::Painted w = PaintWheel(p);
    std::string entries;
    for (const TracedText* t : w.Texts(WheelItem::AspectariumEntry)) entries += t->text;
    EXPECT_EQ(entries, "pAqpGr");
    EXPECT_EQ(AspectLines(w, SUN, VEN).size(), 0u);
    EXPECT_EQ(w.Lines(WheelItem::AspectLine).size(), 1u);  // the square only
}

TEST(WheelPainter, ChartsWithoutHousesDrawBodiesOnly) {
    ChartRecord c = ChartWith({{SUN, 10}, {MER, 100}}, 70, 8);
    WheelParams p = OneChartParams(c);
    p.display.cuspAspects = true;
    p.matrix.Set(SUN, MER, 90);
    p.matrix.Set(SUN, kPointAsc, 60);
    p.matrix.Set(SUN, kPointMc, 120);
    test::Painted w = PaintWheel(p);
    EXPECT_EQ(w.layout.r3, w.layout.r2);
    for (WheelItem item : {WheelItem::CuspLine, WheelItem::Arrow})
        EXPECT_TRUE(w.Lines(item).empty());
    for (WheelItem item : {WheelItem::HouseNumber, WheelItem::AngleGlyph})
        EXPECT_TRUE(w.Texts(item).empty());
    EXPECT_EQ(w.Lines(WheelItem::AspectLine).size(), 1u);
    int lastRow = 0;
    for (const TracedText* t : w.Texts(WheelItem::ListEntry)) lastRow = std::max(lastRow, t->row);
    EXPECT_EQ(lastRow, MER);  // nothing below the fifteen body lines

    c.houseSystem = 3;
    p = OneChartParams(c);
    w = PaintWheel(p);
    EXPECT_LT(w.layout.r3, w.layout.r2);
    EXPECT_EQ(w.Lines(WheelItem::CuspLine).size(), 12u);
    EXPECT_EQ(w.Lines(WheelItem::Arrow).size(), 8u);
    EXPECT_EQ(w.Texts(WheelItem::HouseNumber).size(), 12u);
    std::string rows;  // the point glyphs of rows 16..21: ASC, MC, cusps 2, 3, 5, 6
    for (const TracedText* t : w.Texts(WheelItem::ListEntry))
        if (t->row >= 16 && t->glyphFont &&
            t->topLeft.x == w.Texts(WheelItem::ListEntry)[0]->topLeft.x)
            rows += t->text.substr(0, 1);
    EXPECT_EQ(rows, "lnabde");
}

TEST(WheelPainter, TheBodyListShowsRoundedPositionsAndTheRetrogradeMark) {
    ChartRecord c = ChartWith({{SUN, 59.9999}, {MER, 200.25}}, 70);
    c.speed[MER] = -0.5;
    test::Painted w = PaintWheel(OneChartParams(c));
    std::map<int, std::string> rows;
    for (const TracedText* t : w.Texts(WheelItem::ListEntry)) rows[t->row] += t->text;
    EXPECT_EQ(rows[1], "p P 00 00");   // 60 degrees: 00 Gemini 00
    EXPECT_EQ(rows[3], "r T 20 15~");  // Mercury 20 Libra 15, retrograde
    EXPECT_EQ(rows.count(2), 0u);      // the Moon was not computed
    for (const auto& [row, text] : rows)
        if (row != 3) {
            EXPECT_EQ(text.find('~'), std::string::npos) << row;
        }
}

TEST(WheelPainter, TwoChartsDrawTheInnerRingAndCrossAspectsRowByInnerChart) {
    ChartRecord outer = ChartWith({{SUN, 10}, {MON, 50}}, 70);
    ChartRecord inner = ChartWith({{SUN, 200}, {MON, 202}, {MER, 260}}, 160, 8);  // no houses
    WheelParams p = OneChartParams(outer);
    p.second = inner;
    p.kind = kWheelTwoCharts;
    p.display.cuspAspects = true;
    p.display.originAscendant = true;
    p.matrix.Set(SUN, kPointAsc, 90);  // inner Sun – outer Ascendant
    p.matrix.Set(kPointAsc, SUN, 90);  // the inner chart has no Ascendant
    p.matrix.Set(MER, MON, 0);         // conjunction: no line
    test::Painted w = PaintWheel(p);
    const WheelLayout& L = w.layout;
    EXPECT_EQ(L.geometry.rotation, inner.cusp[1]);
    EXPECT_EQ(L.rh, L.rb);
    int innerSmallest = L.ra;
    for (int b : {SUN, MON, MER}) {
        EXPECT_LT(L.rings[1].radius[b], L.ra) << b;
        EXPECT_GT(L.rings[1].radius[b], L.r0 / 6) << b;
        innerSmallest = std::min(innerSmallest, L.rings[1].radius[b]);
    }
    EXPECT_LT(L.rings[1].radius[MON], L.rings[1].radius[SUN]);
    EXPECT_EQ(L.rb, innerSmallest - L.step);
    auto lines = w.Lines(WheelItem::AspectLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->pointA, SUN);
    EXPECT_EQ(lines[0]->pointB, kPointAsc);
    EXPECT_EQ(lines[0]->from, L.geometry.ToScreen(inner.lon[SUN], L.rh));
    EXPECT_EQ(lines[0]->to, L.geometry.ToScreen(outer.cusp[1], L.rh));
    // The outer chart's cusps run from the scale to its aspect circle, without arrows.
    const TracedLine* asc = CuspLine(w, 0, 1);
    ASSERT_NE(asc, nullptr);
    EXPECT_NEAR(Distance(asc->from, L.geometry), L.r2, 1);
    EXPECT_TRUE(w.Lines(WheelItem::Arrow).empty());
    EXPECT_EQ(w.Texts(WheelItem::HouseNumber).size(), 12u);  // the outer chart's only

    // An inner chart with houses gets its own ring, arrows and Ascendant mark.
    p.second.houseSystem = 3;
    w = PaintWheel(p);
    EXPECT_EQ(w.layout.rh, w.layout.rb - w.layout.r0 / 10);
    EXPECT_EQ(w.Lines(WheelItem::Arrow).size(), 8u);
    for (const TracedLine* l : w.Lines(WheelItem::Arrow)) EXPECT_EQ(l->ring, 1);
    EXPECT_EQ(w.Texts(WheelItem::HouseNumber).size(), 24u);
    const TracedLine* innerAsc = CuspLine(w, 1, 1);
    ASSERT_NE(innerAsc, nullptr);
    EXPECT_NEAR(Distance(innerAsc->to, w.layout.geometry), w.layout.rh, 1);
}

TEST(WheelPainter, PrintingUsesThePageLayoutAndARepaintDuringItDrawsNothing) {
    ChartRecord c = ChartWith({{SUN, 10}}, 70);
    WheelParams p = OneChartParams(c);
    p.elements[10] = RgbColour(0, 0, 0);  // a black screen background
    test::EnsureGui();
    QImage image(2000, 2800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    uint8_t state = kPrinting;
    WheelTrace trace;
    WheelLayout none = PaintChart(painter, p, image.size(), true, state, &trace);
    EXPECT_FALSE(none.painted);
    EXPECT_EQ(state, kPrinting);
    EXPECT_TRUE(trace.circles.empty() && trace.lines.empty() && trace.texts.empty());
    painter.end();
    EXPECT_EQ(image.pixel(1000, 750), qRgb(255, 255, 255));

    painter.begin(&image);
    state = kPrintRequested;
    WheelLayout L = PaintChart(painter, p, image.size(), true, state, &trace);
    painter.end();
    EXPECT_TRUE(L.painted);
    EXPECT_EQ(state, kNotPrinting);
    EXPECT_EQ(L.geometry.cx, 1000);
    EXPECT_EQ(L.geometry.cy, 750);
    EXPECT_EQ(L.r0, 675);
    EXPECT_EQ(L.lineHeight, 40);
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));  // paper is not filled

    test::Painted screen = PaintWheel(p, {1200, 900});
    EXPECT_EQ(screen.layout.r0, 405);
    EXPECT_EQ(screen.image.pixel(5, 890), qRgb(0, 0, 0));
}

TEST(WheelPainter, TheSignFillColoursEachSignByItsElement) {
    ChartRecord c = ChartWith({{SUN, 10}}, 70);
    WheelParams p = OneChartParams(c);
    p.display.signFill = 3;
    test::Painted w = PaintWheel(p);
    const WheelLayout& L = w.layout;
    int r = L.r1 + 2;
    auto at = [&](double lon) {
        ScreenPoint s = L.geometry.ToScreen(lon, r);
        return w.image.pixel(s.x, s.y);
    };
    EXPECT_EQ(at(4), qRgb(255, 0, 0));     // Aries: fire
    EXPECT_EQ(at(34), qRgb(0, 255, 0));    // Taurus: earth
    EXPECT_EQ(at(64), qRgb(0, 255, 255));  // Gemini: air
    EXPECT_EQ(at(94), qRgb(0, 0, 255));    // Cancer: water
    EXPECT_EQ(at(334), qRgb(0, 0, 255));   // Pisces
    long dense = w.trace.fillPixels;
    p.display.signFill = 1;  // every third pixel each way
    long faint = PaintWheel(p).trace.fillPixels;
    EXPECT_NEAR(static_cast<double>(dense) / faint, 9.0, 0.5);
    p.display.signFill = 0;
    EXPECT_EQ(PaintWheel(p).trace.fillPixels, 0);
    // The printer has its own level and none in black and white.
    p.display.printerFill = 4;
    EXPECT_GT(PaintWheel(p, {2000, 2800}, true).trace.fillPixels, 0);
    p.display.printerBlackWhite = true;
    EXPECT_EQ(PaintWheel(p, {2000, 2800}, true).trace.fillPixels, 0);
}

TEST(WheelPainter, HoraryWindowsListTheirAnalysisInsteadOfTheAspectarium) {
    ChartRecord c = ChartWith({{SUN, 10}, {MER, 100}}, 70);
    WheelParams p = OneChartParams(c);
    p.matrix.Set(SUN, MER, 90);
    p.horary = true;
    p.horaryList = {{"first", "second", "third"}, 1};
    p.display.aspectarium = true;
    test::Painted w = PaintWheel(p, {1200, 900});
    EXPECT_EQ(w.layout.geometry.cx, 600 * 7 / 8);  // room for the list at the right
    std::vector<std::string> lines;
    for (const TracedText* t : w.Texts(WheelItem::HoraryText)) lines.push_back(t->text);
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "=================", "second", "third"}));
    EXPECT_TRUE(w.Texts(WheelItem::AspectariumEntry).empty());
    // An ordinary window keeps its centre with the aspectarium on.
    p.horary = false;
    EXPECT_EQ(PaintWheel(p, {1200, 900}).layout.geometry.cx, 600);
}

TEST(WheelPainter, DamagedRecordsAndSettingsStillDraw) {
    ChartRecord c = ChartWith({{SUN, std::nan("")}, {MON, 1e300}, {MER, -1e9}, {VEN, 720.5}}, 0);
    c.cusp[1] = std::nan("");
    c.cusp[4] = std::numeric_limits<double>::infinity();
    c.houseSystem = -7;
    c.calcMethod = 32000;
    c.baseJdLocal = std::nan("");
    c.baseJdUT = 1e300;
    c.jdCalc = -1e300;
    c.speed[VEN] = std::nan("");
    WheelParams p = OneChartParams(c);
    p.display = {true, 5, true, true, true, 200, false, false, 200};
    p.matrix.Set(SUN, MON, std::nanf(""));
    p.matrix.Set(MON, MER, 1e30f);
    p.aspectPens = {{1e30f, -5, 99}};
    for (bool printer : {false, true}) {
        test::Painted w = PaintWheel(p, {400, 300}, printer);
        EXPECT_TRUE(w.layout.painted);
    }
}

TEST(WheelPainter, TinyWindowsDrawWhatFits) {
    std::initializer_list<std::pair<int, double>> crowd = {
        {SUN, 10},   {MON, 10.1}, {MER, 10.2}, {VEN, 10.3}, {MRS, 10.4},
        {JUP, 10.5}, {SAT, 10.6}, {URN, 10.7}, {NEP, 10.8}, {PLT, 10.9}};
    test::TempWorkDir work;  // for the journal
    WheelParams p = OneChartParams(ChartWith(crowd, 5));
    p.display.signFill = 3;
    for (QSize size : {QSize(1, 1), QSize(8, 8), QSize(40, 30), QSize(90, 60)}) {
        test::Painted w = PaintWheel(p, size);
        EXPECT_TRUE(w.layout.painted) << size.width();
        for (int b = SUN; b <= PLT; ++b) EXPECT_NE(w.layout.rings[0].radius[b], kNotPlaced);
        // A glyph font too small to make leaves the one before; the glyphs are drawn.
        EXPECT_EQ(w.Texts(WheelItem::BodyGlyph).size(), 10u);
    }
    auto journal = ReadFileBytes("jur.jur");
    ASSERT_TRUE(journal.has_value());
    EXPECT_NE(journal->find("Sigilum, 0 =NULL"), std::string::npos);
}

// A chart of random positions with every body computed: clusters around a few points
// (as composites and harmonics give them) among scattered bodies.
ChartRecord RandomChart(std::mt19937& random) {
    std::uniform_real_distribution<double> anywhere(0.0, 360.0), near(-6.0, 6.0);
    ChartRecord c = ChartWith({}, anywhere(random));
    double centres[3] = {anywhere(random), anywhere(random), anywhere(random)};
    for (int b = SUN; b <= LIL; ++b) {
        c.lon[b] = Normalize(b % 4 == 0 ? anywhere(random) : centres[b % 3] + near(random));
        c.lat[b] = 0.5;
        c.speed[b] = 1.0;
    }
    return c;
}

TEST(WheelPainter, NoTwoBodyGlyphsOfARingOverlapOnAnyChartOrWindowSize) {
    std::mt19937 random(17);
    const QSize sizes[] = {kSmallestChartWindow, QSize(kSmallestChartWindow.width(), 700),
                           QSize(640, 480), QSize(1200, 900), QSize(2480, 3508)};
    int checked = 0;
    for (int round = 0; round < 12; ++round) {
        WheelParams p = OneChartParams(RandomChart(random));
        p.maskP = (1 << kBodyCount) - 1;  // all fifteen bodies
        if (round % 2 == 1) {
            p.kind = kWheelTwoCharts;
            p.second = RandomChart(random);
        }
        p.display.originAscendant = round % 3 == 0;
        p.display.houseWheel = round % 4 == 1;
        p.display.direction = round % 5 == 2 ? 1 : -1;
        p.display.aspectarium = round % 3 == 1;
        if (round == 5) p.first.houseSystem = 8;
        for (QSize size : sizes) {
            bool printer = size.height() > 3000;
            test::Painted w = PaintWheel(p, size, printer);
            QFont font = *MakeFont("Sigilum", w.layout.r0 / 10, 0);
            QFontMetrics fm(font, &w.image);
            // The inked box of each glyph drawn, from its traced cell.
            std::vector<std::pair<int, QRect>> boxes;
            for (const TracedText* t : w.Texts(WheelItem::BodyGlyph)) {
                QRect ink = fm.boundingRect(QChar::fromLatin1(t->text[0]));
                boxes.emplace_back(t->column,
                                   ink.translated(t->topLeft.x, t->topLeft.y + fm.ascent()));
            }
            ASSERT_EQ(boxes.size(), p.kind == kWheelTwoCharts ? 30u : 15u);
            for (size_t a = 0; a < boxes.size(); ++a)
                for (size_t b = 0; b < a; ++b) {
                    if (boxes[a].first != boxes[b].first) continue;
                    ++checked;
                    EXPECT_FALSE(boxes[a].second.intersects(boxes[b].second))
                        << "round " << round << " size " << size.width() << "x" << size.height()
                        << " ring " << boxes[a].first << ": glyphs " << a << " and " << b;
                }
        }
    }
    EXPECT_GT(checked, 9000);
}

TEST(WheelPainter, PrintedPagesHoldTheWheelAndEveryColumn) {
    test::EnsureGui();
    test::TempWorkDir work;
    ChartRecord first = ChartWith({{SUN, 10},
                                   {MON, 40},
                                   {MER, 70},
                                   {VEN, 100},
                                   {MRS, 130},
                                   {JUP, 160},
                                   {SAT, 190},
                                   {URN, 220},
                                   {NEP, 250},
                                   {PLT, 280}},
                                  5);
    CopyText(first.name, "A long name of a person born far away");
    CopyText(first.place, "A place with a long name in a far country");
    ChartRecord second = ChartWith({{SUN, 15}, {MON, 45}, {MER, 75}, {VEN, 105}, {MRS, 135}}, 95);
    int mostPages = 0;
    for (bool landscape : {false, true}) {
        for (int kind : {kWheelOneChart, kWheelTwoCharts}) {
            WheelParams p = OneChartParams(first);
            p.display.aspectarium = true;
            p.display.cuspAspects = true;
            if (kind == kWheelTwoCharts) p.second = second;
            p.kind = kind;
            // Every pair in aspect: far more entries than one page beside the wheel holds.
            for (int i = 1; i <= 21; ++i)
                for (int j = 1; j <= 21; ++j) p.matrix.Set(i, j, 90);
            // The screen lists them all on one surface.
            int expected = 0;
            const auto screen = PaintWheel(p);
            for (const TracedText* t : screen.Texts(WheelItem::AspectariumEntry))
                expected += t->text[0] == AspectGlyph(90);
            ASSERT_GT(expected, 60);
            QPdfWriter pdf(QString::fromStdString(work.Path() + "/page.pdf"));
            pdf.setResolution(300);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
            const int width = pdf.width(), height = pdf.height();
            ASSERT_EQ(width > height, landscape);
            QPainter painter(&pdf);
            uint8_t state = kPrintRequested;
            WheelTrace trace;
            WheelLayout L = PaintChart(painter, p, QSize(width, height), true, state, &trace);
            painter.end();
            const std::string where =
                std::string(landscape ? "landscape" : "portrait") + " kind " + std::to_string(kind);
            const WheelGeometry& g = L.geometry;
            if (landscape) {
                EXPECT_EQ(g.cy, height / 2) << where;
            } else {  // the upright page keeps its layout
                EXPECT_EQ(g.cx, width / 2) << where;
                EXPECT_EQ(g.cy, width / 2 * 3 / 4) << where;
                EXPECT_EQ(L.lineHeight, width * 40 / 2000) << where;
            }
            // The wheel with its angle marks lies on the first page.
            const int reach = L.r0 * 17 / 16;
            EXPECT_TRUE(g.cy >= reach && g.cy + reach <= height) << where;
            EXPECT_TRUE(g.cx >= reach && g.cx + reach <= width) << where;
            for (const TracedLine& l : trace.lines)
                for (ScreenPoint e : {l.from, l.to})
                    EXPECT_TRUE(e.x >= 0 && e.x <= width && e.y >= 0 && e.y <= height) << where;
            int entries = 0, pages = 0;
            for (const TracedText& t : trace.texts) {
                EXPECT_GE(t.topLeft.x, 0) << where << " " << t.text;
                EXPECT_LE(t.topLeft.x + t.width, width) << where << " " << t.text;
                EXPECT_GE(t.topLeft.y, 0) << where << " " << t.text;
                EXPECT_LE(t.topLeft.y + L.lineHeight, height) << where << " " << t.text;
                if (t.item == WheelItem::AspectariumEntry && t.text[0] == AspectGlyph(90))
                    ++entries;
                pages = std::max(pages, t.page + 1);
            }
            EXPECT_EQ(entries, expected) << where;  // none left out
            mostPages = std::max(mostPages, pages);
        }
    }
    EXPECT_GT(mostPages, 1);  // a list longer than the page went on to another
}

}  // namespace
}  // namespace orbeta
