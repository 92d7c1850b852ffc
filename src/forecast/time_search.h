#pragma once
// The time-search engine: steps through an interval, samples the longitudes of chart
// points, fits a cubic through four samples of each watched difference and finds the
// exact moments of aspects or the periods within their orbs. Exact moments are then
// brought onto the real positions, so that they hold to a fraction of a second.
#include <cstdint>
#include <vector>

#include "core/chart_record.h"
#include "core/computation.h"
#include "core/ephemeris.h"
#include "forecast/search_records.h"

namespace orbeta {

// c0 + c1 x + c2 x^2 + c3 x^3 through samples at x = -h, 0, h, 2h.
struct Cubic {
    double c[4] = {};
    double At(double x) const { return c[0] + x * (c[1] + x * (c[2] + x * c[3])); }
    double Slope(double x) const { return c[1] + x * (2 * c[2] + x * 3 * c[3]); }
    double Curvature(double x) const { return 2 * c[2] + 6 * c[3] * x; }
};
Cubic FitCubic(double h, const double y[4]);

// Real roots of c0 + c1 x + c2 x^2 + c3 x^3 (c3 != 0); returns their number (1..3).
int SolveCubic(const double c[4], double roots[3]);

// Offsets x (days from the second sample) within the step [0, h], ascending, at which
// the cubic through y reaches the target; returns their number (0..3).
int FindRoots(double target, double h, const double y[4], double roots[3]);

// The values the cubic takes over a step [0, h] (h > 0), widened by FindRoots'
// acceptance margins: for a target outside lo..hi FindRoots finds no root, so the
// search need not solve for it.
void CubicRange(const Cubic& cubic, double h, double& lo, double& hi);

// Whether a target can lie within lo..hi, any number of turns away: targetsInTurn
// gives where each falls within a turn (ascending, 0 <= x < 360). False only when
// none can, by a margin far above rounding; a range of a turn or more meets them all.
bool MayMeetTarget(const std::vector<double>& targetsInTurn, double lo, double hi);

// Longitudes of chart points at any moment, computed as the search computes its
// samples: by the request's method from the base chart, on a working copy (the base
// and every other chart stay untouched).
class PointSampler {
  public:
    PointSampler(Computation& c, const ChartRecord& base, int method);
    // Which points (bit p - 1 for PointId p) Sample computes.
    void SetNeeded(uint32_t mask);
    // The needed points' longitudes at t, by PointId (index 0 unused).
    void Sample(double t, double lon[kPointCount + 1]);
    double Longitude(int pointId, double t);
    // With the daily speed where the ephemeris gives it directly, NaN elsewhere.
    double Longitude(int pointId, double t, double* speed);
    // Charts or single bodies computed so far.
    long Evaluations() const { return evaluations_; }

  private:
    void ComputeAt(double t);
    double Position(int pointId, double t, bool withSpeed, double* speed);
    // Bodies of the natal and the secondary method are the ephemeris's at one moment:
    // a single body costs less than the chart.
    bool Direct(int pointId) const {
        return (method_ == 1 || method_ == 6) && pointId >= 1 && pointId <= kBodyCount;
    }

    ChartRecord base_;
    Computation& c_;
    ChartRecord work_;
    int method_;
    ScatteredPositions scattered_;
    uint32_t needed_ = 0;
    bool computed_ = false;
    long evaluations_ = 0;
};

struct SearchOptions {
    bool refine = true;  // bring crossings onto the real positions
};

struct SearchResult {
    int steps = 0;
    bool aborted = false;
    int written = 0;  // records appended
    int denied = 0;   // cubic roots the real positions did not confirm
    long evaluations = 0;
};

// Refuses a request that cannot be searched: a Russian message, empty when it can.
std::string CheckSearchRequest(const SearchRequest& request);

// Fills the open hit file with the records of every pair of the request. Progress is
// shown by steps; when the user stops it, the loop ends after the current step and
// what was found is kept.
SearchResult RunSearch(Computation& c, const SearchRequest& request, const ChartRecord& base,
                       HitFileWriter& out, SearchOptions options = {});

}  // namespace orbeta
