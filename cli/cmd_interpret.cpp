// orbeta-cli interpret: the natal, child and relocation interpretations and the chart
// analysis table, as text or JSON; and the keys each interpretation can look up.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "aspects/aspect_matrix.h"
#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"
#include "core/angles.h"
#include "core/derived_charts.h"
#include "interp/analysis_table.h"
#include "interp/chart_analysis.h"
#include "interp/chart_patterns.h"
#include "interp/interpretation.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

struct InterpretArgs {
    ChartArgs chart;
    std::string report;
    std::string listKeys;
    std::string orbs;
    unsigned options = kAllInterpretationOptions;
    std::string toPlace;
    double toLat = 0;
    double toLon = 0;
    bool json = false;
};

int KindOf(const std::string& name) {
    if (name == "child") return kChildInterpretation;
    if (name == "relocation") return kRelocationInterpretation;
    return kNatalInterpretation;
}

OrbTable Orbs(const InterpretArgs& a) {
    return LoadOrbTable(a.orbs.empty() ? kDefaultOrbFile : a.orbs, kDefaultOrbFile, false);
}

std::vector<int> SwitchedOnAngles(const OrbTable& table) {
    std::vector<int> angles;
    for (const auto& aspect : table.aspects) {
        int angle = static_cast<int>(std::lround(aspect.angle));
        if (std::find(angles.begin(), angles.end(), angle) == angles.end()) angles.push_back(angle);
    }
    return angles;
}

void ListKeys(const InterpretArgs& a) {
    InterpretationInput in;
    in.kind = KindOf(a.listKeys);
    in.options = a.options;
    in.angles = SwitchedOnAngles(Orbs(a));
    ReportSink sink(true);
    WriteInterpretation(in, sink);
    for (const auto& k : sink.Listed())
        std::printf("%s\t%s\t%s\n", k.key.c_str(), k.family.c_str(),
                    k.optional ? "optional" : "required");
}

nlohmann::ordered_json Counts(const GroupCounts& g) {
    return {{"n10", g.n10}, {"n7", g.n7}, {"n5", g.n5}, {"l", g.l}, {"h", g.h}};
}

nlohmann::ordered_json AnalysisJson(const ChartRecord& chart, const AspectMatrix& matrix) {
    ChartAnalysis a = AnalyseChart(chart);
    nlohmann::ordered_json j;
    j["signs"] = std::vector<int>(a.sign.begin() + 1, a.sign.end());
    j["houses"] = std::vector<int>(a.house.begin() + 1, a.house.end());
    j["cuspSigns"] = std::vector<int>(a.cuspSign.begin() + 1, a.cuspSign.end());
    j["energy"] = a.energy;
    auto sorted = nlohmann::ordered_json::array();
    for (const auto& [id, lon] : a.sorted) sorted.push_back({id, lon});
    j["sorted"] = sorted;
    auto elements = nlohmann::ordered_json::array(), crosses = nlohmann::ordered_json::array();
    std::array<int, 4> e10{};
    std::array<int, 3> c10{};
    for (int e = 0; e < 4; ++e) {
        elements.push_back(Counts(a.elements[e]));
        e10[e] = a.elements[e].n10;
    }
    for (int c = 0; c < 3; ++c) {
        crosses.push_back(Counts(a.crosses[c]));
        c10[c] = a.crosses[c].n10;
    }
    j["elements"] = elements;
    j["crosses"] = crosses;
    j["synthetic"] = SyntheticSign(c10, e10);
    JonesResult jones = JonesFigure(a);
    j["jones"] = {{"figure", jones.figure},
                  {"handle", jones.handle},
                  {"begin", jones.begin},
                  {"end", jones.end}};
    auto configurations = nlohmann::ordered_json::array();
    for (const auto& c : AspectConfigurations(a, matrix))
        configurations.push_back(
            {{"kind", c.kind}, {"bodies", c.bodies}, {"angles", c.angles}, {"apex", c.apex}});
    j["configurations"] = configurations;
    auto chains = nlohmann::ordered_json::array();
    for (int mode = 0; mode < 4; ++mode) {
        ChainResult r = Chains(mode, a);
        chains.push_back({{"mode", mode}, {"count", r.Count()}, {"centres", r.centres}});
    }
    j["chains"] = chains;
    return j;
}

