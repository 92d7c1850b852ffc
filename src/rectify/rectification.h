#pragma once
// Rectification: a candidate birth time steps through an interval; for each candidate
// the natal chart is computed, and for each dated event of the person the transit,
// progressed and directed charts at the event's date. Every rule of an event whose
// aspect is within orb adds its weight to the candidate's score.
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/computation.h"
#include "rectify/event_file.h"
#include "rectify/rules.h"

namespace orbeta {

struct RectifyParams {
    double startLocal = 0;  // local Julian days of the first and last candidates
    double endLocal = 0;
    double stepSeconds = 60;
    double correction = 0;  // days added to local time to give UT
    unsigned methods = 7;   // bit k: RuleKind k (transits, progressions, directions) used
    long bodyMask = 1023;   // bodies that house occupants (Hn) are taken from
    bool report = false;    // write the report text
    int threshold = 10;     // candidates listed at least
    // Orb tables of transits, progressions and directions (by RuleKind).
    std::array<OrbTable, kMovingKinds> orbs;
    // Where the event file came from, for the warnings (CP1251).
    std::string eventFileName;
    // Called after each candidate; a true return stops the run after it.
    std::function<bool(int done, int total)> progress;
};

// Scores of one candidate: the record of the result file.
struct CandidateScore {
    double jdUT = 0;
    double jdLocal = 0;
    double total = 0;                          // S
    std::array<double, kMovingKinds> parts{};  // T, P, D
    int eventsHit = 0;
};

// An event with its rules read once and its moment in UT.
struct PreparedEvent {
    DatedEvent event;
    double jdUT = 0;
    std::vector<Rule> rules;
    ChartRecord transit;  // transits do not depend on the candidate
};

struct RectifyResult {
    bool ok = false;
    std::string error;  // CP1251, when not ok
    bool aborted = false;
    int total = 0;                           // candidates of the interval
    std::vector<CandidateScore> candidates;  // scored ones, in time order
    double best = 1;          // the best total, 1 when it is 0 (the scale of the graph)
    std::vector<int> listed;  // the report's list, best first
    std::vector<PreparedEvent> events;
    std::string report;  // CP1251: the body of the report when asked for
};

// Candidates from start to end at the step: floor((end − start) / step) + 1, never a
// candidate past the end.
int CandidateCount(double startLocal, double endLocal, double stepSeconds);

// The listing of the report: by total, best first, equal totals the later first; at
// least `threshold` and then those equal to the last listed.
std::vector<int> ListedCandidates(const std::vector<CandidateScore>& candidates, int threshold);

// Adds the hits of one event to the score; true when it had a hit. moving[k] is the
// chart of RuleKind k at the event's date (nullptr for a kind not used).
bool ScoreEvent(const PreparedEvent& event,
                const std::array<const ChartRecord*, kMovingKinds>& moving,
                const ChartRecord& natal, const RectifyParams& params, CandidateScore& score,
                std::string* report);

// Scores one computed natal chart against every event; returns the events hit.
int ScoreCandidate(Computation& c, const RectifyParams& params, std::vector<PreparedEvent>& events,
                   const ChartRecord& natal, CandidateScore& score, std::string* report);

// Runs the candidates of the interval. `natal` gives the place, correction and house
// system of every candidate. Refusals (bad interval, no events, no moving cusps) come
// back as the result's error; warnings about the event file go to the diagnostics.
// With a result path, each candidate's record is written as it is scored.
RectifyResult RunRectification(Computation& c, const RectifyParams& params, const EventFile& events,
                               const ChartRecord& natal,
                               const std::filesystem::path& resultFile = {});

// The result file: 32 bytes per candidate, the little-endian doubles S, T, P, D.
constexpr int kResultRecordSize = 32;
std::string ResultRecordBytes(const CandidateScore& score);
// The record of candidate k; false when the file holds none.
bool ReadResultRecord(const std::filesystem::path& path, int k, CandidateScore& score);

// The correction in hours as the dialog shows it: as many decimals as needed, at most
// four, so that reading it back gives the chart's correction (5.75, -2.0344, 3).
std::string CorrectionHoursText(double hours);

// "DD.MM.YYYY HH:MM:SS" of a local moment.
std::string CandidateTimeText(double jdLocal);

}  // namespace orbeta
