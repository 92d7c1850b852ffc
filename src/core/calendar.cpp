#include "core/calendar.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

// Julian days the date arithmetic accepts: far beyond any ephemeris, small enough
// that every intermediate value fits an int.
constexpr double kJdLimit = 5.0e8;

int32_t ToInt(double x) {
    if (!(x > -2.0e9)) return -2000000000;
    if (x > 2.0e9) return 2000000000;
    return static_cast<int32_t>(x);
}

// Leading integer of a text part as C's atoi reads it; overlong numbers saturate.
int32_t LeadingInt(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    long long v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (v < 1000000000LL) v = v * 10 + (s[i] - '0');
        ++i;
    }
    if (v > 1000000000LL) v = 1000000000LL;
    return static_cast<int32_t>(neg ? -v : v);
}

std::vector<std::string_view> SplitAt(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(sep, start);
        if (end == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, end - start));
        start = end + 1;
    }
}

std::string_view Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

double SiderealBase(double jd, double& jd0) {
    jd0 = std::trunc(jd + 0.5) - 0.5;
    double t = (jd0 - 2415020.0) / 36525.0;
    return 6.6460656 + 2400.051262 * t + 0.00002581 * t * t;
}

double ReduceHours(double h) {
    if (!std::isfinite(h)) return 0.0;
    h = std::fmod(h, 24.0);  // same result as adding or subtracting 24 repeatedly
    if (h < 0) h += 24.0;
    if (h >= 24.0) h = 0.0;
    return h;
}

}  // namespace

double JulianDay(const DateParts& d) {
    double y = d.year;
    if (y < 0) y += 1;
    double m = d.month;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    double jd = std::floor(365.25 * y) + std::floor(30.6001 * (m + 1)) + d.day + 1720994.5 +
                (d.hour + d.minute / 60.0 + d.second / 3600.0) / 24.0;
    if (y + 0.01 * m + 0.0001 * d.day >= 1582.1015) {
        double a = std::trunc(std::floor(0.01 * y));
        jd = jd + 2 - a + std::floor(0.25 * a);
    }
    return jd;
}

