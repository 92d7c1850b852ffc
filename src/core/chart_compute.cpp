#include "core/chart_compute.h"

#include <cmath>

#include "core/angles.h"
#include "core/ephemeris.h"
#include "core/houses.h"

namespace orbeta {
namespace {

constexpr double kTropicalYear = 365.2421;

bool IsMirrored(int method) {
    switch (method) {
        case kConverseSecondary:
        case kConverseTertiary:
        case kConverseDayForWeek:
        case kConverseMinor:
        case kConverseDayForMonth:
        case kConverseTransitsSolarArcHouses:
            return true;
        default:
            return false;
    }
}

// The moment at which a method computes a target d days after the base: a progressed
// day of ephemeris after the base's moment, or the target's own moment. The rates are
// kept as the program has always multiplied them, so that charts recompute to the
// same moments.
double ProgressedMoment(int method, double d, double baseJd, double targetJd) {
    switch (method) {
        case kSecondary:
        case kConverseSecondary:
            return d / kTropicalYear + baseJd;
        case kTertiary:
        case kConverseTertiary:
            return 0.03660110164923832 * d + baseJd;
        case kDayForWeek:
        case kConverseDayForWeek:
            return 0.14285714285714285 * d + baseJd;
        case kMinor:
        case kConverseMinor:
            return 0.07480403400202404 * d + baseJd;
        case kDayForMonth:
        case kConverseDayForMonth:
            return 0.03285420944558522 * d + baseJd;
        default:
            return targetJd;
    }
}

}  // namespace

double ProgressionFactor(int method) {
    switch (method) {
        case kSecondary:
        case kConverseSecondary:
            return kTropicalYear;
        case kTertiary:
        case kConverseTertiary:
            return 27.321582;
        case kDayForWeek:
        case kConverseDayForWeek:
            return 7.0;
        case kMinor:
        case kConverseMinor:
            return 13.368263;
        case kDayForMonth:
        case kConverseDayForMonth:
            return 30.4375;
        default:
            return 1.0;
    }
}

double CalculationMoment(int method, double t, const ChartRecord& base) {
    bool progressed = (method >= kSecondary && method <= kDayForWeek) ||
                      (method >= kConverse && method <= kConverseDayForWeek) || method == kMinor ||
                      method == kConverseMinor ||
                      (method >= kDayForMonth && method <= kConverseTransitsSolarArcHouses);
    if (!progressed) return t;
    double x = (t - base.jdUT) / ProgressionFactor(method) + base.jdUT;
    if (method == kConverse || IsMirrored(method)) x = 2.0 * base.jdUT - x;
    return x;
}

void RotateChart(ChartRecord& target, const ChartRecord& base, double arc) {
    for (int i = SUN; i <= LIL; ++i) target.lon[i] = Normalize(base.lon[i] + arc);
    for (int i = 1; i <= 12; ++i) target.cusp[i] = Normalize(base.cusp[i] + arc);
    target.houseSystem = base.houseSystem;
}

void ComputeChart(Computation& c, ChartRecord& target, const ChartRecord& baseIn, int method,
                  int arcBody) {
    const ChartRecord base = baseIn;  // the target may be the base itself
    ChartRecord& t = target;
    t.baseJdLocal = base.jdLocal;
    t.baseJdUT = base.jdUT;
    double d = t.jdUT - base.jdUT;
    switch (method) {
        case kNatal:
        case kConverse:
            t.jdCalc = method == kNatal ? t.jdUT : base.jdUT - d;
            CalcBodies(c, t);
            ComputeHouses(t, c.diagnostics);
            break;
        case kPlanetaryArcs: {
            int k = arcBody >= 0 && arcBody <= 14 ? arcBody : 0;
            t.jdCalc = base.jdUT + d / kTropicalYear;
            CalcBodies(c, t);
            RotateChart(t, base, t.lon[k + 1] - base.lon[k + 1]);
            break;
        }
        case kNodalChart:
            CalcBodies(c, t);
            ComputeHouses(t, c.diagnostics);
            RotateChart(t, base, -t.lon[NDE]);
            break;
        case kDegreeDirections:
        case kSignDirections:
            RotateChart(t, base, d / kTropicalYear * (method == kSignDirections ? 30.0 : 1.0));
            break;
        default: {
            double x = ProgressedMoment(method, d, base.jdUT, t.jdUT);
            if (IsMirrored(method)) x = 2.0 * base.jdUT - x;
            t.jdCalc = x;
            CalcBodies(c, t);
            // The Midheaven moves with the Sun: solar-arc houses.
            HousesFromMidheaven(t, Normalize(t.lon[SUN] - base.lon[SUN] + base.cusp[10]));
            break;
        }
    }
    t.calcMethod = static_cast<int16_t>(method);
}

int MomentForAscendant(ChartRecord& chart, double ascendantIn, Diagnostics& diagnostics) {
    double ascendant = Normalize(ascendantIn);
    double rate = 360.0;  // degrees of Ascendant per day, to begin with
    int corrections = 0;
    while (corrections < 20 && rate >= 0.0001) {
        double a0 = chart.cusp[1];
        double delta = ascendant - a0;
        if (delta > 180.0) delta -= 360.0;
        if (delta < -180.0) delta += 360.0;
        // Reached, also across 0° Aries; a longitude that is no number ends it too.
        if (!(std::fabs(delta) >= 0.001)) break;
        chart.jdCalc += delta / rate;
        ComputeHouses(chart, diagnostics);
        ++corrections;
        rate = std::fabs(Separation(chart.cusp[1], a0) * rate / delta);
    }
    chart.jdUT = chart.jdCalc;
    chart.jdLocal = chart.jdUT - chart.gmtCorr;
    return corrections;
}

void ComputeStartupCharts(Computation& c, ChartRecord& current, ChartRecord& input) {
    ComputeChart(c, current, current, kNatal);
    input = current;
}

}  // namespace orbeta
