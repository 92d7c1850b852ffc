#pragma once
// Pieces both graphic pictures draw: the time grid, the cursor line, position entries.
#include <string>

#include "forecast/draw/graph_painters.h"

namespace orbeta::graph_draw {

// Frame, and lines (even k) or ticks (odd k) at the divisions; the frame alone when
// printing with little printer memory.
void TimeGrid(GraphCanvas& canvas, const GraphLayout& layout, const GraphPeriod& period,
              const GraphStyle& style);
void CursorLine(GraphCanvas& canvas, const GraphLayout& layout, const GraphPeriod& period,
                double cursor);
// "%c %02d %c %02d %c": glyph, degrees, sign glyph, minutes, retrograde mark.
std::string PositionEntry(const GraphLabel& label);
// "%02d %c %02d": degrees, sign glyph, minutes.
std::string PositionInSign(double lon);

}  // namespace orbeta::graph_draw
