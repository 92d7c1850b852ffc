#include "forecast/report_commands.h"

#include <cmath>

#include "core/angles.h"
#include "core/dated_line.h"
#include "forecast/age_points.h"
#include "forecast/day_report.h"
#include "platform/command_ids.h"
#include "platform/report.h"
#include "platform/services.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {

bool DayReportAllowed(double packedLatitude) {
    return std::fabs(PackedToDegrees(packedLatitude)) <= kDayReportLatitudeLimit;
}

bool RunDayReport(const ChartContext& context, const ChartRecord& chart1) {
    if (!DayReportAllowed(chart1.latitude)) {
        Svc().Warning(LookupText("tatvp"));
        return false;
    }
    std::string title = ReportTitle(cmd::chart::kRiseSet);
    if (!BeginReport(title)) return false;
    Computation c(context);
    ReportWrite(DayReportText(ComputeDayReport(c, chart1)));
    TellDiagnostics(c.diagnostics);
    // The report's times are local: a clicked line becomes UT with the chart's correction.
    ShowReport(title, "Tatv", ReportOriginOf(chart1));
    return true;
}

bool RunAgePointReport(const ChartRecord& chart1, const OrbTable& table, const Settings& settings) {
    std::string title = ReportTitle(cmd::chart::kAgePoints);
    if (!BeginReport(title)) return false;
    ReportWrite(AgePointReportText(chart1, table, settings.maskP));
    ShowReport(title, "TZS", ReportOriginOf(chart1));
    return true;
}

}  // namespace orbeta
