#pragma once
// The asteroid and hypothetical-body tables of a chart: each body's position and the
// sensitive points of the chart within 1 degree of it.
#include <filesystem>
#include <string>
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/computation.h"
#include "interp/report_sink.h"

namespace orbeta {

// The orb of a contact, degrees.
constexpr double kExtraPointOrb = 1.0;

struct ExtraContact {
    int owner = 0;        // PointId of the sensitive point
    double angle = 0;     // its aspect angle
    double distance = 0;  // degrees between the body and the point
};

struct ExtraBody {
    std::string name;        // CP1251: the "ASw" entry, or the hypothetical body's name
    int number = 0;          // ephemeris body number, or 1..8 for the hypothetical bodies
    bool available = false;  // false: no ephemeris data (nothing else is valid)
    double lon = 0, lat = 0;
    std::vector<ExtraContact> contacts;
};

struct AsteroidEntry {
    std::string name;  // the whole entry, as printed
    int number = 0;    // the last token
};

// Entries of an "ASw" text: the last blank-separated token is the body number (a
// library-range id: 16..20 or 10000 + n). Bad entries are journaled and skipped.
std::vector<AsteroidEntry> ParseAsteroidList(const std::string& listText);

// The sensitive points of the chart within kExtraPointOrb of a longitude.
std::vector<ExtraContact> ExtraContacts(const ChartRecord& chart, const OrbTable& table, long maskP,
                                        double lon);

// The asteroids of the list at the chart's jdUT.
std::vector<ExtraBody> ComputeAsteroids(Computation& c, const ChartRecord& chart,
                                        const OrbTable& table, long maskP,
                                        const std::vector<AsteroidEntry>& entries);
// The eight hypothetical bodies at the chart's jdCalc (those without a longitude are
// not available).
std::vector<ExtraBody> ComputeHypotheticalBodies(Computation& c, const ChartRecord& chart,
                                                 const OrbTable& table, long maskP);

// A base whose texts a report can do without: opened when its source or compiled file
// is there (a damaged one still warns), false and no warning when neither is.
bool OpenOptionalTextBase(const std::filesystem::path& stem);

// The tables as the reports print them; the asteroid texts "%d" come from the open base.
void WriteAsteroidTable(const std::vector<ExtraBody>& bodies, ReportSink& sink);
void WriteHypotheticalTable(const std::vector<ExtraBody>& bodies, ReportSink& sink);

}  // namespace orbeta
