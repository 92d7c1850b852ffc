#include "forecast/ui/eclipse_commands.h"

#include <QDate>
#include <cstring>

#include "core/angles.h"
#include "core/calendar.h"
#include "forecast/eclipses.h"
#include "forecast/returns.h"
#include "forecast/ui/return_dialogs.h"
#include "gui/app_state.h"
#include "gui/chart_opener.h"
#include "gui/date_place_dialogs.h"
#include "gui/interval_dialog.h"
#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/services.h"

namespace orbeta {
namespace {

constexpr double kCenturyDays = 36525;

ReturnPlace PlaceOf(const ReturnDialogData& d, double gmtCorr) {
    ReturnPlace p;
    p.name = d.name;
    p.place = d.town;
    p.latitude = d.latitude;
    p.longitude = StoredLongitude(d.longitude);
    p.gmtCorr = gmtCorr;
    p.houseSystem = App().settings.houseSet;
    return p;
}

// The new chart becomes the working chart and opens in a window.
void OpenFound(Computation& c, const std::optional<ChartRecord>& chart, const std::string& text) {
    TellDiagnostics(c.diagnostics);
    if (!chart) return;
    App().inputChart = *chart;
    OpenChart(*chart, text);
}

}  // namespace

void RunEclipseList(QWidget* parent) {
    double start = 0, end = 0;
    if (!RunIntervalDialog(parent, App().settings.interV, start, end)) return;
    if (end < start) {
        Svc().Warning("Конец интервала раньше начала"_cp);
        return;
    }
    double to = end + 1;  // the whole last day
    if (!BeginReport(EclipseTitleLine(start, end))) return;
    Computation c(ProfileContext());
    std::vector<EclipseRecord> list;
    // Long intervals show their progress a year a step, and may be stopped.
    bool progress = to - start > kCenturyDays;
    if (progress) StartProgress(static_cast<int>((to - start) / 365.25) * 2 + 2);
    std::function<bool()> stepped;
    if (progress)
        stepped = [] {
            StepProgress(1);
            return !ProgressAborted();
        };
    if (FindEclipses(c, list, start, to, kSolarEclipse, stepped) || !ProgressAborted())
        FindEclipses(c, list, start, to, kLunarEclipse, stepped);
    if (progress) EndProgress();
    ReportWrite(EclipseListText(c, list, 0));
    TellDiagnostics(c.diagnostics);
    ShowReport("Затмения"_cp, "", ReportOrigin{});
}

void RunSunIngress(QWidget* parent) {
    const ChartRecord& current = App().currentChart;
    ReturnDialogData d;
    {  // the dialog hands the focus back when it goes: before the new window opens
        SunIngressDialog dialog(parent, current, QDate::currentDate().year());
        if (dialog.exec() != QDialog::Accepted) return;
        d = dialog.Data();
    }
    Computation c(ProfileContext());
    auto chart = SunIngressChart(c, PlaceOf(d, current.gmtCorr), d.year, d.degree);
    OpenFound(c, chart, chart ? ReturnChartText(*chart) : std::string());
}

void RunLunation(QWidget* parent) {
    BirthData d;
    bool full = true;
    {
        LunationDialog dialog(parent, App().inputChart);
        if (dialog.exec() != QDialog::Accepted) return;
        d = dialog.Data();
        full = dialog.FullMoon();
    }
    DateParts day = d.local;
    day.hour = day.minute = day.second = 0;
    ReturnDialogData data;
    data.name = d.name;
    data.town = d.place;
    data.latitude = d.latitude;
    data.longitude = d.longitude;
    ReturnPlace place = PlaceOf(data, d.correctionHours / 24.0);
    place.name = std::string(App().inputChart.name,
                             strnlen(App().inputChart.name, sizeof App().inputChart.name));
    Computation c(ProfileContext());
    auto chart = LunationChart(c, place, full, JulianDay(day));
    OpenFound(c, chart, chart ? ReturnChartText(*chart) : std::string());
}

void RunSolarLunar(QWidget* parent, const ChartRecord& base) {
    QDate today = QDate::currentDate();
    ReturnDialogData d;
    {
        SolarLunarDialog dialog(parent, base, today.year(), today.month());
        if (dialog.exec() != QDialog::Accepted) return;
        d = dialog.Data();
    }
    Computation c(ProfileContext());
    auto chart = SolarLunarReturn(c, base, d.kind, d.year, d.month, PlaceOf(d, base.gmtCorr));
    OpenFound(c, chart, chart ? ReturnChartText(*chart, d.year, d.month) : std::string());
}

bool EditEclipseParameters(QWidget* parent) {
    EclipseParametersDialog dialog(parent, App().settings);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace orbeta
