#include "interp/analysis_table.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/angles.h"
#include "interp/chart_analysis.h"
#include "interp/chart_patterns.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

void Positions(const ChartAnalysis& a, std::string& out) {
    out += Format("\n %s:\n", LookupText("Dpl").c_str());
    for (int b = 1; b <= 10; ++b) {
        double lon = Normalize(a.chart.lon[b]);
        out += Format(" %s %s (%6.2f)\n", PlanetName(b).c_str(), PositionText(lon).c_str(), lon);
    }
    out += "\n";
}

void Balance(const ChartAnalysis& a, std::string& out) {
    std::array<int, 3> cross{};
    std::array<int, 4> element{};
    int zone[4] = {}, axis[6] = {};
    auto add = [&](int b) {
        int s = a.sign[b];
        ++cross[CrossOfSign(s)];
        ++element[ElementOfSign(s)];
        ++zone[(s - 1) / 3];
        ++axis[(s - 1) % 6];
    };
    for (int pass = 0; pass < 2; ++pass) {
        int bodies = pass == 0 ? 7 : 10;
        for (int b = pass == 0 ? 1 : 8; b <= bodies; ++b) add(b);
        out += Format(" --- Учитываем  %d планет: ----\n"_cp, bodies);
        out += Format(" Кол-во планет в крестах: Кард.=%2u; Фикс.=%2u; Мутаб.=%2u\n"_cp, cross[0],
                      cross[1], cross[2]);
        out += Format(" Кол-во планет в стихиях: Огонь=%2u; Земля=%2u; Воздух=%2u; Вода= %2u\n"_cp,
                      element[0], element[1], element[2], element[3]);
        std::vector<int> signs = SyntheticSign(cross, element);
        if (signs.size() == 1)
            out += Format(" Синтетический знак - %s\n"_cp, SignName(signs[0]).c_str());
        else if (signs.size() == 2)
            out += Format(" Два синтетических знака - %s и %s\n"_cp, SignName(signs[0]).c_str(),
                          SignName(signs[1]).c_str());
        else
            out += LookupText("NoSZ") + "\n";
        out += Format(" Инь=%2u / Янь=%2u\n"_cp, element[1] + element[3], element[0] + element[2]);
        out += Format(" Интель.=%2u / Эмоцион.=%2u\n"_cp, element[1] + element[2],
                      element[0] + element[3]);
        out += Format(" Зоны: %2u %2u %2u %2u\n"_cp, zone[0], zone[1], zone[2], zone[3]);
        out += Format(" Оси:  %2u %2u %2u %2u %2u %2u\n"_cp, axis[0], axis[1], axis[2], axis[3],
                      axis[4], axis[5]);
    }
}

void Scores(const ChartAnalysis& a, std::string& out) {
    int sum = 0, personal = 0, high = 0, low = 10;
    for (int b = 1; b <= 10; ++b) {
        int d = Dignity(b, a.sign[b]);
        out += Format(" %d ", d);
        sum += d;
        if (b <= 5) personal += d;
        high = std::max(high, d);
        low = std::min(low, d);
    }
    out += " - баллы планет\n"_cp;
    out += Format(" ср.балл=%4.2f, Max-Min_баллы=%d, ср.баллы: 1-5=%4.2f, 6-10=%4.2f\n"_cp,
                  0.1 * sum, high - low, 0.2 * personal, 0.2 * (sum - personal));
}

void Degrees(const ChartAnalysis& a, std::string& out) {
    int count[3] = {};
    std::array<std::pair<double, int>, 10> order;
    for (int b = 1; b <= 10; ++b) {
        double d = std::fmod(Normalize(a.chart.lon[b]), 30.0);
        ++count[d <= 10 ? 0 : d <= 20 ? 1 : 2];
        order[b - 1] = {d, b};
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    out += Format(" %s %2u %2u %2u\n", LookupText("P10").c_str(), count[0], count[1], count[2]);
    out += " " + LookupText("PVZ");
    for (const auto& [d, b] : order) out += " " + PlanetName(b);
    out += "\n\n";
}

std::string Bodies(int n) {
    char ending = n == 1 ? "а"_cp[0] : n <= 4 ? "ы"_cp[0] : ' ';
    return Format(" (%d планет%c)"_cp, n, ending);
}

void ChainBlocks(const ChartAnalysis& a, std::string& out) {
    for (int mode = 0; mode < 4; ++mode) {
        ChainResult r = Chains(mode, a);
        out += Format(" --- Цепочки по %sнию (%s):\n"_cp, (mode & 2) ? "изгна"_cp : "владе"_cp,
                      (mode & 1) ? "Десять планет"_cp : "Планеты септенера"_cp);
        out += Format(" Кол-во отдельных цепочек (центров) = %d\n"_cp, r.Count());
        for (int k = 1; k <= r.Count(); ++k) {
            out += Format(" Цепочка  %d:"_cp, k);
            int members = 0;
            for (int b = 1; b <= r.bodies; ++b)
                if (r.chain[b] == k) {
                    out += " " + PlanetName(b);
                    ++members;
                }
            out += Bodies(members) + "\n Центр:"_cp;
            const auto& centre = r.centres[k - 1];
            for (int b : centre)
                out += Format(" %s - %u б. "_cp, PlanetName(b).c_str(), Dignity(b, a.sign[b]));
            out += Bodies(static_cast<int>(centre.size())) + "\n";
        }
    }
}

void Figure(const ChartAnalysis& a, std::string& out) {
    JonesResult j = JonesFigure(a);
    out += Format("\n %s - %s\n", LookupText("FD").c_str(), JonesFigureName(j.figure).c_str());
    std::vector<int> bodies = j.handle;
    for (int b : {j.begin, j.end})
        if (b != 0) bodies.push_back(b);
    for (int b : bodies) out += "  " + PlanetName(b);
    out += "\n\n";
}

void Configurations(const ChartAnalysis& a, const AspectMatrix& m, std::string& out) {
    std::vector<AspectConfiguration> list = AspectConfigurations(a, m);
    if (list.empty()) return;
    out += " Аспектные конфигурации:\n"_cp;
    for (const auto& c : list) {
        for (size_t i = 0; i < c.bodies.size(); ++i)
            out += Format(" %s - %3d -", PlanetName(c.bodies[i]).c_str(), c.angles[i]);
        out += " " + PlanetName(c.bodies[0]) + "\n";
    }
}

}  // namespace

std::string AnalysisTableText(const ChartRecord& chart, const AspectMatrix& matrix) {
    ChartAnalysis a = AnalyseChart(chart);
    std::string out;
    Positions(a, out);
    Balance(a, out);
    Scores(a, out);
    Degrees(a, out);
    ChainBlocks(a, out);
    Figure(a, out);
    Configurations(a, matrix, out);
    return out;
}

}  // namespace orbeta
