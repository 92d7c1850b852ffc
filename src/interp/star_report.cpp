#include "interp/star_report.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "forecast/sensitive_points.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr double kDeg = M_PI / 180.0;
constexpr int kMaxRounds = 11;
constexpr double kSettled = 0.005;  // degrees

double Hours24(double h) {
    h = std::fmod(h, 24.0);
    return h < 0 ? h + 24.0 : h;
}

EquatorialPosition Equatorial(double lon, double lat, double eps) {
    const double l = lon * kDeg, b = lat * kDeg;
    EquatorialPosition p;
    p.rightAscension = Normalize(
        std::atan2(std::sin(l) * std::cos(eps) - std::tan(b) * std::sin(eps), std::cos(l)) / kDeg);
    p.declination =
        std::asin(std::clamp(
            std::sin(b) * std::cos(eps) + std::cos(b) * std::sin(eps) * std::sin(l), -1.0, 1.0)) /
        kDeg;
    return p;
}

// cos H0 of a declination at a latitude (both degrees).
double CosH0(double dec, double phi) {
    return -std::tan(phi * kDeg) * std::tan(dec * kDeg);
}

// The events of one body, each found by moving to the moment of the event and
// measuring the body there again; false when the body never rises or never sets.
bool FindBodyEvents(Computation& c, const ChartRecord& chart, int body, double phi, double eps,
                    double longitude, BodyEvents& out) {
    out.body = body;
    const double jd0 = std::floor(chart.jdUT - 0.5) + 0.5;
    for (int e = 0; e < 4; ++e) {
        double lon = chart.lon[body], lat = chart.lat[body];
        BodyEvent ev;
        for (int round = 0; round < kMaxRounds; ++round) {
            EquatorialPosition q = Equatorial(lon, lat, eps);
            double cosH0 = CosH0(q.declination, phi);
            if (std::fabs(cosH0) > 1) return false;
            double h0 = std::acos(cosH0) / kDeg;
            double ra = q.rightAscension;
            if (e == kRising) ra -= h0;
            if (e == kSetting) ra += h0;
            if (e == kAntiCulmination) ra += 180;
            ev.hour = Normalize(ra) / 15.0;
            ev.jdUT = jd0 + HoursOfSiderealTime(ev.hour, chart.jdUT, longitude) / 24.0;
            BodyPosition p = CalcBody(c, ev.jdUT, body);
            bool settled = Separation(p.lon, lon) <= kSettled && std::fabs(p.lat - lat) <= kSettled;
            lon = p.lon;
            lat = p.lat;
            if (settled) break;
        }
        ev.lon = lon;
        ev.lat = lat;
        AnglePair a = AnglesOfRamc(15 * ev.hour, chart.jdCalc, chart.latitude);
        ev.asc = a.ascendant;
        ev.mc = a.midheaven;
        out.events[e] = ev;
    }
    return true;
}

}  // namespace

double HourDifference(double a, double b) {
    return Hours24(a - b + 12.0) - 12.0;
}

bool CircleHours(double ra, double dec, double phi, std::array<double, 4>& hours) {
    hours.fill(kNoEvent);
    if ((phi > 0 && dec < phi - 90) || (phi < 0 && dec > phi + 90)) return false;
    hours[kCulmination] = Hours24(ra / 15.0);
    hours[kAntiCulmination] = Hours24(ra / 15.0 + 12.0);
    double cosH0 = CosH0(dec, phi);
    if (std::fabs(cosH0) > 1) return true;  // never sets
    double h0 = std::acos(cosH0) / kDeg;
    hours[kRising] = Hours24((ra - h0) / 15.0);
    hours[kSetting] = Hours24((ra + h0) / 15.0);
    return true;
}

