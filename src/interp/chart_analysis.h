#pragma once
// What the interpretation reports know of a chart before they print: signs and houses
// of the bodies, the dignity of each body in its sign, the balance of elements and
// crosses, and the ten bodies in zodiac order.
#include <array>
#include <utility>
#include <vector>

#include "core/chart_record.h"

namespace orbeta {

// Signs 1..12 from Aries; element (s − 1) mod 4 (fire, earth, air, water), cross
// (s − 1) mod 3 (cardinal, fixed, mutable), level (s − 1) div 4.
inline int ElementOfSign(int sign) {
    return (sign - 1) % 4;
}
inline int CrossOfSign(int sign) {
    return (sign - 1) % 3;
}
inline int LevelOfSign(int sign) {
    return (sign - 1) / 4;
}

// Houses are not computed in this system.
constexpr int kNoHousesSystem = 8;

// The bodies of one element or cross: n10 of bodies 1..10, n7 of 1..7, n5 of 1..5;
// l = 1 when the Sun is there plus 2 when the Moon is; h = 1 when the Sun's house,
// taken as a sign, is there (only with houses).
struct GroupCounts {
    int n10 = 0, n7 = 0, n5 = 0, l = 0, h = 0;
};

struct ChartAnalysis {
    ChartRecord chart;
    bool houses = false;
    std::array<int, 16> sign{};      // by BodyId 1..15: 1..12
    std::array<int, 16> house{};     // by BodyId 1..15: 1..12, 0 when no cusp arc holds it
    std::array<int, 13> cuspSign{};  // by house 1..12
    std::array<int, 3> energy{};     // dignity sums: all 1..10, personal 1..5, social 6..10
    std::array<std::pair<int, double>, 10> sorted{};  // (BodyId, longitude) ascending
    std::array<GroupCounts, 4> elements{};
    std::array<GroupCounts, 3> crosses{};
};

ChartAnalysis AnalyseChart(const ChartRecord& chart);

// Dignity weight of body 1..10 in sign 1..12: 6 domicile, 5 exaltation, 0 detriment,
// 1 fall, the others between.
int Dignity(int body, int sign);

// Counts of an element (cross false, group 0..3) or of a cross (cross true, 0..2).
GroupCounts ElementCrossCounts(const ChartAnalysis& a, bool cross, int group);

// Synthetic signs 0..11 from the counts per cross and per element: none when more than
// three groups share the maxima, else one or two.
std::vector<int> SyntheticSign(const std::array<int, 3>& crosses,
                               const std::array<int, 4>& elements);

}  // namespace orbeta
