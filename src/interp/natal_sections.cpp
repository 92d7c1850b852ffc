#include "interp/natal_sections.h"

#include <algorithm>

#include "core/angles.h"
#include "interp/chart_patterns.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

// The Moon's text of the Sun–Moon aspect: with lunar flags M1..M6 (M2 and M3 stand
// instead of the aspect's own text), else the phase sector L01..L09. True when the
// aspect text is to be skipped.
bool LunarText(const SectionContext& s, unsigned flags, int angle) {
    const ChartRecord& c = s.a.chart;
    ReportSink& sink = s.sink;
    if (flags & kFlagLunar) {
        double d = Difference(c.lon[2], c.lon[1]);
        int m = angle == 0 && d >= 0    ? 1
                : angle == 90 && d >= 0 ? 2
                : angle == 90           ? 3
                : d >= 0                ? 5
                : d >= -15              ? 4
                                        : 6;
        for (int k : sink.Values(m, 1, 6)) {
            bool possible = angle == 90  ? (k == 2 || k == 3)
                            : angle == 0 ? (k == 1 || k == 4 || k == 6)
                                         : (k >= 4);
            if (possible) sink.Text("M%d", k);
        }
        return m == 2 || m == 3;
    }
    static const double bounds[] = {15, 84, 95, 174, 186, 264, 275, 345};
    double d = Normalize(c.lon[2] - c.lon[1]);
    int sector = 1 + static_cast<int>(std::count_if(std::begin(bounds), std::end(bounds),
                                                    [d](double b) { return d >= b; }));
    for (int k : sink.Values(sector, 1, 9)) sink.Text("L%02d", k);
    return false;
}

// The section a pair of bodies is taken in.
int PairOwner(int lo, int hi, unsigned flags) {
    bool mer = lo == 3 || hi == 3, ven = lo == 4 || hi == 4;
    if (!(flags & kFlagAspectOrder) || !(mer || ven)) return lo;
    if (mer && ven) return 4;
    return mer ? 3 : 4;
}

int BodiesInHouse(const ChartAnalysis& a, int h) {
    int n = 0;
    for (int b = 1; b <= 10; ++b) n += a.house[b] == h;
    return n;
}

}  // namespace

std::vector<int> PairAngles(const SectionContext& s, int point1, int point2) {
    if (s.sink.Listing()) return s.in.angles;
    int angle = AspectBetween(s.in.matrix, point1, point2);
    if (angle < 0) return {};
    return {angle};
}

void EnergySection(const SectionContext& s) {
    static const char* const names[3] = {"все"_cp, "личны"_cp, "социальны"_cp};
    static const int thresholds[3][4] = {{20, 28, 31, 36}, {10, 14, 17, 21}, {10, 14, 17, 21}};
    for (int g = 0; g < 3; ++g) {
        int sum = s.a.energy[g];
        s.sink.Heading("Энергетика %sх планет (%d):"_cp, names[g], sum);
        int band = static_cast<int>(std::count_if(
            std::begin(thresholds[g]), std::end(thresholds[g]), [sum](int t) { return sum >= t; }));
        for (int k : s.sink.Values(band, 0, 4)) s.sink.Text("W%db%d", g, k);
    }
}

void ChainSection(const SectionContext& s) {
    ReportSink& sink = s.sink;
    ChainResult r = Chains(1, s.a);
    std::vector<int> centre = r.Count() == 1 ? r.centres[0] : std::vector<int>{};
    auto body = [&](size_t i) { return i < centre.size() ? centre[i] : 0; };
    if (sink.When(r.Count() == 1)) {
        if (sink.When(centre.size() == 1)) {
            sink.Heading("%s", "В центре цепочки 1 планета"_cp);
            for (int b : sink.Values(body(0), 1, 10)) sink.Text("C%02d", b);
        }
        if (sink.When(centre.size() == 2)) {
            sink.Heading("%s", "В центре цепочки 2 планеты"_cp);
            sink.Text("CC");
            for (size_t i = 0; i < 2; ++i)
                for (int b : sink.Values(body(i), 1, 10)) sink.Text("C%02d", b);
        }
        if (sink.When(centre.size() > 2)) sink.Text("CCC");
    }
    if (sink.When(r.Count() >= 2)) sink.Text("CMM");
}

