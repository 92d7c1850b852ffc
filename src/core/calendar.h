#pragma once
// Civil calendar and Julian days (Julian calendar before 15.10.1582, historical
// years without a year 0), the date texts of the program, sidereal time.
#include <cstdint>
#include <string>
#include <string_view>

namespace orbeta {

struct DateParts {
    int32_t day = 1;
    int32_t month = 1;
    int32_t year = 2000;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
};

double JulianDay(const DateParts& d);

// Length of a month of the calendar above: Julian leap years before 1582, Gregorian
// after (October 1582 still counts 31 days; its skipped days are refused below).
int DaysInMonth(int year, int month);

// The part of a typed date and time that cannot be, or None. JulianDay would fold such
// parts into a neighbouring moment (31.02 into 03.03), so input refuses them: a day
// beyond its month's length or below 1, 5..14.10.1582 (skipped by the change of
// calendar), a month outside 1..12, year 0, hours outside 0..23, minutes or seconds
// outside 0..59.
enum class DateFault { None, Day, Month, Year, Hour, Minute, Second };
DateFault ImpossibleDatePart(const DateParts& d);
// The warning for a refused part (CP1251), naming the part; empty for None.
std::string DateFaultText(const DateParts& d, DateFault fault);
// Both at once: the warning, empty when the date and time can be.
std::string ImpossibleDateText(const DateParts& d);
DateParts DatePartsOf(double jd);

// "DD.MM.YYYY HH:MM:SS" and "DD.MM.YYYY" of a Julian day, rounded to the second.
std::string DateTimeText(double jd);
std::string DateText(double jd);

// Julian day of a date-and-time text; −1.0 when the text cannot be read (fewer than
// three date parts, or year 0). Missing time parts are 0.
double JulianDayOfDateTimeText(std::string_view text);
// The parts of a date-and-time text as JulianDayOfDateTimeText reads them; none when
// it could not read the text.
bool DatePartsOfDateTimeText(std::string_view text, DateParts& parts);
// Julian day of a date text; missing parts are 1, the time is 00:00:00.
double JulianDayOfDateText(std::string_view text);

bool IsLeapYear(int year);
int DayOfYear(const DateParts& d);

// Greenwich sidereal time in hours [0, 24) of a Julian day UT.
double SiderealTime(double jdUT);
// Hours after 0h UT of the day containing jdUT at which the local sidereal time
// lstHours occurs at the given longitude (degrees, east positive).
double HoursOfSiderealTime(double lstHours, double jdUT, double longitudeDeg);

}  // namespace orbeta
