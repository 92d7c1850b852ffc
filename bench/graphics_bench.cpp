// Cost of the graphic windows against their floor F: the bare library calls for 366
// days of 10 bodies with speeds, measured in the same run. A year of ephemerides (10
// bodies, 15 natal lines, 1600 × 900, curves computed) should stay within 2 F; a year's
// forecast painted from its file (10 bodies to 15 natal points, transit orbs, motion
// letters) within 1.5 F; a cursor step (labels, legend, line; nothing recomputed)
// within 0.25 F.
#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "aspects/orb_file.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "forecast/draw/graph_painters.h"
#include "forecast/graph_ephemeris.h"
#include "forecast/graph_forecast.h"
#include "forecast/time_search.h"
#include "moscow_chart.h"

namespace {

const QSize kSize(1600, 900);
constexpr const char* kHitFile = "graphics_bench.tmp";

orbeta::Computation& Bench() {
    static orbeta::Computation c;
    return c;
}

orbeta::ChartRecord Natal() {
    return orbeta::bench::MoscowChart(Bench(), {16, 5, 1945, 5, 0, 0});
}

orbeta::GraphPeriod Year() {
    orbeta::GraphPeriod p;
    orbeta::MakeGraphPeriod({orbeta::kPeriodYear, "", "", "2025", ""}, p);
    return p;
}

orbeta::OrbTable& Orbs() {
    static orbeta::OrbTable t = orbeta::LoadOrbTable(ORBETA_SOURCE_DIR "/data/tr.ao",
                                                     ORBETA_SOURCE_DIR "/data/0.ao", false);
    return t;
}

orbeta::ForecastOptions Options() {
    orbeta::ForecastOptions o;
    o.bodyMask = 1023;
    o.natalMask = 0x7FFF;
    return o;
}

void BM_Floor(benchmark::State& state) {
    double start = Year().start;
    double xx[6];
    char serr[256];
    for (auto _ : state)
        for (int d = 0; d < 366; ++d)
            for (int b = SE_SUN; b <= SE_PLUTO; ++b)
                benchmark::DoNotOptimize(
                    swe_calc_ut(start + d, b, SEFLG_SWIEPH | SEFLG_SPEED, xx, serr));
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);

void BM_EphemerisYear(benchmark::State& state) {
    orbeta::ChartRecord natal = Natal();
    orbeta::GraphStyle style;
    QImage image(kSize, QImage::Format_RGB32);
    for (auto _ : state) {
        auto m = orbeta::BuildEphemerisModel(Bench(), natal, 1, Year(), 30, 1023, 0x7FFF,
                                             Year().start + 100);
        QPainter p(&image);
        orbeta::PaintEphemerisPlot(p, kSize, m, style);
        orbeta::PaintEphemerisCursor(p, kSize, m, style);
    }
}
BENCHMARK(BM_EphemerisYear)->Unit(benchmark::kMillisecond);

void WriteForecastFile() {
    orbeta::ChartRecord natal = Natal();
    auto rq = orbeta::MakeForecastRequest(Year(), Options(), 1, Orbs(), natal);
    orbeta::HitFileWriter out;
    out.Open(kHitFile);
    orbeta::RunSearch(Bench(), rq, natal, out);
    out.Close();
}

void BM_ForecastYearFromFile(benchmark::State& state) {
    WriteForecastFile();
    orbeta::ChartRecord natal = Natal();
    orbeta::GraphStyle style;
    QImage image(kSize, QImage::Format_RGB32);
    size_t bars = 0;
    for (auto _ : state) {
        auto hits = orbeta::ReadHitFile(kHitFile);
        auto m = orbeta::BuildForecastModel(Bench(), hits, natal, 1, Year(), Options(),
                                            Year().start + 100);
        QPainter p(&image);
        orbeta::PaintForecastPlot(p, kSize, m, style);
        orbeta::PaintForecastCursor(p, kSize, m, style);
        bars = hits.size();
    }
    state.counters["bars"] = static_cast<double>(bars);
}
BENCHMARK(BM_ForecastYearFromFile)->Unit(benchmark::kMillisecond);

// The two halves of the above: the bars with their motion letters, and the painting.
void BM_ForecastModelFromFile(benchmark::State& state) {
    WriteForecastFile();
    orbeta::ChartRecord natal = Natal();
    for (auto _ : state)
        benchmark::DoNotOptimize(orbeta::BuildForecastModel(
            Bench(), orbeta::ReadHitFile(kHitFile), natal, 1, Year(), Options(), Year().start));
}
BENCHMARK(BM_ForecastModelFromFile)->Unit(benchmark::kMillisecond);

void BM_ForecastPaint(benchmark::State& state) {
    WriteForecastFile();
    orbeta::ChartRecord natal = Natal();
    orbeta::GraphStyle style;
    auto m = orbeta::BuildForecastModel(Bench(), orbeta::ReadHitFile(kHitFile), natal, 1, Year(),
                                        Options(), Year().start);
    QImage image(kSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        orbeta::PaintForecastPlot(p, kSize, m, style);
        orbeta::PaintForecastCursor(p, kSize, m, style);
    }
}
BENCHMARK(BM_ForecastPaint)->Unit(benchmark::kMillisecond);

void BM_ForecastCursorStep(benchmark::State& state) {
    WriteForecastFile();
    orbeta::ChartRecord natal = Natal();
    orbeta::GraphStyle style;
    auto m = orbeta::BuildForecastModel(Bench(), orbeta::ReadHitFile(kHitFile), natal, 1, Year(),
                                        Options(), Year().start);
    QImage plot(kSize, QImage::Format_RGB32);
    {
        QPainter p(&plot);
        orbeta::PaintForecastPlot(p, kSize, m, style);
    }
    QImage shown = plot;
    double cursor = Year().start;
    for (auto _ : state) {
        cursor += 1;
        orbeta::SetForecastCursor(Bench(), m, cursor);
        // The window shows the kept plot with the cursor's parts over it.
        QPainter p(&shown);
        p.drawImage(0, 0, plot);
        orbeta::PaintForecastCursor(p, kSize, m, style);
    }
}
BENCHMARK(BM_ForecastCursorStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
    orbeta::OpenEphemeris();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(kHitFile);
    return 0;
}
