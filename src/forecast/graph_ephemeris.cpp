#include "forecast/graph_ephemeris.h"

#include <cmath>

#include "core/chart_compute.h"
#include "forecast/time_search.h"

namespace orbeta {
namespace {

// A step count the plot can use: a period of centuries is not sampled daily.
constexpr int kMaxSteps = 200000;

bool Has(uint32_t mask, int point) {
    return point >= 1 && point <= kPointCount && (mask >> (point - 1)) & 1u;
}

GraphLabel LabelOf(const ChartRecord& chart, int point) {
    return {point, PointLongitude(chart, point), point <= kBodyCount && chart.speed[point] < 0};
}

// The step from (px, py) to (x, y) of one body, wrapped across the modulus or not.
void AddSegment(BodyCurve& curve, std::vector<CurveWrap>& wraps, const PlotBox& box, bool sunRule,
                int dir, int px, int py, int x, int y, double tPrev, double t) {
    int dy = y - py;
    int h = box.y1 - box.y0;
    bool wraps_ = sunRule ? dy * dir > 0 : std::abs(dy) > h / 2;
    if (!wraps_) {
        curve.segments.push_back({px, py, x, y});
        return;
    }
    double xc;
    if (dy > 0) {
        double den = double(h) - dy;
        xc = den != 0 ? px + double(x - px) * (py - box.y0) / den : px;
        curve.segments.push_back({px, py, int(xc), box.y0});
        curve.segments.push_back({int(xc), box.y1, x, y});
    } else {
        double den = -double(h) - dy;
        xc = den != 0 ? x + double(px - x) * (box.y0 - y) / den : x;
        curve.segments.push_back({px, py, int(xc), box.y1});
        curve.segments.push_back({int(xc), box.y0, x, y});
    }
    double f = x != px ? (xc - px) / (x - px) : 1.0;
    if (!std::isfinite(f)) f = 1.0;
    wraps.push_back({curve.body, tPrev + (t - tPrev) * f, dy > 0});
}

}  // namespace

int EphemerisStepCount(double start, double end, double step) {
    if (!(step > 0) || !(end >= start) || !std::isfinite(end - start)) return 0;
    double n = std::floor((end + 0.1 * step - start) / step) + 1;
    return n > kMaxSteps ? kMaxSteps : static_cast<int>(n);
}

bool IsMirroredMethod(int m) {
    return (m >= 17 && m <= 20) || m == 26 || m == 31 || m == 33;
}

EphemerisModel BuildEphemerisModel(Computation& c, const ChartRecord& natal, int calcMethod,
                                   const GraphPeriod& period, int modulus, uint32_t bodyMask,
                                   uint32_t natalMask, double cursor) {
    EphemerisModel m;
    m.natal = natal;
    m.calcMethod = calcMethod;
    m.period = period;
    m.modulus = modulus;
    m.bodyMask = bodyMask;
    m.natalMask = natalMask;
    uint32_t needed = 0;
    for (int b = 1; b <= kBodyCount; ++b)
        if (Has(bodyMask, b)) {
            m.bodies.push_back(b);
            needed |= 1u << (b - 1);
        }
    for (int p = 1; p <= kPointCount; ++p)
        if (Has(natalMask, p)) m.natalLines.push_back(LabelOf(natal, p));
    int n = EphemerisStepCount(period.start, period.end);
    m.jd.reserve(static_cast<size_t>(n));
    m.lon.reserve(static_cast<size_t>(n));
    PointSampler sampler(c, natal, calcMethod);
    sampler.SetNeeded(needed);
    double lon[kPointCount + 1] = {};
    for (int k = 0; k < n && !m.bodies.empty(); ++k) {
        double t = period.start + k;
        sampler.Sample(t, lon);
        std::array<double, kBodyCount> row{};
        for (size_t i = 0; i < m.bodies.size(); ++i) row[i] = lon[m.bodies[i]];
        m.jd.push_back(t);
        m.lon.push_back(row);
    }
    SetEphemerisCursor(c, m, cursor);
    return m;
}

void SetEphemerisCursor(Computation& c, EphemerisModel& m, double cursor) {
    m.cursor = cursor;
    ChartRecord moving = ChartAtMoment(c, m.natal, m.calcMethod, cursor);
    m.legend.clear();
    for (int b : m.bodies) m.legend.push_back(LabelOf(moving, b));
}

int LongitudeY(double lon, int modulus, const PlotBox& box) {
    if (modulus <= 0 || !std::isfinite(lon)) return box.y1;
    double r = std::fmod(lon, double(modulus));
    if (r < 0) r += modulus;
    return static_cast<int>(box.y1 - (box.y1 - box.y0) * r / modulus);
}

void BuildCurves(const EphemerisModel& m, const PlotBox& box, std::vector<BodyCurve>& curves,
                 std::vector<CurveWrap>& wraps) {
    curves.clear();
    wraps.clear();
    TimeAxis axis{box.x0, box.x1, m.period.start, m.period.end};
    int dir = IsMirroredMethod(m.calcMethod) ? -1 : 1;
    // A true node and the arc of planetary arcs step backwards too: the half-height
    // rule for every body there, or each such pixel would be drawn as a wrap.
    bool anyBodyTurns = m.calcMethod == 15 || m.calcMethod == 24;
    for (size_t i = 0; i < m.bodies.size(); ++i) {
        BodyCurve curve;
        curve.body = m.bodies[i];
        bool sunRule = (curve.body == SUN || curve.body == MON) && !anyBodyTurns;
        int px = 0, py = 0;
        for (size_t k = 0; k < m.jd.size(); ++k) {
            int x = axis.X(m.jd[k]);
            int y = LongitudeY(m.lon[k][i], m.modulus, box);
            if (k == 0) {
                curve.firstX = x;
                curve.firstY = y;
            } else {
                AddSegment(curve, wraps, box, sunRule, dir, px, py, x, y, m.jd[k - 1], m.jd[k]);
            }
            curve.lastX = px = x;
            curve.lastY = py = y;
        }
        curves.push_back(std::move(curve));
    }
}

}  // namespace orbeta
