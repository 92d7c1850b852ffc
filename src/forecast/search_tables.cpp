#include "forecast/search_tables.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/dated_line.h"
#include "core/ephemeris.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/report.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

bool InMask(uint32_t mask, int i) {
    return i >= 0 && i < 32 && (mask >> i) & 1u;
}

// Cusps six apart (1 and 7, …, 6 and 12) stay opposite: never a pair.
bool OppositeCusps(int i, int j) {
    return i >= kBodyCount && j >= kBodyCount && (i - j == 6 || j - i == 6);
}

SearchPair Pair(int i, int b, int type, double fixed) {
    SearchPair p;
    p.a = static_cast<uint8_t>(i + 1);
    p.b = static_cast<uint8_t>(b);
    p.type = static_cast<uint8_t>(type);
    p.fixedLongitude = fixed;
    return p;
}

constexpr const char* kHelpKeys[kTableKindCount] = {"ATeka",  "ATvib",  "ATnat",  "AIngr",
                                                    "APoint", "ALoop5", "ALoop6", "AVozvr"};

}  // namespace

const char* TableHelpKey(int kind) {
    return kind >= 0 && kind < kTableKindCount ? kHelpKeys[kind] : "";
}

void PrepareTableRequest(int kind, SearchRequest& r, const OrbTable* orbTable) {
    r.bothMoving = kind <= kTableChosen ? 0 : 1;
    r.orbTable = orbTable;
    if (kind == kTableIngress || kind == kTableReturns) {
        r.aspects = {0.0};
        r.exactMode = 1;
    }
    if (kind == kTableLoops || kind == kTableLoopAspects) {
        r.calcMethod = 1;
        r.exactMode = 1;
    }
    if (!r.exactMode) {
        r.aspects.clear();
        if (orbTable)
            for (const auto& a : orbTable->aspects) r.aspects.push_back(a.angle);
    }
    if (r.aspects.size() > kMaxSearchAspects) r.aspects.resize(kMaxSearchAspects);
    if (r.points.size() > kMaxSearchPoints) r.points.resize(kMaxSearchPoints);
    if (kind == kTablePoints) r.planet = static_cast<int>(r.points.size());
}

std::vector<SearchPair> MakePairs(int kind, const SearchRequest& r, const ChartRecord& base) {
    std::vector<SearchPair> pairs;
    auto natal = [&](int j) { return PointLongitude(base, j + 1); };
    for (int i = 0; i < kPointCount; ++i) {
        bool moving = InMask(r.movingMask, i);
        switch (kind) {
            case kTableCurrent:
                if (!moving) break;
                for (int j = i + 1; j < kPointCount; ++j)
                    if (InMask(r.movingMask, j) && !OppositeCusps(i, j))
                        pairs.push_back(Pair(i, j + 1, 0, 0));
                break;
            case kTableChosen:
                if (!moving) break;
                for (int j = 0; j < kPointCount; ++j)
                    if (j != i && InMask(r.targetMask, j) && !OppositeCusps(i, j))
                        pairs.push_back(Pair(i, j + 1, 0, 0));
                break;
            case kTableNatal:
                if (!moving) break;
                for (int j = 0; j < kPointCount; ++j)
                    if (InMask(r.targetMask, j)) pairs.push_back(Pair(i, j + 1, 1, natal(j)));
                break;
            case kTableIngress:
                if (!moving) break;
                for (int j = 0; j < 12; ++j)
                    if (InMask(r.targetMask, j)) pairs.push_back(Pair(i, j + 1, 1, 30.0 * j));
                break;
            case kTablePoints:
                if (!moving) break;
                for (size_t j = 0; j < r.points.size() && j < kMaxSearchPoints; ++j)
                    pairs.push_back(Pair(i, static_cast<int>(j) + 1, 1, r.points[j]));
                break;
            case kTableLoopAspects:
                if (i != r.planet - 1) break;
                for (int j = 0; j < kPointCount; ++j)
                    if (InMask(r.targetMask, j)) pairs.push_back(Pair(i, j + 1, 1, natal(j)));
                break;
            case kTableReturns:
                if (moving && i < kBodyCount) pairs.push_back(Pair(i, i + 1, 1, natal(i)));
                break;
            default:
                break;
        }
    }
    return pairs;
}

