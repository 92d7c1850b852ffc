#pragma once
// Sensitive points of a chart: each active point and its aspect angles of an orb table,
// as positions on the zodiac. The asteroid and hypothetical tables, the degree, star,
// lot and midpoint reports and their directions all measure against this list.
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"

namespace orbeta {

struct SensitivePoint {
    double position = 0;  // degrees [0, 360)
    int owner = 0;        // PointId 1..27, or 28..39 for the start of sign 0..11
    double angle = 0;     // the aspect angle (0 for sign starts)
};

struct SensitivePointOptions {
    long maskP = 1023;        // bit i − 1: body i is active (cusps always are)
    bool signStarts = false;  // add 30 i with owner 28 + i
};

// First owner of the sign starts.
constexpr int kSignStartOwner = 28;

// Points: bodies 1..15 active in maskP and available, the twelve cusps when the chart
// has houses (house system other than 8). For each point and each aspect of the table
// that is switched on: lon + angle, and lon − angle unless the angle is 0 or 180.
// Sorted by position (equal positions keep the order of owner, then angle).
std::vector<SensitivePoint> SensitivePoints(const ChartRecord& chart, const OrbTable& table,
                                            const SensitivePointOptions& options);

// True when the chart's cusps are real houses (not the sign starts of system 8).
bool ChartHasHouses(const ChartRecord& chart);

// Whether PointId p takes part: cusps when the chart has houses, bodies when active in
// maskP and available.
bool SensitivePointActive(const ChartRecord& chart, int pointId, long maskP);

}  // namespace orbeta
