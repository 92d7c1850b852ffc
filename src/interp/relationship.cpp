#include "interp/relationship.h"

#include <cmath>

#include "aspects/aspect_matrix.h"
#include "core/angles.h"
#include "interp/chart_analysis.h"
#include "interp/interpretation.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

// Angles of the switched-on aspects in whole degrees, each once, in table order.
std::vector<int> TableAngles(const OrbTable& table) {
    std::vector<int> angles;
    for (const auto& a : table.aspects) {
        int angle = static_cast<int>(std::lround(a.angle));
        bool seen = false;
        for (int x : angles) seen = seen || x == angle;
        if (!seen) angles.push_back(angle);
    }
    return angles;
}

// Points of a side that take aspects: the bodies, and the cusps when its houses are
// asked for and it has them (zodiac houses are sign starts, not points of the chart).
int LastPoint(const ChartAnalysis& a, bool housesFlag, bool listing) {
    return housesFlag && (a.houses || listing) ? kPointCount : kBodyCount;
}

std::string AspectText(int angle) {
    const char* word = AspectNamePrepositional(angle);
    return word ? word : Format("%.1f", static_cast<double>(angle));
}

void Expectations(const ChartAnalysis& a, const char* suffix, bool housesFlag, int rulerMode,
                  ReportSink& sink) {
    bool houses = housesFlag && sink.When(a.houses);
    if (houses) {
        for (int z : sink.Values(a.cuspSign[1], 1, 12)) sink.Text("Az%02d%s", z, suffix);
        int inSeventh = 0;
        for (int b = 1; b <= 10; ++b) {
            if (!sink.When(a.house[b] == 7 && BodyAvailable(a.chart, b))) continue;
            ++inSeventh;
            sink.Heading("%s в 7-м доме"_cp, PlanetName(b).c_str());
            sink.Text("H07p%02d%s", b, suffix);
        }
        if (sink.When(inSeventh >= 3)) sink.Text("007%s", suffix);
    }
    for (int b = 1; b <= 11; ++b) {
        if (!sink.When(BodyAvailable(a.chart, b))) continue;
        for (int z : sink.Values(a.sign[b], 1, 12))
            sink.TextUnder(
                Format(" %s в%s\n"_cp, PlanetName(b).c_str(), SignNamePrepositional(z - 1).c_str()),
                "p%02dz%02d%s", b, z, suffix);
    }
    if (houses) HouseRuler(a, 7, rulerMode, sink);
}

}  // namespace

RelationshipFindings WriteRelationship(const RelationshipInput& in, ReportSink& sink) {
    RelationshipFindings found;
    ChartAnalysis yours = AnalyseChart(in.yours), partner = AnalyseChart(in.partner);
    auto on = [&](unsigned flag) { return (in.flags & flag) != 0; };
    sink.Text("0");
    if (on(kRelIntroduction)) sink.Text("000");
    if (on(kRelYourExpect)) {
        sink.Text("010");
        Expectations(yours, "", on(kRelYourHouses), 0, sink);
    }
    if (on(kRelPartnerExpect)) {
        sink.Text("011");
        Expectations(partner, "x", on(kRelPartnerHouses), 2, sink);
    }
    if (!on(kRelAspects)) return found;

    sink.Text("012");
    int lastYours = LastPoint(yours, on(kRelYourHouses), sink.Listing());
    int lastPartner = LastPoint(partner, on(kRelPartnerHouses), sink.Listing());
    AspectMatrix matrix = ComputeAspectMatrix(in.yours, in.partner, kAspectsBetweenCharts, in.orbs);
    std::vector<int> allAngles = TableAngles(in.orbs);
    bool marked[kPointCount + 1] = {};
    for (int i = 1; i <= lastYours; ++i)
        for (int j = 1; j <= lastPartner; ++j) {
            std::vector<int> angles = allAngles;
            if (!sink.Listing()) {
                float cell = matrix.At(i, j);
                if (cell == kNoAspect) continue;
                int angle = static_cast<int>(std::lround(cell));
                angles = {angle};
                marked[i] = true;
                found.aspects.push_back({i, j, angle});
            }
            for (int angle : angles)
                sink.TextUnder(Format(" %s в %s с %s\n"_cp, PointLongName(i).c_str(),
                                      AspectText(angle).c_str(),
                                      PointNameIn(NameCase::Instrumental, j).c_str()),
                               "%s", AspectKey(i, j, angle).c_str());
        }

    if (on(kRelYourHouses) && sink.When(yours.houses))
        for (int b = 1; b <= kBodyCount; ++b) {
            if (!sink.When(BodyAvailable(in.partner, b))) continue;
            int h = HouseOf(in.partner.lon[b], in.yours.cusp);
            if (!sink.When(h >= 1)) continue;
            if (!sink.Listing()) found.partnerInYourHouses.push_back({b, h});
            for (int x : sink.Values(h, 1, 12))
                sink.TextUnder(
                    Format(" %s партнера в Вашем %d-м доме:\n\n"_cp, PlanetName(b).c_str(), x),
                    "h%02dp%02d", x, b);
        }

    bool headed = false;
    for (int b = 1; b <= kBodyCount; ++b) {
        if (!sink.When(!marked[b] && BodyAvailable(in.yours, b))) continue;
        if (!sink.Listing()) found.unaspected.push_back(b);
        std::string heading = Format("  %s:\n"_cp, PlanetName(b).c_str());
        if (!headed) heading = " Неаспектированные планеты Вашей карты:\n"_cp + heading;
        if (sink.TextUnder(heading, "Np%02d", b)) headed = true;
    }
    return found;
}

}  // namespace orbeta
