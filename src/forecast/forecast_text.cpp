#include "forecast/forecast_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris.h"
#include "forecast/search_tables.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/report.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

bool InMask(uint32_t mask, int i) {
    return i >= 0 && i < 32 && ((mask >> i) & 1u);
}

char PointLetter(int p) {
    return p <= kBodyCount ? 'p' : 'h';
}
char PartnerLetter(int p) {
    return p <= kBodyCount ? 'n' : 'h';
}
int PointNumber(int p) {
    return p <= kBodyCount ? p : p - kBodyCount;
}

std::string AspectPairKey(const char* prefix, int a, int b, double aspect) {
    return Format("%s%c%02d%c%02da%03.0f", prefix, PointLetter(a), PointNumber(a), PartnerLetter(b),
                  PointNumber(b), aspect);
}

std::string EclipseKey(int luminary, int b, double aspect) {
    return Format("%c%c%c%02d", luminary == SUN ? 'S' : 'M', aspect == 0 ? '+' : '-',
                  b < 16 ? 'P' : 'H', b < 16 ? b : b - kBodyCount);
}

bool Feminine(int p) {
    return p == MON || p == VEN || p == SEL || p == PRZ || p == LIL;
}

bool IntermediateCusp(int p) {
    int cusp = p - kBodyCount;
    return cusp >= 2 && cusp <= 12 && cusp != 4 && cusp != 7 && cusp != 10;
}

std::string WithoutTrailingBlanks(const std::string& text) {
    std::string out;
    size_t from = 0;
    while (from < text.size()) {
        size_t nl = text.find('\n', from);
        std::string line =
            text.substr(from, nl == std::string::npos ? std::string::npos : nl - from);
        line.erase(line.find_last_not_of(' ') + 1);
        out += line;
        if (nl == std::string::npos) break;
        out += '\n';
        from = nl + 1;
    }
    return out;
}

}  // namespace

std::string ForecastKey(const HitRecord& h) {
    switch (h.type) {
        case kTransitRecord:
            return AspectPairKey("", h.a, h.b, h.aspect);
        case kProgressionRecord:
            return AspectPairKey("R", h.a, h.b, h.aspect);
        case kTransitHouseRecord:
            return Format("%c%02dx%02d", PointLetter(h.a), PointNumber(h.a), h.b);
        case kProgressedHouseRecord:
            return Format("R%c%02dx%02d", PointLetter(h.a), PointNumber(h.a), h.b);
        case kMoonSignRecord:
            return Format("Rp02z%02d", h.b);
        case kDirectionRecord:
            return AspectPairKey("D", h.a, h.b, h.aspect);
        case kEclipseRecord:
            return EclipseKey(h.a, h.b, h.aspect);
        default:
            return {};
    }
}

std::vector<std::string> ForecastKeys(const ForecastMasks& m, const std::vector<double>& transit,
                                      const std::vector<double>& progression,
                                      const std::vector<double>& direction) {
    std::set<std::string> keys;
    auto uses = [&](int method) { return InMask(m.methods, method); };
    auto pairs = [&](const char* prefix, uint32_t moving, int count,
                     const std::vector<double>& angles) {
        for (int a = 1; a <= count; ++a)
            for (int b = 1; b <= kPointCount; ++b)
                if (InMask(moving, a - 1) && InMask(m.natal, b - 1))
                    for (double angle : angles)
                        keys.insert(AspectPairKey(prefix, a, b, std::fabs(angle)));
    };
    auto houses = [&](const char* prefix, uint32_t moving, int count) {
        for (int a = 1; a <= count; ++a)
            for (int house = 1; InMask(moving, a - 1) && house <= 12; ++house)
                keys.insert(Format("%s%c%02dx%02d", prefix, PointLetter(a), PointNumber(a), house));
    };
    if (uses(kForecastTransits)) pairs("", m.transit, kBodyCount, transit);
    if (uses(kForecastTransitHouses)) houses("", m.transit, kBodyCount);
    if (uses(kForecastProgressions)) pairs("R", m.progressed, kPointCount, progression);
    if (uses(kForecastProgressedHouses)) houses("R", m.progressed, kPointCount);
    if (uses(kForecastMoonSigns))
        for (int s = 1; s <= 12; ++s) keys.insert(Format("Rp02z%02d", s));
    if (uses(kForecastDirections)) pairs("D", m.directed, kPointCount, direction);
    if (uses(kForecastEclipses))
        for (int luminary : {SUN, MON})
            for (int b = 1; b <= kPointCount; ++b) {
                if (!InMask(m.natal, b - 1)) continue;
                keys.insert(EclipseKey(luminary, b, 0));
                if (b <= kBodyCount) keys.insert(EclipseKey(luminary, b, 180));
            }
    return {keys.begin(), keys.end()};
}

