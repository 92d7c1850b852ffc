#pragma once
// Where a longitude at a radius lies on the wheel: the rotation that puts the origin
// at the left, the direction of increasing longitude, and the house wheel that gives
// every house an equal sector.
#include <array>

namespace orbeta {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct WheelGeometry {
    int cx = 0;
    int cy = 0;
    double rotation = 0;  // the longitude at the origin (0 or cusp 1)
    int direction = -1;   // −1 counter-clockwise, 1 clockwise
    bool houseWheel = false;
    std::array<double, 13> cusps{};  // 1..12: the houses that shape the house wheel

    // The longitude as drawn: on the house wheel each house fills 30 degrees from
    // cusp 1 on; otherwise the longitude itself.
    double WheelLongitude(double lon) const;
    // Angle on the screen in degrees [0, 360), measured from the right towards the
    // bottom (screen y grows downwards).
    double ScreenAngle(double lon) const;
    // The integer point of a longitude at a radius.
    ScreenPoint ToScreen(double lon, int radius) const;
};

}  // namespace orbeta
