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
DateParts DatePartsOf(double jd);

// "DD.MM.YYYY HH:MM:SS" and "DD.MM.YYYY" of a Julian day, rounded to the second.
std::string DateTimeText(double jd);
std::string DateText(double jd);

// Julian day of a date-and-time text; −1.0 when the text cannot be read (fewer than
// three date parts, or year 0). Missing time parts are 0.
double JulianDayOfDateTimeText(std::string_view text);
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
