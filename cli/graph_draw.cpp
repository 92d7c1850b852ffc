// The drawing of orbeta-cli-draw for the graph command: the graphic forecast or
// ephemerides into a PNG, SVG or PDF file, painted as the windows paint them, with the
// workspace's colours.
#include "aspects/orb_file.h"
#include "chart/picture_file.h"
#include "commands.h"
#include "data/settings.h"
#include "draw_gui.h"
#include "forecast/draw/graph_painters.h"
#include "graph_command.h"
#include "wheel_command.h"

namespace orbeta::cli {

void DrawGraph(const GraphArgs& a) {
    auto gui = StartGui();
    GraphData data = ComputeGraph(a);
    Settings settings;
    ChartRecord current = DefaultProfileChart();
    LoadProfile(kProfileFile, settings, current);
    OrbTable table = a.orbs.empty() ? LoadOrbSlot(settings.orbFiles, kOrbSlotTransits)
                                    : LoadOrbTable(a.orbs, kDefaultOrbFile, false);
    const ChartRecord& chart = data.forecast ? data.forecastModel.natal : data.ephemerisModel.natal;
    GraphStyle style = MakeGraphStyle(settings, table, chart, a.print);
    auto [w, h] = a.Size();
    PictureRequest rq{QSize(w, h), a.print, a.landscape};
    std::string error;
    bool written = WritePictureFile(
        a.out, rq,
        [&](QPainter& painter, QSize size) {
            style.dpiY = painter.device()->logicalDpiY();
            if (data.forecast) {
                PaintForecastPlot(painter, size, data.forecastModel, style);
                PaintForecastCursor(painter, size, data.forecastModel, style);
            } else {
                PaintEphemerisPlot(painter, size, data.ephemerisModel, style);
                PaintEphemerisCursor(painter, size, data.ephemerisModel, style);
            }
        },
        error);
    if (!written) throw CommandError(error);
}

}  // namespace orbeta::cli
