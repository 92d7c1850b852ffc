#pragma once
// Characters of the Sigilum font that the wheel and its lists draw.
#include <cmath>

#include "core/chart_record.h"

namespace orbeta {

// PointId 1..27: bodies, then cusps (ASC, DSC, MC and IC have their own marks);
// 0 for an id outside that range.
constexpr char PointGlyph(int pointId) {
    constexpr char glyphs[] = "pqrstuvwxy\\_Z[^labodemghnjk";
    return pointId >= 1 && pointId <= kPointCount ? glyphs[pointId - 1] : 0;
}

// Sign 0 (Aries) .. 11.
constexpr char SignGlyph(int sign) {
    return static_cast<char>('N' + sign);
}

// House number 1..12: '1'..'9', then ':' ';' '<' for 10, 11, 12.
constexpr char HouseNumberGlyph(int house) {
    return static_cast<char>('0' + house);
}

// ℞. The mark stands after a body whose motion is backwards.
constexpr char kRetrogradeGlyph = '~';

// The aspect glyph of an angle, or 0 for an angle that has none.
inline char AspectGlyph(double angle) {
    constexpr double angles[] = {0, 30, 36, 45, 60, 72, 90, 120, 135, 144, 150, 180};
    for (int i = 0; i < 12; ++i)
        if (std::fabs(angle - angles[i]) < 1e-4) return static_cast<char>('A' + i);
    return 0;
}

}  // namespace orbeta
