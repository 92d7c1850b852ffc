// Cost of a year's transits to a natal chart (kind 2, exact moments, daily steps)
// against its floor: the 365 chart computations of that year. Run with
// --dump FILE or --dump-plain FILE to write the hit records of the refined or the
// plain cubic search instead (for the reference comparison in search_reference.py).
// December 2026, 2 quiet cores: 1.15x the floor in instructions (159 M against 139 M),
// 1.19-1.22x in CPU time across runs (medians of 5); 1,673 of the 5,753 library calls
// are refinements with speeds, at scattered moments, which take the nutation from
// daily values (before that: 225 M, 1.65x, and about 1.8x in CPU time).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/chart_record.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "forecast/search_tables.h"
#include "forecast/time_search.h"
#include "moscow_chart.h"

namespace {

orbeta::Computation& Bench() {
    static orbeta::Computation c;
    return c;
}

void Open() {
    static bool done = [] {
        std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
        orbeta::OpenEphemeris();
        return true;
    }();
    (void)done;
}

orbeta::ChartRecord Natal() {
    return orbeta::bench::MoscowChart(Bench(), {16, 5, 1945, 5, 0, 0});
}

orbeta::SearchRequest Request(const orbeta::ChartRecord& natal) {
    orbeta::SearchRequest rq;
    rq.start = orbeta::JulianDay({1, 1, 2025, 0, 0, 0});
    rq.end = orbeta::JulianDay({1, 1, 2026, 0, 0, 0});
    rq.step = 1;
    rq.aspects = {0, 60, 90, 120, 180};
    rq.movingMask = 1023;
    rq.targetMask = 1023 | (1u << (orbeta::kPointAsc - 1)) | (1u << (orbeta::kPointMc - 1));
    orbeta::PrepareTableRequest(orbeta::kTableNatal, rq, nullptr);
    rq.pairs = orbeta::MakePairs(orbeta::kTableNatal, rq, natal);
    return rq;
}

orbeta::SearchResult Search(const char* file, bool refine) {
    orbeta::ChartRecord natal = Natal();
    orbeta::SearchRequest rq = Request(natal);
    orbeta::HitFileWriter out;
    out.Open(file);
    auto r = orbeta::RunSearch(Bench(), rq, natal, out, {.refine = refine});
    out.Close();
    return r;
}

void BM_TransitYear(benchmark::State& state) {
    Open();
    orbeta::SearchResult r;
    long calls = 0;
    for (auto _ : state) {
        long before = orbeta::EphemerisCalls();
        r = Search("search_bench.tmp", true);
        calls = orbeta::EphemerisCalls() - before;
    }
    state.counters["events"] = r.written;
    state.counters["evaluations"] = static_cast<double>(r.evaluations);
    // Library calls of one search, the natal chart's fifteen included.
    state.counters["ephemeris"] = static_cast<double>(calls);
    std::remove("search_bench.tmp");
}
BENCHMARK(BM_TransitYear)->Unit(benchmark::kMillisecond);

// The same without bringing the moments onto the real positions.
void BM_TransitYearPlainCubic(benchmark::State& state) {
    Open();
    for (auto _ : state) benchmark::DoNotOptimize(Search("search_bench.tmp", false));
    std::remove("search_bench.tmp");
}
BENCHMARK(BM_TransitYearPlainCubic)->Unit(benchmark::kMillisecond);

// The floor: one complete chart a day of the year.
void BM_ChartsOfTheYear(benchmark::State& state) {
    Open();
    orbeta::ChartRecord natal = Natal();
    double start = orbeta::JulianDay({1, 1, 2025, 0, 0, 0});
    for (auto _ : state) {
        orbeta::ChartRecord c = natal;
        for (int d = 0; d < 365; ++d) {
            c.jdUT = c.jdCalc = start + d;
            orbeta::ComputeChart(Bench(), c, natal, 1);
            benchmark::DoNotOptimize(c.lon[1]);
        }
    }
}
BENCHMARK(BM_ChartsOfTheYear)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        bool plain = std::strcmp(argv[i], "--dump-plain") == 0;
        if (plain || std::strcmp(argv[i], "--dump") == 0) {
            Open();
            auto r = Search(argv[i + 1], !plain);
            std::printf("%d records, %ld evaluations, %d denied\n", r.written, r.evaluations,
                        r.denied);
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
