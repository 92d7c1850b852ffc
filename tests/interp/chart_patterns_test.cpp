// The chart analysis of the interpretation reports: Jones figures, aspect
// configurations, rulership chains, energy bands, and the keys a report looks up.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

#include "aspects/aspect_matrix.h"
#include "interp/chart_analysis.h"
#include "interp/chart_patterns.h"
#include "interp/interpretation.h"
#include "interp/report_sink.h"

namespace orbeta {
namespace {

ChartRecord ChartOf(const std::vector<double>& lon, int houseSystem = kNoHousesSystem) {
    ChartRecord c;
    c.houseSystem = static_cast<int16_t>(houseSystem);
    for (size_t i = 0; i < lon.size(); ++i) c.lon[i + 1] = lon[i];
    for (int b = 1; b <= 15; ++b) c.speed[b] = 1;  // a body at 0° with no motion is "not given"
    for (int h = 1; h <= 12; ++h) c.cusp[h] = 30.0 * (h - 1);
    return c;
}

ChartRecord ChartInSigns(const std::vector<int>& signs) {
    std::vector<double> lon;
    for (int s : signs) lon.push_back(30.0 * (s - 1) + 15.0);
    return ChartOf(lon);
}

TEST(JonesFigure, EachFigureWithItsBodies) {
    struct Case {
        std::vector<double> lon;
        int figure;
        std::vector<int> handle;
        int begin, end;
    };
    const Case cases[] = {
        {{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}, 1, {}, 1, 10},
        {{0, 20, 40, 60, 80, 100, 120, 140, 160, 180}, 2, {}, 1, 10},
        {{0, 25, 50, 75, 100, 125, 150, 175, 200, 225}, 3, {}, 1, 10},
        {{0, 5, 10, 50, 90, 130, 170, 210, 250, 300}, 4, {}, 0, 0},
        {{0, 36, 72, 108, 144, 180, 216, 252, 288, 324}, 5, {}, 0, 0},
        {{0, 10, 20, 30, 40, 180, 190, 200, 210, 220}, 6, {}, 0, 0},
        {{0, 20, 40, 60, 80, 100, 120, 140, 160, 260}, 7, {10}, 1, 9},
        {{0, 15, 30, 45, 60, 75, 90, 105, 120, 240}, 8, {10}, 1, 9},
        {{0, 20, 40, 60, 80, 100, 120, 140, 220, 240}, 9, {10, 9}, 1, 8},
        // Largest gap 150..210 with a gap of 60 beside it: no figure.
        {{0, 15, 30, 45, 60, 75, 90, 105, 120, 180}, 0, {}, 0, 0},
    };
    for (const auto& c : cases) {
        JonesResult j = JonesFigure(AnalyseChart(ChartOf(c.lon)));
        EXPECT_EQ(j.figure, c.figure) << "figure " << c.figure;
        EXPECT_EQ(j.handle, c.handle) << "figure " << c.figure;
        EXPECT_EQ(j.begin, c.begin) << "figure " << c.figure;
        EXPECT_EQ(j.end, c.end) << "figure " << c.figure;
    }
}

TEST(JonesFigure, BunchAcrossAriesCounts) {
    std::vector<double> lon{5, 45, 85, 125, 165, 205, 245, 285, 350, 355};
    for (double turn : {0.0, 20.0, 180.0}) {
        std::vector<double> turned;
        for (double x : lon) turned.push_back(std::fmod(x + turn, 360.0));
        EXPECT_EQ(JonesFigure(AnalyseChart(ChartOf(turned))).figure, 4) << turn;
    }
}

TEST(AspectConfigurations, TriangleKindsAndApices) {
    struct Case {
        int a12, a23, a13;
        int kind, apex;
    };
    const Case cases[] = {
        {120, 120, 120, 7, 0}, {90, 90, 180, 4, 2},  {60, 60, 120, 5, 2},  {72, 72, 144, 8, 2},
        {72, 144, 144, 8, 3},  {60, 120, 180, 6, 2}, {90, 135, 135, 9, 3}, {150, 60, 150, 10, 1},
        {60, 90, 150, 1, 2},   {90, 90, 90, 4, 0},
    };
    std::vector<double> lon{10, 20, 30, 100, 130, 160, 190, 220, 250, 280};
    for (const auto& c : cases) {
        AspectMatrix m;
        m.Set(1, 2, c.a12);
        m.Set(2, 3, c.a23);
        m.Set(1, 3, c.a13);
        auto list = AspectConfigurations(AnalyseChart(ChartOf(lon)), m);
        ASSERT_EQ(list.size(), 1u) << c.a12 << " " << c.a23 << " " << c.a13;
        EXPECT_EQ(list[0].kind, c.kind) << c.a12 << " " << c.a23 << " " << c.a13;
        EXPECT_EQ(list[0].apex, c.apex) << c.a12 << " " << c.a23 << " " << c.a13;
        EXPECT_EQ(list[0].angles, (std::vector<int>{c.a12, c.a23, c.a13}));
    }
}

TEST(AspectConfigurations, GrandCrossHoldsFourTSquares) {
    AspectMatrix m;
    const std::tuple<int, int, int> cells[] = {{1, 2, 90}, {2, 3, 90},  {3, 4, 90},
                                               {1, 4, 90}, {1, 3, 180}, {2, 4, 180}};
    for (auto [p, q, angle] : cells) m.Set(p, q, static_cast<float>(angle));
    // The lower triangle holds separations, never read as aspects.
    m.Set(5, 1, 0);
    auto list = AspectConfigurations(
        AnalyseChart(ChartOf({0, 90, 180, 270, 45, 50, 55, 140, 145, 150})), m);
    std::vector<int> kinds;
    for (const auto& c : list) kinds.push_back(c.kind);
    EXPECT_EQ(kinds, (std::vector<int>{3, 4, 4, 4, 4}));
    EXPECT_EQ(list[0].bodies, (std::vector<int>{1, 2, 3, 4}));
}

TEST(Chains, CentresOfRulershipAndExile) {
    struct Case {
        int mode;
        std::vector<int> signs;
        std::vector<std::vector<int>> centres;
    };
    const Case cases[] = {
        // Everything in Leo: the Sun rules itself.
        {1, {5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, {{1}}},
        // Sun in Cancer and Moon in Leo receive each other.
        {1, {4, 5, 5, 5, 5, 5, 5, 5, 5, 5}, {{1, 2}}},
        // Sun, Mercury and Venus each at home: three chains.
        {1, {5, 5, 3, 2, 5, 5, 5, 5, 5, 5}, {{1}, {3}, {4}}},
        // Septenary: Saturn in Aquarius is at home by the classical rulers.
        {0, {11, 11, 11, 11, 11, 11, 11, 1, 1, 1}, {{7}}},
        // Exile: the Sun in Aquarius is ruled by the ruler of Leo, itself.
        {3, {11, 11, 11, 11, 11, 11, 11, 11, 11, 11}, {{1}}},
    };
    for (const auto& c : cases) {
        ChainResult r = Chains(c.mode, AnalyseChart(ChartInSigns(c.signs)));
        EXPECT_EQ(r.centres, c.centres) << "mode " << c.mode;
        for (int b = 1; b <= r.bodies; ++b) EXPECT_GE(r.chain[b], 1);
    }
}

std::vector<std::string> KeysOf(const ChartRecord& chart, int kind, unsigned options,
                                const AspectMatrix& m = {}) {
    InterpretationInput in{kind, chart, m, {}, options};
    ReportSink sink;
    WriteInterpretation(in, sink);
    std::vector<std::string> keys;
    for (const auto& k : sink.Keys()) keys.push_back(k.key);
    return keys;
}

TEST(NatalReport, EnergyBandsAtEachThreshold) {
    struct Case {
        std::vector<int> signs;
        std::vector<std::string> keys;  // all (19 .. 36), personal, social
    };
    const Case cases[] = {
        {{11, 8, 9, 7, 6, 12, 4, 9, 3, 3}, {"W0b0", "W1b0", "W2b1"}},
        {{5, 8, 8, 6, 2, 10, 12, 12, 11, 2}, {"W0b1", "W1b1", "W2b1"}},
        {{9, 5, 2, 4, 2, 7, 7, 3, 2, 11}, {"W0b1", "W1b1", "W2b2"}},
        {{6, 9, 11, 8, 9, 7, 9, 3, 12, 7}, {"W0b2", "W1b2", "W2b2"}},
        {{1, 10, 7, 5, 3, 2, 8, 11, 5, 1}, {"W0b2", "W1b1", "W2b3"}},
        {{4, 11, 12, 9, 8, 4, 9, 11, 1, 7}, {"W0b3", "W1b2", "W2b3"}},
        {{6, 9, 12, 10, 12, 4, 7, 8, 3, 8}, {"W0b3", "W1b2", "W2b4"}},
        {{10, 11, 7, 10, 4, 8, 2, 11, 7, 5}, {"W0b4", "W1b2", "W2b4"}},
    };
    for (const auto& c : cases) {
        auto keys = KeysOf(ChartInSigns(c.signs), kNatalInterpretation, kOptEnergy);
        std::vector<std::string> expected{"0"};
        expected.insert(expected.end(), c.keys.begin(), c.keys.end());
        EXPECT_EQ(keys, expected);
    }
}

TEST(NatalReport, BodiesAndAspectsFollowTheirBoxAlone) {
    ChartRecord chart = ChartInSigns({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    chart.lon[11] = 200;
    auto bodies = KeysOf(chart, kNatalInterpretation, kOptBodies);
    EXPECT_NE(std::find(bodies.begin(), bodies.end(), "IP11"), bodies.end());
    auto others = KeysOf(chart, kNatalInterpretation, kAllInterpretationOptions & ~kOptBodies);
    EXPECT_EQ(std::find(others.begin(), others.end(), "IP01"), others.end());
}

TEST(NatalReport, EdgeCases) {
    auto has = [](const std::vector<std::string>& keys, const std::string& key) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    // Without houses: no quadrant, house-ruler, house-stellium or body-in-house text.
    ChartRecord noHouses = ChartOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    for (int kind = 0; kind < 3; ++kind)
        for (const auto& key : KeysOf(noHouses, kind, kAllInterpretationOptions))
            EXPECT_TRUE(key.find('h') == std::string::npos && key.find("KV") == std::string::npos &&
                        key.find("DV") == std::string::npos && key.rfind("Sev", 0) != 0 &&
                        key.rfind("u", 0) != 0)
                << key << " kind " << kind;
    // All ten bodies in the houses 1..6 (cusps every 30 degrees from 0 Aries).
    auto north = KeysOf(ChartOf({5, 25, 45, 65, 85, 105, 125, 145, 165, 170}, 1), 0, kOptQuadrants);
    EXPECT_TRUE(has(north, "SevA") && has(north, "DV3") && has(north, "DV4"));
    // Everything in Leo: the Sun, at home, is the one centre.
    EXPECT_EQ(KeysOf(ChartInSigns({5, 5, 5, 5, 5, 5, 5, 5, 5, 5}), 0, kOptChains),
              (std::vector<std::string>{"0", "C01"}));
    // Three tied elements with one cross: none; two tied elements: two signs.
    EXPECT_TRUE(SyntheticSign({4, 3, 3}, {3, 3, 3, 1}).empty());
    EXPECT_EQ(SyntheticSign({5, 3, 2}, {4, 4, 1, 1}), (std::vector<int>{0, 9}));
    EXPECT_EQ(SyntheticSign({3, 5, 2}, {1, 1, 1, 7}), (std::vector<int>{7}));
}

// Longitudes in 1/1024 degree, turned by whole tens of degrees: exact arithmetic, so
// that a turn cannot move a pair across an orb edge.
TEST(ChartPatterns, TurningTheZodiacKeepsFiguresAndConfigurations) {
    OrbTable table;
    for (int angle : {0, 60, 90, 120, 180, 135, 150, 72, 144}) {
        AspectRecord r;
        r.angle = static_cast<float>(angle);
        r.orbs.fill(angle % 90 == 0 || angle == 120 || angle == 60 ? 6.0f : 2.0f);
        table.aspects.push_back(r);
    }
    table.largestOrb = 6.0f;
    std::mt19937 random(21);
    std::uniform_int_distribution<int> tick(0, 360 * 1024 - 1), turn(1, 35);
    std::uniform_real_distribution<double> inSign(0.01, 29.99);
    int tested = 0;
    for (int n = 0; n < 3000; ++n) {
        std::vector<double> lon;
        for (int b = 0; b < 10; ++b) lon.push_back(tick(random) / 1024.0);
        ChartRecord chart = ChartOf(lon, 1);
        ChartAnalysis a = AnalyseChart(chart);
        std::vector<double> gaps;
        for (int i = 0; i < 10; ++i)
            gaps.push_back(
                std::fmod(a.sorted[i].second - a.sorted[(i + 9) % 10].second + 360, 360));
        std::sort(gaps.rbegin(), gaps.rend());
        if (gaps[0] == gaps[1] || gaps[1] == gaps[2]) continue;  // "first on a tie" is an order
        ++tested;
        double t = 10.0 * turn(random);
        ChartRecord turned = chart;
        for (int b = 1; b <= 10; ++b) turned.lon[b] = std::fmod(chart.lon[b] + t, 360.0);
        ChartAnalysis ta = AnalyseChart(turned);
        JonesResult j1 = JonesFigure(a), j2 = JonesFigure(ta);
        ASSERT_EQ(j1.figure, j2.figure) << n;
        ASSERT_EQ(j1.handle, j2.handle) << n;
        ASSERT_EQ(j1.begin, j2.begin) << n;
        ASSERT_EQ(j1.end, j2.end) << n;
        auto shape = [&](const ChartAnalysis& x, const ChartRecord& c) {
            std::multiset<std::pair<int, int>> s;
            for (const auto& k : AspectConfigurations(x, ComputeAspectMatrix(c, table)))
                s.insert({k.kind, k.apex});
            return s;
        };
        ASSERT_EQ(shape(a, chart), shape(ta, turned)) << n;
        // Chains depend on signs only: moving each body within its sign keeps them.
        ChartRecord moved = chart;
        for (int b = 1; b <= 10; ++b) moved.lon[b] = 30.0 * (a.sign[b] - 1) + inSign(random);
        for (int mode = 0; mode < 4; ++mode) {
            ChainResult c1 = Chains(mode, a), c2 = Chains(mode, AnalyseChart(moved));
            ASSERT_EQ(c1.chain, c2.chain);
            ASSERT_EQ(c1.centres, c2.centres);
        }
    }
    EXPECT_GT(tested, 2500);
}

TEST(Interpretation, EveryKeyLookedUpIsListed) {
    std::vector<int> angles{0, 60, 90, 120, 180, 150};
    OrbTable table;
    for (int angle : angles) {
        AspectRecord r;
        r.angle = static_cast<float>(angle);
        r.orbs.fill(8.0f);
        table.aspects.push_back(r);
    }
    table.largestOrb = 8.0f;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> where(0, 360);
    std::uniform_int_distribution<unsigned> options(0, 2047);
    for (int kind = 0; kind < 3; ++kind)
        for (unsigned word : {kAllInterpretationOptions, options(random), options(random)}) {
            InterpretationInput listing{kind, {}, {}, angles, word};
            ReportSink list(true);
            WriteInterpretation(listing, list);
            std::set<std::string> listed;
            for (const auto& k : list.Listed()) listed.insert(k.key);
            for (int n = 0; n < 300; ++n) {
                ChartRecord c = ChartOf({}, n % 7 == 0 ? kNoHousesSystem : 1);
                for (int b = 1; b <= 15; ++b) c.lon[b] = where(random);
                c.speed[3] = where(random) - 180;
                double first = where(random);
                for (int h = 1; h <= 12; ++h)
                    c.cusp[h] = std::fmod(first + 30.0 * (h - 1) + 5, 360);
                for (const auto& key : KeysOf(c, kind, word, ComputeAspectMatrix(c, table)))
                    ASSERT_TRUE(listed.count(key))
                        << key << " kind " << kind << " options " << word;
            }
        }
}

}  // namespace
}  // namespace orbeta
