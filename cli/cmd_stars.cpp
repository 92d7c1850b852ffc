// orbeta-cli parans and extra-points: the fixed-star report and the asteroid and
// hypothetical-body tables of a chart.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"
#include "core/star_catalogue.h"
#include "interp/extra_points.h"
#include "interp/star_report.h"
#include "interp/text_report.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

using nlohmann::json;

struct StarArgs {
    ChartArgs chart;
    std::string file = "starbb.ctl";
    long maskP = 1023;
    bool noTexts = false;
    bool json = false;
};

void RunParans(const StarArgs& a) {
    Computation c(ContextOf(a.chart));
    StarReportInput in;
    in.chart = ComputeChartOf(c, a.chart);
    in.maskP = a.maskP;
    StarCatalogue catalogue = ReadStarCatalogue(a.file, c.diagnostics);
    in.stars = catalogue.stars;
    StarReport r = ComputeStarReport(c, in);
    TellDiagnostics(c.diagnostics);
    if (a.json) {
        json bodies = json::array();
        for (const BodyEvents& b : r.bodies) {
            json events = json::array();
            for (const BodyEvent& e : b.events)
                events.push_back({{"hour", e.hour},
                                  {"jdUT", e.jdUT},
                                  {"lon", e.lon},
                                  {"lat", e.lat},
                                  {"asc", e.asc},
                                  {"mc", e.mc}});
            bodies.push_back({{"body", b.body}, {"events", events}});
        }
        json stars = json::array();
        for (const StarRow& s : r.stars) {
            json hours = json::array();
            for (double h : s.hours) hours.push_back(h);
            stars.push_back({{"number", s.star.number},
                             {"name", Utf8(s.star.name.c_str())},
                             {"ra", s.position.rightAscension},
                             {"dec", s.position.declination},
                             {"lon", s.position.longitude},
                             {"lat", s.position.latitude},
                             {"visible", s.visible},
                             {"hours", hours},
                             {"phase", s.phase}});
        }
        json heliacal = nullptr;
        if (r.heliacal >= 0)
            heliacal = {{"number", r.stars[r.heliacal].star.number}, {"d", r.heliacalD}};
        json angles = json::array();
        for (const StarOnAngle& x : r.onAngles)
            angles.push_back({{"angle", x.angle}, {"star", r.stars[x.star].star.number}});
        json parans = json::array();
        for (const Paran& p : r.parans)
            parans.push_back({{"star", r.stars[p.star].star.number},
                              {"body", p.body},
                              {"event", p.event},
                              {"angle", p.angle},
                              {"diff", p.diff}});
        json out = {{"obliquity", r.obliquity}, {"bodies", bodies}, {"stars", stars},
                    {"heliacal", heliacal},     {"angles", angles}, {"parans", parans}};
        std::printf("%s\n", out.dump(1).c_str());
        return;
    }
    if (!a.noTexts && !OpenTextBase("starbb"))
        throw CommandError("the text base starbb cannot be opened");
    ReportSink sink;
    if (!a.noTexts) sink.Text("0");  // the base's introduction, as the window's report has it
    if (catalogue.opened) WriteStarReport(in, r, sink);
    CloseTextBase();
    std::string text =
        " " + InterpretationTitle(4) + "\n " + LookupText("Mark") + "\n" + sink.Body();
    std::fputs(Utf8(text.c_str()).c_str(), stdout);
}

struct ExtraArgs {
    ChartArgs chart;
    std::string kind;
    std::string orbs;
    long maskP = 1023;
    bool json = false;
};

void RunExtraPoints(const ExtraArgs& a) {
    Computation c(ContextOf(a.chart));
    ChartRecord chart = ComputeChartOf(c, a.chart);
    OrbTable table =
        LoadOrbTable(a.orbs.empty() ? kDefaultOrbFile : a.orbs, kDefaultOrbFile, false);
    const bool asteroids = a.kind == "asteroids";
    std::vector<ExtraBody> bodies =
        asteroids ? ComputeAsteroids(c, chart, table, a.maskP, ParseAsteroidList(LookupText("ASw")))
                  : ComputeHypotheticalBodies(c, chart, table, a.maskP);
    TellDiagnostics(c.diagnostics);
    if (a.json) {
        json list = json::array();
        for (const ExtraBody& b : bodies) {
            json hits = json::array();
            for (const ExtraContact& x : b.contacts)
                hits.push_back({{"owner", x.owner}, {"angle", x.angle}, {"orb", x.distance}});
            list.push_back({{"number", b.number},
                            {"name", Utf8(b.name.c_str())},
                            {"lon", b.available ? b.lon : 999.0},
                            {"lat", b.available ? b.lat : 999.0},
                            {"available", b.available},
                            {"hits", hits}});
        }
        std::printf("%s\n", json{{"bodies", list}}.dump(1).c_str());
        return;
    }
    ReportSink sink;
    std::string title;
    if (asteroids) {
        // The texts are optional: without the base the table stands alone.
        bool texts = OpenOptionalTextBase("aster");
        WriteAsteroidTable(bodies, sink);
        if (texts) CloseTextBase();
        title = ReportTitle(2005);
    } else {
        WriteHypotheticalTable(bodies, sink);
        title = ReportTitle(2006);
    }
    std::string text = " " + title + "\n " + LookupText("Mark") + "\n" + sink.Body();
    std::fputs(Utf8(text.c_str()).c_str(), stdout);
}

}  // namespace

void AddStarCommands(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("parans", "the fixed-star report: daily circle, angles, parans");
    auto args = std::make_shared<StarArgs>();
    AddChartOptions(*cmd, args->chart);
    cmd->add_option("--file", args->file, "star catalogue (default starbb.ctl)");
    cmd->add_option("--mask-p", args->maskP, "bodies, bit i - 1 for body i (default 1023)");
    cmd->add_flag("--no-texts", args->noTexts, "without the texts of the base starbb");
    cmd->add_flag("--json", args->json, "the results as JSON");
    cmd->callback([cmd, args, &action] {
        FinishChartArgs(*cmd, args->chart);
        if (std::filesystem::is_regular_file(args->file))
            args->file = std::filesystem::absolute(args->file).string();
        action.ephemeris = true;
        action.run = [args] { RunParans(*args); };
    });

    auto* extra = app.add_subcommand("extra-points", "asteroids or hypothetical bodies of a chart");
    auto eargs = std::make_shared<ExtraArgs>();
    AddChartOptions(*extra, eargs->chart);
    extra->add_option("--kind", eargs->kind, "asteroids or hypothetical")
        ->required()
        ->check(CLI::IsMember({"asteroids", "hypothetical"}));
    extra->add_option("--orbs", eargs->orbs, "aspect-and-orb file (default 0.ao)");
    extra->add_option("--mask-p", eargs->maskP, "bodies, bit i - 1 for body i (default 1023)");
    extra->add_flag("--json", eargs->json, "the results as JSON");
    extra->callback([extra, eargs, &action] {
        FinishChartArgs(*extra, eargs->chart);
        if (!eargs->orbs.empty() && std::filesystem::is_regular_file(eargs->orbs))
            eargs->orbs = std::filesystem::absolute(eargs->orbs).string();
        action.ephemeris = true;
        action.run = [eargs] { RunExtraPoints(*eargs); };
    });
}

}  // namespace orbeta::cli
