#pragma once
// Rule lines of event types. A rule line reads "moving points : aspect angles : target
// points = weight": moving points are point codes with the letters of the charts they
// move in (T transits, P progressions, D directions), targets are natal points (a code
// without "-") or points of the moving charts at the event's date.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart_record.h"

namespace orbeta {

// Chart kinds: the moving charts, then the natal chart as a target kind.
enum RuleKind : int { kRuleTransit = 0, kRuleProgression = 1, kRuleDirection = 2, kRuleNatal = 3 };
constexpr int kMovingKinds = 3;
constexpr int kTargetKinds = 4;

// Slots of rule points: bodies 1..15, cusps 16..27, sign beginnings 28..39.
constexpr int kRuleSlots = 39;
constexpr int kFirstSignSlot = 28;

struct RulePoint {
    enum Type { Unknown, Slot, Ruler, InHouse };
    Type type = Unknown;
    int n = 0;           // the slot, or the house 1..12 of a ruler or of bodies in it
    unsigned kinds = 0;  // bit k: counts for chart kind k
};

struct Rule {
    bool complete = false;   // three ":"-parts or more
    bool weightRead = true;  // no "=", or a number after it
    double weight = 1.0;
    std::vector<double> angles;
    std::vector<RulePoint> moving;
    std::vector<RulePoint> targets;
    // Needs repair: fewer than three parts, or a weight that is not a number.
    bool Malformed() const { return !complete || !weightRead; }
};

// Capitals of Latin letters and of Cyrillic а..я (CP1251).
std::string RuleCapitals(std::string_view text);

// One rule line (CP1251); any text is read.
Rule ParseRule(std::string_view line);

// The code of one point, "SU".."LI", "1".."12", "A"n, "H"n, "Z"n (capitals).
RulePoint ParsePointCode(std::string_view code);

// How often each slot is named, per chart kind, with rulers and house occupants
// resolved in the natal chart (bodies of bodyMask only, bit b − 1 for body b).
using SlotCounts = std::array<std::array<int, kRuleSlots + 1>, kTargetKinds>;
void CountSlots(const std::vector<RulePoint>& points, const ChartRecord& natal, long bodyMask,
                SlotCounts& counts);

struct RulePair {
    int moving = 0;  // RuleKind of the moving chart
    int target = 0;  // RuleKind of the target chart
    int i = 0;       // moving slot 1..27
    int j = 0;       // target slot 1..39
    double weight = 0;
};

// Every pair of a rule for one natal chart.
std::vector<RulePair> RulePairs(const Rule& rule, const ChartRecord& natal, long bodyMask);

}  // namespace orbeta