void JonesSection(const SectionContext& s) {
    ReportSink& sink = s.sink;
    JonesResult j = JonesFigure(s.a);
    if (!sink.When(j.figure != 0)) return;
    sink.Heading("%s", "Фигура Джонса:"_cp);
    for (int f : sink.Values(j.figure, 1, 9)) sink.Text("F%02d", f);
    if (sink.When(j.figure >= 7)) {
        sink.Heading("%s", "Планета в ручке"_cp);
        std::vector<int> handle = sink.Listing() ? std::vector<int>{0} : j.handle;
        for (int h : handle) {
            for (int b : sink.Values(h, 1, 10)) sink.Text("R%02d", b);
            int house = h > 0 ? s.a.house[h] : 0;
            if (sink.When(s.a.houses && house >= 1)) {
                sink.Heading("Ручка в %d-м доме"_cp, house);
                for (int x : sink.Values(house, 1, 12)) sink.Text("Rh%02d", x);
            }
        }
    }
    if (sink.When(j.figure <= 3 || j.figure >= 7)) {
        sink.Heading("%sая планета"_cp, "Начальн"_cp);
        for (int b : sink.Values(j.begin, 1, 10)) sink.Text("B%02d", b);
        sink.Heading("%sая планета"_cp, "Завершающ"_cp);
        for (int b : sink.Values(j.end, 1, 10)) sink.Text("E%02d", b);
    }
}

void RisingAndSignStellia(const SectionContext& s) {
    const ChartAnalysis& a = s.a;
    int rising = 2;
    double least = 1e9;
    for (int b = 2; b <= 10; ++b) {
        double d = Normalize(Difference(a.chart.lon[1], a.chart.lon[b]));
        if (d <= least) {
            least = d;
            rising = b;
        }
    }
    s.sink.Heading("Планета, восходящая перед Солнцем - %s"_cp, PlanetName(rising).c_str());
    for (int b : s.sink.Values(rising, 2, 10)) s.sink.Text("VS%02d", b);
    for (int z = 1; z <= 12; ++z) {
        int n10 = 0, n7 = 0;
        for (int b = 1; b <= 10; ++b)
            if (a.sign[b] == z) {
                ++n10;
                n7 += b <= 7;
            }
        if (s.sink.When(n10 >= 5 || n7 >= 4)) {
            s.sink.Heading("   Стеллиум в%s"_cp, SignNamePrepositional(z - 1).c_str());
            s.sink.Text("Tz%02d", z);
        }
    }
}

void QuadrantSection(const SectionContext& s) {
    if (!s.sink.When(s.a.houses)) return;
    int count[4] = {};
    for (int b = 1; b <= 10; ++b)
        if (s.a.house[b] >= 1) ++count[(s.a.house[b] - 1) / 3];
    static const char* const halves[4] = {"Sev", "Zap", "Ug", "Vost"};
    for (int q = 0; q < 4; ++q) {
        int n = count[q] + count[(q + 1) % 4];
        if (!s.sink.When(n >= 7)) continue;
        if (s.sink.When(n == 10)) s.sink.Key(std::string(halves[q]) + "A", "%sA");
        if (s.sink.When(n != 10)) s.sink.Key(halves[q], "%s");
    }
    for (int q = 0; q < 4; ++q) {
        if (s.sink.When(count[q] >= 6)) {
            s.sink.Heading("%s %d-й квадрант"_cp, "Преобладает"_cp, q + 1);
            s.sink.Text("KV%d", q + 1);
        }
        if (s.sink.When(count[q] == 0)) {
            s.sink.Heading("%s %d-й квадрант"_cp, "Пустой"_cp, q + 1);
            s.sink.Text("DV%d", q + 1);
        }
    }
}

void ConfigurationSection(const SectionContext& s, bool apexes) {
    ReportSink& sink = s.sink;
    std::vector<AspectConfiguration> list = AspectConfigurations(s.a, s.in.matrix);
    auto present = [&](int kind) {
        return std::any_of(list.begin(), list.end(),
                           [kind](const auto& c) { return c.kind == kind; });
    };
    if (sink.When(!list.empty())) sink.Heading("%s", "Аспектные конфигурации"_cp);
    if (sink.When(list.empty())) sink.Text("A00");
    if (apexes) {
        for (int k = 1; k <= kLastConfigurationKind; ++k)
            if (sink.When(present(k))) sink.Text("A%02d", k);
        std::vector<int> seen;
        for (const auto& c : list)
            if (c.apex != 0 && std::find(seen.begin(), seen.end(), c.apex) == seen.end())
                seen.push_back(c.apex);
        if (sink.Listing()) seen = {0};
        for (int apex : seen) {
            sink.Heading("Планета на вершине - %s"_cp, PlanetName(apex).c_str());
            for (int b : sink.Values(apex, 1, 10)) sink.Text("V%02d", b);
        }
        return;
    }
    bool triangle =
        std::any_of(list.begin(), list.end(), [](const auto& c) { return c.bodies.size() == 3; });
    bool quadrangle =
        std::any_of(list.begin(), list.end(), [](const auto& c) { return c.bodies.size() == 4; });
    if (sink.When(triangle)) sink.Text("A%02d", kTriangleKind);
    if (sink.When(quadrangle)) sink.Text("A%02d", kQuadrangleKind);
    for (int k = kGrandCrossKind; k <= kLastConfigurationKind; ++k)
        if (sink.When(present(k))) sink.Text("A%02d", k);
}

