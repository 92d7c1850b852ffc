#include "core/houses.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/angles.h"
#include "core/calendar.h"

namespace orbeta {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kArcSecondToRad = 4.848136811095361e-6;
// The semi-arc of a Placidus cusp that could not be found.
constexpr double kSemiArcFailure = 999.0;

// Working values of one computation; angles in radians, asc and mc in degrees.
struct Frame {
    double ramc = 0;
    double sinEps = 0, cosEps = 0;
    double cosPhi = 0, tanPhi = 0;
    double k = 0;  // tan φ · sin ε
    double q = 0;  // tan φ · tan ε
    double asc = 0;
    double mc = 0;
};

Frame MakeFrame(double ramc, double jd, double packedLatitude) {
    Frame f;
    double eps = MeanObliquity(jd);
    double phi = PackedToDegrees(packedLatitude) * kDegToRad;
    f.ramc = ramc;
    f.sinEps = std::sin(eps);
    f.cosEps = std::cos(eps);
    f.cosPhi = std::cos(phi);
    f.tanPhi = std::tan(phi);
    f.k = f.tanPhi * f.sinEps;
    f.q = f.tanPhi * std::tan(eps);
    f.asc = std::atan2(-std::cos(ramc), f.k + std::sin(ramc) * f.cosEps) * kRadToDeg + 180.0;
    f.mc = std::atan2(std::tan(ramc), f.cosEps) * kRadToDeg;
    if (Difference(f.mc, f.asc) > 0) f.mc = Normalize(f.mc + 180.0);
    return f;
}

// Longitude (degrees) where the circle of angle alpha and pole term p meets the
// ecliptic; with p = 0 the ecliptic point of right ascension alpha.
double EclipticPoint(const Frame& f, double alpha, double pole) {
    return std::atan2(std::sin(alpha), std::cos(alpha) * f.cosEps - pole) * kRadToDeg;
}

// A Placidus cusp at fraction frac of its semi-arc D satisfies g(D) = 0.
double PlacidusG(const Frame& f, double frac, double x) {
    return std::cos(x) + f.q * std::sin(f.ramc + frac * x);
}

double Secant(const Frame& f, double frac, double x0, double x1) {
    double g0 = PlacidusG(f, frac, x0), g1 = PlacidusG(f, frac, x1);
    if (std::fabs(g0) < std::fabs(g1)) {
        std::swap(x0, x1);
        std::swap(g0, g1);
    }
    for (int step = 0; step < 50; ++step) {
        if (g1 == g0) break;
        double dx = -(x1 - x0) * g1 / (g1 - g0);
        x0 = x1;
        g0 = g1;
        x1 += dx;
        g1 = PlacidusG(f, frac, x1);
        if (!std::isfinite(x1)) break;
        if (std::fabs(dx) < 1e-7 || g1 == 0) return x1;
    }
    return kSemiArcFailure;
}

// Root of g between a and b, where g changes sign.
double Bisect(const Frame& f, double frac, double a, double b) {
    double ga = PlacidusG(f, frac, a);
    for (int step = 0; step < 100 && b - a > 1e-12; ++step) {
        double m = 0.5 * (a + b);
        double gm = PlacidusG(f, frac, m);
        if (gm == 0) return m;
        if ((gm > 0) == (ga > 0)) {
            a = m;
            ga = gm;
        } else {
            b = m;
        }
    }
    return 0.5 * (a + b);
}

// Near the polar latitude the secant may settle outside (0, π), where no semi-arc
// lies; the root is then taken from its bracket.
double PlacidusSemiArc(const Frame& f, double frac) {
    auto inside = [](double x) { return x > 0 && x < kPi; };
    double d = Secant(f, frac, 0.0, kPi);
    if (inside(d)) return d;
    double g0 = PlacidusG(f, frac, 0.0), gPi = PlacidusG(f, frac, kPi);
    if ((g0 > 0 && gPi < 0) || (g0 < 0 && gPi > 0)) return Bisect(f, frac, 0.0, kPi);
    d = Secant(f, frac, kPi, 2 * kPi);
    return inside(d) ? d : kSemiArcFailure;
}

bool IsQuadrantSystem(int system) {
    return (system >= kRegiomontanus && system <= kKoch) || system == kPorphyry;
}

// One third of the arc from a to b, the short way round.
double ThirdOfArc(double a, double b) {
    double d = b - a;
    if (d >= 180.0) a += 360.0;
    if (d < -180.0) b += 360.0;
    return (b - a) / 3.0;
}

// Cusps 8..12 of a quadrant system (cusps 1 and 7 are set); false where the system
// has no solution.
bool QuadrantCusps(const Frame& f, int system, double cusp[13]) {
    if (system == kPorphyry) {
        cusp[10] = Normalize(EclipticPoint(f, f.ramc, 0.0));
        double t = ThirdOfArc(cusp[7], cusp[10]);
        double t2 = ThirdOfArc(cusp[10], cusp[1]);
        cusp[8] = cusp[7] + t;
        cusp[9] = cusp[8] + t;
        cusp[11] = cusp[10] + t2;
        cusp[12] = cusp[11] + t2;
        return true;
    }
    double kochArc = 0;  // ascensional difference of the Midheaven
    if (system == kKoch) {
        double s = f.q * std::sin(f.ramc);
        if (!(std::fabs(s) <= 1.0)) return false;
        kochArc = std::asin(s);
    }
    for (int n = 8; n <= 12; ++n) {
        double h = (n + 2) * 30.0 * kDegToRad;
        double alpha = f.ramc + h, pole = 0;
        switch (system) {
            case kRegiomontanus:
                pole = std::sin(h) * f.k;
                break;
            case kCampanus: {
                double h1 = std::atan(std::tan(h) * f.cosPhi);
                alpha = f.ramc + h1;
                pole = std::sin(h1) * f.k;
                break;
            }
            case kPlacidus: {
                double frac = (n - 10) / 3.0;
                double d = frac == 0 ? 0.0 : PlacidusSemiArc(f, frac);
                if (d == kSemiArcFailure) return false;
                alpha = f.ramc + frac * d;
                break;
            }
            case kTopocentric:
                pole = ((n - 1) / 3.0 - 3.0) * f.k;
                break;
            case kKoch: {
                double h2 = n >= 10 ? (n - 10) * 30.0 : (n - 8) * 30.0 + 300.0;
                double c = n >= 10 ? h2 / 90.0 - 1.0 : h2 / 90.0 - 3.0;
                alpha = f.ramc + h2 * kDegToRad + c * kochArc;
                pole = n >= 10 ? f.k : -f.k;
                break;
            }
            default:
                break;
        }
        cusp[n] = EclipticPoint(f, alpha, pole);
    }
    return true;
}

void EqualCusps(double start, double cusp[13]) {
    for (int n = 1; n <= 12; ++n) cusp[n] = start + (n - 1) * 30.0;
}

bool AllFinite(const double cusp[13]) {
    return std::all_of(cusp + 1, cusp + 13, [](double x) { return std::isfinite(x); });
}

// The common part of both ways in: start value, system cusps, opposite cusps.
void FillCusps(ChartRecord& chart, const Frame& f, std::optional<double> givenMc) {
    bool midheavenPath = givenMc.has_value();
    double fromMc = givenMc.value_or(0.0);
    int system = chart.houseSystem;
    double start = f.asc;
    if (system == kSolarHouses) {
        start = chart.lon[SUN];
    } else if (system == kEqualFromMc) {
        start = Normalize(f.mc + 90.0);
    } else if (!midheavenPath) {
        if (system == kSolarSignHouses) start = 30.0 * std::trunc(chart.lon[SUN] / 30.0);
        if (system == kZodiacHouses) start = 0.0;
    } else if (system == kEqualFromAsc || system == kZodiacHouses || system == kSolarSignHouses) {
        start = Normalize(fromMc + 90.0);
    }
    double cusp[13] = {};
    cusp[1] = Normalize(start);
    cusp[7] = Normalize(start + 180.0);
    bool solved = true;
    if (IsQuadrantSystem(system)) {
        solved = QuadrantCusps(f, system, cusp) && AllFinite(cusp);
    } else {
        EqualCusps(start, cusp);
    }
    if (!solved) {
        // No solution at this place and moment: the zodiac houses of this way in.
        chart.houseSystem = kZodiacHouses;
        EqualCusps(midheavenPath ? Normalize(fromMc + 90.0) : 0.0, cusp);
    }
    for (int n = 8; n <= 12; ++n) cusp[n - 6] = cusp[n] + 180.0;
    // Input that is no number at all (a damaged record) still gives cusps.
    if (!AllFinite(cusp)) EqualCusps(0.0, cusp);
    for (int n = 1; n <= 12; ++n) chart.cusp[n] = Normalize(cusp[n]);
}

}  // namespace

