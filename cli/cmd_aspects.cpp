#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "aspects/aspect_matrix.h"
#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"

namespace orbeta::cli {
namespace {

struct AspectsArgs {
    ChartArgs chart;
    PartnerArgs partner;
    std::string orbs;
    bool json = false;
};

std::string PointName(int p) {
    if (p <= kBodyCount) return BodyAbbreviation(p);
    int cusp = CuspOfPoint(p);
    if (cusp == 1) return "ASC";
    if (cusp == 10) return "MC";
    return "H" + std::to_string(cusp);
}

// The cell as the shortest decimal of its single-precision value, so that 22.5 reads
// 22.5 rather than the digits of the widened double.
double CellNumber(float v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf - 1, v);
    *r.ptr = 0;
    return std::strtod(buf, nullptr);
}

nlohmann::ordered_json MatrixJson(const AspectMatrix& m, int mode) {
    auto rows = nlohmann::ordered_json::array();
    for (int r = 1; r <= kPointCount; ++r) {
        auto row = nlohmann::ordered_json::array();
        for (int c = 1; c <= kPointCount; ++c) row.push_back(CellNumber(m.At(r, c)));
        rows.push_back(row);
    }
    nlohmann::ordered_json j;
    j["mode"] = mode;
    j["matrix"] = rows;
    return j;
}

// Rows are the chart's points, columns the partner's or the chart's own. Within one
// chart only the searched cells (above the diagonal) are shown.
void PrintGrid(const AspectMatrix& m, int mode) {
    std::printf("%-4s", "");
    for (int c = 1; c <= kPointCount; ++c) std::printf(" %5s", PointName(c).c_str());
    std::printf("\n");
    for (int r = 1; r <= kPointCount; ++r) {
        std::printf("%-4s", PointName(r).c_str());
        for (int c = 1; c <= kPointCount; ++c) {
            float v = m.At(r, c);
            if (mode == kAspectsWithinChart && r >= c)
                std::printf(" %5s", "");
            else if (v == kNoAspect)
                std::printf(" %5s", ".");
            else
                std::printf(" %5g", static_cast<double>(v));
        }
        std::printf("\n");
    }
}

// A relative name is the invoker's file when it exists there, else the workspace's.
std::string ResolveOrbFile(const std::string& name) {
    std::error_code ec;
    if (name.empty() || std::filesystem::path(name).is_absolute()) return name;
    if (std::filesystem::is_regular_file(name, ec))
        return std::filesystem::absolute(name, ec).string();
    return name;
}

void Run(const AspectsArgs& a) {
    std::string orbFile = a.orbs.empty() ? kDefaultOrbFile : a.orbs;
    OrbTable table = LoadOrbTable(orbFile, kDefaultOrbFile, false);
    // One computation for both charts: a fault they share is told once.
    Computation c(ContextOf(a.chart));
    ChartRecord chart = ComputeChartOf(c, a.chart);
    int mode = kAspectsWithinChart;
    AspectMatrix m;
    if (a.partner.partner) {
        ChartRecord partner = ComputePartnerOf(c, a.chart, *a.partner.partner);
        mode = kAspectsBetweenCharts;
        m = ComputeAspectMatrix(chart, partner, mode, table);
    } else {
        m = ComputeAspectMatrix(chart, table);
    }
    TellDiagnostics(c.diagnostics);
    if (a.json)
        std::printf("%s\n", MatrixJson(m, mode).dump().c_str());
    else
        PrintGrid(m, mode);
}

}  // namespace

void AddAspectsCommand(CLI::App& app, Action& action) {
    auto* cmd =
        app.add_subcommand("aspects", "aspect matrix of a chart, or of a chart and a partner");
    auto args = std::make_shared<AspectsArgs>();
    AddChartOptions(*cmd, args->chart);
    AddPartnerOptions(*cmd, args->partner);
    cmd->add_option("--orbs", args->orbs,
                    "aspect-and-orb file (default: 0.ao of the workspace); a relative name is "
                    "looked for here first, then in the workspace");
    cmd->add_flag("--json", args->json, "JSON output");
    cmd->callback([cmd, args, &action] {
        FinishChartArgs(*cmd, args->chart);
        FinishPartnerArgs(*cmd, args->partner);
        args->orbs = ResolveOrbFile(args->orbs);
        action.ephemeris = true;
        action.run = [args] { Run(*args); };
    });
}

}  // namespace orbeta::cli
