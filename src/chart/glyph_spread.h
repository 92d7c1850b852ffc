#pragma once
// Places the body glyphs of one ring so that none covers another: close bodies stand
// one above the other, and a crowd that finds no free radius moves its glyphs a little
// aside along the ring.
#include <array>

#include "chart/wheel_geometry.h"
#include "core/chart_record.h"

namespace orbeta {

constexpr int kNotPlaced = -1;

// The inked box of a glyph around the point its cell is centred on, in pixels (y grows
// downwards; right and bottom lie just outside the ink).
struct GlyphBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SpreadRing {
    std::array<double, kBodyCount + 1> lon{};  // by BodyId
    std::array<bool, kBodyCount + 1> active{};
    std::array<GlyphBox, kBodyCount + 1> box{};
    int start = 0;  // the outermost radius
    int floor = 0;  // radii stay above it
    int step = 0;   // radial spacing
};

struct SpreadResult {
    std::array<int, kBodyCount + 1> radius{};    // kNotPlaced for inactive bodies
    std::array<double, kBodyCount + 1> drawn{};  // the longitude the glyph is drawn at
    int smallest = 0;                            // the smallest radius given (start when none)
    bool secondPass = false;                     // the ring needed the closer spacing
};

// Bodies in BodyId order; each takes the outermost radius (start, start − spacing, …,
// above the floor) where its box, one pixel apart, meets no box placed before. When a
// body finds none, the whole ring is placed again with two-thirds of the spacing; a
// body that still finds none is drawn at the nearest longitude aside (in steps of one
// degree either way) that has a free radius, below the floor as well when nothing above
// it is free. Only a wheel too small for any free place puts a glyph at the start
// radius regardless. The spacing is at least one pixel.
SpreadResult SpreadGlyphs(const SpreadRing& ring, const WheelGeometry& geometry);

// Whether two boxes placed at screen points come closer than the gap.
bool GlyphBoxesMeet(ScreenPoint a, const GlyphBox& boxA, ScreenPoint b, const GlyphBox& boxB,
                    int gap);

}  // namespace orbeta
