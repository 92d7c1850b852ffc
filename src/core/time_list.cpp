#include "core/time_list.h"

#include <algorithm>

#include "core/calendar.h"
#include "core/derived_charts.h"
#include "platform/text_file.h"

namespace orbeta {

std::optional<TimeList> ParseTimeList(std::string_view text) {
    TimeList list;
    for (const std::string& line : SplitLines(text)) {
        double jd = JulianDayOfDateTimeText(line);
        if (jd >= 0) list.moments.push_back(jd);
    }
    if (list.moments.empty()) return std::nullopt;
    return list;
}

std::optional<TimeList> ReadTimeListFile(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return ParseTimeList(*bytes);
}

double MoveInTimeList(TimeList& list, int delta) {
    if (list.moments.empty()) return 0;
    long count = static_cast<long>(list.moments.size());
    long p = static_cast<long>(list.position) + delta;
    list.position = static_cast<int>(std::clamp(p, 0L, count - 1));
    return list.moments[list.position];
}

void ApplyListMoment(Computation& c, ChartRecord& chart, const ChartRecord& base, double jdLocal) {
    chart.jdLocal = jdLocal;
    chart.jdUT = jdLocal + chart.gmtCorr;
    RecomputeChart(c, chart, base);
}

}  // namespace orbeta
