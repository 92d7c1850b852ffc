// The time-search engine: the hit records of allob.tmp, the cubic and its roots, and
// searches on the ephemeris (periods merged over steps, continuations of the right
// event, flat differences, nodal charts, an interrupted search, moments to the second).
#include "forecast/time_search.h"
#include "../support/scratch_computation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "../core/chart_fixture.h"
#include "../core/ephemeris_fixture.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "forecast/search_records.h"
#include "forecast/search_tables.h"

namespace orbeta {
namespace {

constexpr double kSecond = 1.0 / 86400;

TEST(HitRecord, LayoutAndRewriteInPlace) {
    HitRecord h;
    h.start = 2460676.5;
    h.end = 2460677.25;
    h.exact[0] = 1.5;
    h.exact[2] = -3.0;
    h.exactCount = 2;
    h.flags = 3;
    h.calcMethod = 15;
    h.a = 6;
    h.b = 25;
    h.type = 140;
    h.aspect = 120;
    h.fixedLongitude = 359.5;
    h.orb = 0.25;
    h.filePos = 0x01020304;
    unsigned char b[kHitRecordSize];
    EncodeHit(h, b);
    auto f64 = [&](size_t at) {
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | b[at + i];
        double d;
        std::memcpy(&d, &v, 8);
        return d;
    };
    const struct {
        size_t offset;
        double value;
    } doubles[] = {{0, h.start}, {8, h.end}, {16, 1.5},   {24, 0.0},
                   {32, -3.0},   {46, 120},  {54, 359.5}, {62, 0.25}};
    for (auto d : doubles) EXPECT_EQ(f64(d.offset), d.value) << d.offset;
    const unsigned char bytes[] = {2, 3, 15, 6, 25, 140, 4, 3, 2, 1};
    const size_t at[] = {40, 41, 42, 43, 44, 45, 70, 71, 72, 73};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(b[at[i]], bytes[i]) << at[i];
    HitRecord back = DecodeHit(b);
    EXPECT_EQ(std::memcmp(&back.start, &h.start, 8), 0);
    EXPECT_EQ(back.exact[2], -3.0);
    EXPECT_EQ(back.filePos, h.filePos);

    test::TempWorkDir work;
    HitFileWriter w;
    ASSERT_TRUE(w.Open("allob.tmp"));
    HitRecord r[3];
    for (int i = 0; i < 3; ++i) {
        r[i].start = i;
        r[i].a = static_cast<uint8_t>(i + 1);
        ASSERT_TRUE(w.Append(r[i]));
        EXPECT_EQ(r[i].filePos, static_cast<int32_t>(i * kHitRecordSize));
    }
    // Nothing shows under the final name until the file is whole.
    EXPECT_FALSE(std::filesystem::exists("allob.tmp"));
    r[1].end = 42;
    r[1].exactCount = 1;
    EXPECT_TRUE(w.Rewrite(r[1]));
    HitRecord stray = r[1];
    stray.filePos = 7;  // not a record's offset
    EXPECT_FALSE(w.Rewrite(stray));
    ASSERT_TRUE(w.Close());
    {
        std::ofstream tail("allob.tmp", std::ios::binary | std::ios::app);
        tail.write("short tail", 10);
    }
    auto read = ReadHitFile("allob.tmp");
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[1].end, 42);
    EXPECT_EQ(read[1].exactCount, 1);
    EXPECT_EQ(read[2].a, 3);
    EXPECT_EQ(read[2].filePos, 148);
}

// The quick test that spares most pairs their angles may skip a step only when no
// target lies in the cubic's range: ranges across 0 Aries and targets at either
// end of the turn, then many random ones against a plain count over the turns.
TEST(Cubic, QuickTestNeverSkipsATargetInRange) {
    const std::vector<double> square = {0, 90, 180, 270}, edge = {1e-9, 120, 359.9999999};
    const struct {
        const std::vector<double>* targets;
        double lo, hi;
        bool meets;
    } rows[] = {{&square, 10, 20, false},          {&square, -370, -350, true},
                {&square, 719.5, 720.5, true},     {&square, 89.999, 90.001, true},
                {&edge, -0.0001, 0.0000001, true}, {&edge, 359.99999995, 360.5, true},
                {&edge, 0.001, 119.9, false},      {&edge, 5, 900, true}};
    for (const auto& r : rows)
        EXPECT_EQ(MayMeetTarget(*r.targets, r.lo, r.hi), r.meets) << r.lo << ".." << r.hi;
    uint64_t seed = 12345;
    auto uniform = [&](double a, double b) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return a + (b - a) * static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    for (int k = 0; k < 20000; ++k) {
        std::vector<double> targets;
        for (double a : {0.0, uniform(0, 180), uniform(0, 360)})
            for (double t : {a, -a}) targets.push_back(t - 360 * std::floor(t / 360));
        std::sort(targets.begin(), targets.end());
        double lo = uniform(-1000, 1000), hi = lo + uniform(0, k % 2 ? 0.01 : 30);
        bool inside = false;
        for (double t : targets)
            for (int n = -5; n <= 5; ++n) inside |= lo <= t + 360 * n && t + 360 * n <= hi;
        EXPECT_TRUE(!inside || MayMeetTarget(targets, lo, hi)) << lo << ".." << hi;
    }
}

// The search solves only for targets within the cubic's range over the step: outside
// it FindRoots must find nothing (so skipping changes no record), and inside it a
// crossing between the step's ends must be found. Random steps of a fast body, a slow
// one and one near its station.
TEST(Cubic, NoRootOutsideTheRangeOverTheStep) {
    uint64_t seed = 777;
    auto uniform = [&](double a, double b) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return a + (b - a) * static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    for (int k = 0; k < 30000; ++k) {
        double h = k % 3 == 0 ? 1 : uniform(0.1, 10);
        double rate = k % 3 == 0 ? uniform(-15, 15) : k % 3 == 1 ? uniform(-1, 1) : 1e-3;
        double bend = uniform(-0.3, 0.3), jerk = uniform(-0.02, 0.02), y0 = uniform(-400, 400);
        double y[4];
        for (int i = 0; i < 4; ++i) {
            double x = (i - 1) * h;
            y[i] = y0 + x * (rate + x * (bend + x * jerk));
        }
        double lo, hi, roots[3];
        CubicRange(FitCubic(h, y), h, lo, hi);
        for (double value : {lo - 1e-9, hi + 1e-9, lo - uniform(0, 5), hi + uniform(0, 5)})
            EXPECT_EQ(FindRoots(value, h, y, roots), 0) << k << " " << value;
        double between = y[1] + uniform(0, 1) * (y[2] - y[1]);
        EXPECT_GE(FindRoots(between, h, y, roots), 1) << k;
        EXPECT_TRUE(between >= lo && between <= hi) << k;
    }
}

TEST(Cubic, SolveAndFindRootsOnKnownCubics) {
    struct Case {
        const char* name;
        double c[4];
        std::vector<double> roots;
    };
    const Case cases[] = {
        {"three roots", {-6, 11, -6, 1}, {1, 2, 3}},
        {"double root", {-3, 7, -5, 1}, {1, 3}},  // (x-1)^2 (x-3)
        {"one real root", {-2, 1, 0, 1}, {1}},    // x^3 + x - 2
        {"triple root", {-1, 3, -3, 1}, {1}},
        {"scaled", {0.5, -1.75, 0.5, 0.25}, {}},  // roots checked by residual below
    };
    for (const auto& c : cases) {
        double r[3];
        int n = SolveCubic(c.c, r);
        std::vector<double> got(r, r + n);
        std::sort(got.begin(), got.end());
        for (double x : got) {
            double v = c.c[0] + x * (c.c[1] + x * (c.c[2] + x * c.c[3]));
            EXPECT_NEAR(v, 0, 1e-6) << c.name << " x=" << x;
        }
        if (c.roots.empty()) continue;
        // A double root may come once or twice; every expected root is there.
        for (double e : c.roots)
            EXPECT_TRUE(std::any_of(got.begin(), got.end(),
                                    [&](double x) { return std::fabs(x - e) < 1e-3; }))
                << c.name << " missing " << e;
    }
    // Samples of (x - 0.2)(x - 0.5)(x - 0.9) * 100 at -1, 0, 1, 2 (h = 1): three roots in the step.
    auto p = [](double x) { return 100 * (x - 0.2) * (x - 0.5) * (x - 0.9); };
    double y[4] = {p(-1), p(0), p(1), p(2)};
    Cubic fit = FitCubic(1, y);
    EXPECT_NEAR(fit.At(0.3), p(0.3), 1e-9);
    double x[3];
    ASSERT_EQ(FindRoots(0, 1, y, x), 3);
    EXPECT_NEAR(x[0], 0.2, 1e-9);
    EXPECT_NEAR(x[1], 0.5, 1e-9);
    EXPECT_NEAR(x[2], 0.9, 1e-9);
    // Only the roots within the step: with h = 0.6 the one at 0.9 is outside.
    double y6[4] = {p(-0.6), p(0), p(0.6), p(1.2)};
    EXPECT_EQ(FindRoots(0, 0.6, y6, x), 2);
    // Flat samples: the linear fallback; at the target the middle of the step.
    double flat[4] = {5, 5, 5, 5};
    EXPECT_EQ(FindRoots(4, 1, flat, x), 0);
    ASSERT_EQ(FindRoots(5, 2, flat, x), 1);
    EXPECT_EQ(x[0], 1);
    // A backward step (h < 0) finds its roots in [h, 0].
    double yb[4] = {p(0.5 + 0.25), p(0.5), p(0.5 - 0.25), p(0.5 - 0.5)};
    ASSERT_GE(FindRoots(0, -0.25, yb, x), 1);
    EXPECT_NEAR(x[0], 0, 1e-9);
}

class Search : public test::EphemerisTest {
  protected:
    ChartRecord Natal() { return test::NatalAt("16.05.1945 05:00:00", -3, 55.45, 37.37); }
    std::vector<HitRecord> Run(const SearchRequest& rq, const ChartRecord& base,
                               SearchResult* result = nullptr, SearchOptions opt = {}) {
        HitFileWriter w;
        EXPECT_TRUE(w.Open("allob.tmp"));
        SearchResult r = RunSearch(test::Scratch(), rq, base, w, opt);
        EXPECT_TRUE(w.Close());
        if (result) *result = r;
        return ReadHitFile("allob.tmp");
    }
    static double Y(int y, int m, int d) { return JulianDay({d, m, y, 0, 0, 0}); }
};

SearchPair OwnOrbPair(int a, double fixed, double orb) {
    SearchPair p;
    p.a = static_cast<uint8_t>(a);
    p.b = 1;
    p.type = 3;
    p.fixedLongitude = fixed;
    p.ownOrb = orb;
    return p;
}

// Periods of pairs with equal points and angle but their own longitudes run through
// many steps: each is one record, and each continues its own period.
TEST_F(Search, OrbPeriodsOverManyStepsAreWrittenOnceToTheirOwnEvent) {
    SearchRequest rq;
    rq.start = Y(2025, 1, 1);
    rq.end = Y(2025, 6, 1);
    rq.step = 1;
    rq.exactMode = 0;
    rq.bothMoving = 1;
    rq.aspects = {0};
    double sun = BodyLongitude(test::Scratch(), Y(2025, 3, 1), SUN);
    rq.pairs = {OwnOrbPair(SUN, sun, 3), OwnOrbPair(SUN, Normalize(sun + 2), 3)};
    auto hits = Run(rq, Natal());
    ASSERT_EQ(hits.size(), 2u);
    for (const auto& h : hits) {
        EXPECT_GT(h.end - h.start, 5.0);
        // Closed inside a step; the flags are those of its last piece.
        EXPECT_FALSE(h.flags & kHitEndsAtStep);
        // Entry and exit on the real positions of the pair's own longitude.
        EXPECT_NEAR(Separation(BodyLongitude(test::Scratch(), h.start, SUN), h.fixedLongitude), 3,
                    1e-6);
        EXPECT_NEAR(Separation(BodyLongitude(test::Scratch(), h.end, SUN), h.fixedLongitude), 3,
                    1e-6);
        ASSERT_EQ(h.exactCount, 1);
        EXPECT_NEAR(Difference(BodyLongitude(test::Scratch(), h.exact[0], SUN), h.fixedLongitude),
                    0, 1e-6);
    }
}

// An exact moment on a step boundary is found by both steps and written once.
TEST_F(Search, CrossingAtAStepBoundaryIsWrittenOnce) {
    SearchRequest rq;
    rq.start = Y(2025, 3, 1);
    rq.end = Y(2025, 3, 11);
    rq.step = 1;
    rq.aspects = {0};
    double t = Y(2025, 3, 5);
    rq.pairs = {OwnOrbPair(MON, BodyLongitude(test::Scratch(), t, MON), 0)};
    rq.pairs[0].type = 1;
    auto hits = Run(rq, Natal());
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_NEAR(hits[0].start, t, 0.05 * kSecond);
}

TEST_F(Search, PairsSkipOppositeCuspsAndFlatDifferencesHaveNoMoment) {
    ChartRecord natal = Natal();
    SearchRequest rq;
    rq.movingMask = (1u << 27) - 1;
    rq.targetMask = (1u << 27) - 1;
    for (int kind : {kTableCurrent, kTableChosen}) {
        auto pairs = MakePairs(kind, rq, natal);
        for (const auto& p : pairs) {
            EXPECT_NE(p.a, p.b);
            bool cusps = p.a > kBodyCount && p.b > kBodyCount;
            EXPECT_FALSE(cusps && std::abs(p.a - p.b) == 6)
                << kind << ": " << int(p.a) << "-" << int(p.b);
        }
        // Kind 1 searches both orders: (Asc, cusp 2) and (cusp 2, Asc).
        size_t expected = kind == kTableCurrent ? 27 * 26 / 2 - 6 : 27 * 26 - 12;
        EXPECT_EQ(pairs.size(), expected) << kind;
    }
    // Equal houses keep the Asc and the second cusp 30 degrees apart: no moment at all.
    natal.houseSystem = kEqualFromAsc;
    ComputeChart(test::Scratch(), natal, natal, 1);
    ASSERT_NEAR(Difference(natal.cusp[2], natal.cusp[1]), 30, 1e-6);
    rq = {};
    rq.start = Y(2025, 1, 1);
    rq.end = Y(2025, 1, 4);
    rq.aspects = {30};
    rq.bothMoving = 0;
    rq.movingMask = (1u << 15) | (1u << 16);
    rq.pairs = MakePairs(kTableCurrent, rq, natal);
    ASSERT_EQ(rq.pairs.size(), 1u);
    EXPECT_TRUE(Run(rq, natal).empty());
}

// A nodal chart is computed at each sample's own moment, not at the base's.
TEST_F(Search, NodalChartSamplesMoveWithTheirMoment) {
    ChartRecord natal = Natal();
    SearchRequest rq;
    rq.start = Y(2025, 1, 1);
    rq.end = Y(2026, 1, 1);
    rq.calcMethod = 15;
    rq.aspects = {0, 10};
    rq.movingMask = 1u << (SUN - 1);
    rq.targetMask = 1u << (SUN - 1);
    PrepareTableRequest(kTableNatal, rq, nullptr);
    rq.pairs = MakePairs(kTableNatal, rq, natal);
    auto hits = Run(rq, natal);
    // The natal Sun turned back by the node: the node leaves 0 Aries in January 2025
    // and reaches 20 Pisces by the summer.
    ASSERT_EQ(hits.size(), 2u);
    for (const auto& h : hits) {
        double nodalSun = Normalize(natal.lon[SUN] - BodyLongitude(test::Scratch(), h.start, NDE));
        EXPECT_NEAR(Separation(nodalSun, natal.lon[SUN]), h.aspect, 1e-6);
    }
}

struct AbortingServices : test::RecordingServices {
    int after = 0;
    int steps = 0;
    void ProgressStepped(int) override {
        if (++steps == after) AbortProgress();
    }
};

TEST_F(Search, InterruptedSearchKeepsWhatItFound) {
    SearchRequest rq;
    rq.start = Y(2025, 1, 1);
    rq.end = Y(2025, 3, 1);
    rq.aspects = {0, 90, 180};
    rq.movingMask = 1u << (MON - 1);
    rq.targetMask = 1023;
    PrepareTableRequest(kTableNatal, rq, nullptr);
    ChartRecord natal = Natal();
    rq.pairs = MakePairs(kTableNatal, rq, natal);
    auto all = Run(rq, natal);
    AbortingServices stop;
    stop.after = 20;
    SearchResult r;
    auto part = Run(rq, natal, &r);
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(r.steps, 19);
    ASSERT_FALSE(part.empty());
    size_t before =
        static_cast<size_t>(std::count_if(all.begin(), all.end(), [&](const HitRecord& h) {
            return h.start < rq.start + 19 - 1e-5;
        }));
    EXPECT_EQ(part.size(), before);
}

// Moments on the real positions: every moment of a month of the Moon and Mercury
// agrees with bisection on the ephemeris to well within a second; the plain cubic
// does not.
TEST_F(Search, ExactMomentsHoldToTheSecond) {
    ChartRecord natal = Natal();
    SearchRequest rq;
    rq.start = Y(2025, 3, 1);
    rq.end = Y(2025, 4, 15);  // Mercury's station of 15.03
    rq.aspects = {0, 60, 90, 120, 180};
    rq.movingMask = (1u << (MON - 1)) | (1u << (MER - 1));
    rq.targetMask = 1023 | (1u << 15) | (1u << 24);
    PrepareTableRequest(kTableNatal, rq, nullptr);
    rq.pairs = MakePairs(kTableNatal, rq, natal);
    SearchResult refined, plain;
    auto hits = Run(rq, natal, &refined);
    auto cubic = Run(rq, natal, &plain, {.refine = false});
    ASSERT_GT(hits.size(), 50u);
    double worst = 0, worstCubic = 0;
    auto error = [&](const HitRecord& h) {
        // Bisection of the difference around the moment, on the ephemeris.
        auto g = [&](double t) {
            double d = Difference(BodyLongitude(test::Scratch(), t, h.a), h.fixedLongitude);
            double best = 1e9;
            for (double s : {h.aspect, -h.aspect})
                best = std::fabs(Difference(d, s)) < std::fabs(best) ? Difference(d, s) : best;
            return best;
        };
        double lo = h.start - 120 * kSecond, hi = h.start + 120 * kSecond;
        if (g(lo) * g(hi) > 0) return 1.0;
        for (int i = 0; i < 40; ++i) {
            double mid = (lo + hi) / 2;
            (g(lo) * g(mid) <= 0 ? hi : lo) = mid;
        }
        return std::fabs(h.start - lo);
    };
    for (const auto& h : hits) worst = std::max(worst, error(h));
    for (const auto& h : cubic) worstCubic = std::max(worstCubic, error(h));
    EXPECT_LT(worst, 0.1 * kSecond);
    EXPECT_GT(worstCubic, 1 * kSecond);
    EXPECT_EQ(hits.size(), cubic.size());
}

}  // namespace
}  // namespace orbeta
