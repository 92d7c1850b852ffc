// The point-information popup's text for a computed chart: position, speed, latitude
// and declination against the ephemeris's own program, aspects from the window's
// matrix.
#include "chart/point_info.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "../core/chart_fixture.h"
#include "../core/ephemeris_fixture.h"
#include "chart/wheel_glyphs.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

// Declination of a body from swetest at a Julian day UT.
double SwetestDeclination(double jdUT, char body) {
    auto r = test::RunCommand(
        Format("env -u SE_EPHE_PATH swetest -bj%.17g -ut -p%c -fd -head -eswe -edir%s 2>&1", jdUT,
               body, test::kEpheDir));
    double value = 1000;
    std::sscanf(r.out.c_str(), "%lf", &value);
    return value;
}

double ValueAfter(const std::string& line, const char* label) {
    auto at = line.find(label);
    if (at == std::string::npos) return 1e9;
    return std::stod(line.substr(at + std::string(label).size()));
}

class PointInfoText : public test::EphemerisTest {
  protected:
    void SetUp() override {
        EphemerisTest::SetUp();
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
        chart = test::NatalAt("16.05.1945 08:00:00", -3, 55.45, 37.37);
    }
    ChartRecord chart;
};

TEST_F(PointInfoText, PositionMotionAndDeclinationOfABody) {
    if (!test::HaveProgram("swetest")) GTEST_SKIP() << "swetest is not installed";
    AspectMatrix none;
    PointInfo sun = DescribePoint({&chart, &chart, &none, 0}, SUN, false);
    EXPECT_EQ(sun.caption, PointName(SUN));
    // swetest: the Sun at 54.9591 degrees, 24°58' Taurus, moving forwards.
    EXPECT_EQ(sun.degrees, "24 ");
    EXPECT_EQ(sun.signGlyph, SignGlyph(1));
    EXPECT_EQ(sun.minutes, "58");
    EXPECT_FALSE(sun.retrograde);
    ASSERT_EQ(sun.lines.size(), 4u);
    EXPECT_NEAR(ValueAfter(sun.lines[0], " V="), chart.speed[SUN], 1e-7);
    EXPECT_NE(sun.lines[0].find(" g/d"), std::string::npos);
    EXPECT_NEAR(ValueAfter(sun.lines[1], " LAT="), chart.lat[SUN], 1e-3);
    // Mean obliquity without nutation: within a hundredth of a degree of swetest.
    EXPECT_NEAR(ValueAfter(sun.lines[2], " Sk="), SwetestDeclination(chart.jdUT, '0'), 0.01);
    EXPECT_NEAR(ValueAfter(sun.lines[2], " Sk="), 19.012, 0.01);
    EXPECT_EQ(sun.lines[3], "   Aspects:");

    PointInfo moon = DescribePoint({&chart, &chart, &none, 0}, MON, false);
    EXPECT_NEAR(ValueAfter(moon.lines[2], " Sk="), SwetestDeclination(chart.jdUT, '1'), 0.01);
}

TEST_F(PointInfoText, CuspsHaveNoMotionLinesAndRetrogradeBodiesTheirMark) {
    AspectMatrix none;
    PointInfo asc = DescribePoint({&chart, &chart, &none, 0}, kPointAsc, false);
    ASSERT_EQ(asc.lines.size(), 2u);
    EXPECT_EQ(asc.lines[0].rfind(" Sk=", 0), 0u);
    SignPosition at = SignPositionOf(chart.cusp[1]);
    EXPECT_EQ(asc.signGlyph, SignGlyph(at.sign));

    ChartRecord backwards = chart;
    backwards.speed[MER] = -0.5;
    EXPECT_TRUE(DescribePoint({&backwards, &backwards, &none, 0}, MER, false).retrograde);
}

TEST_F(PointInfoText, AspectsOfOneChartAndBetweenTwo) {
    AspectMatrix within;
    within.Set(SUN, MON, 60.0f);
    within.Set(MER, SUN, 42.0f);  // below the diagonal: a separation, not an aspect
    within.Set(SUN, 22, 90.0f);   // cusp 7 is beyond the listed points
    PointInfo sun = DescribePoint({&chart, &chart, &within, 0}, SUN, false);
    // swetest: Sun 54.9591, Moon 112.8889, 57.93 apart.
    std::vector<std::string> aspects(sun.lines.begin() + 4, sun.lines.end());
    EXPECT_EQ(aspects, std::vector<std::string>{" " + PointName(MON) + "  60.0 ( 57.93)"});
    PointInfo moon = DescribePoint({&chart, &chart, &within, 0}, MON, false);
    EXPECT_EQ(moon.lines.back(), " " + PointName(SUN) + "  60.0 ( 57.93)");

    ChartRecord other = chart;
    AspectMatrix between;  // rows the inner chart's points, columns the outer's
    between.Set(MON, SUN, 90.0f);
    PointInfo outerSun = DescribePoint({&chart, &other, &between, 2}, SUN, false);
    EXPECT_EQ(outerSun.caption, PointName(SUN) + " (внеш.)"_cp);
    EXPECT_EQ(outerSun.lines.back(), " " + PointName(MON) + "  90.0");
    PointInfo innerMoon = DescribePoint({&chart, &other, &between, 2}, MON, true);
    EXPECT_EQ(innerMoon.caption, PointName(MON) + " (внутр.)"_cp);
    EXPECT_EQ(innerMoon.lines.back(), " " + PointName(SUN) + "  90.0");
    PointInfo innerSun = DescribePoint({&chart, &other, &between, 2}, SUN, true);
    EXPECT_EQ(innerSun.lines.back(), "   Aspects:");
}

}  // namespace
}  // namespace orbeta