std::string DateText(double jd, int precision) {
    std::string text = DateTimeText(jd);
    if (precision == 0) return text;
    auto cut = precision == 1 ? text.rfind(':') : text.find(' ');
    return cut == std::string::npos ? text : text.substr(0, cut);
}

std::string PositionStamp(Computation& c, double jd, int body, int precision) {
    return Format(" %-20.20s", DateText(jd, precision).c_str()) +
           Format(" (%s) ", PositionText(BodyLongitude(c, jd, body)).c_str());
}

std::string PeriodLine(const HitRecord& hit, const std::string& description, int precision) {
    std::string line(200, ' ');
    auto put = [&](size_t column, const std::string& s) {
        line.replace(column, std::min(s.size(), line.size() - column),
                     s.substr(0, line.size() - column));
    };
    put(0, Format(" %-20.20s", DateText(hit.start, precision).c_str()));
    if (hit.exactCount > 0) put(22, Format("%-20.20s", DateText(hit.exact[0], precision).c_str()));
    put(43, Format(" %-20.20s", DateText(hit.end, precision).c_str()));
    put(64, description);
    line.resize(std::min<size_t>(200, 64 + description.size()));
    line += '\n';
    for (int k = 1; k < hit.exactCount && k < 3; ++k)
        line += Format("%22s%-20.20s\n", "", DateText(hit.exact[k], precision).c_str());
    return line;
}

double BisectStation(Computation& c, int body, double lo, double hi, double vlo) {
    // Halved down to well below a second, not a fixed twelve times: station moments
    // are shown to the second.
    for (int i = 0; i < 40 && std::fabs(hi - lo) > 2e-7; ++i) {
        double mid = (lo + hi) / 2, vm = CalcBody(c, mid, body).speed;
        if (vlo * vm <= 0) {
            hi = mid;
        } else {
            lo = mid;
            vlo = vm;
        }
    }
    return (lo + hi) / 2;
}

int FindStations(Computation& c, int body, double start, double end, int method,
                 const ChartRecord& base, std::vector<StationRecord>& list) {
    int cls = MotionKind(c.Options(), body);
    if (cls < 2) return cls;
    // The method's time scale is linear in the real moment: map both ways.
    double x0 = CalculationMoment(method, base.jdUT, base);
    double rate = CalculationMoment(method, base.jdUT + 1, base) - x0;
    auto real = [&](double x) { return base.jdUT + (x - x0) / rate; };
    double xs = CalculationMoment(method, start, base), xe = CalculationMoment(method, end, base);
    double step = 1.0 / ProgressionFactor(method);
    if (xe < xs) step = -step;
    double v0 = CalcBody(c, xs, body).speed;
    int result = v0 <= 0 ? 1 : 0;
    for (double s = xs; step > 0 ? s < xe : s > xe; s += step) {
        double v1 = CalcBody(c, s + step, body).speed;
        if (v0 * v1 <= 0) {
            bool retro = v0 >= 0 && v1 <= 0;
            double m = BisectStation(c, body, s, s + step, v0);
            list.push_back({real(m), BodyLongitude(c, m, body), retro});
        }
        v0 = v1;
    }
    return result;
}

double RefineCrossing(Computation& c, int body, double s, double h, double x) {
    // Sub-steps counted so that the last ends at s exactly; differences are signed,
    // so a crossing of 0 Aries interpolates as any other.
    constexpr int kSubSteps = 200;
    double f = h / kSubSteps;
    double prevT = s - h, prev = Difference(BodyLongitude(c, prevT, body), x);
    for (int k = 1; k <= kSubSteps; ++k) {
        double u = k == kSubSteps ? s : s - h + k * f;
        double d = Difference(BodyLongitude(c, u, body), x);
        if (d > 0) {
            double t = d == prev ? u : prevT + (-prev) * (u - prevT) / (d - prev);
            // Newton steps on the real motion bring it to the second.
            for (int i = 0; i < 5; ++i) {
                BodyPosition p = CalcBody(c, t, body);
                if (!(std::fabs(p.speed) > 1e-9)) break;
                double corr = -Difference(p.lon, x) / p.speed;
                if (!(std::fabs(corr) <= f)) break;
                t += corr;
                if (std::fabs(corr) < 1e-7) break;
            }
            return t;
        }
        prevT = u;
        prev = d;
    }
    return s;
}

