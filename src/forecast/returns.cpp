#include "forecast/returns.h"

#include <cmath>
#include <limits>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr double kStepDays = 5;
constexpr int kMaxSteps = 80;  // 400 days: more than a year of the slowest, the Sun
constexpr double kTolerance = 1e-6;
constexpr double kNoAngle = std::numeric_limits<double>::quiet_NaN();

double StartOfDay(int year, int month, int day, double gmtCorr) {
    DateParts d;
    d.year = year;
    d.month = month;
    d.day = day;
    return JulianDay(d) + gmtCorr;
}

double SunLongitude(Computation& c, double t, bool& available) {
    BodyPosition p = CalcBody(c, t, SUN);
    available = p.speed != 0;
    return p.lon;
}

ChartRecord ChartAt(const ReturnPlace& place, int method, double target) {
    ChartRecord r;
    CopyText(r.name, place.name);
    CopyText(r.place, place.place);
    r.latitude = place.latitude;
    r.longitude = place.longitude;
    r.gmtCorr = place.gmtCorr;
    r.houseSystem = static_cast<int16_t>(place.houseSystem);
    r.calcMethod = static_cast<int16_t>(method);
    r.returnLongitude = target;
    return r;
}

std::optional<ChartRecord> Solved(Computation& c, ChartRecord chart, double start) {
    if (!SolveReturnChart(c, chart, start)) return std::nullopt;
    return chart;
}

}  // namespace

bool IsReturnChart(int m) {
    return (m >= kAnnualReturn && m <= kSunIngress) || (m >= kFullMoon && m <= kEmbolismicLunation);
}

std::optional<double> FindReturn(const std::function<double(double)>& f, double start) {
    double t0 = start, f0 = f(t0);
    double t1 = t0, f1 = f0;
    bool wrapped = false;
    for (int i = 0; i < kMaxSteps && std::isfinite(f0); ++i) {
        t1 = t0 + kStepDays;
        f1 = f(t1);
        if (!std::isfinite(f1)) return std::nullopt;
        if (f1 < f0) {
            wrapped = true;
            break;
        }
        t0 = t1;
        f0 = f1;
    }
    if (!wrapped) return std::nullopt;
    // Before the root the angle lies above f1 (near 360), after it at most f1.
    double g0 = f0 - 360, g1 = f1;
    int side = 0;
    for (int i = 0; i < 100 && t1 - t0 > kTolerance; ++i) {
        double t = t0 + (t1 - t0) * g0 / (g0 - g1);
        if (!(t > t0 && t < t1)) t = (t0 + t1) / 2;
        double v = f(t);
        if (!std::isfinite(v)) return std::nullopt;
        if (v > f1) {
            t0 = t;
            g0 = v - 360;
            if (side < 0) g1 /= 2;
            side = -1;
        } else {
            if (v == 0) return t;
            t1 = t;
            g1 = v;
            if (side > 0) g0 /= 2;
            side = 1;
        }
    }
    return (t0 + t1) / 2;
}

double ReturnAngle(Computation& c, int method, double target, double t) {
    if (method == kLunarReturn) {
        BodyPosition moon = CalcBody(c, t, MON);
        return moon.speed == 0 ? kNoAngle : Normalize(moon.lon - target);
    }
    if (method == kFullMoon || method == kNewMoon || method == kEmbolismicLunation) {
        BodyPosition sun = CalcBody(c, t, SUN);
        BodyPosition moon = CalcBody(c, t, MON);
        if (sun.speed == 0 || moon.speed == 0) return kNoAngle;
        return Normalize(moon.lon - sun.lon - target);
    }
    bool available = false;
    double sun = SunLongitude(c, t, available);
    return available ? Normalize(sun - target) : kNoAngle;
}

std::string NoEphemerisText() {
    return Utf8ToAnsi("Нет эфемерид для этой даты");
}

bool SolveReturnChart(Computation& c, ChartRecord& chart, double start) {
    int method = chart.calcMethod;
    double target = chart.returnLongitude;
    auto found = FindReturn([&](double t) { return ReturnAngle(c, method, target, t); }, start);
    if (!found) {
        c.diagnostics.Add(DiagnosticKind::Warning, NoEphemerisText());
        return false;
    }
    ChartRecord r = chart;
    r.jdCalc = r.jdUT = *found;
    r.jdLocal = r.jdUT - r.gmtCorr;
    CalcBodies(c, r);
    ComputeHouses(r, c.diagnostics);
    chart = r;
    return true;
}

bool EphemerisCoversYear(int year) {
    // The data files reach from 5400 BC to AD 5399; before JD 0 no file is opened.
    return year >= -4712 && year <= 5399 && year != 0;
}

