#pragma once
// The data of the graphic ephemerides: the longitudes of the chosen bodies at every
// day of the period, the natal lines, the legend at the cursor, and the curves as
// drawn on a plot of given size (segments and wraps across the modulus).
#include <array>
#include <cstdint>
#include <vector>

#include "core/chart_record.h"
#include "core/computation.h"
#include "forecast/graph_forecast.h"
#include "forecast/graph_period.h"

namespace orbeta {

// Moments start, start + step, ... while t <= end + 0.1 step.
int EphemerisStepCount(double start, double end, double step = 1.0);

// Methods whose moving points run backwards in time.
bool IsMirroredMethod(int calcMethod);

struct EphemerisModel {
    ChartRecord natal;
    int calcMethod = 1;
    GraphPeriod period;
    int modulus = 30;
    uint32_t bodyMask = 0x7FFF;
    uint32_t natalMask = 0x7FFF;
    std::vector<int> bodies;  // BodyIds of the mask, ascending
    std::vector<double> jd;   // one per step
    // lon[k][i]: body bodies[i] at step k
    std::vector<std::array<double, kBodyCount>> lon;
    std::vector<GraphLabel> natalLines;
    std::vector<GraphLabel> legend;
    double cursor = 0;
};

// Samples every step (one chart a step, only the chosen bodies where the method allows).
EphemerisModel BuildEphemerisModel(Computation& c, const ChartRecord& natal, int calcMethod,
                                   const GraphPeriod& period, int modulus, uint32_t bodyMask,
                                   uint32_t natalMask, double cursor);
void SetEphemerisCursor(Computation& c, EphemerisModel& model, double cursor);

struct PlotBox {
    int x0 = 0, x1 = 1, y0 = 0, y1 = 1;
};

// y = y1 - (y1 - y0)(L mod modulus)/modulus, truncated.
int LongitudeY(double lon, int modulus, const PlotBox& box);

struct CurveSegment {
    int xa = 0, ya = 0, xb = 0, yb = 0;
};

struct CurveWrap {
    int body = 0;
    double jd = 0;     // where the curve leaves the plot
    bool top = false;  // forwards through the top, else backwards through the bottom
};

struct BodyCurve {
    int body = 0;
    int firstX = 0, firstY = 0, lastX = 0, lastY = 0;
    std::vector<CurveSegment> segments;
};

// The curves as drawn in the box, and the wraps they make.
void BuildCurves(const EphemerisModel& model, const PlotBox& box, std::vector<BodyCurve>& curves,
                 std::vector<CurveWrap>& wraps);

}  // namespace orbeta
