#include "forecast/report_commands.h"

#include <cmath>

#include "core/angles.h"
#include "core/dated_line.h"
#include "core/ephemeris.h"
#include "forecast/age_points.h"
#include "forecast/day_report.h"
#include "forecast/degree_reports.h"
#include "platform/codepage.h"
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

bool RunStarConjunctionReport(const ChartRecord& chart1, const Settings& settings) {
    std::string title = ReportTitle(cmd::chart::kFixedStars);
    if (!BeginReport(title)) return false;
    auto result = ComputeStarConjunctions(chart1, settings.maskP, ReadControlFile(kStarTextFile));
    ReportWrite(StarConjunctionReport(result));
    ShowReport(title, "StarSt", ReportOriginOf(chart1));
    return true;
}

bool RunDegreeTextReport(const ChartRecord& chart1, const Settings& settings) {
    std::string title = ReportTitle(cmd::chart::kDegreeTexts);
    if (!BeginReport(title)) return false;
    ReportWrite(DegreeTextReport(
        ComputeDegreeTexts(chart1, settings.maskP, ReadControlFile(kDegreeTextFile))));
    ShowReport(title, "", ReportOriginOf(chart1));
    return true;
}

bool RunLotReport(const ChartRecord& chart1, const Settings& settings) {
    std::string title = ReportTitle(cmd::chart::kLots);
    if (!BeginReport(title)) return false;
    ReportWrite(LotReport(ComputeLots(chart1, settings.maskP, ReadControlFile(kLotFile))));
    ShowReport(title, "", ReportOriginOf(chart1));
    return true;
}

bool RunMidpointReport(const ChartRecord& chart1, const OrbTable& table, const Settings& settings) {
    std::string title = ReportTitle(cmd::chart::kMidpoints);
    if (!BeginReport(title)) return false;
    ReportWrite(MidpointReport(ComputeMidpoints(chart1, table, settings.maskP)));
    ShowReport(title, "Midp", ReportOriginOf(chart1));
    return true;
}

bool RunDirectionReport(const ChartContext& context, int commandId, const ChartRecord& chart1,
                        const OrbTable& table, const Settings& settings, double start, double end) {
    if (end < start) {
        Svc().Warning("Конец интервала раньше начала"_cp);
        return false;
    }
    std::string title = DirectionTitle(commandId, chart1, start, end);
    if (!BeginReport(title)) return false;
    if (commandId == cmd::chart::kProgressedMoon) {
        Computation c(context);
        auto moon = [&c](double jd) { return BodyLongitude(c, jd, MON); };
        ReportWrite(ProgressedMoonReport(
            ProgressedMoonFindings(chart1, table, settings.maskP, start, end, moon)));
        TellDiagnostics(c.diagnostics);
    } else {
        bool ra = commandId == cmd::chart::kDirectionsRightAscension;
        ReportWrite(
            DirectionReport(DirectionFindings(chart1, table, settings.maskP, ra, start, end)));
    }
    ShowReport(ReportTitle(commandId), "", ReportOriginOf(chart1));
    return true;
}

}  // namespace orbeta
