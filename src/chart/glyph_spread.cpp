#include "chart/glyph_spread.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orbeta {
namespace {

// One pass; false when a body would fall to the floor and the pass gives up.
bool Place(const std::array<double, kBodyCount + 1>& lon,
           const std::array<bool, kBodyCount + 1>& active, int start, int floor, int spacing,
           bool lastPass, SpreadResult& out) {
    out.radius.fill(kNotPlaced);
    std::vector<int> taken;
    for (int i = 1; i <= kBodyCount; ++i) {
        if (!active[i]) continue;
        taken.clear();
        for (int j = 1; j < i; ++j)
            if (active[j] && std::fabs(lon[i] - lon[j]) < 5.0) taken.push_back(out.radius[j]);
        int q = start;
        // q only decreases, so the search ends after at most one step per taken radius.
        while (std::find(taken.begin(), taken.end(), q) != taken.end()) q -= spacing;
        if (q > floor)
            out.radius[i] = q;
        else if (lastPass)
            out.radius[i] = start;
        else
            return false;
    }
    return true;
}

}  // namespace

SpreadResult SpreadGlyphs(const std::array<double, kBodyCount + 1>& lon,
                          const std::array<bool, kBodyCount + 1>& active, int start, int floor,
                          int step) {
    SpreadResult r;
    if (!Place(lon, active, start, floor, std::max(step, 1), false, r)) {
        r.secondPass = true;
        Place(lon, active, start, floor, std::max(step * 2 / 3, 1), true, r);
    }
    r.smallest = start;
    for (int i = 1; i <= kBodyCount; ++i)
        if (r.radius[i] != kNotPlaced) r.smallest = std::min(r.smallest, r.radius[i]);
    return r;
}

}  // namespace orbeta
