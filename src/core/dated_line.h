#pragma once
// Report lines that begin with a moment ("DD.MM.YYYY HH:MM[:SS] …"): a click on such
// a line opens the chart of that moment.
#include <optional>
#include <string>
#include <string_view>

#include "core/chart_record.h"
#include "platform/services.h"

namespace orbeta {

struct LineMoment {
    double jd = 0;     // the Julian day of the line's date and time
    std::string text;  // the date-time text as the line has it, at most 38 characters
};

// The moment a line begins with; none when it does not begin with a date that gives a
// Julian day not below 0.
std::optional<LineMoment> MomentOfLine(std::string_view line);

// A report's origin from the chart it was written for.
ReportOrigin ReportOriginOf(const ChartRecord& chart);

// The natal chart, still to be computed, of a clicked line: the line's local moment,
// UT = that + correction (days). With a known origin it stands at the origin's place
// with its correction and house system, named by the origin's name and the line's
// date; without one it is the current chart's copy with no name.
ChartRecord ChartOfDatedLine(const LineMoment& moment, double correction,
                             const ReportOrigin& origin, const ChartRecord& current);

}  // namespace orbeta