bool ForecastRecordUsable(const HitRecord& h) {
    auto point = [](int p) { return p >= 1 && p <= kPointCount; };
    if (!std::isfinite(h.start) || !std::isfinite(h.end) || !std::isfinite(h.aspect)) return false;
    if (h.exactCount > 3) return false;
    for (int k = 0; k < h.exactCount; ++k)
        if (!std::isfinite(h.exact[k])) return false;
    switch (h.type) {
        case kTransitRecord:
        case kProgressionRecord:
        case kDirectionRecord:
            return point(h.a) && point(h.b);
        case kTransitHouseRecord:
        case kProgressedHouseRecord:
        case kMoonSignRecord:
            return point(h.a) && h.b >= 1 && h.b <= 12;
        case kEclipseRecord:
            return (h.a == SUN || h.a == MON) && point(h.b) && h.exactCount == 1 && h.flags <= 6;
        default:
            return false;
    }
}

std::string RulershipText(const ChartRecord& natal, int body) {
    std::string text;
    for (int sign = 0; sign < 12; ++sign) {
        if (SignRuler(sign) != body) continue;
        for (int k = 1; k <= 12; ++k)
            if (SignOf(natal.cusp[k]) == sign) text += Format("У%d "_cp, k);
    }
    return text + Format("Д%d "_cp, HouseOf(PointLongitude(natal, body), natal.cusp));
}

std::string LinkA(PointSampler& sampler, const ChartRecord& natal, const HitRecord& h) {
    std::string text = "(";
    if (h.a <= kBodyCount) text += RulershipText(natal, h.a);
    // A house passage begins and ends on a cusp, where the house of that very moment
    // is a matter of the last digits: the houses are read a minute inside the period.
    double inside = std::min(1.0 / 1440, (h.end - h.start) / 4);
    int first = HouseOf(sampler.Longitude(h.a, h.start + inside), natal.cusp);
    int last = HouseOf(sampler.Longitude(h.a, h.end - inside), natal.cusp);
    text += Format("%d ", first);
    if (last != first) text += Format("%d ", last);
    return text + ")";
}

std::string LinkA(Computation& c, const ChartRecord& natal, const HitRecord& h) {
    PointSampler sampler(c, natal, h.calcMethod);
    return LinkA(sampler, natal, h);
}

std::string LinkB(const ChartRecord& natal, const HitRecord& h) {
    if (h.type != kTransitRecord && h.type != kProgressionRecord && h.type != kDirectionRecord)
        return {};
    if (h.b <= kBodyCount) return "(" + RulershipText(natal, h.b) + ")";
    return Format("( %d)", h.b - kBodyCount);
}

bool HasLinkA(const HitRecord& h) {
    return h.type != kMoonSignRecord && h.type != kEclipseRecord;
}

std::string ForecastHeading(Computation& c, const ChartRecord& natal, const HitRecord& h,
                            bool houseLinks) {
    return ForecastHeading(c, h, houseLinks && HasLinkA(h) ? LinkA(c, natal, h) : "",
                           houseLinks ? LinkB(natal, h) : "");
}

