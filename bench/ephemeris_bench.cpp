// Cost of the fifteen bodies of a chart, against the bare library calls.
#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <cstdlib>
#include <fstream>

#include "core/chart_record.h"
#include "core/ephemeris.h"

namespace {

void Open() {
    static bool done = [] {
        std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
        orbeta::OpenEphemeris();
        return true;
    }();
    (void)done;
}

// Every iteration a new moment, so nothing is cached between calls.
void BM_ChartBodiesNewMoment(benchmark::State& state) {
    orbeta::Computation calc;
    Open();
    orbeta::ChartRecord c;
    double jd = 2451545.0;
    for (auto _ : state) {
        jd += 1.37;
        c.jdCalc = jd;
        orbeta::CalcBodies(calc, c);
        benchmark::DoNotOptimize(c.lon);
    }
}
BENCHMARK(BM_ChartBodiesNewMoment);

void BM_ChartBodiesSameMoment(benchmark::State& state) {
    orbeta::Computation calc;
    Open();
    orbeta::ChartRecord c;
    c.jdCalc = 2451545.0;
    for (auto _ : state) {
        orbeta::CalcBodies(calc, c);
        benchmark::DoNotOptimize(c.lon);
    }
}
BENCHMARK(BM_ChartBodiesSameMoment);

// The bare library: the thirteen library bodies of a chart through swe_calc_ut.
void BareLibrary(benchmark::State& state, double step) {
    Open();
    const int bodies[] = {SE_SUN,       SE_MOON,   SE_MERCURY,  SE_VENUS,   SE_MARS,
                          SE_JUPITER,   SE_SATURN, SE_URANUS,   SE_NEPTUNE, SE_PLUTO,
                          SE_MEAN_NODE, SE_CHIRON, SE_MEAN_APOG};
    double jd = 2451545.0;
    double xx[6];
    char serr[AS_MAXCH];
    for (auto _ : state) {
        jd += step;
        for (int b : bodies) swe_calc_ut(jd, b, SEFLG_SWIEPH | SEFLG_SPEED, xx, serr);
        benchmark::DoNotOptimize(xx);
    }
}
void BM_LibraryNewMoment(benchmark::State& state) {
    BareLibrary(state, 1.37);
}
void BM_LibrarySameMoment(benchmark::State& state) {
    BareLibrary(state, 0.0);
}
BENCHMARK(BM_LibraryNewMoment);
BENCHMARK(BM_LibrarySameMoment);

}  // namespace
