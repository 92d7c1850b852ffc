// orbeta-cli synastry and horary: the relationship report of two charts and the horary
// answer of a question's moment, as text or JSON; the keys each can look up; the horary
// lists of a moment, a day and a horary chart window.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"
#include "core/calendar.h"
#include "forecast/horary_search.h"
#include "interp/chart_analysis.h"
#include "interp/horary.h"
#include "interp/relationship.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

struct SynastryArgs {
    ChartArgs chart;
    PartnerArgs partner;
    std::string name, partnerName;
    unsigned flags = kDefaultRelationshipFlags;
    std::string orbs;
    bool listKeys = false;
    bool json = false;
};

nlohmann::ordered_json Lookups(const ReportSink& sink) {
    auto keys = nlohmann::ordered_json::array();
    for (const auto& k : sink.Keys()) keys.push_back({{"key", k.key}, {"found", k.printed}});
    return keys;
}

void PrintListed(const ReportSink& sink) {
    for (const auto& k : sink.Listed())
        std::printf("%s\t%s\t%s\n", k.key.c_str(), k.family.c_str(),
                    k.optional ? "optional" : "required");
}

OrbTable Orbs(const std::string& file) {
    return LoadOrbTable(file.empty() ? kDefaultOrbFile : file, kDefaultOrbFile, false);
}

std::string Name(const ChartRecord& r) {
    return std::string(r.name, strnlen(r.name, sizeof r.name));
}

void Synastry(const SynastryArgs& a) {
    RelationshipInput in;
    in.flags = a.flags;
    in.orbs = Orbs(a.orbs);
    if (a.listKeys) {
        ReportSink sink(true);
        WriteRelationship(in, sink);
        PrintListed(sink);
        return;
    }
    Computation c(ContextOf(a.chart));
    in.yours = ComputeChartOf(c, a.chart);
    in.partner = ComputePartnerOf(c, a.chart, *a.partner.partner);
    TellDiagnostics(c.diagnostics);
    CopyText(in.yours.name, Utf8ToAnsi(a.name));
    CopyText(in.partner.name, Utf8ToAnsi(a.partnerName));
    if (!OpenTextBase("wzaim")) throw CommandError("the text base wzaim cannot be opened");
    ReportSink sink;
    RelationshipFindings found = WriteRelationship(in, sink);
    CloseTextBase();
    if (a.json) {
        nlohmann::ordered_json j;
        j["aspects"] = nlohmann::ordered_json::array();
        for (const auto& x : found.aspects)
            j["aspects"].push_back({{"your", x.yours}, {"partner", x.partner}, {"angle", x.angle}});
        j["partnerInYourHouses"] = nlohmann::ordered_json::array();
        for (const auto& x : found.partnerInYourHouses)
            j["partnerInYourHouses"].push_back({{"body", x.body}, {"house", x.house}});
        j["unaspected"] = found.unaspected;
        j["lookups"] = Lookups(sink);
        std::printf("%s\n", j.dump(1).c_str());
        return;
    }
    std::string text = " " + LookupText("PartS") + "\n " + LookupText("Mark") + "\n" +
                       Format(" Ваши данные:     %s %s\n"_cp, Name(in.yours).c_str(),
                              DateTimeText(in.yours.jdLocal).c_str()) +
                       Format(" Данные партнера: %s %s\n"_cp, Name(in.partner).c_str(),
                              DateTimeText(in.partner.jdLocal).c_str()) +
                       sink.Body();
    std::fputs(Utf8(text.c_str()).c_str(), stdout);
}

struct HoraryArgs {
    ChartArgs chart;
    int subject = 0, object = 0;
    bool untilStation = false;
    std::string list;
    bool listKeys = false;
    bool json = false;
};

void HoraryList(Computation& c, const ChartRecord& chart, const HoraryArgs& a) {
    std::string title, body;
    if (a.list == "moment") {
        title = "Хорарные аспекты мгновенные"_cp;
        body = HoraryMomentText(c, chart, 0);
    } else if (a.list == "day") {
        title = "Хорарные аспекты суточные"_cp;
        body = HoraryDayText(c, chart, 0);
    } else {
        title = Format("Карта %d:%-10.10s (Хорарная)"_cp, 1, Name(chart).c_str());
        body = HoraryWindowText(c, chart, ComputeHoraryChartList(c, chart, a.untilStation), 0);
    }
    std::string text = " " + title + "\n " + LookupText("Mark") + "\n" + body;
    std::fputs(Utf8(text.c_str()).c_str(), stdout);
}

