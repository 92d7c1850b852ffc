#include "core/calendar.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

TEST(Calendar, KnownJulianDaysBothWays) {
    EXPECT_DOUBLE_EQ(JulianDayOfDateTimeText("01.01.2000 12:00:00"), 2451545.0);
    EXPECT_EQ(DateTimeText(2451545.0), "01.01.2000 12:00:00");
    // Meeus, Astronomical Algorithms, ch. 7
    EXPECT_DOUBLE_EQ(JulianDay({4, 10, 1957, 19, 26, 24}), 2436116.31);
    EXPECT_DOUBLE_EQ(JulianDay({27, 1, 333, 12, 0, 0}), 1842713.0);
    EXPECT_DOUBLE_EQ(JulianDay({1, 1, -4713, 12, 0, 0}), 0.0);  // 4713 BC, the epoch
}

TEST(Calendar, GregorianSwitchDaysAreConsecutive) {
    EXPECT_EQ(DateText(2299159.5), "04.10.1582");
    EXPECT_EQ(DateText(2299160.5), "15.10.1582");
    EXPECT_DOUBLE_EQ(JulianDay({4, 10, 1582, 0, 0, 0}), 2299159.5);
    EXPECT_DOUBLE_EQ(JulianDay({15, 10, 1582, 0, 0, 0}), 2299160.5);
}

TEST(Calendar, NoYearZero) {
    EXPECT_DOUBLE_EQ(JulianDayOfDateText("31.12.-1"), 1721422.5);
    EXPECT_DOUBLE_EQ(JulianDayOfDateText("01.01.0001"), 1721423.5);
    EXPECT_EQ(DateText(1721422.5), "31.12.-001");
    EXPECT_EQ(DateTimeText(1721423.5), "01.01.0001 00:00:00");
    EXPECT_DOUBLE_EQ(JulianDayOfDateTimeText("01.01.0 12:00"), -1.0);
}

TEST(Calendar, ImpossibleDatesAreNamedByTheirPart) {
    struct Case {
        DateParts date;
        DateFault fault;
    };
    const Case cases[] = {
        {{31, 1, 1985, 5, 0, 0}, DateFault::None},
        {{31, 2, 1985, 5, 0, 0}, DateFault::Day},
        {{29, 2, 1985, 0, 0, 0}, DateFault::Day},
        {{29, 2, 1984, 0, 0, 0}, DateFault::None},
        {{29, 2, 1900, 0, 0, 0}, DateFault::Day},  // Gregorian: not a leap year
        {{29, 2, 2000, 0, 0, 0}, DateFault::None},
        {{29, 2, 1500, 0, 0, 0}, DateFault::None},  // Julian: every fourth year
        {{29, 2, -1, 0, 0, 0}, DateFault::None},    // 1 BC is a Julian leap year
        {{29, 2, -2, 0, 0, 0}, DateFault::Day},
        {{31, 4, 2015, 0, 0, 0}, DateFault::Day},
        {{0, 4, 2015, 0, 0, 0}, DateFault::Day},
        {{4, 10, 1582, 0, 0, 0}, DateFault::None},
        {{10, 10, 1582, 0, 0, 0}, DateFault::Day},  // skipped by the change of calendar
        {{15, 10, 1582, 0, 0, 0}, DateFault::None},
        {{1, 13, 1985, 0, 0, 0}, DateFault::Month},
        {{1, 0, 1985, 0, 0, 0}, DateFault::Month},
        {{1, 1, 0, 0, 0, 0}, DateFault::Year},
        {{1, 1, 1985, 24, 0, 0}, DateFault::Hour},
        {{1, 1, 1985, -1, 0, 0}, DateFault::Hour},
        {{1, 1, 1985, 12, 60, 0}, DateFault::Minute},
        {{1, 1, 1985, 23, 59, 60}, DateFault::Second},
        {{1, 1, 1985, 23, 59, 59}, DateFault::None},
    };
    for (const auto& c : cases) {
        const DateParts& d = c.date;
        SCOPED_TRACE(DateTimeText(JulianDay(d)) + " from " + std::to_string(d.day) + "." +
                     std::to_string(d.month) + "." + std::to_string(d.year));
        EXPECT_EQ(ImpossibleDatePart(d), c.fault);
        EXPECT_EQ(ImpossibleDateText(d).empty(), c.fault == DateFault::None);
    }
    // Every possible day of a year round-trips through the Julian day.
    for (int year : {-500, 1500, 1582, 1900, 2024}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                DateParts d{day, month, year, 12, 0, 0};
                if (ImpossibleDatePart(d) != DateFault::None) continue;
                DateParts back = DatePartsOf(JulianDay(d));
                EXPECT_EQ(back.day * 100 + back.month, day * 100 + month) << year;
            }
        }
    }
}

