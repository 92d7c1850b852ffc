// stars, degrees, lots, midpoints, directions: the reports on a chart's sensitive
// degrees, as the report text (UTF-8, headers included) or as JSON.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"
#include "core/ephemeris.h"
#include "forecast/degree_reports.h"
#include "forecast/directions.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

using nlohmann::json;

struct DegreeArgs {
    ChartArgs chart;
    long maskP = 1023;
    std::string orbs;
    std::string file;
    bool json = false;
    std::string kind = "lon";
    std::string from, to;
};

void Print(const std::string& titleLine, const std::string& body) {
    std::string text = " " + titleLine + "\n " + LookupText("Mark") + "\n" + body;
    std::fputs(Utf8(text.c_str()).c_str(), stdout);
}

void PrintJson(const json& j) {
    std::printf("%s\n", j.dump().c_str());
}

// The control file's text; a file that cannot be read is told on stderr and the report
// is its header only.
std::optional<std::string> ControlFile(const DegreeArgs& a, const char* name) {
    std::string path = a.file.empty() ? name : a.file;
    auto text = ReadControlFile(path);
    if (!text) std::fprintf(stderr, "orbeta-cli: cannot open %s\n", path.c_str());
    return text;
}

void TellMessages(const std::vector<std::string>& messages) {
    for (const std::string& m : messages) std::fprintf(stderr, "%s\n", Utf8(m.c_str()).c_str());
}

OrbTable TableOf(const DegreeArgs& a) {
    return LoadOrbTable(a.orbs.empty() ? kDefaultOrbFile : a.orbs, kDefaultOrbFile, false);
}

void RunStars(const DegreeArgs& a) {
    ChartRecord chart = ComputeChartOf(a.chart);
    auto r = ComputeStarConjunctions(chart, a.maskP, ControlFile(a, kStarTextFile));
    if (!a.json) {
        Print(ReportTitle(cmd::chart::kFixedStars), StarConjunctionReport(r));
        return;
    }
    TellMessages(r.messages);
    json stars = json::array();
    for (const StarBlock& s : r.stars) {
        json hits = json::array();
        for (const StarHit& h : s.hits) hits.push_back({{"point", h.point}, {"diff", h.diff}});
        stars.push_back({{"number", s.star.number},
                         {"name", Utf8(s.star.name.c_str())},
                         {"magnitude", s.star.magnitude},
                         {"ra", s.position.rightAscension},
                         {"dec", s.position.declination},
                         {"lon", s.position.longitude},
                         {"lat", s.position.latitude},
                         {"hits", hits}});
    }
    PrintJson({{"moment", r.jdUT}, {"stars", stars}});
}

void RunDegrees(const DegreeArgs& a) {
    ChartRecord chart = ComputeChartOf(a.chart);
    auto r = ComputeDegreeTexts(chart, a.maskP, ControlFile(a, kDegreeTextFile));
    if (!a.json) {
        Print(ReportTitle(cmd::chart::kDegreeTexts), DegreeTextReport(r));
        return;
    }
    TellMessages(r.messages);
    json blocks = json::array();
    for (const DegreeTextBlock& b : r.blocks)
        blocks.push_back({{"degree", b.degree}, {"points", b.points}});
    PrintJson({{"blocks", blocks}});
}

void RunLots(const DegreeArgs& a) {
    ChartRecord chart = ComputeChartOf(a.chart);
    auto r = ComputeLots(chart, a.maskP, ControlFile(a, kLotFile));
    if (!a.json) {
        Print(ReportTitle(cmd::chart::kLots), LotReport(r));
        return;
    }
    if (r.opened && !r.houses) std::fprintf(stderr, "%s\n", Utf8(LookupText("dZ").c_str()).c_str());
    json lots = json::array(), errors = json::array();
    for (const LotResult::Entry& e : r.entries) {
        if (!e.isLot) {
            errors.push_back({{"line", e.error.line}, {"symbol", Utf8(e.error.symbol.c_str())}});
            continue;
        }
        json hits = json::array();
        for (const LotHit& h : e.lot.hits) hits.push_back({{"point", h.point}, {"orb", h.orb}});
        lots.push_back({{"line", e.lot.line},
                        {"formula", Utf8(e.lot.formula.c_str())},
                        {"lon", e.lot.lon},
                        {"hits", hits}});
    }
    PrintJson({{"night", r.night}, {"lots", lots}, {"errors", errors}});
}

