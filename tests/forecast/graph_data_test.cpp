// The data of the graphic forecast and ephemerides: periods, the profile strings,
// bars and their levels, motion letters in the method's time scale, labels at the
// cursor, and the curves' wraps across the modulus.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "../core/ephemeris_fixture.h"
#include "../support/scratch_computation.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "data/settings.h"
#include "forecast/graph_ephemeris.h"
#include "forecast/graph_forecast.h"
#include "forecast/graph_layout.h"
#include "forecast/graph_settings.h"

namespace orbeta {
namespace {

double Jd(const char* text) {
    return JulianDayOfDateTimeText(text);
}

TEST(GraphPeriod, KindsDivisionsAndRefusals) {
    const struct {
        int kind;
        const char *start, *end, *year, *month;
        const char* refusal;
        const char *from, *to;
        int divisions;
    } cases[] = {
        {0, "01.01.2006 12:00", "01.03.2006", "", "", "", "01.01.2006 12:00", "01.03.2006", 10},
        {1, "", "", "2024", "", "", "01.01.2024", "01.01.2025", 24},
        {2, "", "", "2024", "12", "", "01.12.2024", "01.01.2025", 31},  // December rolls over
        {2, "", "", "2024", "2", "", "01.02.2024", "01.03.2024", 29},   // leap February
        {2, "", "", "2023", "2", "", "01.02.2023", "01.03.2023", 28},
        {0, "01.03.2006", "01.03.2006", "", "", "N>K", "", "", 0},  // end = start
        {0, "02.03.2006", "01.03.2006", "", "", "N>K", "", "", 0},
        {0, "31.02.2006", "01.03.2006", "", "", "erdt", "", "", 0},
        {0, "", "01.03.2006", "", "", "erdt", "", "", 0},
        {2, "", "", "2024", "13", "erdt", "", "", 0},
        {2, "", "", "2024", "", "erdt", "", "", 0},
        {1, "", "", "20x4", "", "erdt", "", "", 0},
        {1, "", "", "", "", "erdt", "", "", 0},
    };
    for (const auto& c : cases) {
        GraphPeriodInput in{c.kind, c.start, c.end, c.year, c.month};
        GraphPeriod p;
        std::string refusal = MakeGraphPeriod(in, p);
        SCOPED_TRACE(std::string(c.start) + "|" + c.year + "|" + c.month);
        EXPECT_EQ(refusal, c.refusal);
        if (!refusal.empty()) continue;
        EXPECT_DOUBLE_EQ(p.start, Jd(c.from));
        EXPECT_DOUBLE_EQ(p.end, Jd(c.to));
        EXPECT_EQ(p.divisions, c.divisions);
    }
}

TEST(GraphSettings, TextsWithBlanksAndEmptyFieldsKeepEveryLaterField) {
    ForecastSettings f;
    f.startText = "01.01.2006 12:00";
    f.endText = "";
    f.current = 1;
    f.matrix = 2;
    f.hideMotion = 0;
    f.bodyMask = 0x3FF;
    f.natalMask = 0x1000001;
    f.periodKind = 0;
    f.yearText = "";
    f.monthText = "";
    ForecastSettings back = ParseForecastSettings(ForecastSettingsText(f));
    EXPECT_EQ(back.startText, f.startText);
    EXPECT_EQ(back.endText, "");
    EXPECT_EQ(ForecastSettingsText(back), ForecastSettingsText(f));

    // The profile keeps 78 characters: long dates give way, later fields stay.
    f.startText = f.endText = "01.01.2006 12:00:30";
    f.natalMask = kPointMaskAll;
    f.yearText = "-4712";
    f.monthText = "12";
    std::string longest = ForecastSettingsText(f);
    EXPECT_LE(longest.size(), 78u);
    back = ParseForecastSettings(longest);
    EXPECT_EQ(back.monthText, "12");
    EXPECT_EQ(back.natalMask, kPointMaskAll);

    // The old blank-separated form, a time after the date; fields out of range clamped.
    ForecastSettings old =
        ParseForecastSettings("01.01.2006 12:00 01.03.2006 1 7 9 0 65535 -1 5 2024 12");
    EXPECT_EQ(old.startText, "01.01.2006 12:00");
    EXPECT_EQ(old.endText, "01.03.2006");
    EXPECT_EQ(old.current, 1);
    EXPECT_EQ(old.vertical, 1);
    EXPECT_EQ(old.matrix, 2);
    EXPECT_EQ(old.bodyMask, kBodyMaskAll);
    EXPECT_EQ(old.natalMask, kPointMaskAll);
    EXPECT_EQ(old.periodKind, 2);
    EXPECT_EQ(old.yearText, "2024");
    EXPECT_EQ(old.monthText, "12");

    EphemerisSettings e;
    e.modulus = 90;
    e.startText = "";
    e.endText = "05.05.2005 10:30";
    e.yearText = "";
    e.monthText = "";
    e.bodyMask = 5;
    EphemerisSettings eb = ParseEphemerisSettings(EphemerisSettingsText(e));
    EXPECT_EQ(EphemerisSettingsText(eb), EphemerisSettingsText(e));
    EXPECT_EQ(eb.bodyMask, 5u);
    EphemerisSettings def = ParseEphemerisSettings(Settings().gef);
    EXPECT_EQ(def.modulus, 30);
    EXPECT_EQ(def.monthText, "3");
    EXPECT_EQ(def.natalMask, kBodyMaskAll);
    EXPECT_FALSE(IsListedModulus(ParseEphemerisSettings("7 2").modulus));
}

HitRecord Hit(int a, int b, double start, double end, double exact = -1) {
    HitRecord h;
    h.a = static_cast<uint8_t>(a);
    h.b = static_cast<uint8_t>(b);
    h.start = start;
    h.end = end;
    h.aspect = 90;
    if (exact >= 0) {
        h.exact[0] = exact;
        h.exactCount = 1;
    }
    return h;
}

TEST(GraphBars, ModesMatricesAndDamagedRecords) {
    std::vector<HitRecord> hits = {Hit(2, 3, 10, 20), Hit(1, 2, 15, 25, 18), Hit(2, 5, 30, 40),
                                   Hit(2, 40, 10, 20), Hit(2, 3, NAN, 20)};
    auto partners = [&](const ForecastOptions& o, int point) {
        std::vector<int> v;
        for (const auto& b : BandBars(hits, point, o)) v.push_back(b.partner);
        return v;
    };
    ForecastOptions natal;
    EXPECT_EQ(partners(natal, 2), (std::vector<int>{3, 5}));
    ForecastOptions vertical;
    vertical.vertical = true;
    EXPECT_EQ(partners(vertical, 2), (std::vector<int>{1}));
    ForecastOptions current;
    current.current = true;
    current.matrix = 0;
    EXPECT_EQ(partners(current, 2), (std::vector<int>{3, 5}));
    current.matrix = 1;
    EXPECT_EQ(partners(current, 2), (std::vector<int>{1}));
    current.matrix = 2;
    EXPECT_EQ(partners(current, 2), (std::vector<int>{3, 1, 5}));  // file order

    auto bars = BandBars(hits, 2, current);
    EXPECT_EQ(bars[0].level, 0);
    EXPECT_EQ(bars[1].level, 1);  // overlaps the first
    EXPECT_EQ(bars[2].level, 0);  // after both
    EXPECT_EQ(bars[1].exact, 18);
    EXPECT_EQ(bars[0].exact, -1);
    // One level: the band's middle; more: spread above the bottom.
    EXPECT_EQ(BarOffset(0, 0, 40), 20);
    EXPECT_EQ(BarOffset(0, 1, 40), 13);
    EXPECT_EQ(BarOffset(1, 1, 40), 26);
    EXPECT_EQ(BarOffset(0, 50, 10), 1);
}

TEST(GraphFiles, TheFirstFreeName) {
    test::TempWorkDir work;
    std::filesystem::path dir = work.Path();
    EXPECT_EQ(FreeGraphFileName(dir), dir / "a0001.tmp");
    work.WriteFile("a0001.tmp", "");
    std::filesystem::create_symlink("nowhere", dir / "a0002.tmp");
    EXPECT_EQ(FreeGraphFileName(dir), dir / "a0003.tmp");
}

TEST(GraphLayouts, NoBandsAndPrinterRows) {
    GraphLayout none = ForecastLayout(1600, 900, false, 96, 0);
    EXPECT_EQ(none.rowPitch, 0);
    GraphLayout four = ForecastLayout(1600, 900, false, 96, 4);
    EXPECT_EQ(four.y1 - four.y0, 4 * four.rowPitch);
    EXPECT_EQ(ForecastLayout(2480, 3508, true, 300, 4).rowHeight, 50);
    EXPECT_EQ(EphemerisLayout(3508, 2480, true).rowHeight, 2480 * 30 / 2000);
    EXPECT_EQ(EphemerisLayout(2480, 3508, true).rowHeight, 3508 * 30 / 2900);
}

class GraphEphemeris : public test::EphemerisTest {
  protected:
    ChartRecord Natal(const char* date = "16.05.1945 05:00") {
        ChartRecord r;
        r.jdUT = Jd(date);
        r.jdLocal = r.jdUT;
        r.jdCalc = r.jdUT;
        r.latitude = 55.45;
        r.longitude = 37.37;
        r.houseSystem = 3;
        ComputeChart(test::Scratch(), r, r, kNatal);
        return r;
    }
    GraphPeriod Year(int year) {
        GraphPeriod p;
        MakeGraphPeriod({kPeriodYear, "", "", std::to_string(year), ""}, p);
        return p;
    }
    int Wraps(int method, int modulus, uint32_t bodies, int body, bool top, bool trueNode = false) {
        Computation c;
        c.context.options.trueNode = trueNode;
        EphemerisModel m = BuildEphemerisModel(c, Natal(), method, Year(2025), modulus, bodies, 0,
                                               Year(2025).start);
        GraphLayout l = EphemerisLayout(1600, 900, false);
        std::vector<BodyCurve> curves;
        std::vector<CurveWrap> wraps;
        BuildCurves(m, {l.x0, l.x1, l.y0, l.y1}, curves, wraps);
        int n = 0;
        for (const auto& w : wraps) n += w.body == body && w.top == top;
        return n;
    }
};

TEST_F(GraphEphemeris, WrapsAcrossTheModulus) {
    EXPECT_EQ(Wraps(1, 360, 1, SUN, true), 1);
    EXPECT_EQ(Wraps(1, 30, 1, SUN, true), 12);
    EXPECT_EQ(Wraps(1, 30, 1, SUN, false), 0);
    // Mercury, retrograde from 9° Aries back into Pisces in March 2025, crosses 0°
    // backwards once and forwards again.
    EXPECT_EQ(Wraps(1, 360, 4, MER, false), 1);
    EXPECT_EQ(Wraps(1, 360, 4, MER, true), 2);
    // Under the nodal chart of the true node the Sun steps back now and then, by a
    // pixel: not a wrap each time. It moves some 20° a year.
    EXPECT_LE(Wraps(15, 30, 1, SUN, true, true) + Wraps(15, 30, 1, SUN, false, true), 1);
}

TEST_F(GraphEphemeris, NodalChartCurvesAreNotFlatAndStepsCount) {
    GraphPeriod month;
    MakeGraphPeriod({kPeriodMonth, "", "", "2025", "3"}, month);
    EphemerisModel m =
        BuildEphemerisModel(test::Scratch(), Natal(), 15, month, 30, 1, 0, month.start);
    ASSERT_EQ(m.jd.size(), 32u);  // the end day included
    EXPECT_GT(std::fabs(m.lon.back()[0] - m.lon.front()[0]), 1.0);
    EXPECT_EQ(EphemerisStepCount(0, 0), 1);
    EXPECT_EQ(EphemerisStepCount(1, 0), 0);
}

TEST_F(GraphEphemeris, StationsAtRealMomentsForEveryMethod) {
    ChartRecord natal = Natal();
    const struct {
        int method;
        const char *from, *to;
    } cases[] = {{1, "01.01.2025", "01.06.2025"},
                 {8, "01.01.2025", "01.01.2026"},
                 {17, "01.01.2025", "01.06.2025"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        BodyMotion motion =
            FindBodyMotion(test::Scratch(), MER, Jd(c.from), Jd(c.to), c.method, natal);
        ASSERT_FALSE(motion.stations.empty());
        for (double t : motion.stations) {
            ASSERT_GT(t, Jd(c.from));
            ASSERT_LT(t, Jd(c.to));
            // The ephemeris moment of the real one: the speed turns there.
            double x = CalculationMoment(c.method, t, natal);
            double f = ProgressionFactor(c.method);
            double before = CalcBody(test::Scratch(), x - 2.0 / 1440 / f, MER).speed;
            double after = CalcBody(test::Scratch(), x + 2.0 / 1440 / f, MER).speed;
            EXPECT_LT(before * after, 0) << DateTimeText(t);
        }
    }
    // Day for a week: Mercury turns direct on 07.02.2025 at 22:24 UT.
    BodyMotion week =
        FindBodyMotion(test::Scratch(), MER, Jd("01.01.2025"), Jd("01.01.2026"), 8, natal);
    auto marks = MotionMarks(week, Jd("01.01.2025"), Jd("01.01.2026"));
    bool found = false;
    for (const auto& m : marks)
        if (m.letter == 'd' && std::fabs(m.jd - Jd("07.02.2025 22:24")) < 10.0 / 1440) found = true;
    EXPECT_TRUE(found);
    // A bar inside a retrograde stretch (15.03 to 07.04.2025) has one letter.
    BodyMotion natal1 =
        FindBodyMotion(test::Scratch(), MER, Jd("01.01.2025"), Jd("01.06.2025"), 1, natal);
    ASSERT_EQ(natal1.stations.size(), 2u);
    auto inside = MotionMarks(natal1, Jd("20.03.2025"), Jd("30.03.2025"));
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_EQ(inside[0].letter, 'r');
    auto across = MotionMarks(natal1, Jd("01.04.2025"), Jd("10.04.2025"));
    ASSERT_EQ(across.size(), 2u);
    EXPECT_EQ(across[1].letter, 'd');
}

TEST_F(GraphEphemeris, TheCursorMovesLabelsAndLegend) {
    ChartRecord natal = Natal();
    GraphPeriod year = Year(2025);
    ForecastOptions o;
    o.bodyMask = 2;  // the Moon
    o.natalMask = 1;
    ForecastModel m = BuildForecastModel(test::Scratch(), {}, natal, 1, year, o, year.start);
    ASSERT_EQ(m.bands.size(), 1u);
    double before = m.bands[0].label.lon;
    SetForecastCursor(test::Scratch(), m, year.start + 1);
    EXPECT_GT(std::fabs(m.bands[0].label.lon - before), 10.0);
    EXPECT_DOUBLE_EQ(m.legend[0].lon, natal.lon[SUN]);  // the natal partner stays

    EphemerisModel e = BuildEphemerisModel(test::Scratch(), natal, 1, year, 30, 1, 0, year.start);
    double sun = e.legend[0].lon;
    SetEphemerisCursor(test::Scratch(), e, year.start + 10);
    EXPECT_GT(std::fabs(e.legend[0].lon - sun), 5.0);
}

}  // namespace
}  // namespace orbeta
