#pragma once
// The chart window's report commands of this folder: each writes its report through
// the report pipeline and shows it; false when nothing was shown.
#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/computation.h"
#include "data/settings.h"
#include "forecast/directions.h"

namespace orbeta {

// 2011: rises, sets, planetary hours and tattvas of the chart's day. Refused with the
// warning "tatvp" beyond 66° of latitude. Tells the user what the computation noted.
bool RunDayReport(const ChartContext& context, const ChartRecord& chart1);

// 2012: the age points of the chart with the aspects of the table and the points
// active in the settings.
bool RunAgePointReport(const ChartRecord& chart1, const OrbTable& table, const Settings& settings);

// 2004, 2008, 2009, 2010: star conjunctions, degree texts, lots and midpoints of the
// chart, each control file read from the working directory.
bool RunStarConjunctionReport(const ChartRecord& chart1, const Settings& settings);
bool RunDegreeTextReport(const ChartRecord& chart1, const Settings& settings);
bool RunLotReport(const ChartRecord& chart1, const Settings& settings);
bool RunMidpointReport(const ChartRecord& chart1, const OrbTable& table, const Settings& settings);

// 2017, 2018, 2019 over an interval already asked: directions in longitude or right
// ascension, or the progressed Moon. The window's chart is never changed.
bool RunDirectionReport(const ChartContext& context, int commandId, const ChartRecord& chart1,
                        const OrbTable& table, const Settings& settings, double start, double end);

// Whether the day report is computed for a latitude (packed d.mm).
bool DayReportAllowed(double packedLatitude);

}  // namespace orbeta
