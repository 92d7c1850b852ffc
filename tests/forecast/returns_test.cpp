// Returns, ingresses and lunations against a bisection on the ephemeris library's own
// longitudes; stepping to the neighbouring return; searches that always end.
#include "forecast/returns.h"

#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <random>

#include "../core/ephemeris_fixture.h"
#include "../support/scratch_computation.h"
#include "../support/test_support.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/derived_charts.h"

namespace orbeta {
namespace {

constexpr double kSecond = 1.0 / 86400;

double Lon(double t, int ipl) {
    double x[6];
    char serr[AS_MAXCH];
    swe_calc_ut(t, ipl, SEFLG_SWIEPH, x, serr);
    return x[0];
}

double Angle(int method, double target, double t) {
    double body = method == kLunarReturn ? Lon(t, SE_MOON) : Lon(t, SE_SUN);
    if (method >= kFullMoon) body = Lon(t, SE_MOON) - Lon(t, SE_SUN);
    return Normalize(body - target);
}

// The first wrap of the angle after start: half-day steps, then bisection.
double Oracle(int method, double target, double start) {
    double t0 = start, f0 = Angle(method, target, t0), t1 = t0;
    for (;;) {
        t1 = t0 + 0.5;
        double f1 = Angle(method, target, t1);
        if (f1 < f0) break;
        t0 = t1;
        f0 = f1;
    }
    while (t1 - t0 > 1e-9) {
        double mid = (t0 + t1) / 2;
        (Angle(method, target, mid) > 180 ? t0 : t1) = mid;
    }
    return (t0 + t1) / 2;
}

using Returns = test::EphemerisTest;

TEST_F(Returns, EveryKindWithinASecondOfTheLibrary) {
    std::mt19937 random(1917);
    std::uniform_real_distribution<double> moment(2415020.5, 2488000.0), angle(0, 360);
    const int methods[] = {kAnnualReturn, kMonthlyReturn, kLunarReturn,       kSunIngress,
                           kFullMoon,     kNewMoon,       kEmbolismicLunation};
    for (int n = 0; n < 280; ++n) {
        ChartRecord chart;
        chart.calcMethod = static_cast<int16_t>(methods[n % 7]);
        chart.returnLongitude = angle(random);
        chart.gmtCorr = -0.125;
        chart.latitude = 55.45;
        chart.longitude = 37.37;
        chart.houseSystem = 3;
        double start = moment(random);
        ASSERT_TRUE(SolveReturnChart(test::Scratch(), chart, start));
        double expected = Oracle(chart.calcMethod, chart.returnLongitude, start);
        EXPECT_NEAR(chart.jdUT, expected, kSecond) << chart.calcMethod << " " << start;
        EXPECT_EQ(chart.jdCalc, chart.jdUT);
        EXPECT_EQ(chart.jdLocal, chart.jdUT + 0.125);
    }
}

TEST_F(Returns, ChartsOfABaseStepAndKeepTheirHouses) {
    std::mt19937 random(4);
    std::uniform_real_distribution<double> moment(2420000.5, 2470000.0);
    ReturnPlace place{"", "", 59.57, 30.19, -0.125, 3};
    for (int n = 0; n < 24; ++n) {
        ChartRecord base;
        base.jdLocal = moment(random);
        base.gmtCorr = -0.125;
        base.jdUT = base.jdCalc = base.jdLocal + base.gmtCorr;
        base.latitude = 55.45;
        base.longitude = 37.37;
        base.houseSystem = 3;
        ComputeChart(test::Scratch(), base, base, kNatal);
        int kind = (n % 4 == 3) ? 7 : n % 4;
        int month = 1 + n % 12;
        auto r = SolarLunarReturn(test::Scratch(), base, kind, 2025, month, place);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->calcMethod, 100 + kind);
        EXPECT_EQ(r->eventHeader.jdUT, base.jdUT);
        EXPECT_EQ(r->baseJdUT, base.jdUT);
        DateParts birth = DatePartsOf(base.jdLocal);
        DateParts d{1, month, 2025};
        double start = JulianDay(d) - 0.125;
        if (kind == 0) start = JulianDay({birth.day, birth.month, 2025}) - 0.125 - 5;
        if (kind == 1)
            while (Difference(Lon(start, SE_SUN), r->returnLongitude) > 0) start -= 1;
        EXPECT_NEAR(r->jdUT, Oracle(r->calcMethod, r->returnLongitude, start), kSecond) << n;
        // The text names the year and month asked for, and follows a step.
        EXPECT_EQ(ReturnChartText(*r), ReturnChartText(*r, 2025, month)) << n;
        // Next and back again; the return keeps its code and its own houses.
        ChartRecord next = *r;
        ASSERT_TRUE(StepReturnChart(test::Scratch(), next, 1));
        if (kind == 0) {
            EXPECT_EQ(ReturnChartText(next), ReturnChartText(next, 2026, 1));
        } else if (kind == 1) {
            EXPECT_EQ(ReturnChartText(next),
                      ReturnChartText(next, 2025 + month / 12, month % 12 + 1));
        }
        EXPECT_GT(next.jdUT - r->jdUT, kind == 0 ? 360 : 20);
        EXPECT_LT(next.jdUT - r->jdUT, kind == 0 ? 370 : 35);
        ChartRecord back = next;
        ASSERT_TRUE(StepReturnChart(test::Scratch(), back, -1));
        EXPECT_NEAR(back.jdUT, r->jdUT, kSecond);
        ChartRecord moved = *r, own = *r;
        MoveChartInTime(test::Scratch(), moved, base, 1.0);
        own.jdLocal += 1.0;
        own.jdUT += 1.0;
        ComputeChart(test::Scratch(), own, own, kNatal);
        EXPECT_EQ(moved.calcMethod, r->calcMethod);
        EXPECT_EQ(moved.cusp[10], own.cusp[10]);
    }
    ChartRecord natal;
    natal.jdUT = natal.jdCalc = natal.jdLocal = 2451545.0;
    ComputeChart(test::Scratch(), natal, natal, kNatal);
    ChartRecord relocation = RelocationChart(test::Scratch(), natal, "", 50.0, 30.0, 3);
    ChartRecord unchanged = relocation;
    EXPECT_FALSE(StepReturnChart(test::Scratch(), relocation, 1));
    EXPECT_EQ(relocation.jdUT, unchanged.jdUT);
}

TEST_F(Returns, IngressOfTheTypedYearAndLunationAtMidnight) {
    ReturnPlace greenwich{"", "", 51.29, 0.0, 0, 3};
    const struct {
        double degree;
        const char* moment;
    } ingresses[] = {{285.00, "05.01.2025 02:32:47"}, {300.00, "19.01.2025"}, {0, "20.03.2025"}};
    for (const auto& i : ingresses) {
        auto r = SunIngressChart(test::Scratch(), greenwich, 2025, i.degree);
        ASSERT_TRUE(r);
        EXPECT_EQ(DateTimeText(r->jdLocal).rfind(i.moment, 0), 0u) << DateTimeText(r->jdLocal);
    }
    // A new moon just before the local midnight of the day asked for is found.
    double day = JulianDayOfDateText("29.03.2025");
    double newMoon = Oracle(kNewMoon, 0, day);
    greenwich.gmtCorr = newMoon - day + 30 * kSecond;
    auto r = LunationChart(test::Scratch(), greenwich, false, day);
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->jdUT, newMoon, kSecond);
    EXPECT_EQ(r->calcMethod, kNewMoon);
}

