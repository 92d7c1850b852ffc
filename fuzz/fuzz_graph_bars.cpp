// Any bytes as the graphic forecast's hit file: the bars of every band in every mode
// (levels below the bar count, damaged records skipped) and a paint onto a small image.
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "forecast/draw/graph_painters.h"
#include "forecast/graph_forecast.h"
#include "forecast/graph_settings.h"

namespace {

// Made once and never destroyed: Qt's own statics are gone by the time exit handlers
// would destroy it.
void StartGui() {
    static QGuiApplication* app = nullptr;
    if (app) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fuzz_graph_bars";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orbeta;
    StartGui();
    auto hits = ParseHits(std::string_view(reinterpret_cast<const char*>(data), size));
    ForecastModel model;
    model.period.start = 2460676.5;
    model.period.end = 2461041.5;
    model.period.divisions = 24;
    model.cursor = model.period.start + 100;
    model.options.current = size % 2;
    model.options.matrix = static_cast<int>(size % 3);
    model.options.vertical = !model.options.current && size % 5 == 0;
    model.options.natalMask = kBodyMaskAll | (1u << 15) | (1u << 24);
    for (int point : BandPoints(model.options)) {
        ForecastBand band;
        band.label.point = point;
        band.bars = BandBars(hits, point, model.options);
        for (const auto& bar : band.bars) {
            if (bar.level < 0 || static_cast<size_t>(bar.level) >= band.bars.size() ||
                !std::isfinite(bar.start) || !std::isfinite(bar.end) || bar.partner < 1 ||
                bar.partner > kPointCount)
                __builtin_trap();
            band.maxLevel = std::max(band.maxLevel, bar.level);
        }
        model.bands.push_back(std::move(band));
    }
    for (int point : LegendPoints(model.options)) model.legend.push_back({point, 0.0, false});
    QImage image(120, 90, QImage::Format_RGB32);
    QPainter painter(&image);
    GraphStyle style;
    PaintForecastPlot(painter, image.size(), model, style);
    PaintForecastCursor(painter, image.size(), model, style);
    return 0;
}