void Horary(const HoraryArgs& a) {
    HoraryInput in;
    if (a.listKeys) {
        ReportSink sink(true);
        WriteHorary(in, sink);
        PrintListed(sink);
        return;
    }
    Computation c(ContextOf(a.chart));
    in.chart = ComputeChartOf(c, a.chart);
    TellDiagnostics(c.diagnostics);
    if (!HoraryMomentChart(in.chart.calcMethod))
        throw CommandError(Utf8(HoraryMomentRefusal().c_str()));
    if (!a.list.empty()) {
        HoraryList(c, in.chart, a);
        return;
    }
    in.subject = a.subject;
    in.object = a.object;
    NextAspectMatrix m = ComputeNextAspects(c, in.chart.jdCalc, a.untilStation);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            // A body the ephemeris could not give takes no aspects.
            bool usable = BodyAvailable(in.chart, i + 1) && BodyAvailable(in.chart, j + 1);
            in.next.aspect[i][j] = usable ? m.aspect[i][j] : -1;
            in.next.time[i][j] = m.time[i][j];
        }
    ReportSink probe;
    HoraryFindings refused = WriteHorary(in, probe);
    if (!refused.refusal.empty()) throw CommandError(Utf8(refused.refusal.c_str()));
    if (!OpenTextBase("chorar")) throw CommandError("the text base chorar cannot be opened");
    ReportSink sink;
    HoraryFindings f = WriteHorary(in, sink);
    CloseTextBase();
    if (!a.json) {
        std::string text =
            " " + InterpretationTitle(3) + "\n " + LookupText("Mark") + "\n" +
            Format(" %s %s\n", Name(in.chart).c_str(), DateTimeText(in.chart.jdLocal).c_str()) +
            sink.Body();
        std::fputs(Utf8(text.c_str()).c_str(), stdout);
        return;
    }
    ChartAnalysis an = AnalyseChart(in.chart);
    nlohmann::ordered_json j;
    j["q"] = f.q;
    j["R1"] = f.r1;
    j["R2"] = f.r2;
    j["houses"] = std::vector<int>(an.house.begin() + 1, an.house.begin() + 11);
    j["next"] = nlohmann::ordered_json::array();
    for (const auto& x : m.list)
        if (BodyAvailable(in.chart, x.bodyA) && BodyAvailable(in.chart, x.bodyB))
            j["next"].push_back(
                {{"a", x.bodyA}, {"b", x.bodyB}, {"aspect", x.aspect}, {"jdUT", x.exact}});
    auto pair = [](const std::optional<HoraryPair>& p) -> nlohmann::ordered_json {
        if (!p) return nullptr;
        return {{"i", p->i}, {"j", p->j}, {"aspect", p->aspect}, {"jdUT", p->time}};
    };
    j["taken"] = pair(f.taken);
    j["prohibitor"] = f.prohibitor ? nlohmann::ordered_json(f.prohibitor) : nullptr;
    if (f.moon)
        j["moon"] = {{"k", f.moon->j},
                     {"aspect", f.moon->aspect},
                     {"m", f.moonObstacle ? nlohmann::ordered_json(f.moonObstacle) : nullptr}};
    else
        j["moon"] = nullptr;
    j["lookups"] = Lookups(sink);
    std::printf("%s\n", j.dump(1).c_str());
}

void OptionalChart(CLI::App& cmd) {
    for (const char* name : {"--date", "--gmt", "--lat", "--lon"})
        cmd.get_option(name)->required(false);
}

void NeedChart(CLI::App& cmd, const char* command) {
    for (const char* name : {"--date", "--gmt", "--lat", "--lon"})
        if (cmd.count(name) == 0)
            throw CommandError(std::string(command) + ": " + name + " is needed");
}

}  // namespace

void AddSynastryCommands(CLI::App& app, Action& action) {
    auto* syn = app.add_subcommand("synastry", "relationship report: your chart and a partner's");
    auto sa = std::make_shared<SynastryArgs>();
    AddChartOptions(*syn, sa->chart);
    OptionalChart(*syn);
    AddPartnerOptions(*syn, sa->partner);
    syn->add_option("--name", sa->name, "your name");
    syn->add_option("--partner-name", sa->partnerName, "the partner's name");
    syn->add_option("--flags", sa->flags,
                    "bits 0..5: relations, your expectations, the partner's, introduction, "
                    "your houses, the partner's houses (default 15)")
        ->check(CLI::Range(0, 63));
    syn->add_option("--orbs", sa->orbs, "aspect-and-orb file (default 0.ao)");
    syn->add_flag("--list-keys", sa->listKeys, "every key the report can look up with --flags");
    syn->add_flag("--json", sa->json, "JSON: aspects, partner in your houses, lookups");
    syn->callback([syn, sa, &action] {
        FinishChartArgs(*syn, sa->chart);
        FinishPartnerArgs(*syn, sa->partner);
        if (!sa->orbs.empty() && std::filesystem::is_regular_file(sa->orbs))
            sa->orbs = std::filesystem::absolute(sa->orbs).string();
        if (sa->listKeys) {
            action.run = [sa] { Synastry(*sa); };
            return;
        }
        NeedChart(*syn, "synastry");
        if (!sa->partner.partner)
            throw CommandError(
                "synastry: --partner-date, --partner-gmt, --partner-lat and "
                "--partner-lon are needed");
        CheckCoordinates(sa->partner.partner->lat, sa->partner.partner->lon, "--partner-");
        action.ephemeris = true;
        action.run = [sa] { Synastry(*sa); };
    });

    auto* hor = app.add_subcommand("horary", "horary answer, or the horary aspect lists");
    auto ha = std::make_shared<HoraryArgs>();
    AddChartOptions(*hor, ha->chart);
    OptionalChart(*hor);
    hor->add_option("--subject", ha->subject, "the subject's house 1..12")
        ->check(CLI::Range(1, 12));
    hor->add_option("--object", ha->object,
                    "the object's house counted from the subject's, 1..12 (1 = the same)")
        ->check(CLI::Range(1, 12));
    hor->add_flag("--until-station", ha->untilStation,
                  "a sign stay also ends at the body's first station");
    hor->add_option("--list", ha->list, "moment, day or window: the list instead of the answer")
        ->check(CLI::IsMember({"moment", "day", "window"}));
    hor->add_flag("--list-keys", ha->listKeys, "every key the answer can look up");
    hor->add_flag("--json", ha->json, "JSON: significators, aspects, findings, lookups");
    hor->callback([hor, ha, &action] {
        FinishChartArgs(*hor, ha->chart);
        if (ha->listKeys) {
            action.run = [ha] { Horary(*ha); };
            return;
        }
        NeedChart(*hor, "horary");
        if (ha->list.empty() && (hor->count("--subject") == 0 || hor->count("--object") == 0))
            throw CommandError("horary: --subject and --object are needed");
        action.ephemeris = true;
        action.run = [ha] { Horary(*ha); };
    });
}

}  // namespace orbeta::cli
