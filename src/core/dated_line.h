#pragma once
// Report lines that begin with a moment ("DD.MM.YYYY HH:MM[:SS] …"): a click on such
// a line opens the chart of that moment.
#include <optional>
#include <string>
#include <string_view>

namespace orbeta {

struct LineMoment {
    double jd = 0;     // the Julian day of the line's date and time
    std::string text;  // the date-time text as the line has it, at most 38 characters
};

// The moment a line begins with; none when it does not begin with a date that gives a
// Julian day not below 0.
std::optional<LineMoment> MomentOfLine(std::string_view line);

}  // namespace orbeta