void BodiesAndAspects(const SectionContext& s, unsigned flags) {
    const ChartAnalysis& a = s.a;
    const ChartRecord& c = a.chart;
    ReportSink& sink = s.sink;
    for (int b = 1; b <= 11; ++b) {
        sink.Text("IP%02d", b);
        sink.Heading("%s в%s"_cp, PlanetName(b).c_str(),
                     SignNamePrepositional(a.sign[b] - 1).c_str());
        for (int z : sink.Values(a.sign[b], 1, 12)) sink.Text("p%02dz%02d", b, z);
        if ((flags & kFlagMercury) && b == 3) {
            int motion = c.speed[3] < 0 ? 0 : 1;
            int side = Difference(c.lon[3], c.lon[1]) < 0 ? 0 : 1;
            for (int m : sink.Values(motion, 0, 1))
                for (int p : sink.Values(side, 0, 1))
                    sink.Key(std::string{"rd"[m], "ps"[p]}, "%c%c");
        }
        if (b == 11) break;
        int house = a.house[b];
        if (sink.When(a.houses && house >= 1)) {
            sink.Heading("При этом %s в %d-м доме"_cp, PlanetName(b).c_str(), house);
            for (int h : sink.Values(house, 1, 12)) {
                bool both = false;
                if (flags & kFlagSignHouse)
                    for (int z : sink.Values(a.sign[b], 1, 12))
                        both = sink.TextIfPresent("p%02dz%02dh%02d", b, z, h) || both;
                if (sink.When(!both)) sink.Text("p%02dh%02d", b, h);
            }
        }
        if ((flags & kFlagRetrograde) && sink.When(c.speed[b] < 0)) sink.Text("r%02d", b);
        for (int other = 1; other <= 10; ++other) {
            int lo = std::min(b, other), hi = std::max(b, other);
            if (other == b || PairOwner(lo, hi, flags) != b) continue;
            for (int angle : PairAngles(s, lo, hi)) {
                bool skip = lo == 1 && hi == 2 && LunarText(s, flags, angle);
                if (!sink.When(!skip)) continue;
                sink.Heading("%s - %s, аспект = %d"_cp, PlanetName(lo).c_str(),
                             PlanetName(hi).c_str(), angle);
                sink.Key(AspectKey(lo, hi, angle), "%c%02d%c%02da%03d");
            }
        }
    }
}

void HouseStellia(const SectionContext& s, int skipHouse, const std::vector<int>& handleHouses) {
    for (int h = 1; h <= 12; ++h) {
        int n = BodiesInHouse(s.a, h);
        if (std::find(handleHouses.begin(), handleHouses.end(), h) != handleHouses.end())
            n = std::max(n, 3);
        if (s.sink.When(h != skipHouse && n >= 3)) {
            s.sink.Heading("Стеллиум в %d-м доме"_cp, h);
            s.sink.Text("Th%02d", h);
        }
    }
}

void HouseSection(const SectionContext& s, bool ruler) {
    if (!s.sink.When(s.a.houses)) return;
    for (int h : {1, 4})
        for (int z : s.sink.Values(s.a.cuspSign[h], 1, 12)) s.sink.Text("h%02dz%02d", h, z);
    int skip = ruler ? HouseRuler(s.a, 1, 0, s.sink) : 0;
    HouseStellia(s, skip, {});
}

int HouseRuler(const ChartAnalysis& a, int h, int mode, ReportSink& sink) {
    int ruler = SignRuler(a.cuspSign[h] - 1);
    int hr = ruler >= 1 ? a.house[ruler] : 0;
    std::string whose = h == 1 ? std::string("Асцендента"_cp) : Format("%d-го дома"_cp, h);
    sink.Heading("Управитель %s (%s) - в %d-м доме"_cp, whose.c_str(), PlanetName(ruler).c_str(),
                 hr);
    if (sink.When(hr >= 1))
        for (int x : sink.Values(hr, 1, 12))
            sink.Text("u%02d%sh%02d%s", h, mode == 1 ? "." : "", x, mode == 2 ? "x" : "");
    return hr;
}

}  // namespace orbeta
