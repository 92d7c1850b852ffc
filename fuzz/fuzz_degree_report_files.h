#pragma once
// The chart that the fuzz targets of the degree, star and lot files read against: all
// bodies placed, real houses, so that every branch of the readers is reachable.
#include "core/angles.h"
#include "core/chart_record.h"

namespace orbeta::fuzz {

inline ChartRecord DegreeReportChart() {
    ChartRecord chart;
    chart.jdLocal = chart.jdUT = chart.jdCalc = 2451545.0;
    chart.houseSystem = 3;
    for (int b = 1; b <= kBodyCount; ++b) {
        chart.lon[b] = Normalize(23.7 * b);
        chart.speed[b] = 1;
    }
    for (int h = 1; h <= 12; ++h) chart.cusp[h] = Normalize(5 + 30 * h);
    return chart;
}

}  // namespace orbeta::fuzz