StarReport ComputeStarReport(Computation& c, const StarReportInput& in) {
    const ChartRecord& chart = in.chart;
    StarReport r;
    r.latitude = PackedToDegrees(chart.latitude);
    r.longitude = PackedToDegrees(std::fabs(chart.longitude));
    const double eps = MeanObliquity(chart.jdCalc);
    r.obliquity = eps / kDeg;

    for (int body = SUN; body <= kBodyCount; ++body) {
        bool wanted = body == SUN || ((in.maskP >> (body - 1)) & 1);
        if (!wanted || !BodyAvailable(chart, body)) continue;
        BodyEvents events;
        if (FindBodyEvents(c, chart, body, r.latitude, eps, r.longitude, events))
            r.bodies.push_back(events);
    }

    // The Sun's night arc, from its setting to its rising round midnight; without
    // events the Sun is up all day (polar day) or down all day (polar night).
    const BodyEvents* sun = !r.bodies.empty() && r.bodies[0].body == SUN ? &r.bodies[0] : nullptr;
    bool polarNight = false;
    if (!sun) {
        EquatorialPosition q = Equatorial(chart.lon[SUN], chart.lat[SUN], eps);
        polarNight = CosH0(q.declination, r.latitude) > 1;
    }
    auto atNight = [&](double h) {
        if (!sun) return polarNight;
        double set = sun->events[kSetting].hour, rise = sun->events[kRising].hour;
        return Hours24(h - set) < Hours24(rise - set);
    };
    const double sunArc = sun ? Hours24(sun->events[kSetting].hour - sun->events[kRising].hour)
                              : (polarNight ? 0.0 : 24.0);

    for (const StarEntry& star : in.stars) {
        StarRow row;
        row.star = star;
        row.position = StarPositionAt(star, chart.jdUT);
        row.visible = CircleHours(row.position.rightAscension, row.position.declination, r.latitude,
                                  row.hours);
        if (row.visible) {
            row.mcDegree =
                AnglesOfRamc(15 * row.hours[kCulmination], chart.jdCalc, chart.latitude).midheaven;
            if (row.hours[kRising] != kNoEvent) {
                row.ascDegree =
                    AnglesOfRamc(15 * row.hours[kRising], chart.jdCalc, chart.latitude).ascendant;
                row.dscDegree = Opposite(
                    AnglesOfRamc(15 * row.hours[kSetting], chart.jdCalc, chart.latitude).ascendant);
                if (atNight(row.hours[kRising]) || atNight(row.hours[kSetting]))
                    row.phase = 2;
                else
                    row.phase = Hours24(row.hours[kSetting] - row.hours[kRising]) < sunArc ? 0 : 1;
            }
        }
        r.stars.push_back(row);
    }

    // The heliacal star: of the stars with a class that rise, the one rising the
    // fewest degrees (0..30) before the Sun, a higher class preferred.
    if (sun) {
        const double sunRise = sun->events[kRising].hour;
        for (int i = 0; i < static_cast<int>(r.stars.size()); ++i) {
            const StarRow& s = r.stars[i];
            if (!s.visible || s.star.heliacalClass <= 0 || s.hours[kRising] == kNoEvent) continue;
            double d = Difference(15 * sunRise, 15 * s.hours[kRising]);
            if (r.heliacal < 0) {
                if (d >= 0 && d <= 30) r.heliacal = i, r.heliacalD = d;
            } else if (s.star.heliacalClass >= r.stars[r.heliacal].star.heliacalClass && d >= 0 &&
                       d < r.heliacalD) {
                r.heliacal = i, r.heliacalD = d;
            }
        }
    }

    // Angles: the cusps, or in a chart without houses the true Ascendant and MC.
    double angle[4];
    if (ChartHasHouses(chart)) {
        angle[0] = chart.cusp[1], angle[1] = chart.cusp[10];
        angle[2] = chart.cusp[7], angle[3] = chart.cusp[4];
    } else {
        AnglePair a = TrueAngles(chart);
        angle[0] = a.ascendant, angle[1] = a.midheaven;
        angle[2] = Opposite(a.ascendant), angle[3] = Opposite(a.midheaven);
    }
    for (int a = 0; a < 4; ++a) {
        for (int i = 0; i < static_cast<int>(r.stars.size()); ++i) {
            const StarRow& s = r.stars[i];
            if (!s.visible) continue;
            if (Separation(s.position.longitude, angle[a]) < in.orb) r.onAngles.push_back({a, i});
            if (s.hours[a] == kNoEvent) continue;
            for (const BodyEvents& b : r.bodies)
                for (int e = 0; e < 4; ++e) {
                    double diff = HourDifference(s.hours[a], b.events[e].hour);
                    if (std::fabs(diff) < in.orb / 15.0)
                        r.parans.push_back({i, b.body, e, a, diff});
                }
        }
    }
    return r;
}