double MeanObliquity(double jd) {
    double t = (jd - 2451545.0) / 36525.0;
    double seconds;
    if (std::fabs(t) < 2) {
        seconds = 84381.448 + t * (-46.815 + t * (-0.00059 + t * 0.001813));
    } else {
        static const double c[] = {-468.093,      -0.0155,       1.99925,     -0.005138,
                                   -0.0024967,    -0.00003905,   0.000000712, 0.0000002787,
                                   0.00000000579, 0.000000000245};
        double u = t / 10.0, power = 1.0;
        seconds = 84381.448;
        for (double coefficient : c) {
            power *= u;
            seconds += coefficient * power;
        }
    }
    return seconds * kArcSecondToRad;
}

AnglePair AnglesOfRamc(double ramc, double jd, double packedLatitude) {
    Frame f = MakeFrame(Normalize(ramc) * kDegToRad, jd, packedLatitude);
    return {Normalize(f.asc), Normalize(f.mc)};
}

namespace {
// Local sidereal time of a chart in hours [0, 24). Western places are stored as 360°
// minus their magnitude (see StoredLongitude), so the magnitude is added.
double LocalSiderealHours(const ChartRecord& chart) {
    double hours = SiderealTime(chart.jdCalc) + PackedToDegrees(std::fabs(chart.longitude)) / 15.0;
    hours = std::fmod(hours, 24.0);
    return hours < 0 ? hours + 24.0 : hours;
}
}  // namespace

