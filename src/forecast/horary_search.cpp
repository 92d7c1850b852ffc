#include "forecast/horary_search.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/chart_compute.h"
#include "core/derived_charts.h"
#include "core/ephemeris.h"
#include "forecast/search_tables.h"
#include "forecast/time_search.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

// Days, by BodyId 1..10.
constexpr double kFineStep[11] = {0, 0.5, 0.05, 0.1, 0.2, 0.5, 2, 5, 10, 10, 10};
constexpr double kCoarseStep[11] = {0, 1, 0.1, 1, 1, 1, 8, 15, 25, 40, 40};
constexpr int kMaxSteps = 100000;

double InSign(double lon) {
    return std::fmod(lon, 30.0);
}

// Newton steps on the real motion onto the nearest multiple of 30 (or of the
// difference's target), starting from a moment the cubic gave.
double Polish(Computation& c, double t, int body, double boundary) {
    for (int i = 0; i < 5; ++i) {
        BodyPosition p = CalcBody(c, t, body);
        if (!(std::fabs(p.speed) > 1e-9)) break;
        double corr = -Difference(p.lon, boundary) / p.speed;
        if (!(std::fabs(corr) < 0.5)) break;
        t += corr;
        if (std::fabs(corr) < 1e-7) break;
    }
    return t;
}

// One pass from t towards the boundary of the sign: forwards (dir 1) or backwards.
double SignBoundary(Computation& c, int body, double t, int dir) {
    double coarse = dir * kCoarseStep[body], fine = dir * kFineStep[body];
    double s = t, prev = t;
    for (int i = 0; i < kMaxSteps; ++i) {
        double f = InSign(BodyLongitude(c, s, body));
        bool near = body >= MER ? (f <= 2 || f >= 28) : (dir > 0 ? f >= 28 : f <= 2);
        if (near) break;
        prev = s;
        s += coarse;
    }
    // A fast body can step over the boundary into f <= 2: search on from the coarse
    // sample before, so that the crossing lies ahead of the fine window.
    s = prev;
    double y[4];
    for (int k = 0; k < 4; ++k) y[k] = InSign(BodyLongitude(c, s + (k - 1) * fine, body));
    for (int i = 0; i < kMaxSteps; ++i) {
        double w[4] = {y[0], y[1], y[2], y[3]};
        int k = 0;
        while (k < 3 && std::fabs(w[k + 1] - w[k]) <= 15) ++k;
        if (k < 3) {
            if (w[k + 1] < w[k]) {
                for (int j = 0; j <= k; ++j)
                    if (w[j] > 15) w[j] -= 30;
            } else {
                for (int j = k + 1; j < 4; ++j)
                    if (w[j] > 15) w[j] -= 30;
            }
            double x[3];
            if (FindRoots(0, fine, w, x) > 0) {
                double m = s + x[0];
                return Polish(c, m, body, 30.0 * std::round(BodyLongitude(c, m, body) / 30.0));
            }
        }
        y[0] = y[1];
        y[1] = y[2];
        y[2] = y[3];
        y[3] = InSign(BodyLongitude(c, s + 3 * fine, body));
        s += fine;
    }
    return s;
}

}  // namespace

void FindSignPeriod(Computation& c, double t, SignPeriod& r, bool untilStation) {
    r.moment = t;
    if (r.ValidAt(t)) return;
    int body = r.body;
    if (body < SUN || body > PLT) return;
    r.sign = std::min(11, static_cast<int>(BodyLongitude(c, t, body) / 30.0));
    r.end = SignBoundary(c, body, t, 1);
    r.begin = SignBoundary(c, body, t, -1);
    if (untilStation && body >= MER) {
        double step = kFineStep[body];
        double v0 = CalcBody(c, t, body).speed;
        for (double s = t; s < r.end; s += step) {
            double v1 = CalcBody(c, s + step, body).speed;
            if (v0 * v1 <= 0) {
                r.end = std::min(r.end, BisectStation(c, body, s, s + step, v0));
                break;
            }
            v0 = v1;
        }
    }
}

