#include "core/dated_line.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/calendar.h"
#include "core/chart_compute.h"

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

ReportOrigin ReportOriginOf(const ChartRecord& chart) {
    ReportOrigin o;
    o.known = true;
    o.correction = chart.gmtCorr;
    o.name = std::string(chart.name, strnlen(chart.name, sizeof chart.name));
    o.place = std::string(chart.place, strnlen(chart.place, sizeof chart.place));
    o.latitude = chart.latitude;
    o.longitude = chart.longitude;
    o.houseSystem = chart.houseSystem;
    return o;
}

ChartRecord ChartOfDatedLine(const LineMoment& moment, double correction,
                             const ReportOrigin& origin, const ChartRecord& current) {
    ChartRecord chart = current;
    chart.jdLocal = moment.jd;
    chart.jdUT = moment.jd + correction;
    chart.jdCalc = chart.jdUT;
    chart.calcMethod = kNatal;
    std::fill(std::begin(chart.name), std::end(chart.name), '\0');
    if (!origin.known) return chart;
    chart.gmtCorr = origin.correction;
    chart.latitude = origin.latitude;
    chart.longitude = origin.longitude;
    chart.houseSystem = static_cast<int16_t>(origin.houseSystem);
    CopyText(chart.place, origin.place);
    // The name and the line's date, the date kept whole when the name is long.
    std::string date = moment.text.substr(0, moment.text.find_first_of(" \t"));
    std::string name = origin.name;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    size_t room = sizeof chart.name - 1;
    if (date.size() >= room)
        name = date.substr(0, room);
    else if (name.empty())
        name = date;
    else
        name = name.substr(0, room - date.size() - 1) + " " + date;
    CopyText(chart.name, name);
    return chart;
}

}  // namespace orbeta
