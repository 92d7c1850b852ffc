#pragma once
// Computing a chart from a base chart under a calculation method: the chart at its
// own moment (natal, transits), progressed and converse charts at a derived moment
// with houses from the solar-arc Midheaven, and charts whose base positions are moved
// by an arc (directions, nodal chart, planetary arcs).
#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

// CalcMethod codes the computation knows by name; every other code (composite 13,
// midpoint 14, harmonic 16, returns and relocation 100..107, 32) is computed at the
// target's own moment with solar-arc houses.
enum CalcMethod : int {
    kNatal = 1,
    kSecondary = 6,  // a day for a tropical year
    kTertiary = 7,   // a day for a sidereal month
    kDayForWeek = 8,
    kDegreeDirections = 11,  // one degree a year
    kSignDirections = 12,    // one sign a year
    kNodalChart = 15,
    kConverse = 17,
    kConverseSecondary = 18,
    kConverseTertiary = 19,
    kConverseDayForWeek = 20,
    kPlanetaryArcs = 24,
    kMinor = 25,  // a sidereal month for a tropical year
    kConverseMinor = 26,
    kDayForMonth = 30,
    kConverseDayForMonth = 31,
    kTransitsSolarArcHouses = 32,
    kConverseTransitsSolarArcHouses = 33,
};

// Days of life per day of ephemeris: 1 for methods that do not progress.
double ProgressionFactor(int method);

// The moment at which a method computes a chart for the real moment t with the given
// base (time searches, graphic forecasts): progressed and mirrored as the method says.
double CalculationMoment(int method, double t, const ChartRecord& base);

// Every longitude and cusp of the base moved by an arc into the target, with the
// base's house system; the target's latitudes and speeds stay.
void RotateChart(ChartRecord& target, const ChartRecord& base, double arc);

// Computes the target (its jdUT, place and houseSystem are set) from the base under a
// method. arcBody is the body of planetary arcs (24), a 0-based index where 0 is the
// Sun; a value outside 0..14 means the Sun. Target and base may be the same record.
void ComputeChart(Computation& c, ChartRecord& target, const ChartRecord& base, int method,
                  int arcBody = 0);

// Moves a computed chart's moment until its Ascendant reaches the longitude: at most 20
// corrections; bodies are not recomputed. Returns the corrections made.
int MomentForAscendant(ChartRecord& chart, double ascendant, Diagnostics& diagnostics);

// Start-up: the current chart computed from itself as a natal chart, then copied into
// the input chart.
void ComputeStartupCharts(Computation& c, ChartRecord& current, ChartRecord& input);

}  // namespace orbeta
