#include "chart/glyph_spread.h"

#include <algorithm>
#include <vector>

namespace orbeta {
namespace {

constexpr int kGap = 1;            // pixels kept free between two glyphs
constexpr int kLargestShift = 90;  // degrees a glyph may move aside at most

struct Placed {
    ScreenPoint at;
    const GlyphBox* box;
};

class RingPlacer {
  public:
    RingPlacer(const SpreadRing& ring, const WheelGeometry& geometry, int spacing)
        : ring_(ring), geometry_(geometry), spacing_(spacing) {}

    // The outermost free radius above the floor for a glyph drawn at the longitude, or
    // kNotPlaced.
    int FreeRadius(int body, double lon, int floor) const {
        // A ring that starts at or below its floor still has its start radius.
        for (int q = ring_.start; q == ring_.start || q > floor; q -= spacing_) {
            if (q < 0) break;
            ScreenPoint at = geometry_.ToScreen(lon, q);
            bool free = std::none_of(placed_.begin(), placed_.end(), [&](const Placed& p) {
                return GlyphBoxesMeet(at, ring_.box[body], p.at, *p.box, kGap);
            });
            if (free) return q;
        }
        return kNotPlaced;
    }

    // One pass; false when a body finds no free radius and asides are not allowed.
    bool Place(bool asides, SpreadResult& out) {
        out.radius.fill(kNotPlaced);
        out.drawn = ring_.lon;
        placed_.clear();
        for (int i = 1; i <= kBodyCount; ++i) {
            if (!ring_.active[i]) continue;
            double lon = ring_.lon[i];
            int q = FreeRadius(i, lon, ring_.floor);
            // Aside along the ring; on a wheel crowded beyond that, below the floor too.
            for (int floor : {ring_.floor, 0}) {
                for (int shift = 0; q == kNotPlaced && asides && shift <= kLargestShift; ++shift) {
                    for (int side : {1, -1}) {
                        q = FreeRadius(i, ring_.lon[i] + side * shift, floor);
                        if (q != kNotPlaced) {
                            lon = ring_.lon[i] + side * shift;
                            break;
                        }
                    }
                }
            }
            if (q == kNotPlaced) {
                if (!asides) return false;
                q = ring_.start;
                lon = ring_.lon[i];
            }
            out.radius[i] = q;
            out.drawn[i] = lon;
            placed_.push_back({geometry_.ToScreen(lon, q), &ring_.box[i]});
        }
        return true;
    }

  private:
    const SpreadRing& ring_;
    const WheelGeometry& geometry_;
    int spacing_;
    std::vector<Placed> placed_;
};

}  // namespace

bool GlyphBoxesMeet(ScreenPoint a, const GlyphBox& boxA, ScreenPoint b, const GlyphBox& boxB,
                    int gap) {
    return a.x + boxA.left < b.x + boxB.right + gap && b.x + boxB.left < a.x + boxA.right + gap &&
           a.y + boxA.top < b.y + boxB.bottom + gap && b.y + boxB.top < a.y + boxA.bottom + gap;
}

SpreadResult SpreadGlyphs(const SpreadRing& ring, const WheelGeometry& geometry) {
    SpreadResult r;
    if (!RingPlacer(ring, geometry, std::max(ring.step, 1)).Place(false, r)) {
        r.secondPass = true;
        RingPlacer(ring, geometry, std::max(ring.step * 2 / 3, 1)).Place(true, r);
    }
    r.smallest = ring.start;
    for (int i = 1; i <= kBodyCount; ++i)
        if (r.radius[i] != kNotPlaced) r.smallest = std::min(r.smallest, r.radius[i]);
    return r;
}

}  // namespace orbeta