DateParts DatePartsOf(double jd) {
    if (!(jd > -kJdLimit)) jd = -kJdLimit;
    if (jd > kJdLimit) jd = kJdLimit;
    double j = jd + 0.5;
    double z = std::floor(j);
    double f = j - z;
    double a = z;
    if (z >= 2299161) {
        double alpha = std::floor((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - std::floor(0.25 * alpha);
    }
    double b = a + 1524;
    double c = std::floor((b - 122.1) / 365.25);
    double dd = std::floor(365.25 * c);
    double e = std::floor((b - dd) / 30.6001);
    double dayFrac = b - dd - std::floor(30.6001 * e) + f;
    DateParts p;
    p.month = ToInt(e < 13.5 ? e - 1 : e - 13);
    p.year = ToInt(p.month >= 2.5 ? c - 4716 : c - 4715);
    if (p.year <= 0) p.year -= 1;
    p.day = ToInt(dayFrac);
    double h = (dayFrac - std::trunc(dayFrac)) * 24.0;
    p.hour = ToInt(h);
    double mi = (h - std::trunc(h)) * 60.0;
    p.minute = ToInt(mi);
    p.second = ToInt((mi - std::trunc(mi)) * 60.0);
    return p;
}

std::string DateTimeText(double jd) {
    DateParts p = DatePartsOf(jd + 0.000005787);
    return Format("%02d.%02u.%04d %02u:%02u:%02d", p.day, static_cast<unsigned>(p.month),
                  p.year, static_cast<unsigned>(p.hour), static_cast<unsigned>(p.minute),
                  p.second);
}

std::string DateText(double jd) {
    DateParts p = DatePartsOf(jd + 0.000005787);
    return Format("%02u.%02u.%04d", static_cast<unsigned>(p.day),
                  static_cast<unsigned>(p.month), p.year);
}

bool DatePartsOfDateTimeText(std::string_view text, DateParts& p) {
    text = Trim(text);
    size_t blank = text.find_first_of(" \t");
    std::string_view datePart = text.substr(0, blank);
    std::string_view timePart =
        blank == std::string_view::npos ? std::string_view{} : text.substr(blank + 1);
    auto date = SplitAt(datePart, '.');
    if (date.size() < 3) return false;
    p.day = LeadingInt(date[0]);
    p.month = LeadingInt(date[1]);
    p.year = LeadingInt(date[2]);
    if (p.year == 0) return false;
    p.hour = p.minute = p.second = 0;
    auto time = SplitAt(timePart, ':');
    if (time.size() > 0) p.hour = LeadingInt(time[0]);
    if (time.size() > 1) p.minute = LeadingInt(time[1]);
    if (time.size() > 2) p.second = LeadingInt(time[2]);
    return true;
}

double JulianDayOfDateTimeText(std::string_view text) {
    DateParts p;
    return DatePartsOfDateTimeText(text, p) ? JulianDay(p) : -1.0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month != 2) return kDays[month - 1];
    // Historical years: 1 BC is the astronomical year 0, a Julian leap year.
    int y = year < 0 ? year + 1 : year;
    bool leap = y % 4 == 0;
    if (year > 1582) leap = leap && (y % 100 != 0 || y % 400 == 0);
    return leap ? 29 : 28;
}

DateFault ImpossibleDatePart(const DateParts& d) {
    if (d.year == 0) return DateFault::Year;
    if (d.month < 1 || d.month > 12) return DateFault::Month;
    if (d.day < 1 || d.day > DaysInMonth(d.year, d.month)) return DateFault::Day;
    if (d.year == 1582 && d.month == 10 && d.day >= 5 && d.day <= 14) return DateFault::Day;
    if (d.hour < 0 || d.hour > 23) return DateFault::Hour;
    if (d.minute < 0 || d.minute > 59) return DateFault::Minute;
    if (d.second < 0 || d.second > 59) return DateFault::Second;
    return DateFault::None;
}

std::string DateFaultText(const DateParts& d, DateFault fault) {
    switch (fault) {
        case DateFault::None:
            return {};
        case DateFault::Year:
            return "Неверно задана дата: года 0 нет, после 1 года до н.э. идет 1 год н.э."_cp;
        case DateFault::Month:
            return Format("Неверно задана дата: месяц %d, а месяцы - от 1 до 12"_cp, d.month);
        case DateFault::Day:
            if (d.year == 1582 && d.month == 10 && d.day >= 5 && d.day <= 14)
                return "Неверно задана дата: дней с 5 по 14 октября 1582 года нет (переход на григорианский календарь)"_cp;
            return Format("Неверно задана дата: день %d, а в месяце %02d.%04d дней от 1 до %d"_cp,
                          d.day, d.month, d.year, DaysInMonth(d.year, d.month));
        case DateFault::Hour:
            return Format("Неверно задано время: часы %d, а часы - от 0 до 23"_cp, d.hour);
        case DateFault::Minute:
            return Format("Неверно задано время: минуты %d, а минуты - от 0 до 59"_cp, d.minute);
        case DateFault::Second:
            return Format("Неверно задано время: секунды %d, а секунды - от 0 до 59"_cp, d.second);
    }
    return {};
}

std::string ImpossibleDateText(const DateParts& d) {
    return DateFaultText(d, ImpossibleDatePart(d));
}

double JulianDayOfDateText(std::string_view text) {
    auto date = SplitAt(Trim(text), '.');
    DateParts p;
    auto part = [&](size_t i) {
        return i < date.size() && !Trim(date[i]).empty() ? LeadingInt(date[i]) : 1;
    };
    p.day = part(0);
    p.month = part(1);
    p.year = part(2);
    p.hour = p.minute = p.second = 0;
    return JulianDay(p);
}

bool IsLeapYear(int year) {
    if (year % 4000 == 0) return false;
    if (year % 4 != 0) return false;
    return year % 100 != 0 || year % 400 == 0;
}

int DayOfYear(const DateParts& d) {
    if (d.month < 3) return (d.month - 1) * 31 + d.day;
    int base = static_cast<int>(std::trunc((d.month + 1) * 30.6));
    return base - (IsLeapYear(d.year) ? 62 : 63) + d.day;
}

double SiderealTime(double jdUT) {
    double jd0;
    double s0 = SiderealBase(jdUT, jd0);
    return ReduceHours(s0 + (jdUT - jd0) * 24.0 * 1.002737908);
}

double HoursOfSiderealTime(double lstHours, double jdUT, double longitudeDeg) {
    double jd0;
    double s0 = SiderealBase(jdUT, jd0);
    return ReduceHours(lstHours - s0 - longitudeDeg / 15.0) / 1.002737908;
}

}  // namespace orbeta
