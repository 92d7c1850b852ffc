#include "forecast/eclipses.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_record.h"
#include "core/ephemeris.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr double kRad = 0.017453292519943295;
constexpr double kJulianCentury = 36525.0;
constexpr double kRefineTolerance = 1.574e-6;  // day, about 0.14 s

double Sin(double deg) {
    return std::sin(deg * kRad);
}
double Cos(double deg) {
    return std::cos(deg * kRad);
}

// The Sun (opposite for a lunar eclipse) less the Moon, −180..180; false without
// positions.
bool SyzygyOffset(Computation& c, double t, bool lunar, double& f) {
    BodyPosition sun = CalcBody(c, t, SUN);
    BodyPosition moon = CalcBody(c, t, MON);
    if (sun.speed == 0 || moon.speed == 0) return false;
    f = Difference(lunar ? Opposite(sun.lon) : sun.lon, moon.lon);
    return true;
}

bool Bisect(Computation& c, double lo, double hi, bool lunar, double& root) {
    double flo = 0, fhi = 0;
    if (!SyzygyOffset(c, lo, lunar, flo) || !SyzygyOffset(c, hi, lunar, fhi)) return false;
    if (flo == 0) return root = lo, true;
    if (fhi == 0) return root = hi, true;
    if ((flo < 0) == (fhi < 0)) return false;
    while (hi - lo > kRefineTolerance) {
        double mid = (lo + hi) / 2, fm = 0;
        if (!SyzygyOffset(c, mid, lunar, fm)) return false;
        if (fm == 0) return root = mid, true;
        if ((fm < 0) == (flo < 0)) {
            lo = mid;
            flo = fm;
        } else {
            hi = mid;
        }
    }
    root = (lo + hi) / 2;
    return true;
}

}  // namespace

Lunation LunationOf(double k) {
    Lunation l;
    l.k = k;
    double T = kSynodicMonth * k / kJulianCentury;
    double T2 = T * T, T3 = T2 * T;
    l.T = T;
    l.M = Normalize(359.2242 + 29.10535608 * k - 0.0000333 * T2 - 0.00000347 * T3);
    l.Mp = Normalize(306.0253 + 385.81691806 * k + 0.0107306 * T2 + 0.00001236 * T3);
    l.F = Normalize(21.2964 + 390.67050646 * k - 0.0016528 * T2 - 0.00000239 * T3);
    double M = l.M, Mp = l.Mp, F = l.F;
    l.moment = kLunationEpoch + 0.75933 + kSynodicMonth * k + 0.0001178 * T2 - 0.000000155 * T3 +
               0.00033 * Sin(166.56 + 132.87 * T - 0.009173 * T2) +
               (0.1734 - 0.000393 * T) * Sin(M) + 0.0021 * Sin(2 * M) - 0.4068 * Sin(Mp) +
               0.0161 * Sin(2 * Mp) - 0.0104 * Sin(2 * F) - 0.0051 * Sin(M + Mp) -
               0.0074 * Sin(M - Mp);
    l.S = 5.19595 - 0.0048 * Cos(M) + 0.0020 * Cos(2 * M) - 0.3283 * Cos(Mp) -
          0.0060 * Cos(M + Mp) + 0.0041 * Cos(M - Mp);
    l.C = 0.2070 * Sin(M) + 0.0024 * Sin(2 * M) - 0.0390 * Sin(Mp) + 0.0115 * Sin(2 * Mp) -
          0.0073 * Sin(M + Mp) - 0.0067 * Sin(M - Mp) + 0.0117 * Sin(2 * F);
    l.gamma = l.S * Sin(F) + l.C * Cos(F);
    l.u = 0.0059 + 0.0046 * Cos(M) - 0.0182 * Cos(Mp) + 0.0004 * Cos(2 * Mp) - 0.0005 * Cos(M + Mp);
    return l;
}

