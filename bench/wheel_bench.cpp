// Cost of painting a wheel at 1200 × 900: with the densest sign fill, without any fill
// (what the fill adds), and the whole PNG export.
#include <benchmark/benchmark.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "aspects/aspect_matrix.h"
#include "aspects/orb_file.h"
#include "chart/wheel_export.h"
#include "chart/wheel_painter.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"

namespace {

using namespace orbeta;

const QSize kSize(1200, 900);

WheelParams Params(int fill) {
    static QGuiApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "wheel_bench";
        static char* argv[] = {name, nullptr};
        auto* a = new QGuiApplication(argc, argv);
        for (const char* f : {"/data/fonts/sigilum.ttf", "/data/fonts/tabmono.ttf"})
            QFontDatabase::addApplicationFont(QString(ORBETA_SOURCE_DIR) + f);
        std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
        OpenEphemeris();
        return a;
    }();
    (void)app;
    Computation calc;
    ChartRecord c;
    c.jdLocal = JulianDayOfDateTimeText("16.05.1945 08:00:00");
    c.gmtCorr = -0.125;
    c.jdUT = c.jdCalc = c.jdLocal + c.gmtCorr;
    c.latitude = 55.45;
    c.longitude = 37.37;
    c.houseSystem = 3;
    ComputeChart(calc, c, c, 1);
    Settings settings;
    settings.maskP = settings.maskA = 0x7FFF;
    settings.ov[kOptSignFill] = static_cast<uint8_t>(fill);
    settings.ov[kOptAspectarium] = 1;
    settings.ov[kOptCuspAspects] = 1;
    OrbTable table = LoadOrbTable(std::string(ORBETA_SOURCE_DIR) + "/data/0.ao", "", false);
    WheelParams p = MakeWheelParams(settings, table, false);
    p.first = p.second = c;
    p.matrix = ComputeAspectMatrix(c, table);
    return p;
}

void Paint(benchmark::State& state, int fill) {
    WheelParams p = Params(fill);
    QImage image(kSize, QImage::Format_RGB32);
    long pixels = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        uint8_t printState = kNotPrinting;
        WheelTrace trace;
        PaintChart(painter, p, kSize, false, printState, &trace);
        pixels = trace.fillPixels;
    }
    state.counters["fill_pixels"] = static_cast<double>(pixels);
}

void BM_PaintDensestFill(benchmark::State& state) {
    Paint(state, 3);
}
void BM_PaintNoFill(benchmark::State& state) {
    Paint(state, 0);
}

void BM_ExportPng(benchmark::State& state) {
    WheelParams p = Params(3);
    std::string error;
    for (auto _ : state)
        if (!WriteWheelFile("wheel_bench.png", p, kSize, false, error))
            state.SkipWithError(error.c_str());
    std::remove("wheel_bench.png");
}

BENCHMARK(BM_PaintDensestFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintNoFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPng)->Unit(benchmark::kMillisecond);

}  // namespace