TEST(Calendar, PrintedSecondIsRoundedAtMidnight) {
    double midnight = JulianDayOfDateTimeText("02.03.2001 00:00:00");
    // half a second is added before printing: 23:59:59.6 rounds up to the next day,
    // 23:59:59.4 stays
    EXPECT_EQ(DateTimeText(midnight - 0.4 / 86400.0), "02.03.2001 00:00:00");
    EXPECT_EQ(DateTimeText(midnight - 0.6 / 86400.0), "01.03.2001 23:59:59");
    EXPECT_EQ(DateText(midnight - 0.4 / 86400.0), "02.03.2001");
    EXPECT_EQ(DateTimeText(JulianDayOfDateTimeText("01.03.2001 10:20:30")), "01.03.2001 10:20:30");
}

TEST(Calendar, ReadsPartialAndOutOfRangeTexts) {
    EXPECT_DOUBLE_EQ(JulianDayOfDateTimeText("16.05.1945 5:00"),
                     JulianDayOfDateTimeText("16.05.1945 05:00:00"));
    EXPECT_EQ(DateTimeText(JulianDayOfDateTimeText("16.05.1945 5:00")), "16.05.1945 05:00:00");
    EXPECT_DOUBLE_EQ(JulianDayOfDateTimeText("16.05"), -1.0);
    EXPECT_DOUBLE_EQ(JulianDayOfDateTimeText(""), -1.0);
    EXPECT_DOUBLE_EQ(JulianDayOfDateTimeText("garbage"), -1.0);
    // month 13 and minute 75 fold into the next year and hour
    EXPECT_EQ(DateTimeText(JulianDayOfDateTimeText("01.13.1999 10:75")), "01.01.2000 11:15:00");
    // date-only text: missing parts are 1
    EXPECT_DOUBLE_EQ(JulianDayOfDateText("..2000"), JulianDayOfDateText("01.01.2000"));
    EXPECT_DOUBLE_EQ(JulianDayOfDateText("15.06.2000"), 2451710.5);
}

TEST(Calendar, ExtremeNumbersDoNotBreakArithmetic) {
    double jd = JulianDayOfDateTimeText("99999999999.99999999999.99999999999 99999999:9:9");
    EXPECT_TRUE(jd == jd);  // finite or not, no crash; printing stays bounded
    EXPECT_LT(DateTimeText(1e300).size(), 40u);
    EXPECT_LT(DateTimeText(-1e300).size(), 40u);
}

TEST(Calendar, LeapYearsAndDayOfYear) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(1996));
    EXPECT_FALSE(IsLeapYear(4000));
    EXPECT_FALSE(IsLeapYear(1999));
    EXPECT_EQ(DayOfYear({1, 1, 2001}), 1);
    EXPECT_EQ(DayOfYear({1, 3, 2001}), 60);
    EXPECT_EQ(DayOfYear({1, 3, 2000}), 61);
    EXPECT_EQ(DayOfYear({31, 12, 2000}), 366);
    EXPECT_EQ(DayOfYear({31, 12, 2001}), 365);
}

TEST(Calendar, SiderealTimeAndItsInverse) {
    // Meeus ex. 12.a: 10 April 1987 0h UT, mean sidereal time 13h10m46.3668s
    double jd = 2446895.5;
    EXPECT_NEAR(SiderealTime(jd), 13 + 10 / 60.0 + 46.3668 / 3600.0, 2e-5);
    // the inverse finds the moment of a sidereal time at a longitude
    double lon = 37.6167;
    double hours = 7.25;
    double lst = SiderealTime(jd + hours / 24.0) + lon / 15.0;
    EXPECT_NEAR(HoursOfSiderealTime(lst, jd, lon), hours, 1e-6);
    for (double t : {2451545.0, 2415020.3, 2488069.9}) {
        double s = SiderealTime(t);
        EXPECT_GE(s, 0.0);
        EXPECT_LT(s, 24.0);
    }
}

}  // namespace
}  // namespace orbeta
