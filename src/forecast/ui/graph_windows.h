#pragma once
// The graphic forecast window ("Графический прогноз") on its own hit file, and the
// graphic ephemerides window ("Графические Эфемериды"), with the menu commands 210
// and 209 that open them.
#include <filesystem>

#include "forecast/draw/graph_painters.h"
#include "forecast/ui/graph_window.h"

namespace orbeta {

class GraphForecastWindow : public GraphWindow {
    Q_OBJECT
  public:
    // The window owns the hit file: it reads it whenever it paints its plot, and
    // deletes it when it goes.
    GraphForecastWindow(const ChartRecord& chart, int calcMethod, const GraphPeriod& period,
                        const ForecastOptions& options, std::filesystem::path hitFile,
                        QWidget* parent = nullptr);
    ~GraphForecastWindow() override;
    const ForecastModel& Model() const { return model_; }
    const std::filesystem::path& HitFile() const { return hitFile_; }

  protected:
    void PaintPlot(QPainter& painter, QSize size, const GraphStyle& style) override;
    void PaintCursorParts(QPainter& painter, QSize size, const GraphStyle& style) override;
    void CursorMoved(Computation& c) override;

  private:
    ForecastOptions options_;
    std::filesystem::path hitFile_;
    ForecastModel model_;
};

class GraphEphemerisWindow : public GraphWindow {
    Q_OBJECT
  public:
    GraphEphemerisWindow(const ChartRecord& chart, int calcMethod, const GraphPeriod& period,
                         int modulus, uint32_t bodies, uint32_t natal, QWidget* parent = nullptr);
    const EphemerisModel& Model() const { return model_; }

  protected:
    void PaintPlot(QPainter& painter, QSize size, const GraphStyle& style) override;
    void PaintCursorParts(QPainter& painter, QSize size, const GraphStyle& style) override;
    void CursorMoved(Computation& c) override;

  private:
    EphemerisModel model_;
};

// Menu 210: dialog 1031, the search of the aspect periods with its progress dialog
// ("Прервать" keeps what was found), the hit file moved to the window's own name, the
// window. Returns the window, or none on Cancel or failure (told, nothing left behind).
GraphForecastWindow* RunGraphicForecast(QWidget* parent);
// Menu 209: dialog 1030 and the window.
GraphEphemerisWindow* RunGraphicEphemeris(QWidget* parent);

}  // namespace orbeta
