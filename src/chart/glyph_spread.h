#pragma once
// Radii of the body glyphs of one ring, so that bodies close in longitude stand one
// above the other instead of on top of each other.
#include <array>

#include "core/chart_record.h"

namespace orbeta {

constexpr int kNotPlaced = -1;

struct SpreadResult {
    std::array<int, kBodyCount + 1> radius{};  // by BodyId; kNotPlaced for inactive bodies
    int smallest = 0;                          // the smallest radius given (start when none)
    bool secondPass = false;                   // the ring needed the closer spacing
};

// Bodies in BodyId order; each takes the start radius unless an earlier body less than
// 5 degrees away (plain difference, no wrap at 0/360) holds it, then the next radius
// inwards by the spacing. A radius at or below the floor places the whole ring again
// with two-thirds of the spacing; if that fails too, the body takes the start radius.
// The spacing is at least one pixel, so a tiny wheel places every body.
SpreadResult SpreadGlyphs(const std::array<double, kBodyCount + 1>& lon,
                          const std::array<bool, kBodyCount + 1>& active, int start, int floor,
                          int step);

}  // namespace orbeta
