#include "forecast/ui/graph_windows.h"

#include <system_error>

#include "forecast/search_records.h"
#include "forecast/time_search.h"
#include "forecast/ui/graph_dialogs.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {
namespace {

// What the time search writes; the window then takes it under a name of its own.
constexpr const char* kSearchFile = "allob.tmp";

}  // namespace

GraphForecastWindow::GraphForecastWindow(const ChartRecord& chart, int calcMethod,
                                         const GraphPeriod& period, const ForecastOptions& options,
                                         std::filesystem::path hitFile, QWidget* parent)
    : GraphWindow("MGRGN", "GrGn", chart, calcMethod, period, parent),
      options_(options),
      hitFile_(std::move(hitFile)) {}

GraphForecastWindow::~GraphForecastWindow() {
    std::error_code ec;
    std::filesystem::remove(hitFile_, ec);
}

void GraphForecastWindow::PaintPlot(QPainter& painter, QSize size, const GraphStyle& style) {
    Computation c(ProfileContext());
    model_ = BuildForecastModel(c, ReadHitFile(hitFile_), chart_, calcMethod_, period_, options_,
                                cursor_);
    TellDiagnostics(c.diagnostics);
    PaintForecastPlot(painter, size, model_, style);
}

void GraphForecastWindow::PaintCursorParts(QPainter& painter, QSize size, const GraphStyle& style) {
    PaintForecastCursor(painter, size, model_, style);
}

void GraphForecastWindow::CursorMoved(Computation& c) {
    SetForecastCursor(c, model_, cursor_);
}

GraphEphemerisWindow::GraphEphemerisWindow(const ChartRecord& chart, int calcMethod,
                                           const GraphPeriod& period, int modulus, uint32_t bodies,
                                           uint32_t natal, QWidget* parent)
    : GraphWindow("MGRE", "Efem", chart, calcMethod, period, parent) {
    Computation c(ProfileContext());
    model_ = BuildEphemerisModel(c, chart, calcMethod, period, modulus, bodies, natal, cursor_);
    TellDiagnostics(c.diagnostics);
}

void GraphEphemerisWindow::PaintPlot(QPainter& painter, QSize size, const GraphStyle& style) {
    PaintEphemerisPlot(painter, size, model_, style);
}

void GraphEphemerisWindow::PaintCursorParts(QPainter& painter, QSize size,
                                            const GraphStyle& style) {
    PaintEphemerisCursor(painter, size, model_, style);
}

void GraphEphemerisWindow::CursorMoved(Computation& c) {
    SetEphemerisCursor(c, model_, cursor_);
}

GraphForecastWindow* RunGraphicForecast(QWidget* parent) {
    AppState& app = App();
    int method = 1;
    GraphPeriod period;
    ForecastOptions options;
    {
        // The dialog is gone before the window comes (see RunGraphicEphemeris).
        GraphForecastDialog dialog(parent, app.settings);
        if (dialog.exec() != QDialog::Accepted) return nullptr;
        method = dialog.Method();
        period = dialog.Period();
        options = dialog.Options();
    }
    ChartRecord chart = app.currentChart;
    OrbTable orbs = LoadOrbSlot(app.settings.orbFiles, kOrbSlotTransits);
    SearchRequest rq = MakeForecastRequest(period, options, method, orbs, chart);
    std::error_code ec;
    std::filesystem::path searched = kSearchFile;
    {
        HitFileWriter out;
        if (!out.Open(searched)) {
            Svc().Warning(Format("Не записывается файл %s"_cp, kSearchFile));
            return nullptr;
        }
        Computation c(ProfileContext());
        RunSearch(c, rq, chart, out);
        TellDiagnostics(c.diagnostics);
        if (!out.Close()) {
            std::filesystem::remove(searched, ec);
            Svc().Warning(Format("Не записывается файл %s"_cp, kSearchFile));
            return nullptr;
        }
    }
    std::filesystem::path own = FreeGraphFileName(std::filesystem::current_path(ec));
    if (own.empty()) {
        std::filesystem::remove(searched, ec);
        Svc().Warning(
            "Нет свободного имени для временного файла графика (a0001.tmp ... a9999.tmp)"_cp);
        return nullptr;
    }
    std::filesystem::rename(searched, own, ec);
    if (ec) {
        std::filesystem::remove(searched, ec);
        Svc().Warning(Format("Не переименовывается файл %s в %s"_cp, kSearchFile,
                             PathForMessage(own).c_str()));
        return nullptr;
    }
    auto* w = new GraphForecastWindow(chart, method, period, options, own);
    w->ShowInFrame(FromAnsi("Графический прогноз"_cp));
    return w;
}

GraphEphemerisWindow* RunGraphicEphemeris(QWidget* parent) {
    AppState& app = App();
    int method = 1, modulus = 30;
    GraphPeriod period;
    uint32_t bodies = 0, natal = 0;
    {
        // The dialog is gone before the window comes: going, it gives the focus back to
        // the window that had it, which would then cover the new one.
        GraphEphemerisDialog dialog(parent, app.settings);
        if (dialog.exec() != QDialog::Accepted) return nullptr;
        method = dialog.Method();
        modulus = dialog.Modulus();
        period = dialog.Period();
        bodies = dialog.Bodies();
        natal = dialog.NatalPoints();
    }
    auto* w = new GraphEphemerisWindow(app.currentChart, method, period, modulus, bodies, natal);
    w->ShowInFrame(FromAnsi("Графические Эфемериды"_cp));
    return w;
}

}  // namespace orbeta
