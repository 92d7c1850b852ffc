#include "forecast/forecast_report.h"

#include "core/dated_line.h"
#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/services.h"

namespace orbeta {

ForecastReport RunForecastReport(Computation& c, const ForecastRequest& request,
                                 const ChartRecord& natal, const std::filesystem::path& hitFile,
                                 int precision, const ForecastTexts& texts, bool report) {
    ForecastReport out;
    if (report && !BeginReport(ForecastTitleLine(natal, request))) return out;
    out.run = RunForecast(c, request, natal, hitFile, {});
    if (!out.run.ok) {
        if (report) DiscardReport();
        Svc().Warning(out.run.error);
        return out;
    }
    out.entries = ForecastEntries(c, natal, request, out.run.records, precision);
    out.withTexts = (request.options & kForecastWithTexts) && texts.open && texts.open();
    ForecastTextPrinter print;
    if (out.withTexts) print = texts.print;
    out.printed = WriteForecastReport(c, request, out.run, out.entries, print);
    if (out.withTexts && texts.close) texts.close();
    if (!report) return out;
    // The report's moments are local: a clicked line becomes UT by the forecast's
    // own correction.
    ReportOrigin origin = ReportOriginOf(natal);
    origin.correction = request.correction;
    ShowReport(" Прогноз"_cp, "Gnoz", origin);
    out.shown = true;
    return out;
}

}  // namespace orbeta