std::string ForecastHeading(Computation& c, const HitRecord& h, const std::string& linkA,
                            const std::string& linkB) {
    const std::string& a = linkA;
    const std::string& b = linkB;
    switch (h.type) {
        case kTransitRecord:
        case kProgressionRecord:
        case kDirectionRecord: {
            const char* format = h.type == kTransitRecord ? " Транз.%s %s %5.1f с нат.%s %s\n"_cp
                                 : h.type == kProgressionRecord
                                     ? " Прогр.%s %s %5.1f с нат.%s %s\n"_cp
                                     : " Дирекц.%s %s %5.1f с нат.%s %s\n"_cp;
            return Format(format, PointLongName(h.a).c_str(), a.c_str(), h.aspect,
                          PointNameIn(NameCase::Instrumental, h.b).c_str(), b.c_str());
        }
        case kTransitHouseRecord:
            return Format(" Транз.%s %s проходит по дому %d\n"_cp, PointLongName(h.a).c_str(),
                          a.c_str(), h.b);
        case kProgressedHouseRecord:
            return Format(" Прогр.%s %s проходит по дому %d\n"_cp, PointLongName(h.a).c_str(),
                          a.c_str(), h.b);
        case kMoonSignRecord:
            return Format(" Прогр.Луна в%s\n"_cp, SignNamePrepositional(h.b - 1).c_str());
        case kEclipseRecord: {
            const char* prefix = h.a == SUN ? "Солнеч"_cp : "Лун"_cp;
            bool fem = Feminine(h.b);
            std::string line;
            if (IntermediateCusp(h.b))
                line = Format(" %sное затмение на вершине %d-го дома"_cp, prefix, h.b - kBodyCount);
            else if (h.aspect == 0)
                line = Format(" %sное затмение на натальн%s %s"_cp, prefix, fem ? "ой"_cp : "ом"_cp,
                              PointNameIn(NameCase::Prepositional, h.b).c_str());
            else
                line = Format(" %sное затмение в оппозиции к натальн%s %s"_cp, prefix,
                              fem ? "ой"_cp : "ому"_cp, PointNameIn(NameCase::Dative, h.b).c_str());
            return line + Format(" [%s] (%s)\n", EclipseTypeName(h.flags).c_str(),
                                 PositionText(BodyLongitude(c, h.exact[0], h.a)).c_str());
        }
        default:
            return {};
    }
}

std::string ForecastPeriodLine(const HitRecord& record, double correction, int precision) {
    HitRecord local = record;
    local.start -= correction;
    local.end -= correction;
    for (int k = 0; k < local.exactCount && k < 3; ++k) local.exact[k] -= correction;
    return WithoutTrailingBlanks(PeriodLine(local, "", precision));
}

std::vector<ForecastEntry> ForecastEntries(Computation& c, const ChartRecord& natal,
                                           const ForecastRequest& r,
                                           const std::vector<HitRecord>& records, int precision) {
    std::vector<ForecastEntry> entries;
    bool links = r.options & kForecastHouseLinks;
    // Link A of each record from one sampler per method, a method at a time: moments
    // eighty years apart taken in turn would make the ephemeris reread its files.
    std::vector<std::string> linkA(records.size());
    for (size_t i = 0; links && i < records.size(); ++i) {
        const HitRecord& h = records[i];
        if (!ForecastRecordUsable(h) || !HasLinkA(h) || !linkA[i].empty()) continue;
        PointSampler sampler(c, natal, h.calcMethod);
        for (size_t k = i; k < records.size(); ++k)
            if (records[k].calcMethod == h.calcMethod && ForecastRecordUsable(records[k]) &&
                HasLinkA(records[k]))
                linkA[k] = LinkA(sampler, natal, records[k]);
    }
    for (size_t i = 0; i < records.size(); ++i) {
        const HitRecord& h = records[i];
        if (!ForecastRecordUsable(h)) continue;
        entries.push_back({h, ForecastKey(h),
                           ForecastHeading(c, h, linkA[i], links ? LinkB(natal, h) : ""),
                           ForecastPeriodLine(h, r.correction, precision)});
    }
    return entries;
}

std::string ForecastTitleLine(const ChartRecord& natal, const ForecastRequest& r) {
    std::string name(natal.name, strnlen(natal.name, sizeof natal.name));
    return Format(" %s %s%s", name.c_str(), DateTimeText(natal.jdLocal).c_str(), "\n") +
           Format("%s ", " Прогноз"_cp) +
           Format(" %s - %s", orbeta::DateText(r.start).c_str(), orbeta::DateText(r.end).c_str());
}

std::vector<bool> WriteForecastReport(Computation& c, const ForecastRequest& r,
                                      const ForecastRun& run,
                                      const std::vector<ForecastEntry>& entries,
                                      const ForecastTextPrinter& printText) {
    if (r.Uses(kForecastEclipses))
        ReportWrite(EclipseListText(c, run.eclipses, r.correction) + "\n");
    std::vector<bool> printed;
    for (const auto& e : entries) {
        ReportWrite(e.heading);
        ReportWrite(e.period);
        printed.push_back(printText && printText(e.key));
    }
    return printed;
}

}  // namespace orbeta
