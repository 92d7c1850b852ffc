// orbeta-cli table: the aspect table, the arc table and the Bindhu table of a chart,
// as the chart window saves and reports them.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "aspects/aspect_matrix.h"
#include "aspects/orb_file.h"
#include "chart/chart_tables.h"
#include "chart_args.h"
#include "commands.h"
#include "core/calendar.h"
#include "data/settings.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

struct TableArgs {
    ChartArgs chart;
    PartnerArgs partner;
    std::string kind;
    std::string orbs;
    std::optional<long> maskP, maskA;
    bool json = false;
};

double Rounded(double v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf - 1, static_cast<float>(v));
    *r.ptr = 0;
    return std::strtod(buf, nullptr);
}

nlohmann::ordered_json ChartPointsJson(const ChartRecord& chart, const std::vector<int>& points) {
    nlohmann::ordered_json j;
    j["name"] = Utf8(std::string(chart.name, strnlen(chart.name, sizeof chart.name)).c_str());
    j["dateTime"] = DateTimeText(chart.jdLocal);
    auto list = nlohmann::ordered_json::array();
    for (int p : points) {
        PointCoordinates c = CoordinatesOf(chart, p);
        list.push_back({{"point", p},
                        {"lon", c.lon},
                        {"lat", c.lat},
                        {"speed", c.speed},
                        {"decl", c.declination}});
    }
    j["points"] = list;
    return j;
}

nlohmann::ordered_json AspectTableJson(const AspectTable& t) {
    nlohmann::ordered_json j;
    std::vector<int> points = t.Points();
    j["kind"] = t.kind;
    j["points"] = points;
    auto cells = nlohmann::ordered_json::array();
    for (int r : points) {
        auto row = nlohmann::ordered_json::array();
        for (int c : points) {
            float v = t.matrix.At(r, c);
            if (v == kNoAspect || (!t.TwoCharts() && r == c))
                row.push_back(nullptr);
            else
                row.push_back(Rounded(v));
        }
        cells.push_back(row);
    }
    j["cells"] = cells;
    auto charts = nlohmann::ordered_json::array();
    charts.push_back(ChartPointsJson(t.chartA, t.CoordinatePoints()));
    if (t.TwoCharts()) charts.push_back(ChartPointsJson(t.chartB, t.CoordinatePoints()));
    j["charts"] = charts;
    return j;
}

nlohmann::ordered_json BindhuJson(const std::vector<BindhuEntry>& entries) {
    nlohmann::ordered_json j;
    auto list = nlohmann::ordered_json::array();
    for (const BindhuEntry& e : entries)
        list.push_back({{"lon", e.lon}, {"point", e.point}, {"aspect", Rounded(e.aspect)}});
    j["entries"] = list;
    auto rows = nlohmann::ordered_json::array();
    for (const BindhuRow& row : BindhuLayout(entries)) {
        auto cells = nlohmann::ordered_json::array();
        for (const BindhuCell& c : row.cells) {
            if (c.point == kBindhuEmpty)
                cells.push_back(nullptr);
            else
                cells.push_back(
                    {{"point", c.point}, {"minutes", c.minutes}, {"aspect", Rounded(c.aspect)}});
        }
        rows.push_back({{"label", row.label}, {"cells", cells}});
    }
    j["rows"] = rows;
    return j;
}

void Run(const TableArgs& a) {
    Settings settings;
    ChartRecord current = DefaultProfileChart();
    LoadProfile(kProfileFile, settings, current);
    OrbTable orbs = a.orbs.empty() ? LoadOrbSlot(settings.orbFiles, kOrbSlotCurrent)
                                   : LoadOrbTable(a.orbs, kDefaultOrbFile, false);
    AspectTable t;
    t.maskP = a.maskP.value_or(settings.maskP);
    t.maskA = a.maskA.value_or(settings.maskA);
    // One computation for both charts: a fault they share is told once.
    Computation c(ContextOf(a.chart));
    t.chartA = ComputeChartOf(c, a.chart);
    if (a.kind != "bindhu" && a.partner.partner)
        t.chartB = ComputePartnerOf(c, a.chart, *a.partner.partner);
    else
        t.chartB = t.chartA;
    TellDiagnostics(c.diagnostics);

    if (a.kind == "bindhu") {
        std::vector<BindhuEntry> entries = BindhuEntries(t.chartA, orbs, t.maskP);
        if (a.json) {
            std::printf("%s\n", BindhuJson(entries).dump().c_str());
            return;
        }
        std::string text = " " +
                           std::string("\xd2\xe0\xe1\xeb\xe8\xf6\xe0 \xc1\xe8\xed\xe4\xf5\xf3") +
                           "\n " + LookupText("Mark") + "\n" + BindhuReportText(entries);
        std::fputs(Utf8(text.c_str()).c_str(), stdout);
        return;
    }
    if (a.kind == "arcs") {
        t.kind = kTableArcs;
        t.matrix = ArcMatrix(t.chartA, t.chartB);
    } else if (a.partner.partner) {
        // As in a chart window: the rows are the partner's (inner chart's) points.
        t.kind = kTableTwoCharts;
        t.matrix = ComputeAspectMatrix(t.chartB, t.chartA, kAspectsBetweenCharts, orbs);
    } else {
        t.matrix = ComputeAspectMatrix(t.chartA, orbs);
    }
    if (a.json)
        std::printf("%s\n", AspectTableJson(t).dump().c_str());
    else
        std::fputs(Utf8(AspectTableText(t).c_str()).c_str(), stdout);
}

}  // namespace

void AddTableCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "table", "the aspect, arc or Bindhu table of a chart, as the chart window writes it");
    auto args = std::make_shared<TableArgs>();
    cmd->add_option("kind", args->kind, "aspects, arcs or bindhu")
        ->required()
        ->check(CLI::IsMember({"aspects", "arcs", "bindhu"}));
    AddChartOptions(*cmd, args->chart);
    AddPartnerOptions(*cmd, args->partner);
    cmd->add_option("--orbs", args->orbs, "aspect-and-orb file (default: the profile's current)");
    cmd->add_option("--mask-p", args->maskP,
                    "shown bodies, bit i - 1 for body i (default the profile's)");
    cmd->add_option("--mask-a", args->maskA,
                    "bodies with aspects, bit i - 1 for body i (default the profile's)");
    cmd->add_flag("--json", args->json, "JSON output");
    cmd->callback([cmd, args, &action] {
        FinishChartArgs(*cmd, args->chart);
        FinishPartnerArgs(*cmd, args->partner);
        if (args->kind == "bindhu" && args->partner.partner)
            throw CommandError("the Bindhu table is of one chart: no partner options");
        std::error_code ec;
        if (!args->orbs.empty() && std::filesystem::is_regular_file(args->orbs, ec))
            args->orbs = std::filesystem::absolute(args->orbs, ec).string();
        action.ephemeris = true;
        action.run = [args] { Run(*args); };
    });
}

}  // namespace orbeta::cli
