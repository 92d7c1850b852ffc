// The tables over the search: ingresses, stations and loops, the period line, the
// sign periods and next aspects of the horary lists, and orbeta-cli search.
#include "forecast/search_tables.h"
#include "../support/scratch_computation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "../core/ephemeris_fixture.h"
#include "../support/test_support.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "forecast/horary_search.h"
#include "platform/codepage.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"
#include "shown_report.h"

namespace orbeta {
namespace {

constexpr double kSecond = 1.0 / 86400;
double At(int d, int m, int y, int h = 0, int mi = 0, double s = 0) {
    return JulianDay({d, m, y, h, mi, 0}) + s * kSecond;
}

class Tables : public test::EphemerisTest {
  protected:
    void SetUp() override {
        test::EphemerisTest::SetUp();
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
    }
};

TEST(PeriodLine, ColumnsAndFurtherExactMoments) {
    HitRecord h;
    h.start = At(1, 2, 2025, 10, 20, 30);
    h.end = At(3, 2, 2025, 4, 5, 6);
    h.exact[0] = At(2, 2, 2025, 1, 2, 3);
    h.exact[1] = At(2, 2, 2025, 20, 0, 0);
    h.exactCount = 2;
    std::string text = PeriodLine(h, "desc", 0);
    auto nl = text.find('\n');
    std::string first = text.substr(0, nl);
    EXPECT_EQ(first.substr(0, 21), " 01.02.2025 10:20:30 ");
    EXPECT_EQ(first.substr(22, 21), "02.02.2025 01:02:03  ");
    EXPECT_EQ(first.substr(43, 21), " 03.02.2025 04:05:06 ");
    EXPECT_EQ(first.substr(64), "desc");
    EXPECT_EQ(text.substr(nl + 1), std::string(22, ' ') + "02.02.2025 20:00:00 \n");
    // Precision 1 cuts the seconds, 2 the time; without exact moments column 22 stays blank.
    h.exactCount = 0;
    std::string cut = PeriodLine(h, "x", 1);
    EXPECT_EQ(cut.substr(0, 22), " 01.02.2025 10:20     ");
    EXPECT_EQ(cut.substr(22, 21), std::string(21, ' '));
    EXPECT_EQ(PeriodLine(h, "x", 2).substr(43, 21), " 03.02.2025          ");
}

// Saturn goes back from Aries into Pisces on 01.09.2025 at 08:06:01.75 UT (swetest
// at one-second steps).
TEST_F(Tables, SaturnBackIntoPisces) {
    ChartRecord base;
    base.jdUT = base.jdCalc = At(1, 1, 2025);
    base.houseSystem = 3;
    ComputeChart(test::Scratch(), base, base, 1);
    SearchRequest rq;
    rq.start = At(1, 1, 2025);
    rq.end = At(31, 12, 2025);
    rq.movingMask = 1u << (SAT - 1);
    rq.targetMask = 0xfff;
    PrepareTableRequest(kTableIngress, rq, nullptr);
    rq.pairs = MakePairs(kTableIngress, rq, base);
    TableResult r = RunTable(test::Scratch(), kTableIngress, rq, base, "allob.tmp", 0);
    // Into Aries 25.05, back into Pisces 01.09.
    ASSERT_EQ(r.hits.size(), 2u);
    EXPECT_NEAR(r.hits[1].start, At(1, 9, 2025, 8, 6, 1.75), 1 * kSecond);
    std::string line = " 01.09.2025 08:06:02  " + PointShortName(SAT);
    auto at = r.text.find(line);
    ASSERT_NE(at, std::string::npos) << r.text;
    EXPECT_EQ(r.text.substr(at + 22, 200).find(SignName(11)), 9u) << r.text;
    EXPECT_NE(r.text.find(SignName(0)), std::string::npos);
}

// "Прервать" after ten steps: the table of what was found is still written and shown.
TEST_F(Tables, InterruptedTableIsShown) {
    struct Stopping : test::ShownReport {
        int steps = 0;
        void ProgressStepped(int) override {
            if (++steps == 10) AbortProgress();
        }
    } stop;
    ChartRecord natal;
    natal.jdUT = natal.jdCalc = At(16, 5, 1945, 2);
    ComputeChart(test::Scratch(), natal, natal, 1);
    SearchRequest rq;
    rq.start = At(1, 1, 2025);
    rq.end = At(1, 4, 2025);
    rq.aspects = {0, 90, 180};
    rq.movingMask = 1u << (MON - 1);
    rq.targetMask = 1023;
    PrepareTableRequest(kTableNatal, rq, nullptr);
    rq.pairs = MakePairs(kTableNatal, rq, natal);
    ASSERT_TRUE(RunTableCommand(ChartContext{}, kTableNatal, rq, natal, "allob.tmp", 0));
    ASSERT_EQ(stop.shown.size(), 3u);
    EXPECT_EQ(stop.shown[1], TableTitle(kTableNatal));
    EXPECT_EQ(stop.shown[2], "ATnat");
    auto hits = ReadHitFile("allob.tmp");
    ASSERT_FALSE(hits.empty());
    EXPECT_LT(hits.back().start, rq.start + 9 + 1e-4);
    std::ifstream in(stop.shown[0], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(" Метод - "_cp), std::string::npos);
    // One line per record: the moving Moon right after the moment.
    size_t lines = 0;
    std::string line, moon = " " + PointShortName(MON) + " ";
    while (std::getline(text, line))
        if (line.size() > 21 && line.compare(21, moon.size(), moon) == 0) ++lines;
    EXPECT_EQ(lines, hits.size());
}

// Mercury 2025: turns retrograde 15.03 at 9 Aries, direct 07.04 at 26 Pisces (swetest
// speeds at minute steps: 06:46:06 and 11:07:37 UT); the loop runs across 0 Aries.
TEST_F(Tables, MercuryStationsAndLoopAcrossAries) {
    ChartRecord base;
    base.jdUT = base.jdCalc = At(1, 1, 2025);
    ComputeChart(test::Scratch(), base, base, 1);
    SearchRequest rq;
    rq.start = At(1, 1, 2025);
    rq.end = At(1, 7, 2025);
    rq.planet = MER;
    PrepareTableRequest(kTableLoops, rq, nullptr);
    TableResult r = RunTable(test::Scratch(), kTableLoops, rq, base, "allob.tmp", 0);
    ASSERT_GE(r.stations.size(), 2u);
    EXPECT_TRUE(r.stations[0].retrograde);
    EXPECT_NEAR(r.stations[0].moment, At(15, 3, 2025, 6, 46, 6), 60 * kSecond);
    EXPECT_NEAR(r.stations[1].moment, At(7, 4, 2025, 11, 7, 37), 60 * kSecond);
    ASSERT_EQ(r.loops.size(), 1u);
    const LoopRecord& loop = r.loops[0];
    // The shadow: entry at the direct station's longitude, exit at the retrograde's.
    EXPECT_NEAR(Difference(BodyLongitude(test::Scratch(), loop.entry, MER), r.stations[1].lon), 0,
                1e-4);
    EXPECT_NEAR(Difference(BodyLongitude(test::Scratch(), loop.exit, MER), r.stations[0].lon), 0,
                1e-4);
    EXPECT_LT(loop.entry, loop.retrograde);
    EXPECT_GT(loop.exit, loop.direct);
    EXPECT_NE(r.text.find(" R\n"), std::string::npos);
    // Stations under a progressed method come back as real moments.
    std::vector<StationRecord> st;
    ChartRecord natal = base;
    natal.jdUT = natal.jdCalc = At(1, 1, 1990);
    ComputeChart(test::Scratch(), natal, natal, 1);
    FindStations(test::Scratch(), MER, At(1, 1, 1995), At(1, 1, 2030), 6, natal, st);
    ASSERT_FALSE(st.empty());
    for (const auto& s : st) {
        double x = CalculationMoment(6, s.moment, natal);
        EXPECT_LE(CalcBody(test::Scratch(), x - 0.01, MER).speed *
                      CalcBody(test::Scratch(), x + 0.01, MER).speed,
                  0)
            << s.moment;
    }
}

TEST_F(Tables, SignPeriodsEndAtTheFirstBoundary) {
    SignPeriod p;
    int checked = 0, wrong = 0;
    // Fresh passes from moments all through the signs, Mercury at every speed; the
    // first four once found a later boundary (the coarse step jumped the crossing).
    std::vector<double> moments = {At(9, 5, 2000, 8, 38, 24), At(16, 5, 2000, 6, 57, 36),
                                   At(10, 4, 2001, 20, 24, 0), At(20, 4, 2001, 20, 38, 24)};
    for (double t = At(1, 1, 2002); t < At(1, 1, 2003); t += 1.3) moments.push_back(t);
    for (double t : moments) {
        p = {};
        p.body = MER;
        FindSignPeriod(test::Scratch(), t, p);
        ++checked;
        ASSERT_TRUE(p.ValidAt(t));
        // Out of the sign just beyond both ends, in it just inside.
        bool ok = SignOf(BodyLongitude(test::Scratch(), p.end + 0.001, MER)) != p.sign &&
                  SignOf(BodyLongitude(test::Scratch(), p.end - 0.001, MER)) == p.sign &&
                  SignOf(BodyLongitude(test::Scratch(), p.begin - 0.001, MER)) != p.sign &&
                  SignOf(BodyLongitude(test::Scratch(), p.begin + 0.001, MER)) == p.sign;
        if (!ok && ++wrong < 5) ADD_FAILURE() << DateTimeText(t);
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(checked, 100);
    // A period does not cover a moment before its beginning.
    SignPeriod q = p;
    EXPECT_FALSE(q.ValidAt(q.begin - 1));
    FindSignPeriod(test::Scratch(), q.begin - 1, q);
    EXPECT_LE(q.begin, q.moment);
    EXPECT_GT(q.end, q.moment);
}

// Jupiter and Saturn in Libra: from 01.02.1981 the next conjunction is that of
// 04.03.1981, not the past one of 31.12.1980.
TEST_F(Tables, NextAspectFromTheCallersMoment) {
    double t = At(1, 2, 1981);
    SignPeriod j, s;
    j.body = JUP;
    s.body = SAT;
    FindSignPeriod(test::Scratch(), t, j);
    FindSignPeriod(test::Scratch(), t, s);
    ASSERT_LT(std::max(j.begin, s.begin), At(31, 12, 1980));
    NextAspect a;
    ASSERT_TRUE(FindNextAspect(test::Scratch(), j, s, t, a));
    EXPECT_EQ(a.aspect, 0);
    EXPECT_EQ(DateText(a.exact), "04.03.1981");
    EXPECT_NEAR(Difference(BodyLongitude(test::Scratch(), a.exact, JUP),
                           BodyLongitude(test::Scratch(), a.exact, SAT)),
                0, 1e-5);
}

TEST_F(Tables, HoraryDayListsTheVoidMoon) {
    ChartRecord c;
    c.jdLocal = At(10, 3, 2025);
    c.gmtCorr = -3.0 / 24;
    c.jdUT = c.jdCalc = c.jdLocal + c.gmtCorr;
    ComputeChart(test::Scratch(), c, c, 1);
    std::vector<NextAspect> found;
    std::vector<VoidOfCourse> voids;
    std::string text = HoraryDayText(test::Scratch(), c, 0, &found, &voids);
    ASSERT_FALSE(voids.empty());
    EXPECT_NE(text.find(" Луна без курса \n"_cp), std::string::npos);
    for (const auto& v : voids) {
        EXPECT_LE(v.begin, v.end);
        // No Moon aspect falls inside its void period.
        for (const auto& a : found)
            if (a.bodyA == MON || a.bodyB == MON) {
                EXPECT_FALSE(a.exact > v.begin + 1e-9 && a.exact < v.end);
            }
    }
    HoraryChartList list = ComputeHoraryChartList(test::Scratch(), c);
    ASSERT_FALSE(list.list.empty());
    EXPECT_EQ(list.matrix[0][0], 999.0f);
    EXPECT_NEAR(list.matrix[1][0], Separation(c.lon[SUN], c.lon[MON]), 1e-4);
    auto sep = std::find_if(list.list.begin(), list.list.end(),
                            [](const NextAspect& a) { return a.bodyA == 0; });
    ASSERT_NE(sep, list.list.end());
    for (auto it = list.list.begin(); it != sep; ++it)
        if (it != list.list.begin() && std::prev(it)->bodyA != MON) {
            EXPECT_NE(it->bodyA, MON);
        }
}

// Given points: an exact moment is written once (the header has one date column);
// an orb period keeps its exit.
TEST_F(Tables, GivenPointLinesShowExactMomentsOnce) {
    SearchRequest rq;
    rq.start = At(1, 1, 2025);
    rq.end = At(1, 1, 2026);
    HitRecord h;
    h.start = h.end = At(20, 3, 2025, 9, 1, 29);
    h.a = SUN;
    h.b = 1;
    for (uint8_t exact : {1, 0}) {
        rq.exactMode = exact;
        std::string line = HitTableText(test::Scratch(), kTablePoints, rq, ChartRecord{}, {h}, 0);
        line = line.substr(line.find('\n', line.find('\n') + 1) + 1);  // after method and header
        EXPECT_EQ(line.substr(0, 21), " 20.03.2025 09:01:29 ");
        EXPECT_EQ(line.substr(43, 21),
                  exact ? std::string(21, ' ') : std::string(" 20.03.2025 09:01:29 "));
        EXPECT_EQ(line.substr(64, 3), PointShortName(SUN));
    }
}

// Half a day before the Moon leaves its sign: its exit stands right after the
// separator, then the aspects of its next sign, then the other bodies' exits.
TEST_F(Tables, HoraryListPutsTheMoonsExitBySeparator) {
    SignPeriod moon;
    moon.body = MON;
    FindSignPeriod(test::Scratch(), At(10, 3, 2025), moon);
    ChartRecord c;
    c.jdLocal = c.jdUT = c.jdCalc = moon.end - 0.5;
    ComputeChart(test::Scratch(), c, c, 1);
    HoraryChartList list = ComputeHoraryChartList(test::Scratch(), c);
    auto sep = std::find_if(list.list.begin(), list.list.end(),
                            [](const NextAspect& a) { return a.bodyA == 0; });
    ASSERT_NE(sep, list.list.end());
    ASSERT_NE(std::next(sep), list.list.end());
    const NextAspect& exit = *std::next(sep);
    EXPECT_EQ(exit.bodyA, MON);
    EXPECT_EQ(exit.aspect, -2);
    EXPECT_EQ(exit.bodyB, moon.sign);
    EXPECT_NEAR(exit.exact, moon.end, 1e-9);
    bool exits = false;
    for (auto it = std::next(sep, 2); it != list.list.end(); ++it) {
        if (it->aspect == -2) {
            exits = true;
            EXPECT_NE(it->bodyA, MON);
        } else {
            EXPECT_FALSE(exits) << "an aspect after the sign exits";
            EXPECT_EQ(it->bodyA, MON);
            EXPECT_GE(it->exact, moon.end);
        }
    }
}

class CliSearch : public ::testing::Test {
  protected:
    test::CommandResult Run(const std::string& args) {
        return test::RunCommand(
            std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " + work.Path() +
            "/ws search --date \"16.05.1945 05:00:00\" --gmt -3 --lat 55.45 --lon 37.37 " + args +
            " 2>" + work.Path() + "/stderr");
    }
    std::string Stderr() { return test::RunCommand("cat " + work.Path() + "/stderr").out; }
    test::TempWorkDir work;
};

TEST_F(CliSearch, JsonFieldsAndRefusals) {
    auto r = Run(
        "--table 2 --from \"01.01.2025 00:00\" --to \"01.02.2025 00:00\" --moving 2 --targets 1 "
        "--aspects \"0 90 180\" --json");
    ASSERT_EQ(r.status, 0) << Stderr();
    auto j = nlohmann::json::parse(r.out);
    for (const char* key : {"hits", "stations", "loops", "periods", "aspects", "voidOfCourse"})
        EXPECT_TRUE(j.contains(key)) << key;
    ASSERT_GE(j["hits"].size(), 3u);
    int pos = 0;
    for (const auto& h : j["hits"]) {
        for (const char* key : {"start", "end", "exact", "flags", "calcMethod", "a", "b", "type",
                                "aspect", "fixedLongitude", "orb", "filePos"})
            EXPECT_TRUE(h.contains(key)) << key;
        EXPECT_EQ(h["a"], 2);
        EXPECT_EQ(h["filePos"], pos);
        pos += 74;
    }
    auto text = Run(
        "--table 2 --from \"01.01.2025 00:00\" --to \"01.02.2025 00:00\" --moving 2 --targets 1");
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find(" Метод - "), std::string::npos) << text.out;
    const char* bad[] = {"--step 0", "--step -1", "--aspects \"0 x\"", "--points \"1 y\"",
                         "--moving 30"};
    for (const char* b : bad) {
        auto e = Run(
            std::string("--table 2 --from \"01.01.2025 00:00\" --to \"01.02.2025 00:00\" ") + b);
        EXPECT_EQ(e.status, 1) << b;
        EXPECT_FALSE(Stderr().empty()) << b;
    }
    EXPECT_EQ(Run("--table 2 --from erdt --to \"01.02.2025 00:00\"").status, 1);
    EXPECT_EQ(Run("--table 2 --from \"01.02.2025 00:00\" --to \"01.01.2025 00:00\"").status, 1);
}

}  // namespace
}  // namespace orbeta
