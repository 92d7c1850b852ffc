#pragma once
// Age points: two points leave 0° Aries at birth, the first counter-clockwise at one
// sign in 7 years, the second clockwise at one sign in 9 years. The report lists when
// they stand in aspect to each other, cross sign boundaries and reach the chart's
// points.
#include <string>
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"

namespace orbeta {

enum class AgePointKind { Aspect, First, Second };

struct AgePointEntry {
    double age = 0;     // years after birth
    double moment = 0;  // Julian day UT
    AgePointKind kind = AgePointKind::Aspect;
    double first = 0;   // the first point's longitude
    double second = 0;  // the second point's longitude
    double angle = 0;   // aspect entries
    std::string label;  // point or sign-boundary name (CP1251); empty for aspects
};

// Longitudes of the two points at an age in years.
double FirstAgePoint(double age);
double SecondAgePoint(double age);

// All entries, sorted by moment. Points are those of PointId 1..27 (1..15 for a
// chart without houses) that are active in maskP (cusps always) and available.
std::vector<AgePointEntry> AgePointEntries(const ChartRecord& chart, const OrbTable& table,
                                           long maskP);

// The age at a moment as "%3dг.%2dм.%2dд." (л for years not ending in 1..4, or
// ending in 11..14), from the calendar dates of the two local moments; empty within
// one day after birth.
std::string AgeText(double birthLocal, double momentLocal);

// The body of the report (CP1251), after the header of the report pipeline.
std::string AgePointReportText(const ChartRecord& chart, const OrbTable& table, long maskP);

}  // namespace orbeta
