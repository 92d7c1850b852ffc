#include "interp/chart_analysis.h"

#include <algorithm>

#include "core/angles.h"

namespace orbeta {

int Dignity(int body, int sign) {
    static const int table[12][10] = {
        {5, 3, 2, 0, 6, 4, 1, 2, 4, 6}, {3, 5, 4, 6, 0, 2, 4, 1, 2, 0},
        {2, 3, 6, 4, 2, 0, 4, 4, 0, 2}, {3, 6, 2, 2, 1, 5, 0, 0, 4, 4},
        {6, 3, 2, 2, 4, 4, 0, 0, 1, 5}, {3, 2, 6, 1, 2, 0, 4, 4, 0, 2},
        {1, 3, 4, 6, 0, 2, 5, 4, 2, 0}, {3, 1, 2, 0, 6, 4, 2, 5, 4, 6},
        {4, 3, 0, 2, 4, 6, 2, 2, 6, 4}, {3, 0, 4, 4, 5, 1, 6, 6, 2, 2},
        {0, 3, 4, 4, 2, 2, 6, 6, 5, 1}, {3, 4, 0, 5, 4, 6, 2, 2, 6, 4},
    };
    if (body < 1 || body > 10 || sign < 1 || sign > 12) return 0;
    return table[sign - 1][body - 1];
}

GroupCounts ElementCrossCounts(const ChartAnalysis& a, bool cross, int group) {
    auto groupOf = [cross](int sign) { return cross ? CrossOfSign(sign) : ElementOfSign(sign); };
    GroupCounts g;
    for (int b = 1; b <= 10; ++b) {
        if (groupOf(a.sign[b]) != group) continue;
        ++g.n10;
        if (b <= 7) ++g.n7;
        if (b <= 5) ++g.n5;
        if (b <= 2) g.l += b;
    }
    if (a.houses && a.house[1] >= 1 && groupOf(a.house[1]) == group) g.h = 1;
    return g;
}

ChartAnalysis AnalyseChart(const ChartRecord& chart) {
    ChartAnalysis a;
    a.chart = chart;
    a.houses = chart.houseSystem != kNoHousesSystem;
    for (int b = 1; b <= 15; ++b) {
        a.sign[b] = SignOf(Normalize(chart.lon[b])) + 1;
        a.house[b] = a.houses ? HouseOf(chart.lon[b], chart.cusp) : 0;
    }
    for (int h = 1; h <= 12; ++h) a.cuspSign[h] = SignOf(Normalize(chart.cusp[h])) + 1;
    for (int b = 1; b <= 10; ++b) {
        int d = Dignity(b, a.sign[b]);
        a.energy[0] += d;
        a.energy[b <= 5 ? 1 : 2] += d;
        a.sorted[b - 1] = {b, Normalize(chart.lon[b])};
    }
    // Equal longitudes: the higher BodyId first.
    std::sort(a.sorted.begin(), a.sorted.end(), [](const auto& x, const auto& y) {
        return x.second != y.second ? x.second < y.second : x.first > y.first;
    });
    for (int e = 0; e < 4; ++e) a.elements[e] = ElementCrossCounts(a, false, e);
    for (int c = 0; c < 3; ++c) a.crosses[c] = ElementCrossCounts(a, true, c);
    return a;
}

std::vector<int> SyntheticSign(const std::array<int, 3>& crosses,
                               const std::array<int, 4>& elements) {
    auto maxima = [](const auto& counts) {
        int top = *std::max_element(counts.begin(), counts.end());
        std::vector<int> at;
        for (int i = 0; i < static_cast<int>(counts.size()); ++i)
            if (counts[i] == top) at.push_back(i);
        return at;
    };
    std::vector<int> c = maxima(crosses), e = maxima(elements);
    if (c.size() + e.size() > 3) return {};
    auto sign = [](int cross, int element) { return (4 * cross + 9 * element) % 12; };
    std::vector<int> signs{sign(c[0], e[0])};
    if (e.size() == 2)
        signs.push_back(sign(c[0], e[1]));
    else if (c.size() == 2)
        signs.push_back(sign(c[1], e[0]));
    return signs;
}

}  // namespace orbeta
