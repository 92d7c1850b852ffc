#include "interp/interpretation.h"

#include "interp/chart_patterns.h"
#include "interp/natal_sections.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

void Levels(const SectionContext& s, int threshold) {
    int count[3] = {};
    for (int b = 1; b <= 10; ++b) ++count[LevelOfSign(s.a.sign[b])];
    for (int level = 0; level < 3; ++level)
        if (s.sink.When(count[level] >= threshold)) s.sink.Text("L%d", level + 1);
}

void DominantElement(const SectionContext& s, int e) {
    s.sink.Heading("Преобладающая стихия: %s"_cp, ElementName(e).c_str());
}

void WeakElement(const SectionContext& s, int e) {
    s.sink.Heading("Ослабленная стихия: %s"_cp, ElementName(e).c_str());
    s.sink.Text("DS%d", e + 1);
}

void NatalElements(const SectionContext& s) {
    ReportSink& sink = s.sink;
    const auto& el = s.a.elements;
    bool any = false;
    for (int e = 0; e < 4; ++e)
        if (sink.When(el[e].n10 + el[e].h >= 5 || el[e].n5 >= 4)) {
            DominantElement(s, e);
            sink.Text("S%d", e + 1);
            any = true;
        }
    for (int e = 0; e < 4; ++e) {
        const GroupCounts& g = el[e];
        if (sink.When(g.n10 == 0 || (g.n10 == 1 && g.n5 == 0 && g.h == 0) ||
                      (g.n10 == 2 && g.n7 == 0 && g.h == 0))) {
            WeakElement(s, e);
            any = true;
        }
    }
    auto thinThree = [&](int e) { return el[e].n10 == 3 && el[e].n5 == 0 && el[e].h == 0; };
    for (int e1 = 0; e1 < 4; ++e1)
        for (int e2 = e1 + 1; e2 < 4; ++e2)
            if (sink.When(el[e1].n10 + el[e2].n10 >= 8 && el[e1].n10 >= 3 && el[e2].n10 >= 3 &&
                          !thinThree(e1) && !thinThree(e2))) {
                sink.Text("S%dS%d", e1 + 1, e2 + 1);
                any = true;
            }
    if (sink.When(!any)) sink.Text("SSS");
}

void ChildElements(const SectionContext& s) {
    ReportSink& sink = s.sink;
    const ChartAnalysis& a = s.a;
    int odd = 0;
    for (int b = 1; b <= 10; ++b) odd += a.sign[b] % 2;
    if (a.houses) odd += a.cuspSign[1] % 2;
    for (int n : sink.Values(odd, 0, 11)) sink.Text("J%02d", n);
    bool even = true;
    for (const auto& g : a.elements) even = even && (g.n10 == 2 || g.n10 == 3);
    if (sink.When(even)) sink.Text("SSS");
    for (int e = 0; e < 4; ++e) {
        const GroupCounts& g = a.elements[e];
        bool strongest = g.n10 + g.h >= 6;
        if (sink.When(strongest)) {
            DominantElement(s, e);
            sink.Text("SS%d", e + 1);
        }
        if (sink.When(!strongest && (g.n10 + g.h >= 5 || g.n7 >= 4))) {
            DominantElement(s, e);
            sink.Text("S%d", e + 1);
        }
    }
    for (int e = 0; e < 4; ++e) {
        const GroupCounts& g = a.elements[e];
        if (sink.When(g.n10 == 0 || (g.n10 == 1 && g.n5 == 0) || (g.n10 == 2 && g.n7 == 0)))
            WeakElement(s, e);
    }
}

void Crosses(const SectionContext& s, bool child) {
    ReportSink& sink = s.sink;
    const auto& cr = s.a.crosses;
    for (int c = 0; c < 3; ++c) {
        const GroupCounts& g = cr[c];
        bool dominant = g.n10 >= 5 || (child && g.n10 == 4 && g.h == 1 && cr[(c + 1) % 3].n10 == 3);
        if (sink.When(dominant)) {
            sink.Heading("Преобладающий крест: %s"_cp, CrossName(c).c_str());
            sink.Text("K%d", c + 1);
        }
        int inner = child ? g.n5 : g.n7;
        if (sink.When(g.n10 == 0 || (g.n10 == 1 && inner == 0 && g.h == 0))) {
            sink.Heading("Отсутствующий крест: %s"_cp, CrossName(c).c_str());
            sink.Text("DK%d", c + 1);
        }
    }
}