std::optional<ChartRecord> SolarLunarReturn(Computation& c, const ChartRecord& base, int kind,
                                            int year, int month, const ReturnPlace& place) {
    if (kind != 0 && kind != 1 && kind != 7) kind = 2;
    double target = 0;
    double start = StartOfDay(year, month, 1, place.gmtCorr);
    DateParts birth = DatePartsOf(base.jdLocal);
    switch (kind) {
        case 0:
            target = base.lon[SUN];
            start = StartOfDay(year, birth.month, birth.day, place.gmtCorr) - 5;
            break;
        case 1: {
            target = Normalize(base.lon[SUN] + 30.0 * (month - birth.month));
            // Back while the Sun is already past the target: a month at most.
            bool available = false;
            for (int i = 0; i < 40; ++i) {
                double sun = SunLongitude(c, start, available);
                if (!available) break;
                if (Difference(sun, target) <= 0) break;
                start -= 1;
            }
            if (!available) {
                c.diagnostics.Add(DiagnosticKind::Warning, NoEphemerisText());
                return std::nullopt;
            }
            break;
        }
        case 2:
            target = base.lon[MON];
            break;
        default:
            target = Normalize(base.lon[MON] - base.lon[SUN]);
            break;
    }
    ChartRecord r = ChartAt(place, kAnnualReturn + kind, target);
    r.eventHeader = HeaderOf(base);
    r.baseJdLocal = base.jdLocal;
    r.baseJdUT = base.jdUT;
    return Solved(c, r, start);
}

std::optional<ChartRecord> SunIngressChart(Computation& c, const ReturnPlace& place, int year,
                                           double packedDegree) {
    ChartRecord r = ChartAt(place, kSunIngress, Normalize(PackedToDegrees(packedDegree)));
    r.baseJdLocal = StartOfDay(year, 1, 1, 0);
    r.baseJdUT = r.baseJdLocal + place.gmtCorr;
    return Solved(c, r, StartOfDay(year, 1, 1, place.gmtCorr));
}

std::optional<ChartRecord> LunationChart(Computation& c, const ReturnPlace& place, bool full,
                                         double dayJd) {
    ChartRecord r = ChartAt(place, full ? kFullMoon : kNewMoon, full ? 180.0 : 0.0);
    r.jdLocal = dayJd;
    r.jdUT = r.jdCalc = dayJd + place.gmtCorr;
    r.baseJdLocal = r.jdLocal;
    r.baseJdUT = r.jdUT;
    // From a little before midnight: a lunation at 0 h itself is found.
    return Solved(c, r, r.jdCalc - 0.1);
}

bool StepReturnChart(Computation& c, ChartRecord& chart, int direction) {
    int method = chart.calcMethod;
    if (!IsReturnChart(method)) return false;
    ChartRecord r = chart;
    bool forward = direction > 0;
    if (method == kMonthlyReturn)
        r.returnLongitude = Normalize(r.returnLongitude + (forward ? 30 : -30));
    if (method == kEmbolismicLunation) r.returnLongitude = Normalize(r.lon[MON] - r.lon[SUN]);
    if (method == kNewMoon) r.returnLongitude = 0;
    if (method == kFullMoon) r.returnLongitude = 180;
    bool yearly = method == kAnnualReturn || method == kSunIngress;
    double start = r.jdCalc + (yearly ? (forward ? 360 : -370) : (forward ? 10 : -35));
    if (!SolveReturnChart(c, r, start)) return false;
    chart = r;
    return true;
}

std::string ReturnChartText(const ChartRecord& chart, int year, int month) {
    int method = chart.calcMethod;
    if (method == kSunIngress)
        return Format(LookupText("VsG").c_str(), DegreesToPacked(chart.returnLongitude));
    std::string kind = ReturnKindName(method - 100);
    if (method == kFullMoon || method == kNewMoon) return kind;
    // Annual and monthly returns fall near the birthday of their year or month: the
    // moment moved by the birthday's distance from mid-year (mid-month) tells which.
    double moment = chart.jdLocal;
    if (chart.eventHeader.jdLocal != 0) {
        DateParts birth = DatePartsOf(chart.eventHeader.jdLocal);
        if (method == kAnnualReturn) moment -= DayOfYear(birth) - 183;
        if (method == kMonthlyReturn) moment -= birth.day - 15;
    }
    DateParts d = DatePartsOf(moment);
    if (year == 0) year = d.year;
    if (month == 0) month = d.month;
    std::string text = Format("%s %d", kind.c_str(), year);
    if (method != kAnnualReturn) text += Format(" %d", month);
    return text;
}

}  // namespace orbeta
