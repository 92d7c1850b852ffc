#include "core/fixed_star.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "core/angles.h"
#include "core/houses.h"

namespace orbeta {
namespace {

constexpr double kDeg = M_PI / 180.0;

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

bool Number(std::string_view s, double& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && std::isfinite(out);
}

bool Integer(std::string_view s, int& out) {
    double d = 0;
    if (!Number(s, d) || d != std::floor(d) || std::fabs(d) > 1e6) return false;
    out = static_cast<int>(d);
    return true;
}

}  // namespace

std::optional<StarEntry> ParseStarLine(std::string_view line, StarLineError* error) {
    auto fail = [&](StarLineError e) -> std::optional<StarEntry> {
        if (error) *error = e;
        return std::nullopt;
    };
    if (line.empty() || line.front() != '=') return fail(StarLineError::TooFewFields);
    auto f = Fields(line.substr(1));
    if (f.size() < 8) return fail(StarLineError::TooFewFields);
    StarEntry s;
    s.name = std::string(f[0].substr(0, 39));
    if (!Number(f[1], s.raHours) || !Number(f[2], s.declination) || !Number(f[3], s.pmRa) ||
        !Number(f[4], s.pmDec) || !Number(f[5], s.magnitude) || !Integer(f[6], s.number) ||
        !Integer(f[7], s.heliacalClass))
        return fail(StarLineError::NotANumber);
    if (s.raHours < 0 || s.raHours >= 24) return fail(StarLineError::RightAscension);
    if (s.declination < -90 || s.declination > 90) return fail(StarLineError::Declination);
    if (error) *error = StarLineError::None;
    return s;
}

StarPosition StarPositionAt(const StarEntry& star, double jd) {
    const double T0 = (2451545.0 - 2415020.313) / 36524.2199;
    const double t = (jd - 2451545.0) / 36524.2199;
    const double k = (2304.25 + 1.396 * T0) * t;
    const double zeta = (k + 0.302 * t * t + 0.018 * t * t * t) / 3600;
    // z exceeds ζ by 0.791 t² and 0.001 t³ (not z = those terms alone).
    const double z = (k + 1.093 * t * t + 0.019 * t * t * t) / 3600;
    const double theta = ((2004.682 - 0.853 * T0) * t - 0.426 * t * t - 0.042 * t * t * t) / 3600;
    const double a0 = (15 * star.raHours + 15 * star.pmRa * t / 360000) * kDeg;
    const double d0 = (star.declination + star.pmDec * t / 360000) * kDeg;
    const double az = a0 + zeta * kDeg;
    const double th = theta * kDeg;
    const double A = std::cos(d0) * std::sin(az);
    const double B = std::cos(th) * std::cos(d0) * std::cos(az) - std::sin(th) * std::sin(d0);
    const double C = std::sin(th) * std::cos(d0) * std::cos(az) + std::cos(th) * std::sin(d0);
    StarPosition p;
    p.rightAscension = Normalize(std::atan2(A, B) / kDeg + z);
    p.declination = std::asin(std::clamp(C, -1.0, 1.0)) / kDeg;
    const double eps = MeanObliquity(jd);
    const double a = p.rightAscension * kDeg, d = p.declination * kDeg;
    p.longitude = Normalize(
        std::atan2(std::sin(a) * std::cos(eps) + std::tan(d) * std::sin(eps), std::cos(a)) / kDeg);
    p.latitude =
        std::asin(std::clamp(
            std::sin(d) * std::cos(eps) - std::cos(d) * std::sin(eps) * std::sin(a), -1.0, 1.0)) /
        kDeg;
    return p;
}

}  // namespace orbeta
