// Spreading the body glyphs of a ring: close bodies step inwards, a crowded ring
// tightens its spacing, and nothing hangs on a wheel too small for a spacing.
#include "chart/glyph_spread.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

struct Ring {
    std::array<double, kBodyCount + 1> lon{};
    std::array<bool, kBodyCount + 1> active{};
    void Add(int body, double longitude) {
        lon[body] = longitude;
        active[body] = true;
    }
};

TEST(GlyphSpread, CloseBodiesStepInwardsByPlainDifference) {
    Ring r;
    r.Add(SUN, 10.0);
    r.Add(MON, 14.9);  // 4.9 degrees from the Sun
    r.Add(MER, 20.0);  // 5.1 from the Moon, 10 from the Sun: free again
    r.Add(VEN, 359.0);
    r.Add(MRS, 1.0);   // 2 from Venus across 0 Aries, but 358 by plain difference
    r.Add(JUP, 15.0);  // 5.0 from the Sun and Mercury (not less), 0.1 from the Moon
    SpreadResult s = SpreadGlyphs(r.lon, r.active, 300, 50, 27);
    EXPECT_FALSE(s.secondPass);
    EXPECT_EQ(s.radius[SUN], 300);
    EXPECT_EQ(s.radius[MON], 273);
    EXPECT_EQ(s.radius[MER], 300);
    EXPECT_EQ(s.radius[VEN], 300);
    EXPECT_EQ(s.radius[MRS], 300);
    EXPECT_EQ(s.radius[JUP], 300);
    EXPECT_EQ(s.smallest, 273);
    for (int b = SAT; b <= LIL; ++b) EXPECT_EQ(s.radius[b], kNotPlaced);
}

TEST(GlyphSpread, TakenRadiiAreSearchedAgainFromTheFirst) {
    // Saturn is near Mars (start) and the Moon (start − step) but not the Sun: the
    // search must come back to the Moon's radius after passing Mars'.
    Ring r;
    r.Add(SUN, 100.0);  // 300
    r.Add(MON, 103.0);  // 273
    r.Add(MRS, 107.5);  // near the Moon only: 300
    r.Add(SAT, 105.0);  // near Moon (273) and Mars (300): 246
    SpreadResult s = SpreadGlyphs(r.lon, r.active, 300, 50, 27);
    EXPECT_EQ(s.radius[MRS], 300);
    EXPECT_EQ(s.radius[SAT], 246);
}

TEST(GlyphSpread, ACrowdedRingTightensThenFallsBackToTheStart) {
    Ring r;
    for (int b = SUN; b <= SAT; ++b) r.Add(b, 200.0 + 0.5 * b);  // seven within 5 degrees
    // Spacing 15 reaches the floor 40 with the fifth body: all placed again with 10.
    SpreadResult s = SpreadGlyphs(r.lon, r.active, 100, 40, 15);
    EXPECT_TRUE(s.secondPass);
    for (int b = SUN; b <= MRS; ++b) EXPECT_EQ(s.radius[b], 100 - 10 * (b - 1)) << b;
    EXPECT_EQ(s.radius[JUP], 50);
    // The seventh would get 40, not above the floor: it takes the start radius.
    EXPECT_EQ(s.radius[SAT], 100);
    EXPECT_EQ(s.smallest, 50);

    // An eighth body finds every radius down to the floor taken: the start again.
    r.Add(URN, 203.0);
    s = SpreadGlyphs(r.lon, r.active, 100, 40, 15);
    EXPECT_EQ(s.radius[URN], 100);
}

TEST(GlyphSpread, ATinyWheelKeepsOnePixelAndEnds) {
    Ring r;
    for (int b = SUN; b <= LIL; ++b) r.Add(b, 42.0);  // all fifteen on one point
    // step R0 / 15 = 0 on a wheel of R0 = 9: the spacing stays one pixel.
    SpreadResult s = SpreadGlyphs(r.lon, r.active, 5, 1, 0);
    EXPECT_TRUE(s.secondPass);
    for (int b = SUN; b <= VEN; ++b) EXPECT_EQ(s.radius[b], 6 - b) << b;
    for (int b = MRS; b <= LIL; ++b) EXPECT_EQ(s.radius[b], 5) << b;

    // No active body: nothing placed, the smallest radius is the start.
    s = SpreadGlyphs(r.lon, {}, 5, 1, 0);
    EXPECT_EQ(s.smallest, 5);
    EXPECT_EQ(s.radius[SUN], kNotPlaced);
}

}  // namespace
}  // namespace orbeta