TEST_F(Returns, SearchesAlwaysEnd) {
    std::mt19937 random(6000);
    std::uniform_real_distribution<double> rate(0.95,
                                                16) /* the Sun's slowest .. the Moon's fastest */,
        phase(0, 360), start(-1e6, 1e6);
    for (int n = 0; n < 500; ++n) {
        double v = rate(random), p = phase(random), s = start(random);
        auto f = [&](double t) { return Normalize(v * (t - s) + p); };
        auto t = FindReturn(f, s);
        ASSERT_TRUE(t);
        double first = s + (360 - p) / v;  // the first root after the start
        EXPECT_NEAR(*t, first, 1e-6) << v << " " << p;
    }
    EXPECT_FALSE(FindReturn([](double) { return NAN; }, 0));
    EXPECT_FALSE(FindReturn([](double) { return 10.0; }, 0));
    // No positions before JD 0 or beyond the files: no endless stepping, a warning,
    // the chart as it was.
    Computation c;
    ChartRecord chart;
    chart.calcMethod = kMonthlyReturn;
    chart.jdUT = 1;
    EXPECT_FALSE(SolveReturnChart(c, chart, -400));
    EXPECT_EQ(chart.jdUT, 1);
    EXPECT_TRUE(c.diagnostics.Has(DiagnosticKind::Warning));
    ChartRecord base;
    ComputeChart(c, base, base, kNatal);
    ReturnPlace place;
    for (int kind : {0, 1, 2, 7})
        EXPECT_FALSE(SolarLunarReturn(c, base, kind, 6000, 5, place)) << kind;
}

}  // namespace
}  // namespace orbeta

namespace orbeta {
namespace {

TEST(ReturnCommands, CommandLineTextJsonAndRefusals) {
    test::TempWorkDir work;
    auto run = [&](const std::string& args) {
        return test::RunCommand(std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " +
                                work.Path() + "/ws " + args + " 2>/dev/null");
    };
    auto text = run("ingress --degree 285.00 --year 2025 --lat 55.45 --lon 37.37 --gmt -3");
    ASSERT_EQ(text.status, 0);
    EXPECT_EQ(
        text.out.rfind("Вход Солнца в 285.00°\n05.01.2025 05:32:47  UT 05.01.2025 02:32:47", 0), 0u)
        << text.out;
    auto json =
        run("return --kind lunar --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37 "
            "--year 2025 --month 3 --step 2 --json");
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"title\":\"Лунар 2025 5\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"calcMethod\":102"), std::string::npos);
    EXPECT_NE(json.out.find("\"returnLongitude\":"), std::string::npos);
    for (const char* bad : {"ingress --degree 10.60 --year 2025 --lat 1 --lon 1",
                            "ingress --degree 0 --year 6000 --lat 1 --lon 1",
                            "lunation --phase full --date 31.02.2025 --gmt 0 --lat 1 --lon 1"})
        EXPECT_EQ(run(bad).status, 1) << bad;
}

}  // namespace
}  // namespace orbeta
