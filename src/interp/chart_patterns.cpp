#include "interp/chart_patterns.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"

namespace orbeta {
namespace {

int Cyclic(int i) {
    return ((i % 10) + 10) % 10;
}

// The figure of the largest gap alone.
int FirstFigure(const std::array<double, 10>& gap, int m, double g) {
    bool bunched = false;
    for (int i = 0; i < 10; ++i) bunched = bunched || gap[Cyclic(i - 1)] + gap[i] < 30.0;
    if (g >= 210) return 1;
    if (g >= 150) return gap[Cyclic(m - 1)] < 60 && gap[Cyclic(m + 1)] < 60 ? 2 : 0;
    if (g >= 110) return 3;
    return bunched ? 4 : 5;
}

int TriangleKind(const std::vector<int>& angles) {
    static const std::vector<int> sets[] = {
        {120}, {90, 180}, {60, 120}, {36, 72, 108, 144}, {180, 120, 60}, {90, 135}, {60, 150}};
    static const int kinds[] = {7, 4, 5, 8, 6, 9, 10};
    for (int s = 0; s < 7; ++s) {
        bool all = std::all_of(angles.begin(), angles.end(), [&](int x) {
            return std::find(sets[s].begin(), sets[s].end(), x) != sets[s].end();
        });
        if (all) return kinds[s];
    }
    return kTriangleKind;
}

// The body opposite angle i of a triangle (the angle from body i to body i + 1) is
// body i + 2.
int Apex(int kind, const std::vector<int>& b, const std::vector<int>& x) {
    for (int i = 0; i < 3; ++i) {
        int j = (i + 1) % 3, k = (i + 2) % 3;
        if (x[i] > x[j] && x[i] > x[k]) return b[k];
    }
    // A Yod and its kin: the two equal, larger aspects meet at the apex.
    if (kind >= 8 && kind <= 10)
        for (int i = 0; i < 3; ++i) {
            int j = (i + 1) % 3, k = (i + 2) % 3;
            if (x[j] == x[k] && x[j] > x[i]) return b[k];
        }
    return 0;
}

}  // namespace

JonesResult JonesFigure(const ChartAnalysis& a) {
    std::array<double, 10> gap{};
    for (int i = 0; i < 10; ++i)
        gap[i] = Normalize(a.sorted[i].second - a.sorted[Cyclic(i - 1)].second);
    gap[0] = a.sorted[0].second + 360.0 - a.sorted[9].second;
    int m = 0;
    for (int i = 1; i < 10; ++i)
        if (gap[i] > gap[m]) m = i;
    int s = -1;
    for (int i = 0; i < 10; ++i)
        if (i != m && (s < 0 || gap[i] > gap[s])) s = i;
    double g = gap[m], g2 = gap[s];
    auto body = [&](int index) { return a.sorted[Cyclic(index)].first; };

    JonesResult r;
    r.figure = FirstFigure(gap, m, g);
    if (r.figure >= 1 && r.figure <= 3) {
        r.begin = body(m);
        r.end = body(m - 1);
    }
    if (g2 <= 60) return r;
    int k = std::abs(m - s);
    k = std::min(k, 10 - k);
    if (k >= 3) return JonesResult{6, {}, 0, 0};
    if (k == 1 && g + g2 > 170) {
        // Body i stands between gap i and gap i + 1.
        int h = Cyclic(m + 1) == s ? m : s;
        return JonesResult{g + g2 >= 210 ? 8 : 7, {body(h)}, body(h + 1), body(h - 1)};
    }
    if (k == 2) {
        int mid = Cyclic(m + 1) == Cyclic(s - 1) ? Cyclic(m + 1) : Cyclic(s + 1);
        if (g + g2 + gap[mid] > 170)
            return JonesResult{9, {body(mid), body(mid - 1)}, body(mid + 1), body(mid - 2)};
    }
    return r;
}

int AspectBetween(const AspectMatrix& m, int body1, int body2) {
    float x = m.At(std::min(body1, body2), std::max(body1, body2));
    if (x >= kNoAspect || !(x >= 0)) return -1;
    return static_cast<int>(std::lround(x));
}

std::vector<AspectConfiguration> AspectConfigurations(const ChartAnalysis& a,
                                                      const AspectMatrix& m) {
    std::vector<AspectConfiguration> list;
    auto id = [&](int i) { return a.sorted[i].first; };
    auto asp = [&](int i, int j) { return AspectBetween(m, id(i), id(j)); };
    for (int i = 0; i < 10; ++i)
        for (int j = i + 1; j < 10; ++j) {
            if (asp(i, j) < 0) continue;
            for (int k = j + 1; k < 10; ++k) {
                if (asp(j, k) < 0) continue;
                if (asp(k, i) >= 0) {
                    AspectConfiguration c;
                    c.bodies = {id(i), id(j), id(k)};
                    c.angles = {asp(i, j), asp(j, k), asp(k, i)};
                    c.kind = TriangleKind(c.angles);
                    c.apex = Apex(c.kind, c.bodies, c.angles);
                    list.push_back(c);
                }
                for (int l = k + 1; l < 10; ++l) {
                    if (asp(k, l) < 0 || asp(l, i) < 0) continue;
                    AspectConfiguration c;
                    c.bodies = {id(i), id(j), id(k), id(l)};
                    c.angles = {asp(i, j), asp(j, k), asp(k, l), asp(l, i)};
                    bool cross = std::all_of(c.angles.begin(), c.angles.end(),
                                             [](int x) { return x == 90; });
                    c.kind = cross ? kGrandCrossKind : kQuadrangleKind;
                    list.push_back(c);
                }
            }
        }
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& x, const auto& y) { return x.kind < y.kind; });
    return list;
}

int ChainSuccessor(int mode, int sign) {
    static const int classical[12] = {5, 4, 3, 2, 1, 3, 4, 5, 6, 7, 7, 6};
    int s = (mode & 2) ? (sign + 5) % 12 : sign - 1;  // 0-based sign whose ruler is taken
    return (mode & 1) ? SignRuler(s) : classical[s];
}

ChainResult Chains(int mode, const ChartAnalysis& a) {
    ChainResult r;
    r.bodies = (mode & 1) ? 10 : 7;
    r.chain.assign(r.bodies + 1, 0);
    for (int start = 1; start <= r.bodies; ++start) {
        if (r.chain[start] != 0) continue;
        int number = r.Count() + 1;
        std::vector<int> walk;
        int b = start;
        while (r.chain[b] == 0) {
            r.chain[b] = number;
            walk.push_back(b);
            b = ChainSuccessor(mode, a.sign[b]);
        }
        if (r.chain[b] == number) {
            auto from = std::find(walk.begin(), walk.end(), b);
            r.centres.emplace_back(from, walk.end());
        } else {
            for (int w : walk) r.chain[w] = r.chain[b];
        }
    }
    return r;
}

}  // namespace orbeta
