#pragma once
// The default colours of drawing and the user's overrides from the profile. Colours
// are kept as the profile stores them: 0x00BBGGRR, and −1 for "the standard colour".
#include "data/settings.h"

namespace orbeta {

using Colour = long;
constexpr Colour kStandardColour = -1;

constexpr Colour RgbColour(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) |
           (static_cast<Colour>(b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr int kDrawingElementCount = 12;

// Where a window paints: on the printer in black and white every colour is black
// (the two background elements white).
struct PaintTarget {
    const Settings& settings;
    bool printing = false;
    bool BlackAndWhite() const { return printing && settings.Option(kOptPrinterBlackWhite); }
};

// An aspect's colour: its own colour from the orb table unless standard, else by
// its angle.
Colour AspectColour(double angle, Colour ownColour, const PaintTarget& target);
// BodyId 1..16 (larger ids count as 16; 0 and 16 are other points, black).
Colour BodyColour(int bodyId, const PaintTarget& target);
// Drawing elements 0..11 (names under the UI text "ColG").
Colour ElementColour(int element, const PaintTarget& target);

}  // namespace orbeta