void Report(const InterpretArgs& a) {
    Computation c(ContextOf(a.chart));
    ChartRecord chart = ComputeChartOf(c, a.chart);
    bool analysis = a.report == "analysis";
    int kind = KindOf(a.report);
    if (!analysis && kind == kRelocationInterpretation)
        chart =
            RelocationChart(c, chart, Utf8ToAnsi(a.toPlace), a.toLat, a.toLon, chart.houseSystem);
    TellDiagnostics(c.diagnostics);
    OrbTable table = Orbs(a);
    AspectMatrix matrix = ComputeAspectMatrix(chart, table);

    std::string title, body;
    nlohmann::ordered_json keys = nlohmann::ordered_json::array();
    if (analysis) {
        title = ReportTitle(2003);
        body = AnalysisTableText(chart, matrix);
    } else {
        title = InterpretationTitle(kind);
        if (!OpenTextBase(InterpretationBase(kind)))
            throw CommandError(std::string("the text base ") + InterpretationBase(kind) +
                               " cannot be opened");
        InterpretationInput in{kind, chart, matrix, SwitchedOnAngles(table), a.options};
        ReportSink sink;
        WriteInterpretation(in, sink);
        CloseTextBase();
        body = sink.Body();
        for (const auto& k : sink.Keys()) keys.push_back({{"key", k.key}, {"printed", k.printed}});
    }
    std::string text = Utf8((" " + title + "\n " + LookupText("Mark") + "\n" + body).c_str());
    if (!a.json) {
        std::fputs(text.c_str(), stdout);
        return;
    }
    nlohmann::ordered_json j;
    j["report"] = a.report;
    j["title"] = Utf8(title.c_str());
    j["text"] = text;
    j["keys"] = keys;
    j["analysis"] = AnalysisJson(chart, matrix);
    std::printf("%s\n", j.dump(1).c_str());
}

}  // namespace

void AddInterpretCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "interpret", "natal, child or relocation interpretation, or the chart analysis table");
    auto args = std::make_shared<InterpretArgs>();
    AddChartOptions(*cmd, args->chart);
    for (const char* name : {"--date", "--gmt", "--lat", "--lon"})
        cmd->get_option(name)->required(false);
    auto* report = cmd->add_option("--report", args->report, "natal, child, relocation or analysis")
                       ->check(CLI::IsMember({"natal", "child", "relocation", "analysis"}));
    auto* list =
        cmd->add_option("--list-keys", args->listKeys,
                        "every key an interpretation can look up: natal, child, relocation")
            ->check(CLI::IsMember({"natal", "child", "relocation"}));
    report->excludes(list);
    cmd->add_option("--orbs", args->orbs, "aspect-and-orb file (default 0.ao)");
    cmd->add_option("--options", args->options, "option word of the report sections (default 2047)")
        ->check(CLI::Range(0, 2047));
    auto* place = cmd->add_option("--to-place", args->toPlace, "relocation: the new place");
    auto* lat = cmd->add_option("--to-lat", args->toLat, "relocation: latitude, packed d.mm");
    auto* lon = cmd->add_option("--to-lon", args->toLon, "relocation: longitude, packed d.mm");
    cmd->add_flag("--json", args->json, "JSON: text, keys looked up and the chart analysis");
    cmd->callback([cmd, args, &action, place, lat, lon] {
        FinishChartArgs(*cmd, args->chart);
        if (!args->orbs.empty() && std::filesystem::is_regular_file(args->orbs))
            args->orbs = std::filesystem::absolute(args->orbs).string();
        if (!args->listKeys.empty()) {
            action.run = [args] { ListKeys(*args); };
            return;
        }
        if (args->report.empty())
            throw CommandError("interpret: --report or --list-keys is needed");
        for (const char* name : {"--date", "--gmt", "--lat", "--lon"})
            if (cmd->count(name) == 0)
                throw CommandError(std::string("interpret: ") + name + " is needed");
        if (args->report == "relocation") {
            if (!place->count() || !lat->count() || !lon->count())
                throw CommandError("interpret: relocation needs --to-place, --to-lat and --to-lon");
            CheckCoordinates(args->toLat, args->toLon, "--to-");
        }
        action.ephemeris = true;
        action.run = [args] { Report(*args); };
    });
}

}  // namespace orbeta::cli
