#include "data/colours.h"

#include <cmath>

namespace orbeta {
namespace {

constexpr Colour kBlack = RgbColour(0, 0, 0);
constexpr Colour kWhite = RgbColour(255, 255, 255);
constexpr Colour kRed = RgbColour(255, 0, 0);
constexpr Colour kGreen = RgbColour(0, 255, 0);
constexpr Colour kBlue = RgbColour(0, 0, 255);
constexpr Colour kCyan = RgbColour(0, 255, 255);
constexpr Colour kMagenta = RgbColour(255, 0, 255);

bool AngleIn(double angle, std::initializer_list<double> angles) {
    for (double a : angles)
        if (std::fabs(angle - a) < 1e-6) return true;
    return false;
}

}  // namespace

Colour AspectColour(double angle, Colour ownColour, const PaintTarget& target) {
    if (target.BlackAndWhite()) return kBlack;
    if (ownColour != kStandardColour) return ownColour;
    if (AngleIn(angle, {0, 30, 60, 120, 150})) return kRed;
    if (AngleIn(angle, {45, 90, 135, 180})) return kBlue;
    if (AngleIn(angle, {36, 72, 108, 144})) return kGreen;
    return kCyan;
}

Colour BodyColour(int bodyId, const PaintTarget& target) {
    static constexpr Colour defaults[17] = {kBlack,
                                            RgbColour(255, 127, 0),
                                            kCyan,
                                            kRed,
                                            kGreen,
                                            RgbColour(192, 0, 0),
                                            kMagenta,
                                            RgbColour(0, 192, 192),
                                            kBlue,
                                            RgbColour(0, 0, 192),
                                            RgbColour(0, 192, 0),
                                            RgbColour(192, 192, 192),
                                            RgbColour(0, 255, 192),
                                            RgbColour(192, 0, 192),
                                            RgbColour(192, 0, 255),
                                            RgbColour(255, 0, 192),
                                            kBlack};
    if (bodyId > 16) bodyId = 16;
    if (bodyId < 0) bodyId = 0;
    if (target.BlackAndWhite()) return kBlack;
    const auto& overrides = target.settings.colrPE;
    if (bodyId >= 1 && overrides[bodyId - 1] != kStandardColour) return overrides[bodyId - 1];
    return defaults[bodyId];
}

Colour ElementColour(int element, const PaintTarget& target) {
    bool background = element == 10 || element == 11;
    if (target.BlackAndWhite()) return background ? kWhite : kBlack;
    if (element < 0 || element >= kDrawingElementCount) return kBlack;
    if (Colour user = target.settings.colGor[element]; user != kStandardColour) return user;
    switch (element) {
        case 1:
            return kMagenta;
        case 3:
        case 5:
            return kRed;
        case 6:
            return kGreen;
        case 7:
            return kCyan;
        case 8:
        case 9:
            return kBlue;
        case 10:
        case 11:
            return kWhite;
        default:
            return kBlack;
    }
}

}  // namespace orbeta
