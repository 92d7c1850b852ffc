#pragma once
// Helpers of the wheel tests: Qt without a display and the program's fonts, charts
// with chosen positions, and a painting whose parts can be looked at.
#include <QImage>
#include <initializer_list>
#include <utility>
#include <vector>

#include "chart/wheel_painter.h"

namespace orbeta::test {

// A QGuiApplication on the offscreen platform with Sigilum and Tabula Mono registered
// from the source tree; made once per test program.
void EnsureGui();

// A chart with the given body longitudes (every other body not computed), cusps
// from the Ascendant with houses of the given widths, and the house system.
ChartRecord ChartWith(std::initializer_list<std::pair<int, double>> bodies, double ascendant,
                      int houseSystem = 3);

// Parameters as the program's default settings give them, for one chart.
WheelParams OneChartParams(const ChartRecord& chart);

struct Painted {
    QImage image;
    WheelLayout layout;
    WheelTrace trace;
    std::vector<const TracedLine*> Lines(WheelItem item) const;
    std::vector<const TracedText*> Texts(WheelItem item) const;
};
Painted PaintWheel(const WheelParams& params, QSize size = {1200, 900}, bool printer = false);

}  // namespace orbeta::test
