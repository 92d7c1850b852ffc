#pragma once
// The tables of the time search: transits to each other, to chosen points, to the
// natal chart and to given longitudes, ingresses, stations and loops, loop aspects
// and returns. Pairs are made from a base chart; the found records are written as
// report text (CP1251).
#include <string>
#include <vector>

#include "core/chart_record.h"
#include "forecast/search_records.h"
#include "forecast/time_search.h"

namespace orbeta {

enum TableKind : int {
    kTableCurrent = 0,  // moving points with each other
    kTableChosen = 1,   // moving points to chosen moving points
    kTableNatal = 2,    // moving points to the base chart
    kTableIngress = 3,  // moving points into signs
    kTablePoints = 4,   // moving points to given longitudes
    kTableLoops = 5,    // stations and loops of a planet
    kTableLoopAspects = 6,
    kTableReturns = 7,
};
constexpr int kTableKindCount = 8;

// Help key of a kind's dialog and report.
const char* TableHelpKey(int kind);

// The request made ready for its kind: which partner moves, exact mode and the single
// angle 0 of ingresses and returns, the orb table's angles in orb mode, method 1 for
// the loop tables, lists cut to their limits. Then the pairs from the base chart.
void PrepareTableRequest(int kind, SearchRequest& request, const OrbTable* orbTable);
std::vector<SearchPair> MakePairs(int kind, const SearchRequest& request, const ChartRecord& base);

// Date and time of a table line: 0 whole, 1 without seconds, other values date only.
std::string DateText(double jd, int precision);
// " %-20.20s (position) ": the moment and the body's longitude then.
std::string PositionStamp(Computation& c, double jd, int body, int precision);
// A period line: entry at column 0, the first exact moment at 22, exit at 43 and the
// description from 64; further exact moments on lines of their own.
std::string PeriodLine(const HitRecord& hit, const std::string& description, int precision);

struct StationRecord {
    double moment = 0;  // JD UT
    double lon = 0;
    bool retrograde = false;  // turns retrograde ("R"); false: turns direct ("D")
};

struct LoopRecord {
    double entry = 0;
    double exit = 0;
    double retrograde = 0;  // moment of the retrograde station
    double direct = 0;      // moment of the direct station
};

// The station inside [lo, hi] of the ephemeris time scale, where the body's speed
// changes sign; vlo is the speed at lo.
double BisectStation(Computation& c, int body, double lo, double hi, double vlo);

// Stations of a body between two real moments (either order), searched in the
// method's time scale and returned as real moments. Returns the body's station class
// when below 2, otherwise 1 when it is retrograde at the start and 0 when direct.
int FindStations(Computation& c, int body, double start, double end, int method,
                 const ChartRecord& base, std::vector<StationRecord>& list);

// The moment within (s - h, s] at which the body's longitude passes x going forwards;
// s when it does not.
double RefineCrossing(Computation& c, int body, double s, double h, double x);

// The loops of a planet over the request's interval from its stations (see kind 5),
// with their text.
std::vector<LoopRecord> FindLoops(Computation& c, int planet, const SearchRequest& request,
                                  std::vector<StationRecord> stations, int precision,
                                  std::string* text);

struct TableResult {
    std::string text;  // CP1251, the report's body after its title lines
    std::vector<HitRecord> hits;
    std::vector<StationRecord> stations;
    std::vector<LoopRecord> loops;
    SearchResult search;
};

// Runs a table: the search into the hit file (its path given), then the text (left
// empty without withText). The request must have been prepared and checked.
TableResult RunTable(Computation& c, int kind, const SearchRequest& request,
                     const ChartRecord& base, const std::filesystem::path& hitFile, int precision,
                     SearchOptions options = {}, bool withText = true);

// The text of the records of a table of kind 0..4 or 7, clipped to the interval.
std::string HitTableText(Computation& c, int kind, const SearchRequest& request,
                         const ChartRecord& base, const std::vector<HitRecord>& hits,
                         int precision);

// The report's title line: the kind's title and the interval's dates.
std::string TableTitleLine(int kind, const SearchRequest& request);

// The table command after its dialog: report, search, text, shown. False when no
// report could be made.
bool RunTableCommand(const ChartContext& context, int kind, const SearchRequest& request,
                     const ChartRecord& base, const std::filesystem::path& hitFile, int precision);

}  // namespace orbeta