bool FindNextAspect(Computation& c, const SignPeriod& pa, const SignPeriod& pb, double from,
                    NextAspect& res) {
    double begin = std::max(pa.begin, pb.begin), end = std::min(pa.end, pb.end);
    // From the caller's moment: an aspect already past would hide the next one.
    double s = std::max(begin, from);
    if (!(s < end)) return false;
    double h = std::min(kFineStep[pa.body], kFineStep[pb.body]);
    double A[4], B[4];
    for (int k = 0; k < 4; ++k) {
        A[k] = BodyLongitude(c, s + (k - 1) * h, pa.body);
        B[k] = BodyLongitude(c, s + (k - 1) * h, pb.body);
    }
    auto unwrap = [](const double in[4], double out[4]) {
        double shift = 0;
        out[0] = in[0];
        for (int k = 1; k < 4; ++k) {
            if (in[k] < 90 && in[k - 1] > 270) shift += 360;
            if (in[k] > 270 && in[k - 1] < 90) shift -= 360;
            out[k] = in[k] + shift;
        }
    };
    constexpr int kAspects[5] = {0, 60, 90, 120, 180};
    for (int step = 0; step < kMaxSteps && s < end; ++step) {
        double ua[4], ub[4], d[4];
        unwrap(A, ua);
        unwrap(B, ub);
        double mn = 0, mx = 0;
        for (int k = 0; k < 4; ++k) {
            d[k] = ua[k] - ub[k];
            mn = std::min(mn, d[k]);
            mx = std::max(mx, d[k]);
        }
        int hi = static_cast<int>(std::ceil(mx / 360)), lo = static_cast<int>(std::floor(mn / 360));
        for (int angle : kAspects) {
            for (int sgn = 0; sgn < (angle == 0 || angle == 180 ? 1 : 2); ++sgn) {
                for (int n = lo; n <= hi; ++n) {
                    double target = 360.0 * n + (sgn ? -angle : angle);
                    if (!(mn - 90 <= target && target <= mx + 90 && std::fabs(d[1] - target) <= 90))
                        continue;
                    double x[3];
                    if (FindRoots(target, h, d, x) == 0) continue;
                    double exact = s + x[0];
                    // Onto the real positions, by the difference's own motion.
                    for (int i = 0; i < 5; ++i) {
                        BodyPosition a = CalcBody(c, exact, pa.body),
                                     b = CalcBody(c, exact, pb.body);
                        double rate = a.speed - b.speed;
                        if (!(std::fabs(rate) > 1e-9)) break;
                        double corr = -Difference(a.lon - b.lon, target) / rate;
                        if (!(std::fabs(corr) < h)) break;
                        exact += corr;
                        if (std::fabs(corr) < 1e-7) break;
                    }
                    if (exact > end || exact < from - 1e-5) return false;
                    res.begin = begin;
                    res.end = end;
                    res.exact = exact;
                    res.bodyA = static_cast<int16_t>(pa.body);
                    res.bodyB = static_cast<int16_t>(pb.body);
                    res.aspect = static_cast<int16_t>(angle);
                    return true;
                }
            }
        }
        for (int k = 0; k < 3; ++k) {
            A[k] = A[k + 1];
            B[k] = B[k + 1];
        }
        A[3] = BodyLongitude(c, s + 3 * h, pa.body);
        B[3] = BodyLongitude(c, s + 3 * h, pb.body);
        s += h;
    }
    return false;
}

NextAspectMatrix ComputeNextAspects(Computation& c, double t, bool untilStation) {
    NextAspectMatrix m;
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            m.aspect[i][j] = -1;
            m.time[i][j] = 0;
        }
        m.periods[i].body = i + 1;
        FindSignPeriod(c, t, m.periods[i], untilStation);
    }
    for (int i = 0; i < 10; ++i)
        for (int j = i + 1; j < 10; ++j) {
            NextAspect a;
            if (!FindNextAspect(c, m.periods[i], m.periods[j], t, a) || a.exact < t) continue;
            m.aspect[i][j] = m.aspect[j][i] = a.aspect;
            m.time[i][j] = m.time[j][i] = a.exact;
            m.list.push_back(a);
        }
    return m;
}

