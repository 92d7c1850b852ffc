#include "core/angles.h"

#include <cmath>

#include "platform/format.h"

namespace orbeta {

double PackedToDegrees(double packed) {
    double a = std::fabs(packed);
    double whole = std::trunc(a);
    double deg = whole + (a - whole) * 1.6666666666666667;
    return packed < 0 ? -deg : deg;
}

double DegreesToPacked(double degrees) {
    double a = std::fabs(degrees);
    double whole = std::trunc(a);
    double packed = whole + (a - whole) * 0.6;
    return degrees < 0 ? -packed : packed;
}

double StoredLongitude(double packedLongitude) {
    if (packedLongitude >= 0) return packedLongitude;
    return DegreesToPacked(360.0 - PackedToDegrees(-packedLongitude));
}

namespace {

PackedFault CheckPacked(double packed, double low, double high) {
    if (!std::isfinite(packed)) return PackedFault::Range;
    double a = std::fabs(packed);
    // 45.60 is stored as 45.5999…: minutes that print as 60 are 60.
    if ((a - std::trunc(a)) * 100.0 > 60.0 - 1e-7) return PackedFault::Minutes;
    const double slack = 1e-9;
    return packed < low - slack || packed > high + slack ? PackedFault::Range : PackedFault::None;
}

}  // namespace

PackedFault CheckPackedLatitude(double packed) {
    return CheckPacked(packed, -90.0, 90.0);
}

PackedFault CheckPackedLongitude(double packed) {
    return CheckPacked(packed, -180.0, 360.0);
}

double Normalize(double x) {
    double q = x / 360.0;
    double r = (q - std::trunc(q)) * 360.0;
    if (r < 0) r += 360.0;
    if (r >= 360.0) r = 0.0;  // a tiny negative value plus 360 rounds to 360
    return r;
}

double Opposite(double x) { return Normalize(x + 180.0); }

double Difference(double a, double b) {
    double d = Normalize(a) - Normalize(b) - 360.0;
    double best = d;
    for (double c : {d + 360.0, d + 720.0})
        if (std::fabs(c) < std::fabs(best)) best = c;
    return best;
}

double Separation(double a, double b) { return std::fabs(Difference(a, b)); }

bool InArc(double x, double a, double b) {
    return Normalize(x - a) < Normalize(b - a);
}

int HouseOf(double lon, const double cusp[13], bool reverse) {
    double x = Normalize(lon);
    for (int i = 1; i <= 12; ++i) {
        int next = i % 12 + 1;
        bool in = reverse ? InArc(x, cusp[next], cusp[i]) : InArc(x, cusp[i], cusp[next]);
        if (in) return i;
    }
    return 0;
}

double Midpoint(double a, double b) {
    double m = (a + b) * 0.5;
    if (std::fabs(b - a) > 180.0) m -= 180.0;
    return Normalize(m);
}

int SignOf(double lon) {
    double s = std::trunc(lon / 30.0);
    if (!(s >= 0)) return 0;  // also NaN
    if (s > 11) return 11;
    return static_cast<int>(s);
}

int SignRuler(int sign) {
    static const int rulers[12] = {5, 4, 3, 2, 1, 3, 4, 10, 6, 7, 8, 9};
    return sign >= 0 && sign < 12 ? rulers[sign] : 0;
}

const char* SignAbbreviation(int sign) {
    static const char* const names[12] = {"Ar", "Ta", "Ge", "Cn", "Le", "Vi",
                                          "Li", "Sc", "Sa", "Cp", "Aq", "Pi"};
    return sign >= 0 && sign < 12 ? names[sign] : "";
}

SignPosition SignPositionOf(double lon) {
    double x = Normalize(lon) + 1.0 / 120.0;
    if (x >= 360.0) x -= 360.0;  // 359°59'30" and above round to 0° Aries
    if (!(x >= 0.0 && x < 360.0)) x = 0.0;  // a damaged value (NaN, infinity)
    double whole = std::trunc(x);
    int sign = static_cast<int>(whole / 30.0);
    if (sign > 11) sign = 11;
    SignPosition p;
    p.sign = sign;
    p.degrees = static_cast<int>(whole) - 30 * sign;
    p.minutes = static_cast<int>((x - whole) * 60.0);
    return p;
}

std::string PositionText(double lon) {
    SignPosition p = SignPositionOf(lon);
    return Format("%02u%s%02u", static_cast<unsigned>(p.degrees), SignAbbreviation(p.sign),
                  static_cast<unsigned>(p.minutes));
}

}  // namespace orbeta
