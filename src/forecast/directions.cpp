#include "forecast/directions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/houses.h"
#include "forecast/degree_reports.h"
#include "forecast/sensitive_points.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

// The scan of one half-year step never needs more than a few turns of the list; the
// bound only guards against a Moon that the ephemeris gives as nonsense.
constexpr int kTurnsPerStep = 4;

std::string OwnerName(int owner) {
    if (owner >= kSignStartOwner) return SignStartName(owner - kSignStartOwner);
    return PointName(owner);
}

std::vector<SensitivePoint> AspectPointsOf(const ChartRecord& chart, const OrbTable& table,
                                           long maskP) {
    SensitivePointOptions options;
    options.maskP = maskP;
    options.signStarts = true;
    return SensitivePoints(chart, table, options);
}

}  // namespace

ChartRecord RightAscensionChart(const ChartRecord& chart) {
    ChartRecord ra = chart;
    for (int p = 1; p <= kPointCount; ++p) {
        if (p <= kBodyCount && !BodyAvailable(chart, p)) continue;
        double value = EquatorialOf(chart, p).rightAscension;
        if (p <= kBodyCount)
            ra.lon[p] = value;
        else
            ra.cusp[CuspOfPoint(p)] = value;
    }
    return ra;
}

std::vector<DirectionFinding> DirectionFindings(const ChartRecord& chart, const OrbTable& table,
                                                long maskP, bool rightAscension, double start,
                                                double end) {
    std::vector<DirectionFinding> out;
    if (!(end >= start)) return out;
    const ChartRecord c = rightAscension ? RightAscensionChart(chart) : chart;
    const double t0 = c.jdUT;
    const double y0 = (start - t0) / kDirectionYear;
    const double y1 = (end - t0 + 0.001) / kDirectionYear;
    auto aspectPoints = AspectPointsOf(c, table, maskP);
    for (int p : ExaminedPoints(c, maskP)) {
        const double lon = PointLongitude(c, p);
        for (const SensitivePoint& a : aspectPoints) {
            if (a.owner == p) continue;
            // The aspect point moved by whole turns to its first place on the path: a
            // path across 0° Aries still meets the points just after it.
            double pos = a.position + 360 * std::ceil((lon + y0 - a.position) / 360);
            if (pos - 360 >= lon + y0) pos -= 360;
            if (pos < lon + y0) pos += 360;
            for (; pos <= lon + y1; pos += 360) {
                double moment = t0 + kDirectionYear * (pos - lon);
                if (moment < start || moment > end) break;
                out.push_back({moment, p, a.owner, a.angle});
            }
        }
    }
    std::stable_sort(
        out.begin(), out.end(),
        [](const DirectionFinding& x, const DirectionFinding& y) { return x.jd < y.jd; });
    return out;
}

std::vector<DirectionFinding> ProgressedMoonFindings(const ChartRecord& chart,
                                                     const OrbTable& table, long maskP,
                                                     double start, double end,
                                                     const std::function<double(double)>& moonAt) {
    std::vector<DirectionFinding> out;
    if (!(end >= start)) return out;
    auto points = AspectPointsOf(chart, table, maskP);
    if (points.empty()) return out;
    const size_t n = points.size();
    const double t0 = chart.jdUT;
    const double y0 = (start - t0) / kDirectionYear;
    const double y1 = (end - t0 + 0.001) / kDirectionYear;
    // The Moon and the scan stand in one unwrapped frame: the point at index i of the
    // list is met at points[i].position + turn, and each step's Moon is moved by whole
    // turns to continue the previous step's. So every passage is found once, and a step
    // starting past the last point of the list goes on with the first one of the next
    // turn instead of waiting for a position it has already left behind.
    size_t index = 0;
    double turn = 0;
    bool first = true;
    double previousEnd = 0;
    for (long step = 0;; ++step) {
        const double y = y0 + 0.5 * static_cast<double>(step);
        if (y > y1) break;
        const double t = t0 + y;
        double m1 = moonAt(t);
        double m2 = moonAt(t + 0.5);
        if (!std::isfinite(m1) || !std::isfinite(m2)) continue;
        if (m2 < m1) m2 += 360;
        const double speed = (m2 - m1) / 0.5;
        if (!(speed > 0)) continue;
        if (first) {
            first = false;
            while (index < n && points[index].position < m1) ++index;
            if (index == n) {
                index = 0;
                turn = 360;
            }
        } else {
            double shift = 360 * std::round((previousEnd - m1) / 360);
            m1 += shift;
            m2 += shift;
        }
        previousEnd = m2;
        for (size_t guard = 0; guard < kTurnsPerStep * n; ++guard) {
            const SensitivePoint& a = points[index];
            const double position = a.position + turn;
            if (m2 < position) break;
            if (m1 <= position) {
                const double dt = (position - m1) / speed;
                if (y + dt > y1) return out;
                out.push_back({t0 + kDirectionYear * (t + dt - t0), MON, a.owner, a.angle});
            }
            if (++index == n) {
                index = 0;
                turn += 360;
            }
        }
    }
    return out;
}

std::string DirectionTitle(int commandId, const ChartRecord& chart, double start, double end) {
    return Format("%s: %s %s, %s - %s", ReportTitle(commandId).c_str(),
                  std::string(chart.name, strnlen(chart.name, sizeof chart.name)).c_str(),
                  DateTimeText(chart.jdLocal).c_str(), DateText(start).c_str(),
                  DateText(end).c_str());
}

std::string DirectionReport(const std::vector<DirectionFinding>& findings) {
    std::string out;
    for (const DirectionFinding& f : findings)
        out += Format(" %s-%s %s-%3.0f\n", PointName(f.point).c_str(), OwnerName(f.owner).c_str(),
                      DateText(f.jd).c_str(), f.angle);
    return out;
}

std::string ProgressedMoonReport(const std::vector<DirectionFinding>& findings) {
    std::string out;
    for (const DirectionFinding& f : findings)
        out +=
            Format(" %s-%3.0f %s\n", DateText(f.jd).c_str(), f.angle, OwnerName(f.owner).c_str());
    return out;
}

}  // namespace orbeta
