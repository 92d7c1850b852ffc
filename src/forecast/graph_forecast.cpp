#include "forecast/graph_forecast.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/chart_compute.h"
#include "core/ephemeris.h"

namespace orbeta {
namespace {

bool Has(uint32_t mask, int point) {
    return point >= 1 && point <= kPointCount && (mask >> (point - 1)) & 1u;
}

std::vector<int> PointsOf(uint32_t mask, int last) {
    std::vector<int> points;
    for (int p = 1; p <= last; ++p)
        if (Has(mask, p)) points.push_back(p);
    return points;
}

bool Finite(const HitRecord& h) {
    return std::isfinite(h.start) && std::isfinite(h.end) && std::isfinite(h.aspect);
}

GraphLabel LabelOf(const ChartRecord& chart, int point) {
    GraphLabel l;
    l.point = point;
    l.lon = PointLongitude(chart, point);
    l.retrograde = point <= kBodyCount && chart.speed[point] < 0;
    return l;
}

// The stations of each marked body are found once over all its bars.
void AddMotionMarks(Computation& c, ForecastModel& m) {
    for (int body = MER; body <= HIR; ++body) {
        if (!MarksMotion(body)) continue;
        double from = 0, to = 0;
        bool any = false;
        auto bodyOf = [&](const ForecastBand& band, const GraphBar& bar) {
            return m.options.vertical ? bar.partner : band.label.point;
        };
        for (const auto& band : m.bands)
            for (const auto& bar : band.bars) {
                if (bodyOf(band, bar) != body || !(bar.end >= bar.start)) continue;
                from = any ? std::min(from, bar.start) : bar.start;
                to = any ? std::max(to, bar.end) : bar.end;
                any = true;
            }
        if (!any) continue;
        // Bars of a damaged file may reach anywhere: the span stays near the period.
        from = std::max(from, m.period.start - 2);
        to = std::min(to, m.period.end + 2);
        if (!(to >= from)) continue;
        BodyMotion motion = FindBodyMotion(c, body, from, to, m.calcMethod, m.natal);
        for (auto& band : m.bands)
            for (auto& bar : band.bars)
                if (bodyOf(band, bar) == body && bar.end >= bar.start)
                    bar.motion = MotionMarks(motion, bar.start, bar.end);
    }
}

// Where the speed, va at a and vb at b of opposite signs, passes 0: false position with
// the Illinois step, to about a second; the speed is smooth, so a few calls do.
double SpeedZero(Computation& c, int body, double a, double b, double va, double vb) {
    int kept = 0;  // the end kept last time: -1 a, 1 b
    double x = (a + b) / 2, previous = a;
    for (int i = 0; i < 40; ++i) {
        if (!(vb != va)) return (a + b) / 2;
        x = (a * vb - b * va) / (vb - va);
        if (std::fabs(x - previous) < 1e-5) break;
        previous = x;
        double vx = CalcBody(c, x, body).speed;
        if (vx == 0) break;
        if (vx * vb > 0) {
            b = x;
            vb = vx;
            if (kept == -1) va /= 2;
            kept = -1;
        } else {
            a = x;
            va = vx;
            if (kept == 1) vb /= 2;
            kept = 1;
        }
    }
    return x;
}

}  // namespace

SearchRequest MakeForecastRequest(const GraphPeriod& period, const ForecastOptions& o,
                                  int calcMethod, const OrbTable& orbs, const ChartRecord& natal) {
    SearchRequest r;
    r.start = period.start;
    r.end = period.end;
    r.step = 1;
    r.calcMethod = calcMethod;
    r.exactMode = 0;
    r.orbTable = &orbs;
    for (const auto& a : orbs.aspects)
        if (r.aspects.size() < kMaxSearchAspects) r.aspects.push_back(a.angle);
    r.bothMoving = o.current ? 0 : 1;
    r.movingMask = o.bodyMask & 0x7FFF;
    r.targetMask = o.current ? r.movingMask : o.natalMask;
    for (int i = 0; i < kBodyCount; ++i) {
        if (!Has(o.bodyMask, i + 1)) continue;
        if (o.current) {
            for (int j = i + 1; j < kBodyCount; ++j)
                if (Has(o.bodyMask, j + 1))
                    r.pairs.push_back({uint8_t(i + 1), uint8_t(j + 1), 1, 0.0, -1.0});
        } else {
            for (int j = 0; j < kPointCount; ++j)
                if (Has(o.natalMask, j + 1))
                    r.pairs.push_back(
                        {uint8_t(i + 1), uint8_t(j + 1), 1, PointLongitude(natal, j + 1), -1.0});
        }
    }
    return r;
}

std::filesystem::path FreeGraphFileName(const std::filesystem::path& dir) {
    for (int n = 1; n <= 9999; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%s%04d.%s", "a", n, "tmp");
        std::error_code ec;
        auto path = dir / name;
        // A dangling link is not free either.
        if (std::filesystem::symlink_status(path, ec).type() ==
            std::filesystem::file_type::not_found)
            return path;
    }
    return {};
}

std::vector<int> BandPoints(const ForecastOptions& o) {
    if (o.vertical && !o.current) return PointsOf(o.natalMask, kPointCount);
    return PointsOf(o.bodyMask, kBodyCount);
}

std::vector<int> LegendPoints(const ForecastOptions& o) {
    if (o.vertical || o.current) return PointsOf(o.bodyMask, kBodyCount);
    return PointsOf(o.natalMask, kPointCount);
}

std::vector<GraphBar> BandBars(const std::vector<HitRecord>& hits, int point,
                               const ForecastOptions& o) {
    std::vector<GraphBar> bars;
    bool byA = true, byB = false;
    if (o.current) {
        byA = o.matrix != 1;
        byB = o.matrix != 0;
    } else if (o.vertical) {
        byA = false;
        byB = true;
    }
    for (const auto& h : hits) {
        if (!Finite(h) || h.a < 1 || h.a > kPointCount || h.b < 1 || h.b > kPointCount) continue;
        int partner = 0;
        if (byA && h.a == point)
            partner = h.b;
        else if (byB && h.b == point)
            partner = h.a;
        else
            continue;
        GraphBar bar;
        bar.start = h.start;
        bar.end = h.end;
        if (h.exactCount > 0 && std::isfinite(h.exact[0])) bar.exact = h.exact[0];
        bar.aspect = h.aspect;
        bar.partner = partner;
        bars.push_back(bar);
    }
    AssignLevels(bars);
    return bars;
}

int AssignLevels(std::vector<GraphBar>& bars) {
    // Rising past each occupied level and checking again ends on the lowest level that
    // no earlier overlapping bar holds.
    int maxLevel = 0;
    std::vector<char> taken;
    for (size_t i = 0; i < bars.size(); ++i) {
        taken.assign(i + 1, 0);
        for (size_t k = 0; k < i; ++k)
            if (bars[i].start < bars[k].end && bars[k].start < bars[i].end &&
                static_cast<size_t>(bars[k].level) <= i)
                taken[static_cast<size_t>(bars[k].level)] = 1;
        int level = 0;
        while (taken[static_cast<size_t>(level)]) ++level;
        bars[i].level = level;
        maxLevel = std::max(maxLevel, level);
    }
    return maxLevel;
}

int BarOffset(int level, int maxLevel, int rowPitch) {
    if (maxLevel == 0) return rowPitch / 2;
    return std::max(1, (level + 1) * rowPitch / (maxLevel + 2));
}

bool MarksMotion(int point) {
    return (point >= MER && point <= PLT) || point == HIR;
}

BodyMotion FindBodyMotion(Computation& c, int body, double from, double to, int calcMethod,
                          const ChartRecord& natal) {
    BodyMotion m;
    m.from = from;
    int kind = MotionKind(c.Options(), body);
    if (kind < 2 || !(to >= from)) {
        m.retrogradeAtFrom = kind == 1;
        return m;
    }
    // The method's time scale is linear in the real moment (mirrored methods run it
    // backwards): stations are searched there and mapped back to real moments.
    double x0 = CalculationMoment(calcMethod, natal.jdUT, natal);
    double rate = CalculationMoment(calcMethod, natal.jdUT + 1, natal) - x0;
    if (!(std::fabs(rate) > 0) || !std::isfinite(rate)) return m;
    double xs = CalculationMoment(calcMethod, from, natal);
    double xe = CalculationMoment(calcMethod, to, natal);
    // No body turns twice within four days, so a step of four finds every station.
    constexpr double kScanDays = 4;
    constexpr int kMaxScanSteps = 100000;
    int steps = static_cast<int>(std::ceil(std::fabs(xe - xs) / kScanDays));
    steps = std::clamp(steps, 1, kMaxScanSteps);
    double h = (xe - xs) / steps;
    double v0 = CalcBody(c, xs, body).speed;
    m.retrogradeAtFrom = v0 <= 0;
    for (int k = 0; k < steps; ++k) {
        double s0 = xs + k * h, s1 = k + 1 == steps ? xe : s0 + h;
        double v1 = CalcBody(c, s1, body).speed;
        if (v0 * v1 <= 0 && v0 != v1) {
            double x = SpeedZero(c, body, s0, s1, v0, v1);
            m.stations.push_back(natal.jdUT + (x - x0) / rate);
        }
        v0 = v1;
    }
    std::sort(m.stations.begin(), m.stations.end());
    return m;
}

std::vector<MotionMark> MotionMarks(const BodyMotion& motion, double start, double end) {
    bool retro = motion.retrogradeAtFrom;
    auto s = motion.stations.begin();
    for (; s != motion.stations.end() && *s <= start; ++s) retro = !retro;
    std::vector<MotionMark> marks{{start, retro ? 'r' : 'd'}};
    for (; s != motion.stations.end() && *s <= end; ++s) {
        retro = !retro;
        marks.push_back({*s, retro ? 'r' : 'd'});
    }
    return marks;
}

ChartRecord ChartAtMoment(Computation& c, const ChartRecord& chart, int calcMethod, double t) {
    ChartRecord r = chart;
    r.jdUT = t;
    r.jdCalc = t;
    r.jdLocal = t - chart.gmtCorr;
    ComputeChart(c, r, chart, calcMethod);
    return r;
}

ForecastModel BuildForecastModel(Computation& c, const std::vector<HitRecord>& hits,
                                 const ChartRecord& natal, int calcMethod,
                                 const GraphPeriod& period, const ForecastOptions& options,
                                 double cursor) {
    ForecastModel m;
    m.natal = natal;
    m.calcMethod = calcMethod;
    m.period = period;
    m.options = options;
    if (m.options.current) m.options.vertical = false;
    for (int point : BandPoints(m.options)) {
        ForecastBand band;
        band.label.point = point;
        band.bars = BandBars(hits, point, m.options);
        for (const auto& b : band.bars) band.maxLevel = std::max(band.maxLevel, b.level);
        m.bands.push_back(std::move(band));
    }
    if (!m.options.hideMotion) AddMotionMarks(c, m);
    SetForecastCursor(c, m, cursor);
    return m;
}
void SetForecastCursor(Computation& c, ForecastModel& m, double cursor) {
    m.cursor = cursor;
    ChartRecord moving = ChartAtMoment(c, m.natal, m.calcMethod, cursor);
    const ChartRecord& bandChart = m.options.vertical ? m.natal : moving;
    bool movingPartners = m.options.vertical || m.options.current;
    const ChartRecord& legendChart = movingPartners ? moving : m.natal;
    for (auto& band : m.bands) band.label = LabelOf(bandChart, band.label.point);
    m.legend.clear();
    for (int point : LegendPoints(m.options)) m.legend.push_back(LabelOf(legendChart, point));
}

}  // namespace orbeta
