// Age points: the entries at their ages, their labels, and the age text.
#include "forecast/age_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../support/test_support.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "forecast/report_commands.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"
#include "shown_report.h"

namespace orbeta {
namespace {

class AgePoints : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
        chart.jdLocal = JulianDay({16, 5, 1945, 8, 0, 0});
        chart.gmtCorr = -3.0 / 24;
        chart.jdUT = chart.jdCalc = chart.jdLocal + chart.gmtCorr;
        chart.houseSystem = 8;  // no houses: bodies only
        chart.lon[SUN] = 45;
        chart.speed[SUN] = 1;
        chart.lon[MON] = 200;
        chart.speed[MON] = 13;
        for (double a : {0.0, 90.0, 180.0}) table.aspects.push_back({static_cast<float>(a)});
    }
    void TearDown() override { SetUiTexts({}); }
    std::vector<AgePointEntry> Of(AgePointKind kind, const std::string& label = "") {
        std::vector<AgePointEntry> out;
        for (auto& e : AgePointEntries(chart, table, 3))
            if (e.kind == kind && (label.empty() || e.label == label)) out.push_back(e);
        return out;
    }
    static std::vector<double> Ages(const std::vector<AgePointEntry>& entries) {
        std::vector<double> ages;
        for (auto& e : entries) ages.push_back(e.age);
        return ages;
    }
    test::TempWorkDir dir;
    ChartRecord chart;
    OrbTable table;
};

TEST_F(AgePoints, AspectEntriesStandTheirAngleApart) {
    auto aspects = Of(AgePointKind::Aspect);
    // 0: 0, 47.25, 94.5; 90: five; 180: 23.625 and 70.875
    ASSERT_EQ(aspects.size(), 10u);
    for (auto& e : aspects) {
        EXPECT_NEAR(Separation(e.first, e.second), e.angle, 1e-9) << e.age;
        EXPECT_NEAR(e.first, FirstAgePoint(e.age), 1e-12);
        EXPECT_LE(e.age, 108);
    }
    std::vector<double> quartile;
    for (auto& e : aspects)
        if (e.angle == 90) quartile.push_back(e.age);
    std::vector<double> expected{11.8125, 35.4375, 59.0625, 82.6875, 106.3125};
    ASSERT_EQ(quartile.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(quartile[i], expected[i], 1e-9);
}

TEST_F(AgePoints, SignBoundariesAreLabelledWithTheBoundaryReached) {
    auto first = Of(AgePointKind::First);
    auto second = Of(AgePointKind::Second);
    int firstBoundaries = 0, secondBoundaries = 0;
    for (int i = 0; i < 12; ++i) {
        for (auto& e : first)
            if (e.label == SignStartName(i)) {
                ++firstBoundaries;
                EXPECT_NEAR(e.first, 30.0 * i, 1e-9) << e.age;
                EXPECT_NEAR(std::fmod(e.age, 84), 7.0 * i, 1e-9);
            }
        for (auto& e : second)
            if (e.label == SignStartName(i)) {
                ++secondBoundaries;
                EXPECT_NEAR(e.second, 30.0 * i, 1e-9) << e.age;
            }
    }
    EXPECT_EQ(firstBoundaries, 12 + 4);   // again at 84, 91, 98, 105
    EXPECT_EQ(secondBoundaries, 12 + 1);  // 0° Aries at birth and at 108
    // moving backwards, the second point reaches Pisces first and Taurus last
    EXPECT_EQ(Ages(Of(AgePointKind::Second, SignStartName(11))), std::vector<double>{9});
    EXPECT_EQ(Ages(Of(AgePointKind::Second, SignStartName(1))), std::vector<double>{99});
    EXPECT_EQ(Ages(Of(AgePointKind::Second, SignStartName(0))), (std::vector<double>{0, 108}));
}

TEST_F(AgePoints, PointEntriesForActiveAvailablePointsOnly) {
    // mask 3: Sun and Moon; Mercury has no position and is masked anyway
    EXPECT_EQ(Ages(Of(AgePointKind::First, PointName(SUN))), (std::vector<double>{10.5, 94.5}));
    EXPECT_EQ(Ages(Of(AgePointKind::Second, PointName(SUN))), std::vector<double>{94.5});
    auto moon = Of(AgePointKind::First, PointName(MON));
    ASSERT_EQ(moon.size(), 1u);  // 46.67 years: no second round within 108
    EXPECT_NEAR(moon[0].first, 200, 1e-9);
    EXPECT_NEAR(Of(AgePointKind::Second, PointName(MON))[0].second, 200, 1e-9);
    EXPECT_TRUE(Of(AgePointKind::First, PointName(kPointAsc)).empty());  // no houses
    EXPECT_TRUE(Of(AgePointKind::First, PointName(MER)).empty());
    // with houses the cusps count, whatever the mask
    chart.houseSystem = 3;
    chart.cusp[1] = 150;
    auto asc = Of(AgePointKind::First, PointName(kPointAsc));
    ASSERT_EQ(asc.size(), 1u);
    EXPECT_NEAR(asc[0].age, 35, 1e-9);  // past 24 years: no second round
}

TEST_F(AgePoints, EntriesAreSortedByMomentFromBirth) {
    auto all = AgePointEntries(chart, table, 3);
    ASSERT_FALSE(all.empty());
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(),
                               [](auto& a, auto& b) { return a.moment < b.moment; }));
    for (auto& e : all) EXPECT_NEAR(e.moment, chart.jdUT + e.age * 365.25, 1e-6);
}

