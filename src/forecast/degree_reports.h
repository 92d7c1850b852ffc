#pragma once
// Reports on the sensitive degrees of one chart: the texts of the degrees its points
// occupy (grad_ch.ctl), its points' conjunctions with fixed stars (star.ctl), the lots
// of chreb.ctl and the midpoints of its points. Each takes the control file's text
// (already converted to CP1251; nullopt when the file could not be opened), returns its
// findings, and writes the body of its report from them. A damaged line of a file is
// told in the report and the rest goes on.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/fixed_star.h"

namespace orbeta {

// The control files, in the working directory.
inline constexpr const char* kDegreeTextFile = "grad_ch.ctl";
inline constexpr const char* kStarTextFile = "star.ctl";
inline constexpr const char* kLotFile = "chreb.ctl";

// A control file as CP1251 text: nullopt when it cannot be read.
std::optional<std::string> ReadControlFile(const std::string& path);

// The points a report examines: 1..15, or 1..27 when the chart has houses; a body
// counts when it is on in maskP and has a position, a cusp always.
std::vector<int> ExaminedPoints(const ChartRecord& chart, long maskP);

// ---- Degree texts -------------------------------------------------------------------

struct DegreeTextBlock {
    int degree = 0;                  // 0..359
    std::vector<int> points;         // PointIds whose whole degree is this one
    std::vector<std::string> lines;  // the block's text
};

struct DegreeTextResult {
    bool opened = false;
    std::vector<DegreeTextBlock> blocks;  // only blocks with points
    std::vector<std::string> messages;    // damaged lines, CP1251
};

DegreeTextResult ComputeDegreeTexts(const ChartRecord& chart, long maskP,
                                    const std::optional<std::string>& file);
std::string DegreeTextReport(const DegreeTextResult& result);

// ---- Star conjunctions ----------------------------------------------------------------

struct StarHit {
    int point = 0;
    double diff = 0;  // point − star, degrees in [−180, 180)
};

struct StarBlock {
    StarEntry star;  // name converted to CP1251
    StarPosition position;
    std::vector<StarHit> hits;
    std::vector<std::string> lines;
};

struct StarReportResult {
    bool opened = false;
    double jdUT = 0;
    double jdLocal = 0;
    std::vector<StarBlock> stars;  // every star of the file
    std::vector<std::string> messages;
};

// Orb of a conjunction with a star and of the lot and midpoint contacts.
inline constexpr double kDegreeReportOrb = 1.0;

StarReportResult ComputeStarConjunctions(const ChartRecord& chart, long maskP,
                                         const std::optional<std::string>& file);
std::string StarConjunctionReport(const StarReportResult& result);

// ---- Lots -----------------------------------------------------------------------------

struct LotHit {
    int point = 0;
    double orb = 0;  // unsigned distance
};

struct Lot {
    int line = 0;         // 1-based line of the file
    char sex = ' ';       // 'M', 'F', or anything else for both
    std::string formula;  // the line from column 3: formula and name
    double lon = 0;
    std::vector<LotHit> hits;
};

struct LotError {
    int line = 0;
    std::string text;     // the whole line
    std::string symbol;   // the unknown symbol or operator
    bool noData = false;  // a body of the formula has no position
};

struct LotResult {
    bool opened = false;
    bool houses = true;  // false: the chart has none, nothing is computed
    bool night = false;
    // In file order; each line gives a lot or an error.
    struct Entry {
        bool isLot = true;
        Lot lot;
        LotError error;
    };
    std::vector<Entry> entries;
};

// Longitude of a lot symbol's position k in "Sym": PointId k for k <= 27, the ruler of
// house k − 27 for 28..39. nullopt for a body without a position or k out of range.
std::optional<double> LotSymbolLongitude(const ChartRecord& chart, int k);
// A night chart has its Sun in houses 1..6.
bool NightChart(const ChartRecord& chart);

LotResult ComputeLots(const ChartRecord& chart, long maskP, const std::optional<std::string>& file);
std::string LotReport(const LotResult& result);

// ---- Midpoints ------------------------------------------------------------------------

struct MidpointHit {
    int owner = 0;  // PointId, or 28..39 for a sign start
    double position = 0;
    double angle = 0;
    double orb = 0;
};

struct MidpointEntry {
    int a = 0, b = 0;  // PointIds (bodies, Asc 16, MC 25)
    double lon = 0;
    std::vector<MidpointHit> hits;
};

std::vector<MidpointEntry> ComputeMidpoints(const ChartRecord& chart, const OrbTable& table,
                                            long maskP);
std::string MidpointReport(const std::vector<MidpointEntry>& entries);

}  // namespace orbeta
