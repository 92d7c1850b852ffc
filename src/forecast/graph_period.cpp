#include "forecast/graph_period.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/calendar.h"

namespace orbeta {
namespace {

// The years the ephemeris data cover: a Julian day outside them is no date.
constexpr int kFirstYear = -4712, kLastYear = 5399;

bool WholeNumber(std::string text, int lo, int hi, int& value) {
    auto first = text.find_first_not_of(' ');
    auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    text = text.substr(first, last - first + 1);
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && value >= lo &&
           value <= hi && value != 0;
}

// A typed date and time; -1 when it cannot be read or names a moment that cannot be.
double MomentOfText(const std::string& text) {
    DateParts parts;
    if (!DatePartsOfDateTimeText(text, parts)) return -1;
    if (ImpossibleDatePart(parts) != DateFault::None) return -1;
    if (parts.year < kFirstYear || parts.year > kLastYear) return -1;
    return JulianDay(parts);
}

double FirstOfMonth(int year, int month) {
    DateParts d;
    d.year = year;
    d.month = month;
    return JulianDay(d);
}

}  // namespace

std::string MakeGraphPeriod(const GraphPeriodInput& in, GraphPeriod& p) {
    p.kind = std::clamp(in.kind, 0, 2);
    if (p.kind == kPeriodFree) {
        p.start = MomentOfText(in.startText);
        p.end = MomentOfText(in.endText);
        if (p.start < 0 || p.end < 0) return "erdt";
        p.divisions = 10;
    } else {
        if (!WholeNumber(in.yearText, kFirstYear, kLastYear - 1, p.year)) return "erdt";
        if (p.kind == kPeriodYear) {
            int next = p.year == -1 ? 1 : p.year + 1;  // there is no year 0
            p.start = FirstOfMonth(p.year, 1);
            p.end = FirstOfMonth(next, 1);
            p.divisions = 24;
        } else {
            if (!WholeNumber(in.monthText, 1, 12, p.month)) return "erdt";
            int nextYear = p.month == 12 ? (p.year == -1 ? 1 : p.year + 1) : p.year;
            p.start = FirstOfMonth(p.year, p.month);
            p.end = FirstOfMonth(nextYear, p.month % 12 + 1);
            p.divisions = DaysInMonth(p.year, p.month);
        }
    }
    if (!(p.end > p.start)) return "N>K";
    return {};
}

int TimeAxis::X(double t) const {
    double span = end - start;
    if (!(span > 0) || !std::isfinite(t)) return x0;
    double x = x0 + (t - start) * (x1 - x0) / span;
    double room = 4.0 * std::max(1, std::abs(x1 - x0)) + 16;
    return static_cast<int>(std::clamp(x, x0 - room, x1 + room));
}

double TimeAxis::Moment(double x) const {
    if (x1 == x0) return start;
    return start + (x - x0) * (end - start) / (x1 - x0);
}

}  // namespace orbeta