std::string HoraryAspectLine(const NextAspect& a, char mark, double gmtCorr, int precision) {
    return Format(" %s - %s  %3d %c %-20.20s", PointShortName(a.bodyA).c_str(),
                  PointShortName(a.bodyB).c_str(), a.aspect, mark,
                  DateText(a.begin - gmtCorr, precision).c_str()) +
           Format("- %s\n", DateText(a.exact - gmtCorr, precision).c_str());
}

std::string HoraryMomentText(Computation& c, const ChartRecord& chart, int precision,
                             std::vector<NextAspect>* found) {
    NextAspectMatrix m = ComputeNextAspects(c, chart.jdUT);
    std::string out;
    for (const auto& a : m.list) out += HoraryAspectLine(a, ' ', chart.gmtCorr, precision);
    if (found) *found = m.list;
    return out;
}

std::string HoraryDayText(Computation& c, const ChartRecord& chart, int precision,
                          std::vector<NextAspect>* found, std::vector<VoidOfCourse>* voids,
                          std::vector<SignPeriod>* periodsOut) {
    double t = chart.jdUT;
    std::vector<SignPeriod> periods;
    std::vector<VoidOfCourse> voc;
    for (int body = SUN; body <= PLT; ++body) {
        SignPeriod p;
        p.body = body;
        FindSignPeriod(c, t, p);
        for (int i = 0; i < 100; ++i) {
            periods.push_back(p);
            if (body == MON) voc.push_back({-1.0, p.end});
            if (!(p.end < t + 1)) break;
            SignPeriod next;
            next.body = body;
            FindSignPeriod(c, p.end + 0.0001, next);
            p = next;
        }
    }
    std::string out;
    std::vector<NextAspect> list;
    for (size_t i = 0; i < periods.size(); ++i)
        for (size_t j = i + 1; j < periods.size(); ++j) {
            if (periods[i].body == periods[j].body) continue;
            NextAspect a;
            if (!FindNextAspect(c, periods[i], periods[j], t, a) || a.exact < t) continue;
            out += HoraryAspectLine(a, a.exact == t ? '*' : ' ', chart.gmtCorr, precision);
            list.push_back(a);
            if (a.bodyA == MON || a.bodyB == MON) {
                auto v = std::find_if(voc.begin(), voc.end(),
                                      [&](const VoidOfCourse& e) { return e.end > a.exact; });
                if (v != voc.end() && a.exact > v->begin) v->begin = a.exact;
            }
        }
    out += " Луна без курса \n"_cp;
    for (auto& v : voc) {
        if (v.begin < 0) v.begin = t;
        out += Format(" %-20.20s", DateText(v.begin - chart.gmtCorr, precision).c_str()) +
               Format(" - %s\n", DateText(v.end - chart.gmtCorr, precision).c_str());
    }
    if (found) *found = list;
    if (voids) *voids = voc;
    if (periodsOut) *periodsOut = periods;
    return out;
}

