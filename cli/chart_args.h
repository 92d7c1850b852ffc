#pragma once
// The chart arguments shared by the commands that compute a chart.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta::cli {

struct ChartPlace {
    std::string date;  // "DD.MM.YYYY HH:MM:SS"
    double gmtHours = 0;
    double lat = 0;             // packed d.mm
    double lon = 0;             // packed d.mm, west negative or 360 − magnitude
    const char* option = "--";  // prefix of its options in messages: --lat, --base-lat
};

// Refuses a packed coordinate with 60 or more minutes or beyond its range, naming the
// option it came from.
void CheckCoordinates(double lat, double lon, const std::string& prefix);

struct ChartArgs {
    ChartPlace chart;
    std::optional<ChartPlace> base;
    ChartPlace baseInput;
    int house = 3;
    int method = 1;
    int arcBody = 0;  // body of planetary arcs, 0 = SUN
    bool trueNode = false;
    bool trueLilith = false;
    bool helio = false;
};

// --date --gmt --lat --lon [--house] [--method] [--arc-body] [--base-*] [--true-node]
// [--true-lilith] [--helio]
void AddChartOptions(CLI::App& cmd, ChartArgs& args);
// Call after parsing: settles the optional base chart.
void FinishChartArgs(CLI::App& cmd, ChartArgs& args);

// --partner-date --partner-gmt --partner-lat --partner-lon: a second, natal chart.
struct PartnerArgs {
    ChartPlace input;
    std::optional<ChartPlace> partner;
};
void AddPartnerOptions(CLI::App& cmd, PartnerArgs& args);
// Call after parsing: the partner when its options were given.
void FinishPartnerArgs(CLI::App& cmd, PartnerArgs& args);
// The partner's natal chart, with the chart's house system and ephemeris options; what
// the computation notes goes to `c`, for the command to tell once with the chart's.
ChartRecord ComputePartnerOf(Computation& c, const ChartArgs& chart, const ChartPlace& partner);

// Julian day of a date argument "DD.MM.YYYY[ HH:MM[:SS]]": a CommandError when the text
// cannot be read or names a moment that cannot be (31.02, 24:00, 12:60).
double DateArgument(const std::string& text);
// The message for a date argument whose day, month or time cannot be; empty otherwise.
std::string ImpossibleDateArgument(const std::string& text);

// A record from a place: moments from the date text (an unreadable text is a
// CommandError), the correction, the place (western longitudes stored as 360 − |λ|).
ChartRecord RecordOf(const ChartPlace& place, int houseSystem);

// The ephemeris options of the arguments.
ChartContext ContextOf(const ChartArgs& args);

// Computes the chart with the arguments' options by its method from the base chart
// (computed as natal first); without a base the chart is its own base. What the
// computation noted is told on stderr.
ChartRecord ComputeChartOf(const ChartArgs& args);
// The same, noting into `c` without telling.
ChartRecord ComputeChartOf(Computation& c, const ChartArgs& args);

nlohmann::json ChartJson(const ChartRecord& chart);
// The table of chart: moments, bodies and cusps.
void PrintChartTable(const ChartRecord& chart);
std::string Utf8(const char* cp1251);

}  // namespace orbeta::cli
