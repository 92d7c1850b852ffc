// The eclipses of 1900–2100 against their floor: the bare library calls of the Sun and
// the Moon that refining each eclipse needs (19 moments of a 0.2-day bisection).
#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "core/ephemeris.h"
#include "forecast/eclipses.h"

namespace {

constexpr double kFrom = 2415020.5;  // 01.01.1900
constexpr double kTo = 2488434.5;    // 01.01.2101

void Open() {
    static bool done = [] {
        std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
        orbeta::OpenEphemeris();
        return true;
    }();
    (void)done;
}

std::vector<orbeta::EclipseRecord> AllEclipses() {
    orbeta::Computation c;
    std::vector<orbeta::EclipseRecord> list;
    orbeta::FindEclipses(c, list, kFrom, kTo, orbeta::kSolarEclipse);
    orbeta::FindEclipses(c, list, kFrom, kTo, orbeta::kLunarEclipse);
    return list;
}

// The calls alone: 19 moments spread over the bisection's window, Sun and Moon each.
double Floor(const std::vector<orbeta::EclipseRecord>& list) {
    double xx[6], sum = 0;
    char serr[AS_MAXCH];
    for (const auto& e : list)
        for (int i = 0; i < 19; ++i) {
            double t = e.moment - 0.1 + i * (0.2 / 18);
            swe_calc_ut(t, SE_SUN, SEFLG_SWIEPH | SEFLG_SPEED, xx, serr);
            sum += xx[0];
            swe_calc_ut(t, SE_MOON, SEFLG_SWIEPH | SEFLG_SPEED, xx, serr);
            sum += xx[0];
        }
    return sum;
}

void BM_Eclipses1900To2100(benchmark::State& state) {
    Open();
    for (auto _ : state) benchmark::DoNotOptimize(AllEclipses());
}
BENCHMARK(BM_Eclipses1900To2100)->Unit(benchmark::kMillisecond);

void BM_FloorSunMoonCalls(benchmark::State& state) {
    Open();
    auto list = AllEclipses();
    for (auto _ : state) benchmark::DoNotOptimize(Floor(list));
    state.counters["calls"] = static_cast<double>(list.size() * 38);
}
BENCHMARK(BM_FloorSunMoonCalls)->Unit(benchmark::kMillisecond);

template <class F>
double Seconds(F f) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Open();
    auto list = AllEclipses();
    double found = Seconds([] { benchmark::DoNotOptimize(AllEclipses()); });
    double floor = Seconds([&] { benchmark::DoNotOptimize(Floor(list)); });
    std::printf("eclipses %zu: %.3f s, floor %.3f s (%zu calls), ratio %.2f\n", list.size(), found,
                floor, list.size() * 38, found / floor);
    benchmark::Shutdown();
    return 0;
}