AnglePair TrueAngles(const ChartRecord& chart) {
    return AnglesOfRamc(LocalSiderealHours(chart) * 15.0, chart.jdCalc, chart.latitude);
}

bool ComputeHouses(ChartRecord& chart, Diagnostics& diagnostics) {
    bool switched = false;
    if (std::fabs(chart.latitude) > kPolarLatitude &&
        (chart.houseSystem < kEqualFromAsc || chart.houseSystem == kPorphyry)) {
        diagnostics.Add(DiagnosticKind::PolarHouses);
        chart.houseSystem = kZodiacHouses;
        switched = true;
    }
    double hours = LocalSiderealHours(chart);
    FillCusps(chart, MakeFrame(hours * 15.0 * kDegToRad, chart.jdCalc, chart.latitude),
              std::nullopt);
    return switched;
}

void HousesFromMidheaven(ChartRecord& chart, double midheaven) {
    double k = 1.0 - std::cos(MeanObliquity(chart.jdCalc));
    double s = std::sin(midheaven * kDegToRad), c = std::cos(midheaven * kDegToRad);
    double reduction = std::atan(k * s * c / (1.0 - k * s * s)) * kRadToDeg;
    double ramc = Normalize(midheaven - reduction) * kDegToRad;
    // A Midheaven that is no number goes the way of any other failed computation.
    double given = std::isnan(midheaven) ? 0.0 : midheaven;
    FillCusps(chart, MakeFrame(ramc, chart.jdCalc, chart.latitude), given);
}

EquatorialPosition EquatorialOf(const ChartRecord& chart, int pointId) {
    double lambda = PointLongitude(chart, pointId) * kDegToRad;
    double beta = pointId >= SUN && pointId <= LIL ? chart.lat[pointId] * kDegToRad : 0.0;
    double eps = MeanObliquity(chart.jdCalc);
    EquatorialPosition p;
    p.rightAscension =
        Normalize(std::atan2(std::sin(lambda) * std::cos(eps) - std::tan(beta) * std::sin(eps),
                             std::cos(lambda)) *
                  kRadToDeg);
    double s = std::sin(beta) * std::cos(eps) + std::cos(beta) * std::sin(eps) * std::sin(lambda);
    p.declination = std::asin(std::clamp(s, -1.0, 1.0)) * kRadToDeg;
    return p;
}

}  // namespace orbeta