int SolarEclipseType(const Lunation& l) {
    double g = std::fabs(l.gamma), u = l.u;
    if (g > 1.5432 + u) return kNoEclipse;
    int type = kPartialEclipse;
    if (g <= 0.9972 + std::fabs(u)) type = u > 0 ? kAnnularEclipse : kTotalEclipse;
    // Beyond the Earth's edge (g >= 1) the shadow axis misses it: no annular-total.
    double edge = g < 1 ? std::sqrt(1 - l.gamma * l.gamma) : 0.0;
    if (u > 0 && u < 0.0047 && u < 0.00464 * edge) type = kHybridEclipse;
    return type;
}

int LunarEclipseType(const Lunation& l) {
    double g = std::fabs(l.gamma);
    double umbral = (1.0129 - l.u - g) * 1.8348623853211008;
    double penumbral = (1.5572 + l.u - g) * 1.8348623853211008;
    if (umbral > 1) return kTotalEclipse;
    if (umbral > 0) return kPartialEclipse;
    if (penumbral > 0) return kPenumbralEclipse;
    return kNoEclipse;
}

int SolarEclipseAt(double& moment) {
    double x = (moment - kLunationEpoch) / kSynodicMonth;
    Lunation l = LunationOf(std::round(x));
    moment = l.moment;
    return SolarEclipseType(l);
}

int LunarEclipseAt(double& moment) {
    double x = (moment - kLunationEpoch) / kSynodicMonth;
    double n = std::round(x);
    Lunation l = LunationOf(n <= x ? n + 0.5 : n - 0.5);
    moment = l.moment;
    return LunarEclipseType(l);
}

bool RefineSyzygy(Computation& c, double moment, bool lunar, double& syzygy) {
    // The series gives ephemeris time; the positions are asked for in UT.
    double t = moment - DeltaT(moment);
    return Bisect(c, t - 0.1, t + 0.1, lunar, syzygy) || Bisect(c, t - 0.5, t + 0.5, lunar, syzygy);
}

bool FindEclipses(Computation& c, std::vector<EclipseRecord>& list, double from, double to,
                  int luminary, const std::function<bool()>& stepped) {
    bool lunar = luminary == kLunarEclipse;
    // Lunation numbers from before the start to after the end: a syzygy refined into
    // the interval is never missed, one refined out of it never listed.
    double first = std::floor((from - kLunationEpoch) / kSynodicMonth) - 1;
    double last = std::ceil((to - kLunationEpoch) / kSynodicMonth) + 1;
    bool complete = true;
    double nextYear = from + 365.25;
    for (double k = first; k <= last; k += 1) {
        Lunation l = LunationOf(lunar ? k + 0.5 : k);
        if (stepped && l.moment >= nextYear && l.moment < to) {
            nextYear += 365.25;
            if (!stepped()) return false;
        }
        int type = lunar ? LunarEclipseType(l) : SolarEclipseType(l);
        if (type == kNoEclipse) continue;
        double moment = 0;
        if (!RefineSyzygy(c, l.moment, lunar, moment)) {
            complete = false;
            continue;
        }
        if (moment >= from && moment < to) list.push_back({moment, type, luminary});
    }
    return complete;
}

std::string EclipseListText(Computation& c, std::vector<EclipseRecord> list, double correction) {
    std::stable_sort(list.begin(), list.end(), [](const EclipseRecord& a, const EclipseRecord& b) {
        return a.moment < b.moment;
    });
    std::string solar = LookupText("Secl"), lunar = LookupText("Mecl");
    std::string text;
    for (const auto& e : list) {
        bool isLunar = e.luminary == kLunarEclipse;
        double lon = BodyLongitude(c, e.moment, isLunar ? MON : SUN);
        text += Format(" %s %s=%-16.16s  (%s)\n", DateTimeText(e.moment - correction).c_str(),
                       (isLunar ? lunar : solar).c_str(), EclipseTypeName(e.type).c_str(),
                       PositionText(lon).c_str());
    }
    return text;
}

std::string EclipseTitleLine(double from, double to) {
    return Utf8ToAnsi("Затмения") +
           Format(" %s - %s", DateText(from).c_str(), DateText(to).c_str());
}

}  // namespace orbeta
