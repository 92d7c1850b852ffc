#pragma once
// The charts the benchmarks compute: a moment in Moscow (55°45′ N 37°37′ E, local time
// UT+3), Placidus houses, the tropical natal method.
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/houses.h"

namespace orbeta::bench {

inline ChartRecord MoscowChart(Computation& computation, const DateParts& local) {
    ChartRecord c;
    c.jdLocal = JulianDay(local);
    c.gmtCorr = -3.0 / 24;
    c.jdUT = c.jdCalc = c.jdLocal + c.gmtCorr;
    c.latitude = 55.45;
    c.longitude = 37.37;
    c.houseSystem = kPlacidus;
    ComputeChart(computation, c, c, 1);
    return c;
}

}  // namespace orbeta::bench
