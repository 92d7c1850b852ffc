#pragma once
// The graph command: the graphic forecast and the graphic ephemerides of a chart as
// text, JSON or a picture file. Pictures are drawn by orbeta-cli-draw (see
// wheel_command.h); the data are computed alike by both programs.
#include <string>
#include <utility>

#include "chart_args.h"
#include "forecast/graph_ephemeris.h"
#include "forecast/graph_forecast.h"

namespace orbeta::cli {

struct GraphArgs {
    std::string kind;  // "forecast" or "ephemeris"
    ChartArgs chart;
    int movingMethod = 1;
    std::string from, to;
    int year = 0, month = 0;
    std::string bodies = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
    std::string natal = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
    std::string cursor;
    std::string size;  // WIDTHxHEIGHT; default 1600x900, printed an A4 page

    std::pair<int, int> Size() const;
    bool current = false, vertical = false, hideMotion = false;
    std::string matrix = "upper";
    std::string orbs;
    int modulus = 30;
    std::string out;
    bool print = false, landscape = false, json = false;
};

struct GraphData {
    bool forecast = true;
    ForecastModel forecastModel;
    EphemerisModel ephemerisModel;
};

// Computes the chart, the period and the picture's data; what the computations noted is
// told on stderr. A CommandError for a period or an option that cannot be.
GraphData ComputeGraph(const GraphArgs& args);

// The picture file (orbeta-cli-draw); in orbeta-cli it is never reached.
void DrawGraph(const GraphArgs& args);

}  // namespace orbeta::cli
