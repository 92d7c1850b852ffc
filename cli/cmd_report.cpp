#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"
#include "forecast/age_points.h"
#include "forecast/day_report.h"
#include "forecast/report_commands.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

struct ReportArgs {
    ChartArgs chart;
    std::string kind;
    std::string orbs;
    long maskP = 1023;
};

// The text that the report file gets: the pipeline's header, then the body.
void Run(const ReportArgs& a) {
    ChartRecord chart = ComputeChartOf(a.chart);
    int id = a.kind == "day" ? 2011 : 2012;
    std::string body;
    if (a.kind == "day") {
        if (!DayReportAllowed(chart.latitude))
            throw CommandError(Utf8(LookupText("tatvp").c_str()));
        Computation c(ContextOf(a.chart));
        body = DayReportText(ComputeDayReport(c, chart));
        TellDiagnostics(c.diagnostics);
    } else {
        OrbTable table =
            LoadOrbTable(a.orbs.empty() ? kDefaultOrbFile : a.orbs, kDefaultOrbFile, false);
        body = AgePointReportText(chart, table, a.maskP);
    }
    std::string text = " " + ReportTitle(id) + "\n " + LookupText("Mark") + "\n" + body;
    std::fputs(Utf8(text.c_str()).c_str(), stdout);
}

}  // namespace

void AddReportCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("report", "a chart report as text: the day or the age points");
    auto args = std::make_shared<ReportArgs>();
    AddChartOptions(*cmd, args->chart);
    cmd->add_option("--kind", args->kind, "day (rises, sets, hours, tattvas) or age (age points)")
        ->required()
        ->check(CLI::IsMember({"day", "age"}));
    cmd->add_option("--orbs", args->orbs, "aspect-and-orb file of the age points (default 0.ao)");
    cmd->add_option("--mask-p", args->maskP, "shown bodies, bit i - 1 for body i (default 1023)");
    cmd->callback([cmd, args, &action] {
        FinishChartArgs(*cmd, args->chart);
        if (!args->orbs.empty() && std::filesystem::is_regular_file(args->orbs))
            args->orbs = std::filesystem::absolute(args->orbs).string();
        action.ephemeris = true;
        action.run = [args] { Run(*args); };
    });
}

}  // namespace orbeta::cli
