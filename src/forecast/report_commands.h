#pragma once
// The chart window's report commands of this folder: each writes its report through
// the report pipeline and shows it; false when nothing was shown.
#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/computation.h"
#include "data/settings.h"

namespace orbeta {

// 2011: rises, sets, planetary hours and tattvas of the chart's day. Refused with the
// warning "tatvp" beyond 66° of latitude. Tells the user what the computation noted.
bool RunDayReport(const ChartContext& context, const ChartRecord& chart1);

// 2012: the age points of the chart with the aspects of the table and the points
// active in the settings.
bool RunAgePointReport(const ChartRecord& chart1, const OrbTable& table, const Settings& settings);

// Whether the day report is computed for a latitude (packed d.mm).
bool DayReportAllowed(double packedLatitude);

}  // namespace orbeta
