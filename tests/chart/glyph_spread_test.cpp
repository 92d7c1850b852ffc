// Spreading the body glyphs of a ring: no glyph box meets another, close bodies step
// inwards, a crowd with no free radius moves aside, and nothing hangs on a tiny wheel.
#include "chart/glyph_spread.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace orbeta {
namespace {

struct Case {
    const char* what;
    std::initializer_list<std::pair<int, double>> bodies;
    int start, floor, step;
    std::initializer_list<std::pair<int, int>> radii;  // expected, where it matters
    bool secondPass;
};

TEST(GlyphSpread, NoBoxMeetsAnotherAndCloseBodiesStepInwards) {
    WheelGeometry g;  // 0 Aries at the left, longitude growing counter-clockwise
    g.cx = g.cy = 500;
    const GlyphBox box{-10, -10, 10, 10};
    const Case cases[] = {
        {"alone at the start", {{SUN, 100}}, 300, 50, 27, {{SUN, 300}}, false},
        // 3 degrees at radius 300 are 16 pixels: the Moon must step in; one step (27
        // pixels along the radius) clears it.
        {"close pair", {{SUN, 0}, {MON, 3}}, 300, 50, 27, {{SUN, 300}, {MON, 273}}, false},
        // Across 0 Aries the bodies are just as close.
        {"across 0 Aries", {{VEN, 359}, {MRS, 1}}, 300, 50, 27, {{VEN, 300}, {MRS, 273}}, false},
        // 10 degrees are 52 pixels at the start: both stay there.
        {"apart", {{SUN, 40}, {MER, 50}}, 300, 50, 27, {{SUN, 300}, {MER, 300}}, false},
        // Saturn, clear of the Sun and of Mars one step in, takes the start.
        {"clear of both",
         {{SUN, 90}, {MRS, 92}, {SAT, 100}},
         300,
         50,
         27,
         {{SUN, 300}, {MRS, 273}, {SAT, 300}},
         false},
        // Fifteen on one point: the ring is placed again closer, then glyphs move aside.
        {"all on one point",
         {{SUN, 42},
          {MON, 42},
          {MER, 42},
          {VEN, 42},
          {MRS, 42},
          {JUP, 42},
          {SAT, 42},
          {URN, 42},
          {NEP, 42},
          {PLT, 42},
          {NDE, 42},
          {SEL, 42},
          {HIR, 42},
          {PRZ, 42},
          {LIL, 42}},
         300,
         50,
         27,
         {{SUN, 300}},
         true},
        // An inner ring that starts at its floor has the start radius only.
        {"no room inwards", {{SUN, 10}, {MON, 11}, {MER, 12}}, 120, 120, 27, {{SUN, 120}}, true},
    };
    for (const Case& c : cases) {
        SpreadRing ring;
        ring.start = c.start;
        ring.floor = c.floor;
        ring.step = c.step;
        for (auto [body, lon] : c.bodies) {
            ring.lon[body] = lon;
            ring.active[body] = true;
            ring.box[body] = box;
        }
        SpreadResult s = SpreadGlyphs(ring, g);
        EXPECT_EQ(s.secondPass, c.secondPass) << c.what;
        for (auto [body, radius] : c.radii) EXPECT_EQ(s.radius[body], radius) << c.what << body;
        int smallest = c.start;
        for (int a = 1; a <= kBodyCount; ++a) {
            if (!ring.active[a]) {
                EXPECT_EQ(s.radius[a], kNotPlaced) << c.what << a;
                continue;
            }
            ASSERT_NE(s.radius[a], kNotPlaced) << c.what << a;
            EXPECT_TRUE(s.radius[a] == c.start || s.radius[a] > c.floor) << c.what << a;
            smallest = std::min(smallest, s.radius[a]);
            for (int b = 1; b < a; ++b) {
                if (!ring.active[b]) continue;
                EXPECT_FALSE(GlyphBoxesMeet(g.ToScreen(s.drawn[a], s.radius[a]), box,
                                            g.ToScreen(s.drawn[b], s.radius[b]), box, 0))
                    << c.what << ": " << a << " meets " << b;
            }
        }
        EXPECT_EQ(s.smallest, smallest) << c.what;
    }
}

TEST(GlyphSpread, ATinyWheelKeepsOnePixelAndEnds) {
    WheelGeometry g;
    g.cx = g.cy = 5;
    SpreadRing ring;
    ring.start = 5;
    ring.floor = 1;
    ring.step = 0;  // R0 / 15 of a wheel of R0 = 9
    for (int b = SUN; b <= LIL; ++b) {
        ring.lon[b] = 42.0;
        ring.active[b] = true;
        ring.box[b] = {-3, -3, 3, 3};
    }
    SpreadResult s = SpreadGlyphs(ring, g);
    EXPECT_TRUE(s.secondPass);
    for (int b = SUN; b <= LIL; ++b) EXPECT_NE(s.radius[b], kNotPlaced) << b;

    // No active body: nothing placed, the smallest radius is the start.
    s = SpreadGlyphs(SpreadRing{{}, {}, {}, 5, 1, 0}, g);
    EXPECT_EQ(s.smallest, 5);
    EXPECT_EQ(s.radius[SUN], kNotPlaced);
}

}  // namespace
}  // namespace orbeta
