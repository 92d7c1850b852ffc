#include "forecast/rise_set.h"

#include <algorithm>
#include <cmath>

#include "core/calendar.h"
#include "core/chart_record.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {
namespace {

constexpr double kDegToRad = M_PI / 180.0;
constexpr double kRadToDeg = 180.0 / M_PI;
constexpr double kScanStep = 0.1;
constexpr double kTolerance = 1e-6;
constexpr int kRounds = 21;

}  // namespace

double AltitudeOf(Computation& c, int body, double jdUT, const SkyPlace& place) {
    ChartRecord chart;
    chart.jdUT = chart.jdCalc = jdUT;
    BodyPosition p = CalcBody(c, jdUT, body);
    chart.lon[body] = p.lon;
    chart.lat[body] = p.lat;
    EquatorialPosition eq = EquatorialOf(chart, body);
    double hourAngle = SiderealTime(jdUT) * 15.0 + place.longitude - eq.rightAscension;
    double phi = place.latitude * kDegToRad, delta = eq.declination * kDegToRad;
    double s = std::sin(phi) * std::sin(delta) +
               std::cos(phi) * std::cos(delta) * std::cos(hourAngle * kDegToRad);
    return std::asin(std::clamp(s, -1.0, 1.0)) * kRadToDeg;
}

double RiseAltitude(int body) {
    if (body == SUN) return -0.8333;
    if (body == MON) return 0.1333;
    return -0.5667;
}

double RefineCrossing(const std::function<double(double)>& f, double a, double b) {
    double ya = f(a), yb = f(b);
    double x = a;
    for (int i = 1; i <= kRounds; ++i) {
        x = yb != ya ? a - ya * (b - a) / (yb - ya) : (a + b) / 2;
        double y = f(x);
        if (std::fabs(y) < kTolerance) return x;
        if ((y < 0) == (ya < 0)) {
            a = x, ya = y;
        } else {
            b = x, yb = y;
        }
        // The bisection step keeps a one-sided false position from crawling.
        x = (a + b) / 2;
        y = f(x);
        if (std::fabs(y) < kTolerance) return x;
        if ((y < 0) == (ya < 0)) {
            a = x, ya = y;
        } else {
            b = x, yb = y;
        }
        if (i == kRounds)
            Journal(Format("i=%d, x0=%.5f, x1=%.5f, y0=%.5f, y1=%.5f", i, a, b, ya, yb));
    }
    return x;
}

double FindCrossing(const std::function<double(double)>& f, double from, double to, bool upward) {
    double t0 = from, y0 = f(from);
    for (int k = 1;; ++k) {
        double t1 = std::min(from + k * kScanStep, to);
        double y1 = f(t1);
        bool crossed = upward ? (y0 < 0 && y1 >= 0) : (y0 >= 0 && y1 < 0);
        if (crossed) return RefineCrossing(f, t0, t1);
        if (t1 >= to) return -1;
        t0 = t1, y0 = y1;
    }
}

RiseSet RiseSetOf(Computation& c, int body, double fromUT, const SkyPlace& place) {
    double h0 = RiseAltitude(body);
    auto f = [&](double t) { return AltitudeOf(c, body, t, place) - h0; };
    RiseSet r;
    r.rise = FindCrossing(f, fromUT, fromUT + 1, true);
    r.set = FindCrossing(f, fromUT, fromUT + 1, false);
    return r;
}

}  // namespace orbeta
