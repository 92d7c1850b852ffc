#include "forecast/day_report.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris.h"
#include "forecast/lunar_day.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr double kTattvaPeriod = 0.4 / 24;
constexpr int kHourColumns[7] = {SUN, VEN, MER, MON, SAT, JUP, MRS};

// "HH:MM:SS" of the local time of day of a moment UT, rounded to the second.
std::string TimeOfDay(double jdUT, double gmtCorr) {
    DateParts p = DatePartsOf(jdUT - gmtCorr + 0.000005787);
    return Format("%02d:%02d:%02d", p.hour, p.minute, p.second);
}

std::string EventText(double jdUT, double gmtCorr) {
    return jdUT < 0 ? std::string("     -") : TimeOfDay(jdUT, gmtCorr);
}

std::string SunMessage(const DayReportData& day) {
    const SunDay& s = day.sun;
    if (s.rise < 0 && day.bodies[0].set < 0)
        return day.sunUp ? " Солнце в этот день не заходит\n"_cp
                         : " Солнце в этот день не восходит\n"_cp;
    if (s.rise < 0) return " Солнце в этот день не восходит\n"_cp;
    if (day.bodies[0].set < 0) return " Солнце в этот день не заходит\n"_cp;
    return "";
}

void AppendHours(std::string& out, const DayReportData& day) {
    out += Format("\n%s\n", LookupText("PHear").c_str());
    for (int body : kHourColumns) out += Format(" %-14.14s", PlanetName(body).c_str());
    out += "\n";
    auto hours = PlanetaryHoursOf(day);
    if (!hours) {
        out += " Планетные часы не рассчитываются: нет восхода или захода Солнца\n"_cp;
        return;
    }
    int column = 0;
    for (; column < hours->firstColumn; ++column) out += Format(" %14s", "");
    for (double t : hours->starts) {
        out += Format(" %s      ", TimeOfDay(t, day.gmtCorr).c_str());
        if (++column == 7) {
            out += "\n";
            column = 0;
        }
    }
    if (column != 0) out += "\n";
}

void AppendTattvas(std::string& out, const DayReportData& day) {
    out += "\n\n Таттвы\n"_cp;
    for (int i = 0; i < 5; ++i) out += Format(" %-10.10s", TattvaName(i).c_str());
    out += "\n";
    auto tattvas = TattvasOf(day);
    if (!tattvas) {
        out += " Таттвы не рассчитываются: нет восхода Солнца\n"_cp;
        return;
    }
    int column = 0;
    auto next = [&] {
        if (++column == 5) {
            out += "\n";
            column = 0;
        }
    };
    for (; column < tattvas->midnightColumn; ++column) out += Format(" %10s", "");
    out += Format(" %-10.10s", "00:00:00");
    next();
    for (double t : tattvas->beforeSunrise) {
        out += Format(" %s  ", TimeOfDay(t, day.gmtCorr).c_str());
        next();
    }
    // The cycle restarts at sunrise, in the first column.
    if (column != 0) out += "\n";
    column = 0;
    for (double t : tattvas->fromSunrise) {
        out += Format(" %s  ", TimeOfDay(t, day.gmtCorr).c_str());
        next();
    }
    if (column != 0) out += "\n";
}

}  // namespace

int WeekdayOf(double dayStart) {
    long long n = static_cast<long long>(std::floor(dayStart + 1.5));
    return static_cast<int>(((n % 7) + 7) % 7);
}

int DayRuler(int weekday) {
    static const int kRulers[7] = {SUN, MON, MRS, MER, JUP, VEN, SAT};
    return kRulers[((weekday % 7) + 7) % 7];
}

