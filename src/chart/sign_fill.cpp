// The coloured sign ring: a grid of single pixels between the two outer circles, each
// in the colour of the element of the sign it lies in. The pixels are set in an image
// that is drawn once, so the cost is the grid, not one drawing call per pixel.
#include <QImage>
#include <array>
#include <cmath>

#include "chart/make_font.h"
#include "chart/wheel_painter_internal.h"
#include "core/angles.h"

namespace orbeta {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr int kBinsPerDegree = 10;
constexpr int kBins = 360 * kBinsPerDegree;

// Which sign a screen angle falls in, from the screen angles of the twelve sign
// boundaries; a table of small angle bins answers at once where no boundary crosses.
class SignSectors {
  public:
    explicit SignSectors(const WheelGeometry& g) : clockwise_(g.direction == 1) {
        for (int i = 0; i < 12; ++i) boundary_[i] = g.ScreenAngle(30.0 * i);
        boundary_[12] = boundary_[0];
        bins_.fill(-1);
        for (int k = 0; k < kBins; ++k) {
            double lo = static_cast<double>(k) / kBinsPerDegree;
            double hi = static_cast<double>(k + 1) / kBinsPerDegree;
            bool crossed = false;
            for (int i = 0; i < 12 && !crossed; ++i)
                crossed = boundary_[i] >= lo && boundary_[i] <= hi;
            if (!crossed) bins_[k] = static_cast<int8_t>(Exact(lo + 0.5 / kBinsPerDegree));
        }
    }
    int SignAt(double angle) const {
        int k = static_cast<int>(angle * kBinsPerDegree);
        if (k >= 0 && k < kBins && bins_[k] >= 0) return bins_[k];
        return Exact(angle);
    }

  private:
    int Exact(double angle) const {
        for (int i = 0; i < 12; ++i) {
            bool in = clockwise_ ? InArc(angle, boundary_[i], boundary_[i + 1])
                                 : InArc(angle, boundary_[i + 1], boundary_[i]);
            if (in) return i;
        }
        return 0;
    }
    bool clockwise_;
    std::array<double, 13> boundary_{};
    std::array<int8_t, kBins> bins_{};
};

}  // namespace

void WheelPainter::FillSigns() {
    const WheelDisplay& d = params_.display;
    int spacing;
    if (printer_) {
        if (d.printerBlackWhite || d.printerLowMemory || d.printerFill == 0) return;
        spacing = (5 - d.printerFill) * 2;
    } else {
        if (d.signFill == 0) return;
        spacing = 4 - d.signFill;
    }
    spacing = std::max(spacing, 1);
    const WheelLayout& L = layout_;
    const int r0 = L.r0, r1 = L.r1, cx = L.geometry.cx, cy = L.geometry.cy;
    if (r0 <= 1) return;

    std::array<QRgb, 12> colour{};
    for (int s = 0; s < 12; ++s) colour[s] = ToQColor(params_.elements[s % 4 + 5]).rgba();
    SignSectors sectors(L.geometry);
    QImage image(2 * r0 + 1, 2 * r0 + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const long outer = static_cast<long>(r0) * r0, inner = static_cast<long>(r1) * r1;
    long pixels = 0;
    for (int y = cy - r0 + 1; y < cy + r0; y += spacing) {
        long dy = y - cy;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y - (cy - r0)));
        for (int x = cx - r0 + 1; x < cx + r0; x += spacing) {
            long dx = x - cx;
            long d2 = dx * dx + dy * dy;
            if (d2 <= inner || d2 >= outer) continue;
            double angle =
                std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * kDegreesPerRadian;
            if (angle < 0) angle += 360.0;
            line[x - (cx - r0)] = colour[sectors.SignAt(angle)];
            ++pixels;
        }
    }
    p_.drawImage(cx - r0, cy - r0, image);
    if (trace_) trace_->fillPixels = pixels;
}

}  // namespace orbeta
