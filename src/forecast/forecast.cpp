#include "forecast/forecast.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

bool InMask(uint32_t mask, int i) {
    return i >= 0 && i < 32 && ((mask >> i) & 1u);
}

SearchPair Pair(int a, int b, uint8_t type, double fixed, double ownOrb = -1.0) {
    SearchPair p;
    p.a = static_cast<uint8_t>(a);
    p.b = static_cast<uint8_t>(b);
    p.type = type;
    p.fixedLongitude = fixed;
    p.ownOrb = ownOrb;
    return p;
}

std::vector<double> AnglesOf(const OrbTable& table) {
    std::vector<double> angles;
    for (const auto& a : table.aspects)
        if (angles.size() < kMaxSearchAspects) angles.push_back(a.angle);
    return angles;
}

// Pairs of moving points with the natal points (type 1 or 2) and with the houses
// (type 3 or 4).
void AddPairs(std::vector<SearchPair>& pairs, const ChartRecord& natal, uint32_t moving,
              int movingCount, uint32_t natalMask, uint8_t pointType, bool points,
              uint8_t houseType, bool houses) {
    for (int i = 0; i < movingCount; ++i) {
        if (!InMask(moving, i) || !PointPresent(natal, i + 1)) continue;
        for (int j = 0; points && j < kPointCount; ++j)
            if (InMask(natalMask, j) && PointPresent(natal, j + 1))
                pairs.push_back(Pair(i + 1, j + 1, pointType, PointLongitude(natal, j + 1)));
        for (int h = 1; houses && h <= 12; ++h) {
            double middle, half;
            HouseMiddle(natal, h, middle, half);
            pairs.push_back(Pair(i + 1, h, houseType, middle, half));
        }
    }
}

// Appends records to the writer; false when it failed.
bool AppendAll(HitFileWriter& out, std::vector<HitRecord> records) {
    bool ok = true;
    for (auto& r : records) ok = out.Append(r) && ok;
    return ok;
}

}  // namespace

bool PointPresent(const ChartRecord& chart, int p) {
    if (p < 1 || p > kPointCount) return false;
    double lon = PointLongitude(chart, p);
    if (!std::isfinite(lon) || lon < 0 || lon >= 360) return false;
    return p > kBodyCount || BodyAvailable(chart, p);
}

void HouseMiddle(const ChartRecord& natal, int house, double& middle, double& halfWidth) {
    double c1 = natal.cusp[house], c2 = natal.cusp[house == 12 ? 1 : house + 1];
    double m = (c1 + c2) / 2;
    if (std::fabs(c2 - c1) > 180) m -= 180;
    middle = Normalize(m);
    halfWidth = Separation(middle, c1);
}

std::string CheckForecastRequest(const ForecastRequest& r) {
    if (!std::isfinite(r.start) || !std::isfinite(r.end) || r.start < 0 || r.end < 0)
        return LookupText("erdt");
    if (!std::isfinite(r.correction) || std::fabs(r.correction) > 1)
        return "Поправка должна быть числом часов от -24 до 24"_cp;
    if (!(r.end > r.start)) return LookupText("N>K");
    return {};
}

std::vector<SearchPair> TransitPairs(const ForecastRequest& r, const ChartRecord& natal) {
    std::vector<SearchPair> pairs;
    AddPairs(pairs, natal, r.masks.transit, kBodyCount, r.masks.natal, kTransitRecord,
             r.Uses(kForecastTransits), kTransitHouseRecord, r.Uses(kForecastTransitHouses));
    return pairs;
}

std::vector<SearchPair> ProgressionPairs(const ForecastRequest& r, const ChartRecord& natal) {
    std::vector<SearchPair> pairs;
    AddPairs(pairs, natal, r.masks.progressed, kPointCount, r.masks.natal, kProgressionRecord,
             r.Uses(kForecastProgressions), kProgressedHouseRecord,
             r.Uses(kForecastProgressedHouses));
    if (r.Uses(kForecastMoonSigns))
        for (int s = 0; s < 12; ++s)
            pairs.push_back(Pair(MON, s + 1, kMoonSignRecord, 30.0 * s + 15, 15.0));
    return pairs;
}

std::vector<HitRecord> DirectionRecords(const ForecastRequest& r, const ChartRecord& natal,
                                        double start, double end) {
    std::vector<HitRecord> records;
    double T0 = natal.jdUT;
    for (int i = 0; i < kPointCount; ++i) {
        if (!InMask(r.masks.directed, i) || !PointPresent(natal, i + 1)) continue;
        double L = PointLongitude(natal, i + 1);
        double D0 = Normalize(L + (start - T0) / kDirectionYear);
        double D1 = Normalize(L + (end - T0) / kDirectionYear);
        bool wrapped = D1 < D0;
        double E = wrapped ? D1 + 360 : D1;
        for (int j = 0; j < kPointCount; ++j) {
            if (!InMask(r.masks.natal, j) || !PointPresent(natal, j + 1)) continue;
            for (const auto& asp : r.directionOrbs.aspects) {
                double angle = asp.angle;
                int signs = angle == 0 || angle == 180 ? 1 : 2;
                for (int s = 0; s < signs; ++s) {
                    double P = Normalize(PointLongitude(natal, j + 1) + (s == 0 ? angle : -angle));
                    if (wrapped && P < D0) P += 360;
                    if (P < D0 || P > E) continue;
                    // A period too short to move the longitude measurably meets only
                    // what stands at its beginning.
                    double moment = E > D0 ? start + (end - start) * (P - D0) / (E - D0) : start;
                    double orb = asp.Orb(i + 1);
                    HitRecord h;
                    h.start = moment - kDirectionYear * orb;
                    h.end = moment + kDirectionYear * orb;
                    h.exact[0] = moment;
                    h.exactCount = 1;
                    h.calcMethod = kDegreeDirections;
                    h.a = static_cast<uint8_t>(i + 1);
                    h.b = static_cast<uint8_t>(j + 1);
                    h.type = kDirectionRecord;
                    h.aspect = std::fabs(angle);
                    h.fixedLongitude = PointLongitude(natal, j + 1);
                    h.orb = orb;
                    records.push_back(h);
                }
            }
        }
    }
    return records;
}

