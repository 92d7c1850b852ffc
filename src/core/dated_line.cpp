#include "core/dated_line.h"

#include <cctype>

#include "core/calendar.h"

namespace orbeta {

namespace {
constexpr size_t kTextLimit = 38;

std::string_view NextToken(std::string_view text, size_t& at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    size_t start = at;
    while (at < text.size() && text[at] != ' ' && text[at] != '\t') ++at;
    return text.substr(start, at - start);
}
}  // namespace

std::optional<LineMoment> MomentOfLine(std::string_view line) {
    size_t at = 0;
    std::string_view date = NextToken(line, at);
    // Only a line that opens with a number can open with a date; tables of other
    // numbers fail the date reading below.
    if (date.empty() || !std::isdigit(static_cast<unsigned char>(date[0]))) return std::nullopt;
    size_t dateEnd = at;
    std::string_view time = NextToken(line, at);
    bool hasTime = !time.empty() && std::isdigit(static_cast<unsigned char>(time[0])) &&
                   time.find(':') != std::string_view::npos;
    size_t end = hasTime ? at : dateEnd;
    std::string_view moment = line.substr(0, end);
    double jd = JulianDayOfDateTimeText(moment);
    if (jd < 0) return std::nullopt;
    size_t first = moment.find_first_not_of(" \t");
    std::string text(moment.substr(first, kTextLimit));
    return LineMoment{jd, text};
}

}  // namespace orbeta
