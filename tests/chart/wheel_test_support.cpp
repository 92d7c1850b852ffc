#include "wheel_test_support.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdlib>

#include "aspects/orb_file.h"
#include "core/angles.h"
#include "data/settings.h"

// Qt's font configuration keeps caches that live until the process ends; under the
// leak checker they are not ours to report.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus\n";
}

namespace orbeta::test {

void EnsureGui() {
    static QGuiApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "chart_tests";
        static char* argv[] = {name, nullptr};
        auto* a = new QGuiApplication(argc, argv);
        for (const char* file : {"/data/fonts/sigilum.ttf", "/data/fonts/tabmono.ttf"})
            QFontDatabase::addApplicationFont(QString(ORBETA_SOURCE_DIR) + file);
        return a;
    }();
    (void)app;
}

ChartRecord ChartWith(std::initializer_list<std::pair<int, double>> bodies, double ascendant,
                      int houseSystem) {
    ChartRecord c;
    c.jdLocal = c.jdUT = c.jdCalc = 2451545.0;
    c.calcMethod = 1;
    c.houseSystem = static_cast<int16_t>(houseSystem);
    for (auto [body, lon] : bodies) {
        c.lon[body] = lon;
        c.lat[body] = 0.5;
        c.speed[body] = 1.0;
    }
    // Unequal quadrant-like houses: 20, 30, 40 degrees in each quadrant.
    const double widths[12] = {20, 30, 40, 20, 30, 40, 20, 30, 40, 20, 30, 40};
    double lon = ascendant;
    for (int k = 1; k <= 12; ++k) {
        c.cusp[k] = Normalize(lon);
        lon += widths[k - 1];
    }
    return c;
}

WheelParams OneChartParams(const ChartRecord& chart) {
    Settings settings;
    OrbTable table;
    WheelParams p = MakeWheelParams(settings, table, false);
    p.first = p.second = chart;
    return p;
}

Painted PaintWheel(const WheelParams& params, QSize size, bool printer) {
    EnsureGui();
    Painted out;
    out.image = QImage(size, QImage::Format_RGB32);
    out.image.fill(Qt::white);
    QPainter painter(&out.image);
    uint8_t state = printer ? kPrintRequested : kNotPrinting;
    out.layout = PaintChart(painter, params, size, printer, state, &out.trace);
    return out;
}

std::vector<const TracedLine*> Painted::Lines(WheelItem item) const {
    std::vector<const TracedLine*> v;
    for (const auto& l : trace.lines)
        if (l.item == item) v.push_back(&l);
    return v;
}

std::vector<const TracedText*> Painted::Texts(WheelItem item) const {
    std::vector<const TracedText*> v;
    for (const auto& t : trace.texts)
        if (t.item == item) v.push_back(&t);
    return v;
}

}  // namespace orbeta::test