std::vector<LoopRecord> FindLoops(Computation& c, int planet, const SearchRequest& rq,
                                  std::vector<StationRecord> stations, int precision,
                                  std::string* text) {
    std::vector<LoopRecord> loops;
    std::string out;
    if (!stations.empty() && !stations.front().retrograde) stations.erase(stations.begin());
    if (!stations.empty()) out += "\n ПЕТЛИ\n"_cp;
    double t = rq.start;
    double step = rq.step;
    while (stations.size() >= 2 && t < rq.end) {
        const StationRecord R = stations[0], D = stations[1];
        bool entered = false;
        double entry = 0, exit = rq.end;
        double s = t;
        for (; s < rq.end; s += step) {
            double L = BodyLongitude(c, s, planet);
            if (!entered) {
                double lonD = D.lon, lonR = R.lon;
                if (lonR < lonD) {
                    if (L < 180)
                        lonD -= 360;
                    else
                        lonR += 360;
                }
                if (L >= lonD && L < lonR) {
                    entered = true;
                    entry = s == rq.start ? s : RefineCrossing(c, planet, s, step, D.lon);
                    s = D.moment;  // the next sample is D's moment plus the step
                }
            } else if (Difference(L, R.lon) > 0) {
                exit = RefineCrossing(c, planet, s, step, R.lon);
                break;
            }
        }
        t = s;
        // A loop whose entry was never met is not a loop of this interval.
        if (entered && D.moment <= exit) {
            out += PositionStamp(c, entry, planet, precision) +
                   PositionStamp(c, exit, planet, precision) + "\n";
            out += PositionStamp(c, R.moment, planet, precision) + " R\n";
            out += PositionStamp(c, D.moment, planet, precision) + " D\n";
            loops.push_back({entry, exit, R.moment, D.moment});
        }
        stations.erase(stations.begin(), stations.begin() + 2);
    }
    if (text) *text += out;
    return loops;
}

std::string HitTableText(Computation& c, int kind, const SearchRequest& rq, const ChartRecord& base,
                         const std::vector<HitRecord>& hits, int precision) {
    std::string out = Format(" Метод - %s\n"_cp, MethodName(rq.calcMethod).c_str());
    const char* key = nullptr;
    switch (kind) {
        case kTableIngress:
            key = "cping";
            break;
        case kTableReturns:
            key = "cpvoz";
            break;
        case kTablePoints:
            key = rq.exactMode ? "cappt" : "cappa";
            break;
        default:
            key = rq.exactMode ? "capat" : "caprt";
            break;
    }
    out += LookupText(key) + "\n";
    PointSampler sampler(c, base, rq.calcMethod);
    for (HitRecord hit : hits) {
        if (kind == kTableIngress || kind == kTableReturns) {
            if (hit.start < rq.start || hit.start > rq.end) continue;
            if (kind == kTableReturns) {
                out += Format(" %-20.20s", DateTimeText(hit.start).c_str()) +
                       Format(" %-9.9s  %s\n", PointShortName(hit.a).c_str(),
                              PositionText(hit.fixedLongitude).c_str());
                continue;
            }
            int s = hit.b - 1;
            int sign = (s + 11) % 12;
            if (hit.a <= kBodyCount) {
                // Backwards over a boundary: into the sign before it.
                double now = sampler.Longitude(hit.a, hit.start);
                double before = sampler.Longitude(hit.a, hit.start - 1);
                if (Difference(now, before) < 0) s = sign;
            }
            out += Format(" %-20.20s", DateTimeText(hit.start).c_str()) +
                   Format(" %-9.9s%-12s\n", PointShortName(hit.a).c_str(), SignName(s).c_str());
            continue;
        }
        if (rq.exactMode) hit.end = hit.start;
        if (!(hit.start <= rq.end && rq.start <= hit.end)) continue;
        hit.start = std::max(hit.start, rq.start);
        hit.end = std::min(hit.end, rq.end);
        if (kind == kTablePoints) {
            std::string line =
                PeriodLine(hit,
                           Format("%s %s %5.1f %4.1f", PointShortName(hit.a).c_str(),
                                  PositionText(hit.fixedLongitude).c_str(), hit.aspect, hit.orb),
                           precision);
            // An exact moment stands once, under the only date of the header.
            if (rq.exactMode) line.replace(43, 21, std::string(21, ' '));
            out += line;
        } else if (rq.exactMode) {
            out += Format(" %-20.20s %s %-12.12s %5.1f \n", DateText(hit.start, precision).c_str(),
                          PointShortName(hit.a).c_str(), PointShortName(hit.b).c_str(), hit.aspect);
        } else {
            out += PeriodLine(hit,
                              Format("%s %-4.4s %5.1f %3.1f", PointShortName(hit.a).c_str(),
                                     PointShortName(hit.b).c_str(), hit.aspect, hit.orb),
                              precision);
        }
    }
    return out;
}