void RunMidpoints(const DegreeArgs& a) {
    ChartRecord chart = ComputeChartOf(a.chart);
    auto entries = ComputeMidpoints(chart, TableOf(a), a.maskP);
    if (!a.json) {
        Print(ReportTitle(cmd::chart::kMidpoints), MidpointReport(entries));
        return;
    }
    json list = json::array();
    for (const MidpointEntry& e : entries) {
        json hits = json::array();
        for (const MidpointHit& h : e.hits)
            hits.push_back({{"owner", h.owner}, {"angle", h.angle}, {"orb", h.orb}});
        list.push_back({{"a", e.a}, {"b", e.b}, {"lon", e.lon}, {"hits", hits}});
    }
    PrintJson({{"midpoints", list}});
}

void RunDirections(const DegreeArgs& a) {
    double start = DateArgument(a.from), end = DateArgument(a.to);
    if (end < start) throw CommandError("the interval ends before it starts (--to before --from)");
    Computation c(ContextOf(a.chart));
    ChartRecord chart = ComputeChartOf(c, a.chart);
    OrbTable table = TableOf(a);
    std::vector<DirectionFinding> findings;
    int id = cmd::chart::kDirectionsLongitude;
    if (a.kind == "moon") {
        id = cmd::chart::kProgressedMoon;
        auto moon = [&c](double jd) { return BodyLongitude(c, jd, MON); };
        findings = ProgressedMoonFindings(chart, table, a.maskP, start, end, moon);
    } else {
        if (a.kind == "ra") id = cmd::chart::kDirectionsRightAscension;
        findings = DirectionFindings(chart, table, a.maskP, a.kind == "ra", start, end);
    }
    TellDiagnostics(c.diagnostics);
    if (!a.json) {
        Print(DirectionTitle(id, chart, start, end),
              a.kind == "moon" ? ProgressedMoonReport(findings) : DirectionReport(findings));
        return;
    }
    json list = json::array();
    for (const DirectionFinding& f : findings)
        list.push_back({{"jd", f.jd}, {"point", f.point}, {"owner", f.owner}, {"angle", f.angle}});
    PrintJson({{"findings", list}});
}

CLI::App* AddOne(CLI::App& app, Action& action, const char* name, const char* help,
                 void (*run)(const DegreeArgs&), bool orbs, bool file) {
    auto* cmd = app.add_subcommand(name, help);
    auto args = std::make_shared<DegreeArgs>();
    AddChartOptions(*cmd, args->chart);
    cmd->add_option("--mask-p", args->maskP, "shown bodies, bit i - 1 for body i (default 1023)");
    if (orbs) cmd->add_option("--orbs", args->orbs, "aspect-and-orb file (default 0.ao)");
    if (file) cmd->add_option("--file", args->file, "another control file");
    cmd->add_flag("--json", args->json, "JSON output");
    if (std::string(name) == "directions") {
        cmd->add_option("--kind", args->kind, "lon (longitude), ra (right ascension) or moon")
            ->check(CLI::IsMember({"lon", "ra", "moon"}));
        cmd->add_option("--from", args->from, "start date DD.MM.YYYY")->required();
        cmd->add_option("--to", args->to, "end date DD.MM.YYYY")->required();
    }
    cmd->callback([cmd, args, run, &action] {
        FinishChartArgs(*cmd, args->chart);
        // Before the workspace is entered, so that relative names stay the invoker's.
        for (std::string* path : {&args->orbs, &args->file})
            if (!path->empty() && std::filesystem::exists(*path))
                *path = std::filesystem::absolute(*path).string();
        action.ephemeris = true;
        action.run = [args, run] { run(*args); };
    });
    return cmd;
}

}  // namespace

void AddDegreeReportCommands(CLI::App& app, Action& action) {
    AddOne(app, action, "stars", "conjunctions of the chart's points with the stars of star.ctl",
           RunStars, false, true);
    AddOne(app, action, "degrees", "texts of the degrees occupied by the chart's points",
           RunDegrees, false, true);
    AddOne(app, action, "lots", "the lots of chreb.ctl and the points on them", RunLots, false,
           true);
    AddOne(app, action, "midpoints", "midpoints of the chart's points on its aspect points",
           RunMidpoints, true, false);
    AddOne(app, action, "directions",
           "directions in longitude or right ascension, or the progressed Moon, onto the "
           "chart's aspect points",
           RunDirections, true, false);
}

}  // namespace orbeta::cli
