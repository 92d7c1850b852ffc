#pragma once
// The natal-type interpretation reports: natal chart (kind 0, base "natal"), child's
// horoscope (1, "deti") and relocation (2, "geograf", on the chart already moved to
// the new place). Each prints its sections into a ReportSink under the option word.
#include <string>
#include <vector>

#include "aspects/aspect_matrix.h"
#include "core/chart_record.h"
#include "interp/chart_analysis.h"
#include "interp/report_sink.h"

namespace orbeta {

constexpr int kNatalInterpretation = 0;
constexpr int kChildInterpretation = 1;
constexpr int kRelocationInterpretation = 2;
constexpr unsigned kAllInterpretationOptions = 2047;

// Option bits of "Состав выдачи".
enum InterpretationOption : unsigned {
    kOptIntroduction = 1u << 0,
    kOptElements = 1u << 1,
    kOptCrosses = 1u << 2,
    kOptLevels = 1u << 3,
    kOptJones = 1u << 4,
    kOptChains = 1u << 5,
    kOptBodies = 1u << 6,
    kOptQuadrants = 1u << 7,
    kOptConfigurations = 1u << 8,
    kOptEnergy = 1u << 9,
    kOptHouses = 1u << 10,
};

struct InterpretationInput {
    int kind = kNatalInterpretation;
    ChartRecord chart;
    AspectMatrix matrix;      // the chart's single-chart matrix
    std::vector<int> angles;  // angles switched on in the orb table, whole degrees
    unsigned options = kAllInterpretationOptions;
};

// Stem of the text base of a kind; "" for a kind without one.
const char* InterpretationBase(int kind);

// Writes the report of the input's kind, from the base's introduction "0" on. The base
// must be open unless the sink is listing.
void WriteInterpretation(const InterpretationInput& in, ReportSink& sink);

// The house of the ruler of the sign on cusp h, with its heading and text
// "u%02d%sh%02d%s" (mode 1 "." after the house, mode 2 "x" at the end).
int HouseRuler(const ChartAnalysis& a, int h, int mode, ReportSink& sink);

// Prepositional name of an aspect by its whole-degree angle ("тригоне"); nullptr for
// an angle without one.
const char* AspectNamePrepositional(int angle);

}  // namespace orbeta
