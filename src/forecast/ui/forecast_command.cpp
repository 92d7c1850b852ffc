#include "forecast/ui/forecast_command.h"

#include "core/birth_data.h"
#include "data/settings.h"
#include "forecast/ui/forecast_dialog.h"
#include "gui/app_state.h"

namespace orbeta {
namespace {

// The records of the last forecast stay in the working directory until the next search.
constexpr const char* kHitFile = "allob.tmp";
constexpr int kOptTablePrecision = 3;

// Puts a chart in place of the current chart until it goes out of scope.
class CurrentChartAs {
  public:
    explicit CurrentChartAs(const ChartRecord& chart) : saved_(App().currentChart) {
        App().currentChart = chart;
    }
    ~CurrentChartAs() { App().currentChart = saved_; }
    CurrentChartAs(const CurrentChartAs&) = delete;
    CurrentChartAs& operator=(const CurrentChartAs&) = delete;

  private:
    ChartRecord saved_;
};

}  // namespace

void CompleteForecastRequest(ForecastRequest& r, const Settings& s) {
    r.transitOrbs = LoadOrbSlot(s.orbFiles, kOrbSlotTransits);
    r.progressionOrbs = LoadOrbSlot(s.orbFiles, kOrbSlotProgressions);
    r.directionOrbs = LoadOrbSlot(s.orbFiles, kOrbSlotDirections);
    for (int i = 0; i < 4; ++i) {
        auto days = ParseDecimal(s.vEcl[static_cast<size_t>(i)]);
        double d = days && *days >= 0 ? *days : (i < 2 ? 180 : 90);
        (i % 2 == 0 ? r.eclipses.before : r.eclipses.after)[i / 2] = d;
    }
    for (int p = 0; p < kPointCount; ++p) {
        r.eclipses.orbs[0][static_cast<size_t>(p)] = s.orbEclS[static_cast<size_t>(p)];
        r.eclipses.orbs[1][static_cast<size_t>(p)] = s.orbEclM[static_cast<size_t>(p)];
    }
}

bool RunForecastCommand(QWidget* parent, const ChartRecord& chart1, const ForecastTexts& texts) {
    AppState& app = App();
    ForecastDialog dialog(parent, app.settings, app.currentChart.gmtCorr);
    if (dialog.exec() != QDialog::Accepted) return false;
    ForecastRequest request = dialog.Request();
    CompleteForecastRequest(request, app.settings);
    CurrentChartAs current(chart1);
    Computation c(ProfileContext());
    ForecastReport report =
        RunForecastReport(c, request, chart1, kHitFile, app.settings.ov[kOptTablePrecision], texts);
    TellDiagnostics(c.diagnostics);
    return report.shown;
}

}  // namespace orbeta
