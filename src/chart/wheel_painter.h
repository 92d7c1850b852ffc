#pragma once
// The chart wheel on any paint device: a window, a printer page, an image, an SVG or
// a PDF. The same code draws all of them; only the layout differs between the screen
// and the printer.
#include <QPainter>
#include <QSize>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/glyph_spread.h"
#include "chart/wheel_geometry.h"
#include "chart/wheel_params.h"

namespace orbeta {

// The smallest client area of a chart window: below it the glyphs would be too small
// to tell apart.
inline constexpr QSize kSmallestChartWindow{320, 240};

// The print state byte of a chart window: a repaint that comes while the window is
// printing draws nothing.
enum PrintState : uint8_t { kNotPrinting = 0, kPrintRequested = 1, kPrinting = 2 };

// Where each body glyph of a ring went, for hit testing.
struct RingGlyphs {
    std::array<int, kBodyCount + 1> radius;           // kNotPlaced when not drawn
    std::array<double, kBodyCount + 1> lon{};         // where drawn (aside in a crowd)
    std::array<ScreenPoint, kBodyCount + 1> topLeft;  // {−1, −1} when not drawn
    RingGlyphs() {
        radius.fill(kNotPlaced);
        topLeft.fill({-1, -1});
    }
};

// What the painter leaves behind: the centre and rotation, the radii, the glyph
// positions.
struct WheelLayout {
    bool painted = false;
    WheelGeometry geometry;
    int lineHeight = 0;
    int r0 = 0, r1 = 0, r2 = 0, r3 = 0;  // outer circle, sign ring, scale, house ring
    int step = 0;                        // radial spacing of body glyphs
    int ra = 0;                          // aspect circle of the first ring
    int rb = 0;                          // kind 2: aspect circle of the second ring
    int rh = 0;  // kind 2: inner edge of the second chart's houses (rb without houses)
    std::array<RingGlyphs, 2> rings;  // 0 the first chart, 1 the second (kind 2)
};

// What was drawn, for those who check the picture by its parts.
enum class WheelItem {
    Circle,
    SignBoundary,
    Tick,
    CuspLine,
    Arrow,
    AspectLine,  // lines
    SignGlyph,
    AngleGlyph,
    HouseNumber,
    BodyGlyph,  // glyphs on the wheel
    HeaderText,
    ListEntry,
    AspectariumEntry,
    HoraryText,  // beside the wheel
};
struct TracedLine {
    WheelItem item;
    ScreenPoint from, to;
    Colour colour = 0;
    bool dashed = false;
    int ring = 0;     // cusps: the chart (0 first, 1 second)
    int pointA = 0;   // aspects: the point drawn from (kind 2: of the second chart)
    int pointB = 0;   // the point drawn to (kind 2: of the first chart)
    float angle = 0;  // aspects: the aspect angle; cusps: the cusp number
};
struct TracedText {
    WheelItem item;
    std::string text;  // CP1251, or the glyph characters
    ScreenPoint topLeft;
    Colour colour = 0;
    bool glyphFont = false;
    int column = 0;  // beside the wheel: 0 first chart, 1 second
    int row = 0;     // list row k, or the aspectarium line
    int width = 0;   // the advance of the text
    int page = 0;    // printed: the page counted from 0
};
struct WheelTrace {
    std::vector<int> circles;
    std::vector<TracedLine> lines;
    std::vector<TracedText> texts;
    long fillPixels = 0;
};

// Paints the wheel of the parameters on a surface of the given size with the screen
// or printer layout. On a page wider than high the wheel fills the page's height with
// the lists beside it; on a higher page it keeps the top and the aspect list runs on
// below it. Printed text stays inside the page; an aspect list longer than the page
// goes on to further pages of a paged device. With the print state kPrinting nothing is drawn;
// kPrintRequested becomes kPrinting while the painting lasts and kNotPrinting afterwards. A trace,
// when given, receives every element drawn.
WheelLayout PaintChart(QPainter& painter, const WheelParams& params, QSize size, bool printer,
                       uint8_t& printState, WheelTrace* trace = nullptr);

}  // namespace orbeta
