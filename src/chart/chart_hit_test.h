#pragma once
// Which point of a painted wheel a click falls on: a house of the house rings, or the
// nearest body glyph of the ring clicked.
#include "chart/wheel_painter.h"
#include "core/chart_record.h"

namespace orbeta {

struct WheelHit {
    int pointId = 0;     // 1..15 a body, 16..27 a house (15 + house); 0 nothing
    bool inner = false;  // the second chart of two (inside the first ring's aspect circle)
};

// The wheel as last painted with the charts it showed (first outer, second inner of
// kind 2). Nothing is hit before the first painting.
WheelHit HitTestWheel(const WheelLayout& layout, const ChartRecord& first,
                      const ChartRecord& second, int kind, int x, int y);

}  // namespace orbeta