DayReportData ComputeDayReport(Computation& chartComputation, const ChartRecord& chart) {
    // Positions for rises are geocentric whatever the chart's option says.
    Computation c(chartComputation.context);
    c.context.options.heliocentric = false;
    SkyPlace place{PackedToDegrees(chart.latitude), PackedToDegrees(chart.longitude)};
    DayReportData day;
    double dayStart = std::floor(chart.jdLocal + 0.5) - 0.5;
    day.midnight = dayStart + chart.gmtCorr;
    day.gmtCorr = chart.gmtCorr;
    day.jdLocal = chart.jdLocal;
    day.weekday = WeekdayOf(dayStart);
    for (int body = SUN; body <= PLT; ++body)
        day.bodies[body - 1] = RiseSetOf(c, body, day.midnight, place);

    double h0 = RiseAltitude(SUN);
    auto sun = [&](double t) { return AltitudeOf(c, SUN, t, place) - h0; };
    SunDay& s = day.sun;
    s.previousRise = FindCrossing(sun, day.midnight - 1, day.midnight, true);
    s.rise = day.bodies[0].rise;
    if (s.rise >= 0) {
        // The sunset that ends the night before may fall after midnight, so the
        // neighbours are taken from the sunrise, not from the civil days.
        s.previousSet = FindCrossing(sun, s.rise - 1, s.rise, false);
        s.set = FindCrossing(sun, s.rise, s.rise + 1, false);
        if (s.set >= 0) s.nextRise = FindCrossing(sun, s.set, s.set + 1, true);
    }
    day.sunUp = sun(day.midnight + 0.5) >= 0;
    day.lunarDay = LunarDayOf(c, chart.jdUT, place).number;
    chartComputation.diagnostics.Merge(c.diagnostics);
    return day;
}

std::optional<PlanetaryHours> PlanetaryHoursOf(const DayReportData& day) {
    const SunDay& s = day.sun;
    if (s.previousSet < 0 || s.rise < 0 || s.set < 0 || s.nextRise < 0) return std::nullopt;
    double lastNight = (s.rise - s.previousSet) / 12;
    double daylight = (s.set - s.rise) / 12;
    double comingNight = (s.nextRise - s.set) / 12;
    int n = std::clamp(static_cast<int>(std::floor((s.rise - day.midnight) / lastNight)), 0, 12);
    PlanetaryHours h;
    h.firstColumn = (3 * day.weekday - (n + 1) + 28) % 7;
    h.starts.push_back(day.midnight);
    for (int k = n; k >= 1; --k) h.starts.push_back(s.rise - k * lastNight);
    for (int k = 0; k < 12; ++k) h.starts.push_back(s.rise + k * daylight);
    for (int k = 0; k < 12 - n; ++k) h.starts.push_back(s.set + k * comingNight);
    return h;
}

std::optional<Tattvas> TattvasOf(const DayReportData& day) {
    const SunDay& s = day.sun;
    if (s.previousRise < 0 || s.rise < 0) return std::nullopt;
    Tattvas t;
    long long k =
        static_cast<long long>(std::floor((day.midnight - s.previousRise) / kTattvaPeriod));
    // The tattva in progress at midnight; the cycle begins with the first at sunrise.
    t.midnightColumn = static_cast<int>(((k % 5) + 5) % 5);
    for (long long j = k + 1; s.previousRise + j * kTattvaPeriod < s.rise; ++j)
        t.beforeSunrise.push_back(s.previousRise + j * kTattvaPeriod);
    for (int j = 0; s.rise + j * kTattvaPeriod < day.midnight + 1; ++j)
        t.fromSunrise.push_back(s.rise + j * kTattvaPeriod);
    return t;
}

std::string DayReportText(const DayReportData& day) {
    std::string out;
    int ruler = DayRuler(day.weekday);
    out +=
        Format("\n %s - %s (Управитель - %s)  %d-й лунный день\n"_cp, DateText(day.jdLocal).c_str(),
               WeekdayName(day.weekday).c_str(), PlanetName(ruler).c_str(), day.lunarDay);
    out += Format("\n%s\n", LookupText("VZP").c_str());
    for (int body = SUN; body <= PLT; ++body) {
        const RiseSet& r = day.bodies[body - 1];
        out +=
            Format(" %-12.12s %-10.10s  %-10.10s\n", PlanetName(body).c_str(),
                   EventText(r.rise, day.gmtCorr).c_str(), EventText(r.set, day.gmtCorr).c_str());
    }
    out += SunMessage(day);
    AppendHours(out, day);
    AppendTattvas(out, day);
    return out;
}

}  // namespace orbeta
