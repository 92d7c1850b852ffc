#include "core/birth_data.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/angles.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {

BirthData BirthDataOf(const ChartRecord& chart) {
    BirthData d;
    d.name.assign(chart.name, strnlen(chart.name, 29));
    d.comment.assign(chart.comment, strnlen(chart.comment, 29));
    d.place.assign(chart.place, strnlen(chart.place, 29));
    // Rounded to the second, as the date texts are.
    d.local = DatePartsOf(chart.jdLocal + 0.5 / 86400.0);
    d.correctionHours = chart.gmtCorr * 24.0;
    d.latitude = chart.latitude;
    d.longitude = chart.longitude;
    return d;
}

double UtMomentOf(const BirthData& data) {
    return JulianDay(data.local) + data.correctionHours / 24.0;
}

void ApplyBirthData(ChartRecord& chart, const BirthData& data) {
    CopyText(chart.name, data.name, 29);
    CopyText(chart.comment, data.comment, 29);
    CopyText(chart.place, data.place, 29);
    chart.latitude = data.latitude;
    chart.longitude = data.longitude;
    chart.jdLocal = JulianDay(data.local);
    chart.gmtCorr = data.correctionHours / 24.0;
    chart.jdUT = chart.jdCalc = chart.jdLocal + chart.gmtCorr;
}

std::string CorrectionText(double hours) {
    std::string s = Format("%.4f", hours);
    while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    if (s == "-0.0") s = "0.0";
    return s;
}

std::string AngleFieldText(double packed) {
    return Format("%6.2f", packed);
}

namespace {

std::string CoordinateFieldError(PackedFault fault, const char* field, const char* range) {
    switch (fault) {
        case PackedFault::None:
            return {};
        case PackedFault::Minutes:
            return Format("В поле \"%s\" минут должно быть меньше 60 (градусы.минуты)"_cp, field);
        case PackedFault::Range:
            break;
    }
    return Format("В поле \"%s\" должно быть от %s (градусы.минуты)"_cp, field, range);
}

}  // namespace

std::string LatitudeFieldError(double packed, const char* field) {
    return CoordinateFieldError(CheckPackedLatitude(packed), field, "-90.00 до 90.00"_cp);
}

std::string LongitudeFieldError(double packed, const char* field) {
    return CoordinateFieldError(CheckPackedLongitude(packed), field, "-180.00 до 360.00"_cp);
}

std::optional<double> ParseDecimal(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == ',') c = '.';
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const char* begin = s.c_str() + first;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(v)) return std::nullopt;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return std::nullopt;
    return v;
}

std::optional<int> ParseWhole(std::string_view text) {
    auto v = ParseDecimal(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e6) return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<DateParts> ParseDateText(std::string_view text) {
    int values[3];
    for (int i = 0; i < 3; ++i) {
        size_t point = i < 2 ? text.find('.') : std::string_view::npos;
        if (i < 2 && point == std::string_view::npos) return std::nullopt;
        auto v = ParseWhole(text.substr(0, point));
        if (!v) return std::nullopt;
        values[i] = *v;
        text = i < 2 ? text.substr(point + 1) : std::string_view();
    }
    DateParts d;
    d.day = values[0];
    d.month = values[1];
    d.year = values[2];
    d.hour = d.minute = d.second = 0;
    return d;
}

int MethodOfEntry(std::string_view entry) {
    entry = entry.substr(0, 78);
    size_t bracket = entry.find('[');
    if (bracket == std::string_view::npos) return 1;
    std::string rest(entry.substr(bracket + 1));
    return static_cast<int>(std::strtol(rest.c_str(), nullptr, 10));
}

std::pair<std::string, std::string> SplitInterval(std::string_view text) {
    size_t dash = text.find('-');
    if (dash == std::string_view::npos) return {std::string(text.substr(0, 11)), ""};
    return {std::string(text.substr(0, std::min<size_t>(dash, 11))),
            std::string(text.substr(dash + 1, 11))};
}

}  // namespace orbeta
