// orbeta-cli wheel: the chart wheel into a PNG, SVG or PDF file, drawn by the same
// painter as the chart windows, with the workspace's display settings. Runs without a
// display.
#include <sys/stat.h>
#include <unistd.h>
#include <QFontDatabase>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "aspects/aspect_matrix.h"
#include "aspects/orb_file.h"
#include "chart/wheel_export.h"
#include "chart_args.h"
#include "commands.h"
#include "data/settings.h"

namespace orbeta::cli {
namespace {

struct WheelArgs {
    ChartArgs chart;
    PartnerArgs partner;
    std::string out;
    std::string size;
    bool print = false;
};

constexpr int kLargestSide = 20000;
const QSize kScreenSize(1600, 900);
const QSize kPageSize(1240, 1754);  // A4 at 150 dpi

QSize ParseSize(const std::string& text) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w < 1 || h < 1 ||
        w > kLargestSide || h > kLargestSide)
        throw CommandError("the size must be WIDTHxHEIGHT, each 1.." +
                           std::to_string(kLargestSide) + ": " + text);
    return {w, h};
}

// Qt's window system without a display, and the program's two fonts from the workspace.
std::unique_ptr<QGuiApplication> StartGui() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt wants a private runtime directory and warns on every run without one.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        std::error_code ec;
        auto dir = std::filesystem::temp_directory_path(ec) /
                   ("orbeta-runtime-" + std::to_string(::getuid()));
        if (::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST)
            setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    static int argc = 1;
    static char name[] = "orbeta-cli";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    for (const char* file : {"sigilum.ttf", "tabmono.ttf"})
        if (QFontDatabase::addApplicationFont(file) < 0)
            std::fprintf(stderr, "orbeta-cli: cannot load the font %s\n", file);
    return app;
}

void Run(const WheelArgs& a) {
    QSize size = a.size.empty() ? (a.print ? kPageSize : kScreenSize) : ParseSize(a.size);
    auto gui = StartGui();
    Settings settings;
    ChartRecord current = DefaultProfileChart();
    LoadProfile(kProfileFile, settings, current);
    OrbTable table = LoadOrbSlot(settings.orbFiles, kOrbSlotCurrent);

    WheelParams params = MakeWheelParams(settings, table, a.print);
    params.first = ComputeChartOf(a.chart);
    if (a.partner.partner) {
        params.kind = kWheelTwoCharts;
        params.second = ComputePartnerOf(a.chart, *a.partner.partner);
        // Rows are the inner (second) chart's points, columns the outer chart's.
        params.matrix =
            ComputeAspectMatrix(params.second, params.first, kAspectsBetweenCharts, table);
    } else {
        params.second = params.first;
        params.matrix = ComputeAspectMatrix(params.first, table);
    }
    std::string error;
    if (!WriteWheelFile(a.out, params, size, a.print, error)) throw CommandError(error);
}

}  // namespace

void AddWheelCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "wheel", "the chart wheel (with a partner: both charts) as a PNG, SVG or PDF file");
    auto args = std::make_shared<WheelArgs>();
    AddChartOptions(*cmd, args->chart);
    AddPartnerOptions(*cmd, args->partner);
    cmd->add_option("--out", args->out, "output file; .png, .svg or .pdf")->required();
    cmd->add_option("--size", args->size,
                    "picture size WIDTHxHEIGHT in pixels (default 1600x900; with --print "
                    "1240x1754, and a PDF is an A4 page)");
    cmd->add_flag("--print", args->print, "the printer layout");
    cmd->callback([cmd, args, &action] {
        FinishChartArgs(*cmd, args->chart);
        FinishPartnerArgs(*cmd, args->partner);
        if (!WheelFileFormatOf(args->out))
            throw CommandError("the output file must end in .png, .svg or .pdf: " + args->out);
        if (!args->size.empty()) ParseSize(args->size);
        // The workspace becomes the working directory: a relative name is the invoker's.
        std::error_code ec;
        args->out = std::filesystem::absolute(args->out, ec).string();
        action.ephemeris = true;
        action.run = [args] { Run(*args); };
    });
}

}  // namespace orbeta::cli