HoraryChartList ComputeHoraryChartList(Computation& c, const ChartRecord& chart,
                                       bool untilStation) {
    HoraryChartList r;
    for (auto& row : r.matrix)
        for (float& cell : row) cell = 999.0f;
    double t = chart.jdCalc;
    NextAspectMatrix m = ComputeNextAspects(c, t, untilStation);
    for (int i = 0; i < 10; ++i)
        for (int j = i + 1; j < 10; ++j) {
            if (m.aspect[i][j] >= 0) r.matrix[i][j] = static_cast<float>(m.aspect[i][j]);
            r.matrix[j][i] = static_cast<float>(Separation(chart.lon[i + 1], chart.lon[j + 1]));
        }
    std::vector<NextAspect> list = m.list;
    for (auto& a : list)
        if (a.bodyB == MON) std::swap(a.bodyA, a.bodyB);
    std::stable_sort(list.begin(), list.end(), [](const NextAspect& x, const NextAspect& y) {
        bool mx = x.bodyA == MON, my = y.bodyA == MON;
        if (mx != my) return mx;
        return x.exact < y.exact;
    });
    NextAspect separator;
    separator.aspect = -1;
    list.push_back(separator);
    auto signExit = [](const SignPeriod& p) {
        NextAspect exit;
        exit.bodyA = static_cast<int16_t>(p.body);
        exit.bodyB = static_cast<int16_t>(p.sign);
        exit.exact = p.end;
        exit.begin = p.begin;
        exit.end = p.end;
        exit.aspect = -2;
        return exit;
    };
    const SignPeriod& moon = m.periods[MON - 1];
    if (moon.end < t + 1) {
        // The Moon's exit stands by the separator, before the aspects of its next sign.
        list.push_back(signExit(moon));
        SignPeriod next;
        next.body = MON;
        FindSignPeriod(c, moon.end + 1e-5, next, untilStation);
        std::vector<NextAspect> later;
        for (int i = 0; i < 10; ++i) {
            if (i == MON - 1) continue;
            NextAspect a;
            if (FindNextAspect(c, next, m.periods[i], moon.end, a) && a.exact >= moon.end)
                later.push_back(a);
        }
        std::sort(later.begin(), later.end(),
                  [](const NextAspect& x, const NextAspect& y) { return x.exact < y.exact; });
        list.insert(list.end(), later.begin(), later.end());
    }
    for (const auto& p : m.periods)
        if (p.body != MON && p.end < t + 1) list.push_back(signExit(p));
    r.list = std::move(list);
    return r;
}

std::vector<std::string> HoraryWindowLines(Computation& c, const ChartRecord& chart,
                                           const HoraryChartList& list, int precision,
                                           int& firstPart) {
    std::vector<std::string> lines;
    firstPart = -1;
    for (const auto& e : list.list) {
        if (e.aspect >= 0) {
            std::string line = HoraryAspectLine(e, ' ', chart.gmtCorr, precision);
            lines.push_back(line.substr(0, line.size() - 1));
        } else if (e.aspect == -2) {
            // A retrograde body leaves into the sign before: the sign is read past the exit.
            int entered = SignOf(Normalize(BodyLongitude(c, e.exact + 1e-4, e.bodyA)));
            lines.push_back(Format(" %s -> %s %s", PointShortName(e.bodyA).c_str(),
                                   SignName(entered).c_str(),
                                   DateText(e.exact - chart.gmtCorr, precision).c_str()));
        } else if (firstPart < 0) {
            firstPart = static_cast<int>(lines.size());
        }
    }
    if (firstPart < 0) firstPart = static_cast<int>(lines.size());
    return lines;
}

std::string HoraryWindowText(Computation& c, const ChartRecord& chart, const HoraryChartList& list,
                             int precision) {
    int firstPart = 0;
    std::vector<std::string> lines = HoraryWindowLines(c, chart, list, precision, firstPart);
    std::string out;
    for (int i = 0; i <= static_cast<int>(lines.size()); ++i) {
        if (i == firstPart) out += "=================\n";
        if (i < static_cast<int>(lines.size())) out += lines[i] + "\n";
    }
    return out;
}

bool HoraryMomentChart(int calcMethod) {
    switch (calcMethod) {
        case kDegreeDirections:
        case kSignDirections:
        case kCompositeMethod:
        case kNodalChart:
        case kHarmonicMethod:
        case kPlanetaryArcs:
            return false;
        default:
            return true;
    }
}

std::string HoraryMomentRefusal() {
    return "Хорарные аспекты строятся по небу момента карты, а положения этой карты "
           "рассчитаны не на ее момент"_cp;
}

}  // namespace orbeta
