#include "interp/horary.h"

#include <cmath>

#include "core/angles.h"
#include "interp/chart_analysis.h"
#include "platform/codepage.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

constexpr int kMalefics[] = {MRS, SAT, URN, NEP, PLT};
constexpr int kMoonObstacles[] = {SUN, MRS, SAT, URN, NEP, PLT};
constexpr int kMoonCourse[] = {SUN, MER, VEN, MRS, JUP, SAT};

struct Judge {
    const HoraryInput& in;
    const ChartAnalysis& a;
    double now() const { return in.chart.jdCalc; }

    // The coming aspect of two bodies (1..10) from the chart's moment, or none.
    std::optional<HoraryPair> Coming(int i, int j) const {
        if (i == j || i < SUN || i > PLT || j < SUN || j > PLT) return std::nullopt;
        if (!BodyAvailable(in.chart, i) || !BodyAvailable(in.chart, j)) return std::nullopt;
        int angle = in.next.aspect[i - 1][j - 1];
        double t = in.next.time[i - 1][j - 1];
        if (angle < 0 || t < now()) return std::nullopt;
        return HoraryPair{i, j, angle, t};
    }

    // The body that prohibits the aspect of i and j perfecting at t: the earliest
    // square or opposition with i or j, or conjunction of a malefic with i or j,
    // between now and t; 0 when none.
    int Prohibitor(int i, int j, double t) const {
        int best = 0;
        double bestTime = t;
        for (int p = SUN; p <= PLT; ++p) {
            if (p == i || p == j) continue;
            bool malefic = false;
            for (int m : kMalefics) malefic = malefic || m == p;
            for (int x : {i, j}) {
                auto c = Coming(p, x);
                if (!c || !(c->time < bestTime)) continue;
                if (c->aspect == 90 || c->aspect == 180 || (malefic && c->aspect == 0)) {
                    best = p;
                    bestTime = c->time;
                }
            }
        }
        return best;
    }

    std::vector<int> Significators(int ruler, int house) const {
        std::vector<int> bodies{ruler};
        for (int b = SUN; b <= PLT; ++b)
            if (b != ruler && a.house[b] == house && BodyAvailable(in.chart, b))
                bodies.push_back(b);
        return bodies;
    }
};

void HouseBodies(const ChartAnalysis& a, int house, ReportSink& sink) {
    std::vector<int> bodies;
    for (int b = SUN; b <= PLT; ++b)
        if (a.house[b] == house && BodyAvailable(a.chart, b)) bodies.push_back(b);
    if (bodies.empty()) return;
    sink.Heading("%s", "Планеты в доме:"_cp);
    for (int b : bodies) sink.Heading("%s", PlanetName(b).c_str());
    sink.Line("");
}

// Every key the answer can look up.
void ListHoraryKeys(ReportSink& sink) {
    for (int h = 1; h <= 12; ++h) sink.Text("S%02d", h);
    for (int h = 1; h <= 12; ++h) sink.Text("P%02d", h);
    for (const char* key : {"A03", "A27", "UU-", "UU++", "UU+-"}) sink.Text("%s", key);
    for (int b = SUN; b <= PLT; ++b) sink.Text("MH%02d", b);
    for (const char* key : {"Lnot", "NoAn", "L--", "L+-", "L++"}) sink.Text("%s", key);
    for (int m : kMoonObstacles) sink.Text("LH%02d", m);
    sink.Text("uSr");
    sink.Text("uPr");
}

}  // namespace

HoraryAspects::HoraryAspects() {
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            aspect[i][j] = -1;
            time[i][j] = 0;
        }
}

int HoraryObjectHouse(int subject, int object) {
    return ((subject + object - 2) % 12 + 12) % 12 + 1;
}

int ClassicalRuler(int sign) {
    static const int rulers[12] = {MRS, VEN, MER, MON, SUN, MER, VEN, MRS, JUP, SAT, SAT, JUP};
    return sign >= 0 && sign < 12 ? rulers[sign] : 0;
}

