// The day report: weekday and ruler, planetary hours, tattvas, the polar cases and the
// refusal beyond 66 degrees.
#include "forecast/day_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "../core/ephemeris_fixture.h"
#include "../support/scratch_computation.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "forecast/report_commands.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"
#include "reference_days.h"
#include "shown_report.h"

namespace orbeta {
namespace {

constexpr double kMinute = 1.0 / 1440;
constexpr double kTattva = 0.4 / 24;
constexpr int kHourColumns[7] = {SUN, VEN, MER, MON, SAT, JUP, MRS};

int ColumnOf(int body) {
    return static_cast<int>(std::find(kHourColumns, kHourColumns + 7, body) - kHourColumns);
}

// A chart at local noon of a day and place (degrees), as the chart window has it.
ChartRecord NoonChart(double lat, double lon, int day, int month, int year, double zoneHours) {
    ChartRecord c;
    c.jdLocal = JulianDay({day, month, year, 12, 0, 0});
    c.gmtCorr = -zoneHours / 24;
    c.jdUT = c.jdCalc = c.jdLocal + c.gmtCorr;
    c.latitude = DegreesToPacked(lat);
    c.longitude = DegreesToPacked(lon);
    return c;
}

ChartRecord NoonChart(const test::ReferenceDay& d) {
    return NoonChart(d.latitude, d.longitude, d.day, d.month, d.year, d.zoneHours);
}

class DayReportTest : public test::EphemerisTest {
  protected:
    void SetUp() override {
        EphemerisTest::SetUp();
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
    }
    void TearDown() override {
        SetUiTexts({});
        EphemerisTest::TearDown();
    }
};

TEST(DayLine, WeekdayAndRulerOfTheCivilDay) {
    EXPECT_EQ(WeekdayOf(2451544.5), 6);  // 01.01.2000, Saturday
    EXPECT_EQ(DayRuler(6), SAT);
    EXPECT_EQ(WeekdayOf(JulianDay({20, 3, 2024, 0, 0, 0})), 3);  // Wednesday
    EXPECT_EQ(DayRuler(3), MER);
    EXPECT_EQ(WeekdayOf(JulianDay({16, 5, 1945, 0, 0, 0})), 3);
    EXPECT_EQ(WeekdayOf(JulianDay({4, 10, 1582, 0, 0, 0})), 4);   // Thursday, Julian
    EXPECT_EQ(WeekdayOf(JulianDay({15, 10, 1582, 0, 0, 0})), 5);  // the next day
    EXPECT_EQ(DayRuler(0), SUN);
    EXPECT_EQ(DayRuler(1), MON);
}

TEST(PlanetaryHours, TwentyFiveStartsAndTheFirstDayHourUnderTheRuler) {
    for (int weekday = 0; weekday < 7; ++weekday) {
        for (double riseAfterMidnight : {0.12, 0.25, 0.33}) {
            DayReportData day;
            day.midnight = 1000.5;
            day.weekday = weekday;
            day.sun = {999.8, 1000.5 - 0.2, 1000.5 + riseAfterMidnight, 1000.5 + 0.8,
                       1001.5 + riseAfterMidnight + 0.01};
            auto hours = PlanetaryHoursOf(day);
            ASSERT_TRUE(hours);
            ASSERT_EQ(hours->starts.size(), 25u);
            EXPECT_EQ(hours->starts[0], day.midnight);
            auto rise = std::find_if(hours->starts.begin(), hours->starts.end(),
                                     [&](double t) { return std::fabs(t - day.sun.rise) < 1e-9; });
            ASSERT_NE(rise, hours->starts.end());
            int index = static_cast<int>(rise - hours->starts.begin());
            EXPECT_EQ((hours->firstColumn + index) % 7, ColumnOf(DayRuler(weekday)));
            EXPECT_NEAR(hours->starts[index + 12], day.sun.set, 1e-9);
            EXPECT_TRUE(std::is_sorted(hours->starts.begin(), hours->starts.end()));
            // the night hours after midnight are all there, and none before it
            EXPECT_GT(hours->starts[1], day.midnight);
            EXPECT_LE(day.sun.rise - index * (day.sun.rise - day.sun.previousSet) / 12,
                      day.midnight + 1e-9);
        }
    }
}

TEST(Tattvas, TheColumnOfMidnightStaysWithinTheFive) {
    DayReportData day;
    day.midnight = 1000.5;
    for (int k = 40; k < 50; ++k) {
        // midnight within period k counted from the previous sunrise
        day.sun.previousRise = day.midnight - (k + 0.5) * kTattva;
        day.sun.rise = day.sun.previousRise + 1.001;
        auto t = TattvasOf(day);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->midnightColumn, k % 5) << k;
        ASSERT_FALSE(t->beforeSunrise.empty());
        // the next boundary opens the next tattva, in the next column
        EXPECT_NEAR(t->beforeSunrise[0], day.sun.previousRise + (k + 1) * kTattva, 1e-9);
        EXPECT_LT(t->beforeSunrise.back(), day.sun.rise);
        EXPECT_EQ(t->fromSunrise.front(), day.sun.rise);
        EXPECT_LT(t->fromSunrise.back(), day.midnight + 1);
        EXPECT_GE(t->fromSunrise.back() + kTattva, day.midnight + 1);
    }
}

TEST(MissingSunEvents, NoHoursOrTattvasAreComputed) {
    DayReportData day;
    day.midnight = 1000.5;
    day.sun = {999.8, 1000.3, -1, -1, -1};
    EXPECT_FALSE(PlanetaryHoursOf(day));
    EXPECT_FALSE(TattvasOf(day));
    day.sun = {-1, 1000.3, 1000.7, 1001.2, 1001.6};
    EXPECT_TRUE(PlanetaryHoursOf(day));
    EXPECT_FALSE(TattvasOf(day));
    day.sun = {999.8, 1000.3, 1000.7, 1001.2, -1};
    EXPECT_FALSE(PlanetaryHoursOf(day));
    EXPECT_TRUE(TattvasOf(day));
}

TEST_F(DayReportTest, MoscowDayLineRisesAndGrid) {
    const auto& d = test::kReferenceDays[0];
    DayReportData day = ComputeDayReport(test::Scratch(), NoonChart(d));
    EXPECT_NEAR(day.midnight, d.midnightUT, 1e-9);
    EXPECT_NEAR(day.sun.rise, d.sunRise, kMinute);
    EXPECT_NEAR(day.sun.set, d.sunSet, kMinute);
    EXPECT_LT(day.sun.previousSet, day.midnight);
    EXPECT_NEAR(day.sun.nextRise - day.sun.rise, 1.0, 0.01);
    EXPECT_NEAR(day.sun.rise - day.sun.previousRise, 1.0, 0.01);
    std::string text = DayReportText(day);
    EXPECT_NE(text.find(" 20.03.2024 - Среда (Управитель - Меркурий)  10-й лунный день\n"_cp),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(LookupText("VZP")), std::string::npos);
    // the Sun's row: reference rise 06:30:59, set 18:43:56 local
    EXPECT_NE(text.find(Format(" %-12.12s 06:3", PlanetName(SUN).c_str())), std::string::npos)
        << text;
    EXPECT_EQ(text.find("не восходит"_cp), std::string::npos);
    // the tattva grid starts with midnight in its column and ends before the next one
    auto grid = text.substr(text.find(TattvaName(4)));
    EXPECT_NE(grid.find("00:00:00"), std::string::npos);
    EXPECT_EQ(text.find("-1"), std::string::npos);
}

TEST_F(DayReportTest, PolarDayAndNightAreSaidPlainly) {
    // 65.9 N on the June solstice: the Sun stays above its setting altitude
    const auto& june = test::kReferenceDays[6];
    DayReportData day = ComputeDayReport(test::Scratch(), NoonChart(june));
    EXPECT_EQ(day.bodies[0].rise, -1);
    EXPECT_EQ(day.bodies[0].set, -1);
    std::string text = DayReportText(day);
    EXPECT_NE(text.find(" Солнце в этот день не заходит\n"_cp), std::string::npos) << text;
    EXPECT_NE(text.find("Планетные часы не рассчитываются"_cp), std::string::npos);
    EXPECT_NE(text.find("Таттвы не рассчитываются"_cp), std::string::npos);
    EXPECT_LT(std::count(text.begin(), text.end(), '\n'), 30);
    // the engine itself also serves 70 N in December, beyond what the command allows
    text = DayReportText(ComputeDayReport(test::Scratch(), NoonChart(70, 25, 21, 12, 2024, 2)));
    EXPECT_NE(text.find(" Солнце в этот день не восходит\n"_cp), std::string::npos) << text;
}

TEST_F(DayReportTest, BeyondSixtySixDegreesTheReportIsRefused) {
    test::ShownReport shown;
    ChartRecord north = NoonChart(66.5, 40, 21, 6, 2024, 3);
    EXPECT_FALSE(RunDayReport({}, north));
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0], LookupText("tatvp"));
    EXPECT_TRUE(shown.shown.empty());
    EXPECT_FALSE(RunDayReport({}, NoonChart(-66.1, 40, 21, 6, 2024, 3)));
    EXPECT_TRUE(shown.shown.empty());

    ChartRecord edge = NoonChart(66, 40, 21, 6, 2024, 3);
    ASSERT_TRUE(RunDayReport({}, edge));
    ASSERT_EQ(shown.shown.size(), 3u);
    EXPECT_EQ(shown.shown[1], ReportTitle(2011));
    EXPECT_EQ(shown.shown[2], "Tatv");
    EXPECT_EQ(shown.shownOrigin.correction, edge.gmtCorr);  // the report's times are local
    auto bytes = ReadFileBytes(shown.shown[0]);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->rfind(" " + ReportTitle(2011) + "\n", 0), 0u);
    EXPECT_NE(bytes->find(" Солнце в этот день не заходит\n"_cp), std::string::npos);
}

}  // namespace
}  // namespace orbeta
