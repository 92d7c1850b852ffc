// Cost of a rectification (one day at 60 s: 1441 candidates, 20 events, transits,
// progressions and directions, no report) against its floor: the charts the work
// needs, 1441 natal charts, 1441 × 20 progressed charts and 20 transit charts
// (directed charts are rotations of the natal chart).
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "platform/codepage.h"
#include "rectify/rectification.h"

namespace {

constexpr int kEvents = 20;
constexpr double kStart = 2431591.5;  // 16.05.1945 00:00 local

void Open() {
    static bool done = [] {
        std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
        orbeta::OpenEphemeris();
        return true;
    }();
    (void)done;
}

orbeta::ChartRecord Natal() {
    orbeta::ChartRecord c;
    c.gmtCorr = -3.0 / 24;
    c.latitude = 55.45;
    c.longitude = 37.37;
    c.houseSystem = orbeta::kPlacidus;
    return c;
}

// The first twenty types of the standard file, dated a year and a half apart.
orbeta::EventFile Events() {
    std::ifstream in(std::string(ORBETA_SOURCE_DIR) + "/data/events.ctl");
    std::stringstream text;
    text << in.rdbuf();
    orbeta::EventFile types = orbeta::ParseEventText(orbeta::Utf8ToAnsi(text.str()));
    std::string sb;
    for (int k = 0; k < kEvents; ++k)
        sb += orbeta::EventEntryText(types.types[k % types.types.size()],
                                     orbeta::DateText(kStart + 3650 + k * 548.0));
    return orbeta::ParseEventText(sb);
}

void BM_Rectification(benchmark::State& state) {
    Open();
    orbeta::EventFile events = Events();
    orbeta::RectifyParams p;
    p.startLocal = kStart;
    p.endLocal = kStart + 1;
    p.correction = -3.0 / 24;
    for (auto _ : state) {
        orbeta::Computation c;
        orbeta::RectifyResult r = orbeta::RunRectification(c, p, events, Natal());
        if (!r.ok || r.candidates.size() != 1441) state.SkipWithError("run failed");
        benchmark::DoNotOptimize(r.best);
    }
}
BENCHMARK(BM_Rectification)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Floor(benchmark::State& state) {
    Open();
    orbeta::EventFile events = Events();
    for (auto _ : state) {
        orbeta::Computation c;
        orbeta::ChartRecord natal = Natal(), chart;
        for (const auto& e : events.events) {
            chart = natal;
            chart.jdUT = e.jdLocal + natal.gmtCorr;
            orbeta::ComputeChart(c, chart, chart, orbeta::kNatal);
        }
        for (int k = 0; k < 1441; ++k) {
            natal.jdUT = kStart + natal.gmtCorr + k / 1440.0;
            orbeta::ComputeChart(c, natal, natal, orbeta::kNatal);
            for (const auto& e : events.events) {
                chart = natal;
                chart.jdUT = e.jdLocal + natal.gmtCorr;
                orbeta::ComputeChart(c, chart, natal, orbeta::kSecondary);
            }
        }
        benchmark::DoNotOptimize(chart.lon[1]);
    }
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
