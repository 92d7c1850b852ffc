#include "chart/make_font.h"

#include <QFontMetricsF>
#include <cmath>
#include <cstdlib>

#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {

std::optional<QFont> MakeFont(const std::string& face, int height, int width) {
    constexpr int kLargest = 4096;
    int pixels = std::abs(height);
    if (pixels == 0 || pixels > kLargest || width < 0 || width > kLargest) {
        Journal(Format("%s, %d =NULL", face.c_str(), height));
        return std::nullopt;
    }
    QFont font(QString::fromStdString(face));
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleStrategy(QFont::PreferOutline);
    if (width > 0) {
        double average = QFontMetricsF(font).averageCharWidth();
        if (average > 0) {
            int stretch = static_cast<int>(std::lround(100.0 * width / average));
            font.setStretch(std::clamp(stretch, 1, 4000));
        }
    }
    return font;
}

QColor ToQColor(Colour colour) {
    if (colour == kStandardColour) return QColor(Qt::black);
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

}  // namespace orbeta