void EclipseSearchWindow(const EclipseInfluence& e, int kind, double start, double end,
                         double& from, double& to) {
    // An eclipse influences [moment − before, moment + after]: it meets the period
    // when its moment lies in [start − after, end + before].
    from = start - e.after[kind];
    to = end + e.before[kind];
}

std::vector<HitRecord> EclipseRecords(Computation& c, const ForecastRequest& r,
                                      const ChartRecord& natal,
                                      const std::vector<EclipseRecord>& eclipses) {
    std::vector<HitRecord> records;
    for (const auto& e : eclipses) {
        int kind = e.luminary == kLunarEclipse ? 1 : 0;
        int luminary = kind ? MON : SUN;
        double L = BodyLongitude(c, e.moment, luminary);
        for (int j = 0; j < kPointCount; ++j) {
            if (!InMask(r.masks.natal, j) || !PointPresent(natal, j + 1)) continue;
            for (int k = 0; k < (j < kBodyCount ? 2 : 1); ++k) {
                double distance =
                    Separation(Normalize(L + 180.0 * k), PointLongitude(natal, j + 1));
                if (!(distance < r.eclipses.orbs[kind][static_cast<size_t>(j)])) continue;
                HitRecord h;
                h.start = e.moment - r.eclipses.before[kind];
                h.end = e.moment + r.eclipses.after[kind];
                h.exact[0] = e.moment;
                h.exactCount = 1;
                h.flags = static_cast<uint8_t>(e.type);
                h.calcMethod = kNatal;
                h.a = static_cast<uint8_t>(luminary);
                h.b = static_cast<uint8_t>(j + 1);
                h.type = kEclipseRecord;
                h.aspect = 180.0 * k;
                records.push_back(h);
            }
        }
    }
    return records;
}

ForecastRun RunForecast(Computation& c, const ForecastRequest& r, const ChartRecord& natal,
                        const std::filesystem::path& hitFile, SearchOptions options) {
    ForecastRun run;
    run.error = CheckForecastRequest(r);
    if (!run.error.empty()) return run;
    auto cannotWrite = [&] {
        run.error = "Не записывается файл "_cp + hitFile.filename().string();
        return run;
    };
    HitFileWriter out;
    if (!out.Open(hitFile)) return cannotWrite();
    double start = r.start + r.correction, end = r.end + r.correction;
    SearchRequest sr;
    sr.start = start;
    sr.end = end;
    sr.step = 1;
    sr.correction = r.correction;
    sr.bothMoving = 1;
    sr.exactMode = 0;
    sr.pairs = TransitPairs(r, natal);
    if (!sr.pairs.empty()) {
        sr.calcMethod = kNatal;
        sr.orbTable = &r.transitOrbs;
        sr.aspects = AnglesOf(r.transitOrbs);
        run.transits = RunSearch(c, sr, natal, out, options);
    }
    sr.pairs = ProgressionPairs(r, natal);
    if (!sr.pairs.empty()) {
        sr.calcMethod = kSecondary;
        sr.orbTable = &r.progressionOrbs;
        sr.aspects = AnglesOf(r.progressionOrbs);
        run.progressions = RunSearch(c, sr, natal, out, options);
    }
    bool ok = true;
    if (r.Uses(kForecastDirections)) ok = AppendAll(out, DirectionRecords(r, natal, start, end));
    if (r.Uses(kForecastEclipses)) {
        for (int kind = 0; kind < 2; ++kind) {
            double from, to;
            EclipseSearchWindow(r.eclipses, kind, start, end, from, to);
            FindEclipses(c, run.eclipses, from, to, kind ? kLunarEclipse : kSolarEclipse);
        }
        std::stable_sort(
            run.eclipses.begin(), run.eclipses.end(),
            [](const EclipseRecord& x, const EclipseRecord& y) { return x.moment < y.moment; });
        ok = AppendAll(out, EclipseRecords(c, r, natal, run.eclipses)) && ok;
    }
    if (!out.Close() || !ok) return cannotWrite();

    run.records = ReadHitFile(hitFile);
    std::stable_sort(run.records.begin(), run.records.end(),
                     [](const HitRecord& x, const HitRecord& y) {
                         if (x.start != y.start) return x.start < y.start;
                         return x.a > y.a;
                     });
    HitFileWriter sorted;
    ok = sorted.Open(hitFile);
    for (auto& h : run.records) ok = ok && sorted.Append(h);
    if (!sorted.Close() || !ok) return cannotWrite();
    run.ok = true;
    return run;
}

}  // namespace orbeta
