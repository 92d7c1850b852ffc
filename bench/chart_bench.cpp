// Cost of a complete natal chart (bodies and Placidus houses) and of the search for the
// moment of a given Ascendant, against the bare library calls doing the same work.
#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <cmath>
#include <fstream>

#include "core/angles.h"
#include "core/chart_compute.h"
#include "core/chart_record.h"
#include "core/ephemeris.h"
#include "core/houses.h"

namespace {

constexpr double kLat = 55.75, kLon = 37.6167;  // Moscow, degrees

void Open() {
    static bool done = [] {
        std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
        orbeta::OpenEphemeris();
        return true;
    }();
    (void)done;
}

orbeta::ChartRecord Moscow(double jd) {
    orbeta::ChartRecord c;
    c.jdLocal = c.jdUT = c.jdCalc = jd;
    c.latitude = orbeta::DegreesToPacked(kLat);
    c.longitude = orbeta::DegreesToPacked(kLon);
    c.houseSystem = orbeta::kPlacidus;
    return c;
}

const int kLibraryBodies[] = {SE_SUN,       SE_MOON,   SE_MERCURY,  SE_VENUS,   SE_MARS,
                              SE_JUPITER,   SE_SATURN, SE_URANUS,   SE_NEPTUNE, SE_PLUTO,
                              SE_MEAN_NODE, SE_CHIRON, SE_MEAN_APOG};

// Every iteration a new moment, so nothing is cached between charts.
void BM_NatalChart(benchmark::State& state) {
    orbeta::Computation calc;
    Open();
    double jd = 2451545.0;
    for (auto _ : state) {
        jd += 1.37;
        orbeta::ChartRecord c = Moscow(jd);
        orbeta::ComputeChart(calc, c, c, orbeta::kNatal);
        benchmark::DoNotOptimize(c.cusp);
    }
}
BENCHMARK(BM_NatalChart);

void BM_LibraryNatalChart(benchmark::State& state) {
    Open();
    double jd = 2451545.0, xx[6], cusps[13], ascmc[10];
    char serr[AS_MAXCH];
    for (auto _ : state) {
        jd += 1.37;
        for (int b : kLibraryBodies) swe_calc_ut(jd, b, SEFLG_SWIEPH | SEFLG_SPEED, xx, serr);
        swe_houses(jd, kLat, kLon, 'P', cusps, ascmc);
        benchmark::DoNotOptimize(cusps);
    }
}
BENCHMARK(BM_LibraryNatalChart);

void BM_PlacidusHouses(benchmark::State& state) {
    orbeta::Computation calc;
    double jd = 2451545.0;
    for (auto _ : state) {
        jd += 0.0137;
        orbeta::ChartRecord c = Moscow(jd);
        orbeta::ComputeHouses(c, calc.diagnostics);
        benchmark::DoNotOptimize(c.cusp);
    }
}
BENCHMARK(BM_PlacidusHouses);

void BM_LibraryPlacidusHouses(benchmark::State& state) {
    double jd = 2451545.0, cusps[13], ascmc[10];
    for (auto _ : state) {
        jd += 0.0137;
        swe_houses(jd, kLat, kLon, 'P', cusps, ascmc);
        benchmark::DoNotOptimize(cusps);
    }
}
BENCHMARK(BM_LibraryPlacidusHouses);

// The Ascendant 40° on from a birth chart's, as rectification asks.
void BM_MomentForAscendant(benchmark::State& state) {
    orbeta::Computation calc;
    Open();
    orbeta::ChartRecord birth = Moscow(2431591.708333);
    orbeta::ComputeChart(calc, birth, birth, orbeta::kNatal);
    double wanted = orbeta::Normalize(birth.cusp[1] + 40.0);
    long corrections = 0;
    for (auto _ : state) {
        orbeta::ChartRecord c = birth;
        corrections += orbeta::MomentForAscendant(c, wanted, calc.diagnostics);
        benchmark::DoNotOptimize(c.jdCalc);
    }
    state.counters["corrections"] =
        benchmark::Counter(static_cast<double>(corrections), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MomentForAscendant);

// The same corrections with the library's houses.
void BM_LibraryMomentForAscendant(benchmark::State& state) {
    double cusps[13], ascmc[10];
    double start = 2431591.708333;
    swe_houses(start, kLat, kLon, 'P', cusps, ascmc);
    const double startAsc = cusps[1];
    double wanted = orbeta::Normalize(startAsc + 40.0);
    for (auto _ : state) {
        double jd = start, rate = 360.0, asc = startAsc;
        for (int i = 0; i < 20 && rate >= 0.0001; ++i) {
            double delta = orbeta::Difference(wanted, asc);
            if (std::fabs(delta) < 0.001) break;
            jd += delta / rate;
            double previous = asc;
            swe_houses(jd, kLat, kLon, 'P', cusps, ascmc);
            asc = cusps[1];
            rate = std::fabs(orbeta::Separation(asc, previous) * rate / delta);
        }
        benchmark::DoNotOptimize(jd);
    }
}
BENCHMARK(BM_LibraryMomentForAscendant);

}  // namespace
