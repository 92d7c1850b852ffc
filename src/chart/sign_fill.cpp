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

// A cheap stand-in for the screen angle that keeps its order: 0..4 around the circle
// from the right towards the bottom (as atan2 with screen y), one unit a quadrant.
double DiamondAngle(double y, double x) {
    if (y >= 0) return x >= 0 ? y / (x + y) : 1.0 - x / (y - x);
    return x < 0 ? 2.0 - y / (-x - y) : 3.0 + x / (x - y);
}

double Wrap4(double d) {
    return d < 0 ? d + 4.0 : d;
}

constexpr int kBins = 4096;

// Which sign a point of the ring falls in, from the angles of the twelve sign
// boundaries; a table of small angle bins answers at once where no boundary crosses.
class SignSectors {
  public:
    explicit SignSectors(const WheelGeometry& g) : clockwise_(g.direction == 1) {
        for (int i = 0; i < 12; ++i) {
            double a = g.ScreenAngle(30.0 * i) * 0.017453292519943295;
            boundary_[i] = DiamondAngle(std::sin(a), std::cos(a));
        }
        boundary_[12] = boundary_[0];
        for (int k = 0; k < kBins; ++k) {
            double lo = 4.0 * k / kBins, hi = 4.0 * (k + 1) / kBins;
            bool crossed = false;
            for (int i = 0; i < 12 && !crossed; ++i)
                crossed = boundary_[i] >= lo && boundary_[i] <= hi;
            bins_[k] = crossed ? -1 : static_cast<int8_t>(Exact((lo + hi) / 2));
        }
    }
    int SignAt(long dy, long dx) const {
        double d = DiamondAngle(static_cast<double>(dy), static_cast<double>(dx));
        int k = static_cast<int>(d * (kBins / 4));
        if (k >= 0 && k < kBins && bins_[k] >= 0) return bins_[k];
        return Exact(d);
    }

  private:
    // Within the arc from a to b going the way the angle grows.
    static bool InArc4(double x, double a, double b) { return Wrap4(x - a) < Wrap4(b - a); }
    int Exact(double d) const {
        for (int i = 0; i < 12; ++i) {
            bool in = clockwise_ ? InArc4(d, boundary_[i], boundary_[i + 1])
                                 : InArc4(d, boundary_[i + 1], boundary_[i]);
            if (in) return i;
        }
        return 0;
    }
    bool clockwise_;
    std::array<double, 13> boundary_{};
    std::array<int8_t, kBins> bins_{};
};

// The first grid position at or after x, on a grid through `origin` with `spacing`.
int GridAtOrAfter(int x, int origin, int spacing) {
    int k = (x - origin + spacing - 1) / spacing;
    return origin + std::max(k, 0) * spacing;
}

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
    const int gridX = cx - r0 + 1;
    long pixels = 0;
    // Each row visits only the stretches between the two circles.
    for (int y = cy - r0 + 1; y < cy + r0; y += spacing) {
        const long dy = y - cy;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y - (cy - r0)));
        auto fill = [&](int from, int to) {
            to = std::min(to, cx + r0 - 1);
            for (int x = GridAtOrAfter(from, gridX, spacing); x <= to; x += spacing) {
                long dx = x - cx;
                long d2 = dx * dx + dy * dy;
                if (d2 <= inner || d2 >= outer) continue;
                line[x - (cx - r0)] = colour[sectors.SignAt(dy, dx)];
                ++pixels;
            }
        };
        int wo = static_cast<int>(std::sqrt(static_cast<double>(outer - dy * dy))) + 1;
        if (dy * dy >= inner) {
            fill(cx - wo, cx + wo);
        } else {
            int wi = static_cast<int>(std::sqrt(static_cast<double>(inner - dy * dy)));
            fill(cx - wo, cx - wi);
            fill(cx + wi, cx + wo);
        }
    }
    p_.drawImage(cx - r0, cy - r0, image);
    if (trace_) trace_->fillPixels = pixels;
}

}  // namespace orbeta