HoraryFindings WriteHorary(const HoraryInput& in, ReportSink& sink) {
    HoraryFindings f;
    if (sink.Listing()) {
        ListHoraryKeys(sink);
        return f;
    }
    ChartAnalysis a = AnalyseChart(in.chart);
    if (!a.houses) {
        f.refusal = "Хорарный ответ ищется по управителям домов, а у карты нет домов"_cp;
        return f;
    }
    Judge judge{in, a};
    int s = in.subject, q = HoraryObjectHouse(in.subject, in.object);
    f.q = q;
    f.r1 = ClassicalRuler(SignOf(Normalize(in.chart.cusp[s])));
    f.r2 = ClassicalRuler(SignOf(Normalize(in.chart.cusp[q])));

    sink.Heading("Субъект вопроса (Управитель %s)"_cp, PlanetName(f.r1).c_str());
    sink.Text("S%02d", s);
    HouseBodies(a, s, sink);
    sink.Heading("Предмет вопроса  (Управитель %s) (дом %d)"_cp, PlanetName(f.r2).c_str(), q);
    sink.Text("P%02d", in.object);
    HouseBodies(a, q, sink);

    double ascInSign = std::fmod(Normalize(in.chart.cusp[1]), 30.0);
    if (ascInSign < 3) {
        sink.Text("A03");
        return f;
    }
    if (ascInSign > 27) {
        sink.Text("A27");
        return f;
    }

    f.taken = judge.Coming(f.r1, f.r2);
    if (!f.taken)
        for (int i : judge.Significators(f.r1, s))
            for (int j : judge.Significators(f.r2, q)) {
                auto c = judge.Coming(i, j);
                if (c && (!f.taken || c->time < f.taken->time)) f.taken = c;
            }
    if (f.taken) {
        const HoraryPair& p = *f.taken;
        sink.Heading("%s - %s %d", PlanetName(p.i).c_str(), PlanetName(p.j).c_str(), p.aspect);
        if (p.aspect == 90 || p.aspect == 180) {
            sink.Text("UU-");
        } else {
            f.prohibitor = judge.Prohibitor(p.i, p.j, p.time);
            if (f.prohibitor == 0) {
                sink.Text("UU++");
            } else {
                sink.Text("UU+-");
                sink.Text("MH%02d", f.prohibitor);
            }
        }
    } else {
        for (int k : judge.Significators(f.r2, q)) {
            if (k == MON) continue;
            auto c = judge.Coming(MON, k);
            if (c && (!f.moon || c->time < f.moon->time)) f.moon = c;
        }
        if (!f.moon) {
            bool course = false;
            for (int b : kMoonCourse) course = course || judge.Coming(MON, b).has_value();
            sink.Text(course ? "NoAn" : "Lnot");
        } else {
            const HoraryPair& k = *f.moon;
            sink.Heading("Луна - %s %d"_cp, PlanetName(k.j).c_str(), k.aspect);
            if (k.aspect == 90 || k.aspect == 180) {
                sink.Text("L--");
            } else {
                double first = k.time;
                for (int m : kMoonObstacles) {
                    auto c = judge.Coming(MON, m);
                    if (m == k.j || !c || c->aspect == 60 || c->aspect == 120) continue;
                    if (c->time < first) {
                        first = c->time;
                        f.moonObstacle = m;
                    }
                }
                if (f.moonObstacle == 0) {
                    sink.Text("L++");
                } else {
                    sink.Text("L+-");
                    sink.Text("LH%02d", f.moonObstacle);
                }
            }
        }
    }
    if (in.chart.speed[f.r1] < 0) sink.Text("uSr");
    if (in.chart.speed[f.r2] < 0) sink.Text("uPr");
    return f;
}

std::vector<HoraryChoice> HoraryChoices(std::string_view text) {
    std::vector<HoraryChoice> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t slash = text.find('/', start);
        std::string_view entry = text.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        size_t open = entry.find('[');
        if (open != std::string_view::npos) {
            int n = 0;
            size_t k = open + 1;
            while (k < entry.size() && entry[k] >= '0' && entry[k] <= '9' && n < 100)
                n = n * 10 + (entry[k++] - '0');
            bool closed = k > open + 1 && k < entry.size() && entry[k] == ']';
            if (closed && n >= 1 && n <= 12) {
                std::string_view label = entry.substr(0, open);
                while (!label.empty() && label.back() == ' ') label.remove_suffix(1);
                while (!label.empty() && label.front() == ' ') label.remove_prefix(1);
                out.push_back({std::string(label), n});
            }
        }
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return out;
}

}  // namespace orbeta
