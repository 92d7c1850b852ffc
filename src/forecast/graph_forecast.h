#pragma once
// The data of the graphic forecast: the search that finds its aspect periods, the
// bands with their bars (levels, exact moments, motion marks), the labels and the
// legend at the cursor. Painting and windows draw what this holds.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/computation.h"
#include "forecast/graph_period.h"
#include "forecast/search_records.h"

namespace orbeta {

struct ForecastOptions {
    bool current = false;   // "Текущие": bodies with bodies; else with the natal chart
    bool vertical = false;  // bands are the natal points (never with "Текущие")
    int matrix = 1;         // "Текущие": 0 lower, 1 upper triangle, 2 full matrix
    bool hideMotion = false;
    uint32_t bodyMask = 0x7FFF;   // bit i: BodyId i + 1
    uint32_t natalMask = 0x7FFF;  // bit i: PointId i + 1
};

// The search of the forecast's aspect periods: step 1 day, orb mode with the aspects
// of the orb table, pairs of type 1.
SearchRequest MakeForecastRequest(const GraphPeriod& period, const ForecastOptions& options,
                                  int calcMethod, const OrbTable& orbs, const ChartRecord& natal);

// The first free "a0001.tmp" .. "a9999.tmp" in the directory; empty when none is free.
std::filesystem::path FreeGraphFileName(const std::filesystem::path& dir);

// One drawn letter of motion: 'r' retrograde or 'd' direct, from its moment on.
struct MotionMark {
    double jd = 0;
    char letter = 'd';
};

struct GraphBar {
    double start = 0, end = 0;
    double exact = -1;  // first exact moment, -1 when none
    double aspect = 0;
    int partner = 0;                 // PointId
    int level = 0;                   // 0 lowest
    std::vector<MotionMark> motion;  // the letter at the start, then one per station
};

struct GraphLabel {
    int point = 0;  // PointId
    double lon = 0;
    bool retrograde = false;
};

struct ForecastBand {
    GraphLabel label;
    std::vector<GraphBar> bars;
    int maxLevel = 0;
};

// The points that get a band, ascending: the natal points when vertical, else the
// bodies.
std::vector<int> BandPoints(const ForecastOptions& options);
// The points of the legend, the partners of the bars: the bodies when vertical or with
// "Текущие", else the natal points.
std::vector<int> LegendPoints(const ForecastOptions& options);

// The bars of a band point from the hit records, in file order, with their levels.
// Records with a moment that is no number or a point outside 1..27 are skipped.
std::vector<GraphBar> BandBars(const std::vector<HitRecord>& hits, int point,
                               const ForecastOptions& options);
// Each bar starts at level 0 and rises past every earlier bar of its level that it
// overlaps in time; returns the highest level (0 without bars).
int AssignLevels(std::vector<GraphBar>& bars);
// How far above its band's bottom a bar is drawn.
int BarOffset(int level, int maxLevel, int rowPitch);

// Bodies whose motion the bars mark: Mercury to Pluto and Chiron.
bool MarksMotion(int point);
// A body's stations over a span, found once for every bar of the span: its direction
// at the span's start and the stations at real (UT) moments, whatever the method's
// time scale.
struct BodyMotion {
    double from = 0;
    bool retrogradeAtFrom = false;
    std::vector<double> stations;  // ascending
};
BodyMotion FindBodyMotion(Computation& c, int body, double from, double to, int calcMethod,
                          const ChartRecord& natal);
// The letters over [start, end] within the span: the direction at the start, then one
// at every station.
std::vector<MotionMark> MotionMarks(const BodyMotion& motion, double start, double end);

// The chart of the moving points at a UT moment: the window's chart computed by the
// method with every moment of the record set (the nodal chart reads jdCalc).
ChartRecord ChartAtMoment(Computation& c, const ChartRecord& chart, int calcMethod, double t);

struct ForecastModel {
    ChartRecord natal;
    int calcMethod = 1;
    GraphPeriod period;
    ForecastOptions options;
    std::vector<ForecastBand> bands;
    std::vector<GraphLabel> legend;
    double cursor = 0;
};

// Bands, bars and motion marks from the hit records; labels and legend at the cursor.
ForecastModel BuildForecastModel(Computation& c, const std::vector<HitRecord>& hits,
                                 const ChartRecord& natal, int calcMethod,
                                 const GraphPeriod& period, const ForecastOptions& options,
                                 double cursor);
// Moves the cursor: only the labels and the legend change.
void SetForecastCursor(Computation& c, ForecastModel& model, double cursor);

}  // namespace orbeta