TEST(AgeText, YearsMonthsDaysWithBorrowingAndTheYearWord) {
    auto jd = [](int d, int m, int y) { return JulianDay({d, m, y, 12, 0, 0}); };
    EXPECT_EQ(AgeText(jd(1, 5, 1990), jd(1, 5, 1990) + 0.9), "");
    EXPECT_EQ(AgeText(jd(31, 1, 1990), jd(1, 3, 2001)), " 11л. 1м. 1д."_cp);
    EXPECT_EQ(AgeText(jd(15, 10, 1990), jd(10, 2, 1992)), "  1г. 3м.26д."_cp);
    EXPECT_EQ(AgeText(jd(20, 2, 2000), jd(10, 3, 2000)), "  0л. 0м.19д."_cp);  // February 2000
    EXPECT_EQ(AgeText(jd(1, 1, 1900), jd(1, 1, 1921)), " 21г. 0м. 0д."_cp);
    EXPECT_EQ(AgeText(jd(1, 1, 1900), jd(1, 1, 1912)), " 12л. 0м. 0д."_cp);
    EXPECT_EQ(AgeText(jd(1, 1, 1900), jd(1, 1, 1914)), " 14л. 0м. 0д."_cp);
    EXPECT_EQ(AgeText(jd(1, 1, 1900), jd(1, 1, 1924)), " 24г. 0м. 0д."_cp);
    EXPECT_EQ(AgeText(jd(1, 1, 1900), jd(1, 1, 2011)), "111л. 0м. 0д."_cp);
    EXPECT_EQ(AgeText(jd(1, 1, 1900), jd(1, 1, 2002)), "102г. 0м. 0д."_cp);
}

TEST_F(AgePoints, ReportLinesInTheirColumns) {
    std::string text = AgePointReportText(chart, table, 3);
    EXPECT_EQ(text.rfind(LookupText("ctzts") + "\n", 0), 0u);
    // at birth: the conjunction and the two points at 0° Aries, without an age
    const char* birth = "16.05.1945 08:00:00";
    EXPECT_NE(
        text.find(Format(" %-20.20s%7.2f %7.2f %5.1f   %-12.12s \n", birth, 0.0, 0.0, 0.0, "")),
        std::string::npos)
        << text;
    EXPECT_NE(text.find(Format(" %-20.20s%7.2f %16s%-12.12s \n", birth, 0.0, "",
                               SignStartName(0).c_str())),
              std::string::npos);
    EXPECT_NE(text.find(Format(" %-20.20s%15.2f %8s%-12.12s \n", birth, 0.0, "",
                               SignStartName(0).c_str())),
              std::string::npos);
    EXPECT_NE(text.find(Format(" 16.05.1954 14:00:00 %15.2f %8s%-12.12s   9л. 0м. 0д.\n"_cp, 330.0,
                               "", SignStartName(11).c_str())),
              std::string::npos)
        << text;
}

TEST_F(AgePoints, CommandWritesTheReportUnderItsTitle) {
    test::ShownReport services;
    Settings settings;
    settings.maskP = 3;
    ASSERT_TRUE(RunAgePointReport(chart, table, settings));
    ASSERT_EQ(services.shown.size(), 3u);
    EXPECT_EQ(services.shown[1], ReportTitle(2012));
    EXPECT_EQ(services.shown[2], "TZS");
    // The report's moments are local: a clicked line is turned into UT by the chart's
    // correction, and opens a chart at the chart's place under its name.
    EXPECT_TRUE(services.shownOrigin.known);
    EXPECT_EQ(services.shownOrigin.correction, chart.gmtCorr);
    EXPECT_EQ(services.shownOrigin.latitude, chart.latitude);
    EXPECT_EQ(services.shownOrigin.longitude, chart.longitude);
    EXPECT_EQ(services.shownOrigin.houseSystem, chart.houseSystem);
    EXPECT_EQ(services.shownOrigin.name, std::string(chart.name));
    auto bytes = ReadFileBytes(services.shown[0]);
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find(AgePointReportText(chart, table, 3)), std::string::npos);
}

}  // namespace
}  // namespace orbeta
