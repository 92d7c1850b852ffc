#include "forecast/graph_layout.h"

#include <algorithm>

namespace orbeta {

GraphLayout BaseGraphLayout(int width, int height, bool printing) {
    GraphLayout l;
    l.width = std::max(1, width);
    l.height = std::max(1, height);
    if (printing)
        l.rowHeight = l.height < l.width ? l.height * 30 / 2000 : l.height * 30 / 2900;
    else
        l.rowHeight = l.height / 30;
    l.rowHeight = std::max(1, l.rowHeight);
    l.x0 = l.width / 10;
    l.x1 = l.width * 14 / 15;
    l.y0 = l.height / 20;
    l.y1 = l.height * 4 / 5;
    return l;
}

GraphLayout ForecastLayout(int width, int height, bool printing, int dpiY, int bandCount) {
    GraphLayout l = BaseGraphLayout(width, height, printing);
    if (printing) l.rowHeight = std::max(1, dpiY / 6);
    l.x0 = l.width / 18;
    l.x1 = l.width * 79 / 80;
    l.y0 = l.height / 100;
    l.y1 = l.height - 6 * l.rowHeight;
    if (bandCount > 0 && l.y1 > l.y0) {
        l.rowPitch = (l.y1 - l.y0) / bandCount;
        l.y0 = l.y1 - bandCount * l.rowPitch;
    }
    return l;
}

GraphLayout EphemerisLayout(int width, int height, bool printing) {
    constexpr int kLevels = 24;
    GraphLayout l = BaseGraphLayout(width, height, printing);
    l.x0 = l.width / 15;
    l.x1 = l.width * 29 / 30;
    l.y1 = std::max(0, l.height - 5 * l.rowHeight);
    l.levelPitch = l.y1 / kLevels;
    l.y0 = l.y1 - kLevels * l.levelPitch;
    return l;
}

}  // namespace orbeta
