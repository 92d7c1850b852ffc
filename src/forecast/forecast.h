#pragma once
// The forecast of a natal chart over a period: transits and progressions found by the
// time search in orb mode, directions in closed form, eclipses from the eclipse
// finder, all gathered as hit records in allob.tmp and sorted by time.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/computation.h"
#include "forecast/eclipses.h"
#include "forecast/search_records.h"
#include "forecast/time_search.h"

namespace orbeta {

// The methods, by bit of the methods mask (the order of the dialog's boxes).
enum ForecastMethod : int {
    kForecastTransits = 0,
    kForecastProgressions = 1,
    kForecastDirections = 2,
    kForecastTransitHouses = 3,
    kForecastProgressedHouses = 4,
    kForecastMoonSigns = 5,
    kForecastEclipses = 6,
};
constexpr int kForecastMethodCount = 7;

// Pair types of the records a forecast writes.
enum ForecastRecordType : uint8_t {
    kTransitRecord = 1,
    kProgressionRecord = 2,
    kTransitHouseRecord = 3,
    kProgressedHouseRecord = 4,
    kMoonSignRecord = 5,
    kDirectionRecord = 130,
    kEclipseRecord = 140,
};

// The option byte (element 6 of the profile's options).
constexpr int kOptForecast = 6;
constexpr uint8_t kForecastWithTexts = 1;   // "С текстами"
constexpr uint8_t kForecastHouseLinks = 2;  // "Связь с домами"

// The five masks of the profile's "LP", in its order; bit p − 1 for PointId p.
struct ForecastMasks {
    uint32_t natal = 0;
    uint32_t methods = 0;  // bit of ForecastMethod
    uint32_t transit = 0;  // bodies only
    uint32_t progressed = 0;
    uint32_t directed = 0;
};

// The shipped choice: natal, progressed and directed SUN..PLT, ASC, MC; every method;
// transits of SUN and MER..PLT (the Moon would fill a year's report by itself).
constexpr uint32_t kForecastPlanetsAndAngles = 16811007;
constexpr uint32_t kForecastAllMethods = 127;
constexpr uint32_t kForecastTransitBodies = 1021;
constexpr ForecastMasks kShippedForecastMasks = {kForecastPlanetsAndAngles, kForecastAllMethods,
                                                 kForecastTransitBodies, kForecastPlanetsAndAngles,
                                                 kForecastPlanetsAndAngles};

// Influence of eclipses in days and their orbs by PointId − 1; index 0 solar, 1 lunar.
struct EclipseInfluence {
    double before[2] = {180, 90};
    double after[2] = {180, 90};
    std::array<double, kPointCount> orbs[2];
};

struct ForecastRequest {
    double start = 0;       // JD of the period's beginning as typed (local time)
    double end = 0;         // its end
    double correction = 0;  // days added to the typed moments to give UT
    ForecastMasks masks;
    uint8_t options = 0;  // kForecastWithTexts, kForecastHouseLinks
    OrbTable transitOrbs, progressionOrbs, directionOrbs;  // without switched-off aspects
    EclipseInfluence eclipses;

    bool Uses(int method) const { return (masks.methods >> method) & 1u; }
};

// What cannot be run: a Russian message (CP1251), empty when it can. A period that
// ends at or before its beginning is refused ("N>K").
std::string CheckForecastRequest(const ForecastRequest& request);

// The days a year of directions takes: one degree a year.
constexpr double kDirectionYear = 365.2421;

struct ForecastRun {
    bool ok = false;    // false: the hit file could not be written (error says so)
    std::string error;  // CP1251
    std::vector<EclipseRecord> eclipses;  // the list written before the records
    std::vector<HitRecord> records;       // as sorted into the hit file
    SearchResult transits, progressions;
};

// Runs every method of the request for the natal chart into the hit file, sorted
// (start ascending, equal starts the larger moving point first) and rewritten.
// Stopping a search ends that search only: what it found stays, the others run.
ForecastRun RunForecast(Computation& c, const ForecastRequest& request, const ChartRecord& natal,
                        const std::filesystem::path& hitFile, SearchOptions options = {});

// The pairs of each search (exposed for the tests and the benchmark).
std::vector<SearchPair> TransitPairs(const ForecastRequest& request, const ChartRecord& natal);
std::vector<SearchPair> ProgressionPairs(const ForecastRequest& request, const ChartRecord& natal);
// The directions, in closed form, of the UT period [start, end].
std::vector<HitRecord> DirectionRecords(const ForecastRequest& request, const ChartRecord& natal,
                                        double start, double end);
// The records of the eclipses of a list that touch the natal points.
std::vector<HitRecord> EclipseRecords(Computation& c, const ForecastRequest& request,
                                      const ChartRecord& natal,
                                      const std::vector<EclipseRecord>& eclipses);
// The windows searched for eclipses of each kind, so that every eclipse whose
// influence [moment − before, moment + after] meets the UT period is found.
void EclipseSearchWindow(const EclipseInfluence& influence, int kind, double start, double end,
                         double& from, double& to);

// The middle of natal house 1..12 and half its width.
void HouseMiddle(const ChartRecord& natal, int house, double& middle, double& halfWidth);

// Whether a natal point has a place (an absent hypothetical body has none).
bool PointPresent(const ChartRecord& chart, int pointId);

}  // namespace orbeta