TableResult RunTable(Computation& c, int kind, const SearchRequest& rq, const ChartRecord& base,
                     const std::filesystem::path& hitFile, int precision, SearchOptions options,
                     bool withText) {
    TableResult res;
    if (kind != kTableLoops) {
        HitFileWriter out;
        if (out.Open(hitFile)) {
            res.search = RunSearch(c, rq, base, out, options);
            out.Close();
        }
        res.hits = ReadHitFile(hitFile);
    }
    if (kind != kTableLoops && kind != kTableLoopAspects) {
        if (withText) res.text = HitTableText(c, kind, rq, base, res.hits, precision);
        return res;
    }
    int planet = rq.planet;
    FindStations(c, planet, rq.start, rq.end, 1, base, res.stations);
    if (!withText) {
        res.loops = FindLoops(c, planet, rq, res.stations, precision, nullptr);
        return res;
    }
    res.text += Format(" ОСТАНОВКИ (%s)\n\n"_cp, PointLongName(planet).c_str());
    for (const auto& st : res.stations)
        res.text +=
            PositionStamp(c, st.moment, planet, precision) + (st.retrograde ? " R\n" : " D\n");
    res.loops = FindLoops(c, planet, rq, res.stations, precision, &res.text);
    if (kind == kTableLoops) return res;
    res.text += "\n АСПЕКТЫ\n"_cp;
    for (HitRecord hit : res.hits) {
        hit.end = hit.start;
        if (hit.start < rq.start || hit.start > rq.end) continue;
        auto loop = std::find_if(res.loops.begin(), res.loops.end(), [&](const LoopRecord& l) {
            return hit.start >= l.entry && hit.start <= l.exit;
        });
        if (loop == res.loops.end()) continue;
        char mark = loop->retrograde < hit.start && hit.start < loop->direct ? 'R' : 'D';
        res.text += PositionStamp(c, hit.start, planet, precision) +
                    Format(" %-12.12s асп=%5.1f  %c\n"_cp, PointShortName(hit.b).c_str(),
                           hit.aspect, mark) +
                    PositionStamp(c, loop->entry, planet, precision) +
                    PositionStamp(c, loop->exit, planet, precision) + "\n";
    }
    return res;
}

std::string TableTitleLine(int kind, const SearchRequest& rq) {
    return Format("%s ", TableTitle(kind).c_str()) +
           Format(" %s - %s", orbeta::DateText(rq.start).c_str(), orbeta::DateText(rq.end).c_str());
}

bool RunTableCommand(const ChartContext& context, int kind, const SearchRequest& rq,
                     const ChartRecord& base, const std::filesystem::path& hitFile, int precision) {
    std::string title = TableTitle(kind);
    if (!BeginReport(TableTitleLine(kind, rq))) return false;
    Computation c(context);
    ReportWrite(RunTable(c, kind, rq, base, hitFile, precision).text);
    TellDiagnostics(c.diagnostics);
    ShowReport(title, TableHelpKey(kind), ReportOriginOf(base));
    return true;
}

}  // namespace orbeta
