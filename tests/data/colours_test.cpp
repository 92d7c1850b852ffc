#include "data/colours.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

TEST(Colours, DefaultsOverridesAndTheBlackAndWhitePrinter) {
    Settings s;
    PaintTarget screen{s};
    EXPECT_EQ(AspectColour(90, kStandardColour, screen), RgbColour(0, 0, 255));
    EXPECT_EQ(AspectColour(150, kStandardColour, screen), RgbColour(255, 0, 0));
    EXPECT_EQ(AspectColour(72, kStandardColour, screen), RgbColour(0, 255, 0));
    EXPECT_EQ(AspectColour(22.5, kStandardColour, screen), RgbColour(0, 255, 255));
    EXPECT_EQ(AspectColour(90, RgbColour(1, 2, 3), screen), RgbColour(1, 2, 3));

    EXPECT_EQ(BodyColour(1, screen), RgbColour(255, 127, 0));
    EXPECT_EQ(BodyColour(15, screen), RgbColour(255, 0, 192));
    EXPECT_EQ(BodyColour(0, screen), RgbColour(0, 0, 0));
    EXPECT_EQ(BodyColour(99, screen), RgbColour(0, 0, 0));  // counts as 16
    s.colrPE[15] = RgbColour(9, 9, 9);
    EXPECT_EQ(BodyColour(99, screen), RgbColour(9, 9, 9));
    s.colrPE[0] = RgbColour(1, 1, 1);
    EXPECT_EQ(BodyColour(1, screen), RgbColour(1, 1, 1));

    EXPECT_EQ(ElementColour(1, screen), RgbColour(255, 0, 255));
    EXPECT_EQ(ElementColour(7, screen), RgbColour(0, 255, 255));
    EXPECT_EQ(ElementColour(10, screen), RgbColour(255, 255, 255));
    EXPECT_EQ(ElementColour(12, screen), RgbColour(0, 0, 0));
    s.colGor[3] = RgbColour(5, 6, 7);
    EXPECT_EQ(ElementColour(3, screen), RgbColour(5, 6, 7));

    // Printing in colour keeps the colours; the black-and-white printer makes every
    // colour black, the two backgrounds white.
    PaintTarget printer{s, true};
    EXPECT_EQ(ElementColour(3, printer), RgbColour(5, 6, 7));
    s.ov[kOptPrinterBlackWhite] = 1;
    EXPECT_EQ(ElementColour(3, printer), RgbColour(0, 0, 0));
    EXPECT_EQ(ElementColour(11, printer), RgbColour(255, 255, 255));
    EXPECT_EQ(BodyColour(1, printer), RgbColour(0, 0, 0));
    EXPECT_EQ(AspectColour(90, RgbColour(1, 2, 3), printer), RgbColour(0, 0, 0));
    EXPECT_EQ(BodyColour(1, screen), RgbColour(1, 1, 1));  // the screen is not affected
}

}  // namespace
}  // namespace orbeta
