#pragma once
// Interval reports on a chart's aspect points: its points directed at one degree a
// year, in longitude or in right ascension, and the progressed Moon (one ephemeris day
// for a year of life) passing them.
#include <functional>
#include <string>
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"

namespace orbeta {

enum class DirectionKind { Longitude, RightAscension, ProgressedMoon };

// Days of the year of the directions.
inline constexpr double kDirectionYear = 365.2421;

struct DirectionFinding {
    double jd = 0;     // the moment (on the chart's UT scale)
    int point = 0;     // the directed point (the Moon for the progressed Moon)
    int owner = 0;     // the aspect point's owner, PointId or 28..39 for a sign start
    double angle = 0;  // its aspect angle
};

// The chart with the longitudes of bodies and cusps replaced by right ascensions (by
// the mean obliquity of its calculation moment); the latitudes of cusps are 0.
ChartRecord RightAscensionChart(const ChartRecord& chart);

// Directions of the active examined points onto the aspect points (with the sign
// starts) of other owners, in [start, end], sorted by moment. For right ascension the
// computation works on a copy of the chart; the chart passed in is never changed.
std::vector<DirectionFinding> DirectionFindings(const ChartRecord& chart, const OrbTable& table,
                                                long maskP, bool rightAscension, double start,
                                                double end);

// The progressed Moon's passages over the aspect points from start to end, each once, in
// order. moonAt gives the Moon's longitude at a Julian day (UT).
std::vector<DirectionFinding> ProgressedMoonFindings(const ChartRecord& chart,
                                                     const OrbTable& table, long maskP,
                                                     double start, double end,
                                                     const std::function<double(double)>& moonAt);

// The title line of an interval report: its title, the chart's name and moment and the
// two dates.
std::string DirectionTitle(int commandId, const ChartRecord& chart, double start, double end);

// Body lines: " %s-%s %s-%3.0f" for directions, " %s-%3.0f %s" for the Moon.
std::string DirectionReport(const std::vector<DirectionFinding>& findings);
std::string ProgressedMoonReport(const std::vector<DirectionFinding>& findings);

}  // namespace orbeta
