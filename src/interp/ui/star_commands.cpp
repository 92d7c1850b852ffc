#include "interp/ui/star_commands.h"

#include <string>

#include "core/computation.h"
#include "core/dated_line.h"
#include "core/star_catalogue.h"
#include "gui/app_state.h"
#include "interp/extra_points.h"
#include "interp/star_report.h"
#include "interp/text_report.h"
#include "platform/program_state.h"
#include "platform/report.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {

bool WriteFixedStarReport(const ChartRecord& chart) {
    constexpr int kFixedStarsKind = 4;
    Computation c(ProfileContext());
    StarReportInput in;
    in.chart = chart;
    in.maskP = 1023;  // the report always takes the ten bodies with an orb of 0.5°
    in.orb = 0.5;
    const std::string title = InterpretationTitle(kFixedStarsKind);
    if (!BeginReport(title)) return false;
    if (!BeginTextReport("starbb")) {
        DiscardReport();
        return false;
    }
    StarCatalogue catalogue = ReadStarCatalogue("starbb.ctl", c.diagnostics);
    ReportSink sink;
    if (catalogue.opened) {
        in.stars = std::move(catalogue.stars);
        WriteStarReport(in, ComputeStarReport(c, in), sink);
    }
    CloseTextBase();
    ReportWrite(sink.Body());
    ShowReport(title, "Tolk", ReportOriginOf(chart));
    TellDiagnostics(c.diagnostics);
    return true;
}

void RunAsteroidTable(const ChartRecord& chart) {
    Computation c(ProfileContext());
    auto bodies = ComputeAsteroids(c, chart, App().orbTable, App().settings.maskP,
                                   ParseAsteroidList(LookupText("ASw")));
    const std::string title = ReportTitle(2005);
    if (!BeginReport(title)) return;
    // The texts are optional: without the base the table stands alone.
    bool texts = OpenOptionalTextBase("aster");
    ReportSink sink;
    WriteAsteroidTable(bodies, sink);
    if (texts) CloseTextBase();
    ReportWrite(sink.Body());
    ShowReport(title, "Aster", ReportOriginOf(chart));
    TellDiagnostics(c.diagnostics);
}

void RunHypotheticalTable(const ChartRecord& chart) {
    Computation c(ProfileContext());
    auto bodies = ComputeHypotheticalBodies(c, chart, App().orbTable, App().settings.maskP);
    const std::string title = ReportTitle(2006);
    if (!BeginReport(title)) return;
    ReportSink sink;
    WriteHypotheticalTable(bodies, sink);
    ReportWrite(sink.Body());
    ShowReport(title, "Orbtit", ReportOriginOf(chart));
    TellDiagnostics(c.diagnostics);
}

}  // namespace orbeta