void NatalOrChild(const SectionContext& s, bool child) {
    ReportSink& sink = s.sink;
    if (s.On(kOptIntroduction)) sink.Text("000");
    if (child) sink.Text("010");
    if (s.On(kOptElements)) child ? ChildElements(s) : NatalElements(s);
    if (s.On(kOptCrosses)) Crosses(s, child);
    if (s.On(kOptLevels)) Levels(s, child ? 5 : 6);
    if (s.On(kOptEnergy)) EnergySection(s);
    if (s.On(kOptChains)) ChainSection(s);
    if (s.On(kOptJones)) JonesSection(s);
    if (s.On(kOptBodies)) RisingAndSignStellia(s);
    if (s.On(kOptQuadrants)) QuadrantSection(s);
    if (s.On(kOptConfigurations)) ConfigurationSection(s, child);
    if (s.On(kOptBodies))
        BodiesAndAspects(s, child ? kFlagAspectOrder | kFlagLunar | kFlagMercury
                                  : kFlagMercury | kFlagSignHouse);
    if (s.On(kOptHouses)) HouseSection(s, child);
}

}  // namespace

const char* AspectNamePrepositional(int angle) {
    switch (angle) {
        case 0:
            return "соединении"_cp;
        case 60:
            return "секстиле"_cp;
        case 90:
            return "квадрате"_cp;
        case 120:
            return "тригоне"_cp;
        case 180:
            return "оппозиции"_cp;
        // The minor angles the shipped orb file switches on are named too: "в 150.0"
        // does not read as Russian.
        case 30:
            return "полусекстиле"_cp;
        case 45:
            return "полуквадрате"_cp;
        case 72:
            return "квинтиле"_cp;
        case 135:
            return "полутораквадрате"_cp;
        case 144:
            return "биквинтиле"_cp;
        case 150:
            return "квинконсе"_cp;
        default:
            return nullptr;
    }
}

namespace {

void Relocation(const SectionContext& s) {
    ReportSink& sink = s.sink;
    const ChartAnalysis& a = s.a;
    if (s.On(kOptIntroduction)) sink.Text("000");
    sink.Heading("Карта переезда в %s (LAT=%.2f, LONG=%.2f):"_cp, a.chart.place, a.chart.latitude,
                 a.chart.longitude);
    if (!sink.When(a.houses)) return;
    for (int h : {1, 10}) {
        sink.Heading("Новый %s в%s"_cp, PointName(15 + h).c_str(),
                     SignNamePrepositional(a.cuspSign[h] - 1).c_str());
        for (int z : sink.Values(a.cuspSign[h], 1, 12)) sink.Text("h%02dz%02d", h, z);
    }
    HouseRuler(a, 1, 0, sink);
    if (sink.When(a.house[1] >= 1))
        for (int h : sink.Values(a.house[1], 1, 12)) sink.Text("p01h%02d", h);
    for (int b = 1; b <= 11; ++b)
        for (int p = 16; p <= 27; ++p)
            for (int angle : PairAngles(s, b, p)) {
                const char* word = AspectNamePrepositional(angle);
                std::string text = word ? word : Format("%.1f", static_cast<double>(angle));
                sink.Heading("%s - %s: в %s"_cp, PlanetName(b).c_str(), PointName(p).c_str(),
                             text.c_str());
                sink.Key(AspectKey(b, p, angle), "%c%02d%c%02da%03d");
            }
    JonesResult j = JonesFigure(a);
    std::vector<int> handleHouses;
    if (j.figure >= 7)
        for (int h : j.handle) handleHouses.push_back(a.house[h]);
    HouseStellia(s, 0, handleHouses);
}

}  // namespace

const char* InterpretationBase(int kind) {
    switch (kind) {
        case kNatalInterpretation:
            return "natal";
        case kChildInterpretation:
            return "deti";
        case kRelocationInterpretation:
            return "geograf";
        default:
            return "";
    }
}

void WriteInterpretation(const InterpretationInput& in, ReportSink& sink) {
    ChartAnalysis a = AnalyseChart(in.chart);
    SectionContext s{in, a, sink};
    sink.Text("0");
    if (in.kind == kRelocationInterpretation)
        Relocation(s);
    else
        NatalOrChild(s, in.kind == kChildInterpretation);
}

}  // namespace orbeta