void WriteStarReport(const StarReportInput& in, const StarReport& r, ReportSink& sink) {
    sink.Text("000");
    sink.Line(Format(" LAT=%.2f, LONG=%.2f", in.chart.latitude, in.chart.longitude));
    sink.Line(LookupText("b0"));
    sink.Line(LookupText("b1"));
    for (const BodyEvents& b : r.bodies)
        for (int e = 0; e < 4; ++e) {
            const BodyEvent& ev = b.events[e];
            std::string name = e == 0 ? PointShortName(b.body) : std::string();
            sink.Line(Format("%-4.4s %s %7.2f %7.2f %7.2f %7.2f %7.2f (%6.2f)", name.c_str(),
                             StarEventName(e).c_str(), ev.lon, ev.asc, ev.mc, Opposite(ev.asc),
                             Opposite(ev.mc), ev.lat));
        }
    sink.Line(LookupText("b2"));
    sink.Line(LookupText("b3"));
    for (const StarRow& s : r.stars) {
        if (!s.visible) continue;
        const char* name = s.star.name.c_str();
        if (s.hours[kRising] == kNoEvent)
            sink.Line(Format(" %-16.16s   -     %7.2f   -     сокращенное (%7.2f %7.2f)"_cp, name,
                             s.mcDegree, s.position.longitude, s.position.latitude));
        else
            sink.Line(Format(" %-16.16s %7.2f %7.2f %7.2f %s (%7.2f %6.2f)", name, s.ascDegree,
                             s.mcDegree, s.dscDegree, StarPhaseName(s.phase).c_str(),
                             s.position.longitude, s.position.latitude));
    }
    if (r.heliacal >= 0) {
        const StarEntry& star = r.stars[r.heliacal].star;
        sink.Line(Format("\n Гелиактическая звезда: %s"_cp, star.name.c_str()));
        sink.Text("g%03d", star.number);
    }
    sink.Line(LookupText("b4"));
    std::size_t onAngle = 0, paran = 0;
    for (int a = 0; a < 4; ++a) {
        sink.Line(Format("\n Звезды %s\n---------------------"_cp, AngleHeading(a).c_str()));
        for (int i = 0; i < static_cast<int>(r.stars.size()); ++i) {
            const StarEntry& star = r.stars[i].star;
            while (onAngle < r.onAngles.size() && r.onAngles[onAngle].angle == a &&
                   r.onAngles[onAngle].star == i) {
                sink.Line(Format(" %s на %s"_cp, star.name.c_str(), AngleName(a).c_str()));
                sink.Text("s%03d", star.number);
                ++onAngle;
            }
            while (paran < r.parans.size() && r.parans[paran].angle == a &&
                   r.parans[paran].star == i) {
                const Paran& p = r.parans[paran];
                // The event names are padded for the table's column; not here.
                std::string event = StarEventName(p.event);
                event.erase(event.find_last_not_of(' ') + 1);
                sink.Line(Format(" Парана: %s - %s (%s)"_cp, star.name.c_str(),
                                 PointName(p.body).c_str(), event.c_str()));
                sink.Text("s%03d", star.number);
                ++paran;
            }
        }
    }
    sink.Line(LookupText("b5"));
}

}  // namespace orbeta
