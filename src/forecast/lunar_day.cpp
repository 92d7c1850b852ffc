#include "forecast/lunar_day.h"

#include "core/angles.h"
#include "core/chart_record.h"
#include "core/ephemeris.h"

namespace orbeta {

double NextNewMoon(Computation& c, double fromUT) {
    auto elongation = [&c](double t) {
        double sun, moon;
        SunMoonLongitudes(c, t, sun, moon);
        return Difference(moon, sun);
    };
    // Upward only: the elongation also jumps from +180 to −180 at full moon.
    return FindCrossing(elongation, fromUT, fromUT + 40, true);
}

std::vector<double> MoonrisesBetween(Computation& c, double fromUT, double toUT,
                                     const SkyPlace& place) {
    double h0 = RiseAltitude(MON);
    auto f = [&](double t) { return AltitudeOf(c, MON, t, place) - h0; };
    std::vector<double> rises;
    double t = fromUT;
    while (t < toUT) {
        double r = FindCrossing(f, t, toUT, true);
        if (r < 0) break;
        rises.push_back(r);
        // The Moon is below the threshold again well within two hours of a rise only
        // near the poles; a small step past the root avoids finding it twice.
        t = r + 1e-4;
    }
    return rises;
}

int LunarDayAt(double moment, double newMoon, double nextNewMoon,
               const std::vector<double>& moonrises) {
    double start = newMoon;
    int number = 1;
    bool restarted = false;
    auto endsAt = [&](double end) {
        if (!restarted && nextNewMoon > start && nextNewMoon <= end) {
            if (moment < nextNewMoon) return true;
            start = nextNewMoon;
            number = 1;
            restarted = true;
        }
        if (moment < end) return true;
        start = end;
        ++number;
        return false;
    };
    for (double rise : moonrises) {
        if (rise <= start) continue;
        if (endsAt(rise)) return number;
    }
    // Past the last moonrise searched: the day runs on, unless the next new moon
    // begins a new count before the moment.
    if (!restarted && nextNewMoon > start && nextNewMoon <= moment) number = 1;
    return number;
}

LunarDayResult LunarDayOf(Computation& c, double jdUT, const SkyPlace& place) {
    LunarDayResult r;
    r.newMoon = NextNewMoon(c, jdUT - 30);
    if (r.newMoon < 0) return r;
    r.nextNewMoon = NextNewMoon(c, r.newMoon + 1);
    auto rises = MoonrisesBetween(c, r.newMoon, jdUT + 2, place);
    r.number = LunarDayAt(jdUT, r.newMoon, r.nextNewMoon, rises);
    return r;
}

}  // namespace orbeta
