// The drawing of orbeta-cli-draw: the chart wheel into a PNG, SVG or PDF file, drawn by
// the same painter as the chart windows, with the workspace's display settings. Runs
// without a display.
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
#include "commands.h"
#include "data/settings.h"
#include "draw_gui.h"
#include "wheel_command.h"

namespace orbeta::cli {
namespace {

const QSize kScreenSize(1600, 900);
const QSize kPageSize(1240, 1754);  // A4 at 150 dpi

}  // namespace

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

void DrawWheel(const WheelArgs& a) {
    QSize size = kScreenSize;
    if (a.print) size = kPageSize;
    if (!a.size.empty()) {
        auto [w, h] = ParseWheelSize(a.size);
        size = QSize(w, h);
    }
    auto gui = StartGui();
    Settings settings;
    ChartRecord current = DefaultProfileChart();
    LoadProfile(kProfileFile, settings, current);
    OrbTable table = LoadOrbSlot(settings.orbFiles, kOrbSlotCurrent);

    WheelParams params = MakeWheelParams(settings, table, a.print);
    params.printTable = a.tables;
    // One computation for both charts: a fault they share is told once.
    Computation c(ContextOf(a.chart));
    params.first = ComputeChartOf(c, a.chart);
    if (a.partner.partner) {
        params.kind = kWheelTwoCharts;
        params.second = ComputePartnerOf(c, a.chart, *a.partner.partner);
        // Rows are the inner (second) chart's points, columns the outer chart's.
        params.matrix =
            ComputeAspectMatrix(params.second, params.first, kAspectsBetweenCharts, table);
    } else {
        params.second = params.first;
        params.matrix = ComputeAspectMatrix(params.first, table);
    }
    TellDiagnostics(c.diagnostics);
    std::string error;
    if (!WriteWheelFile(a.out, params, size, a.print, error)) throw CommandError(error);
}

int HandOverDrawing(char**) {
    return -1;
}

}  // namespace orbeta::cli
