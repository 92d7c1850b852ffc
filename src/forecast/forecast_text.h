#pragma once
// The forecast report's text: a heading and a period line per record, with the house
// links on request, and the key under which the record's interpretation is stored.
#include <functional>
#include <string>
#include <vector>

#include "forecast/forecast.h"

namespace orbeta {

// The key of a record's text in the forecast base ("p06n01a090", "Rp02z05", "S+P05");
// empty for a record of no forecast type.
std::string ForecastKey(const HitRecord& record);

// Every key a run with these masks and aspect angles can look up, sorted.
std::vector<std::string> ForecastKeys(const ForecastMasks& masks,
                                      const std::vector<double>& transitAngles,
                                      const std::vector<double>& progressionAngles,
                                      const std::vector<double>& directionAngles);

// Whether a record read back from the hit file can be written: a forecast type, points
// (houses, signs) in range, at most three exact moments, finite moments.
bool ForecastRecordUsable(const HitRecord& record);

// "У%d " for each natal cusp in a sign the body rules, then "Д%d " with its natal house.
std::string RulershipText(const ChartRecord& natal, int body);

// Link A ("(" rulership, the house at the record's start and, when other, at its end
// ")") and link B (types 1, 2, 130: "(" rulership or " %d" with the house ")").
std::string LinkA(Computation& c, const ChartRecord& natal, const HitRecord& record);
std::string LinkA(PointSampler& sampler, const ChartRecord& natal, const HitRecord& record);
// Whether a record's heading has link A (not the Moon's signs, not eclipses).
bool HasLinkA(const HitRecord& record);
std::string LinkB(const ChartRecord& natal, const HitRecord& record);

// The heading line of a record, with its line feed (links empty when not asked for).
std::string ForecastHeading(Computation& c, const ChartRecord& natal, const HitRecord& record,
                            bool houseLinks);
// The same with the links given.
std::string ForecastHeading(Computation& c, const HitRecord& record, const std::string& linkA,
                            const std::string& linkB);

// The period line: entry, first exact moment and exit in local time (moment −
// correction), further exact moments on lines of their own; no trailing blanks.
std::string ForecastPeriodLine(const HitRecord& record, double correction, int precision);

struct ForecastEntry {
    HitRecord record;
    std::string key;
    std::string heading;  // with its leading blank and line feed
    std::string period;
};

// The entries of a run's records in file order, unusable records left out.
std::vector<ForecastEntry> ForecastEntries(Computation& c, const ChartRecord& natal,
                                           const ForecastRequest& request,
                                           const std::vector<HitRecord>& records, int precision);

// The title line: " name date-time\n Прогноз  dd.mm.yyyy - dd.mm.yyyy" (typed dates).
std::string ForecastTitleLine(const ChartRecord& natal, const ForecastRequest& request);

// Writes the report's body into the report being written (report.h): the eclipse list
// and an empty line when eclipses were asked for, then every entry; with texts, the
// text of the entry's key through printText (true when the key had a text).
// Returns, by entry, whether a text was printed.
using ForecastTextPrinter = std::function<bool(const std::string& key)>;
std::vector<bool> WriteForecastReport(Computation& c, const ForecastRequest& request,
                                      const ForecastRun& run,
                                      const std::vector<ForecastEntry>& entries,
                                      const ForecastTextPrinter& printText);

}  // namespace orbeta
