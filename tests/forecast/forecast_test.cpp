// The forecast report: keys, headings and house links, directions across 0 Aries,
// eclipses, the period checks, the merge of periods of one pair type only, and a
// search stopped by the user.
#include "forecast/forecast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../core/chart_fixture.h"
#include "../core/ephemeris_fixture.h"
#include "../support/scratch_computation.h"
#include "../support/test_support.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "forecast/forecast_report.h"
#include "forecast/forecast_text.h"
#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

double At(int d, int m, int y, int h = 0, int mi = 0) {
    return JulianDay({d, m, y, h, mi, 0});
}

HitRecord Record(uint8_t type, int a, int b, double aspect) {
    HitRecord h;
    h.type = type;
    h.a = static_cast<uint8_t>(a);
    h.b = static_cast<uint8_t>(b);
    h.aspect = aspect;
    return h;
}

// Moscow, 16.05.1945 05:00 local time (UT + 3), Placidus.
ChartRecord Natal() {
    ChartRecord r = test::NatalAt("16.05.1945 05:00:00", -3, 55.45, 37.37);
    r.calcMethod = 1;
    CopyText(r.name, "Test");
    return r;
}

OrbTable Table(std::initializer_list<float> angles, float orb) {
    OrbTable t;
    for (float a : angles) {
        AspectRecord r;
        r.angle = a;
        r.orbs.fill(orb);
        t.aspects.push_back(r);
    }
    return t;
}

class Forecast : public test::EphemerisTest {
  protected:
    void SetUp() override {
        test::EphemerisTest::SetUp();
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
    }
};

TEST(ForecastKey, ExamplesOfEveryType) {
    struct Case {
        HitRecord record;
        const char* key;
    } cases[] = {
        {Record(kTransitRecord, JUP, SUN, 90), "p06n01a090"},
        {Record(kProgressionRecord, MON, PointOfCusp(10), 120), "Rp02h10a120"},
        {Record(kProgressionRecord, MON, 10, 120), "Rp02n10a120"},
        {Record(kTransitHouseRecord, SAT, 10, 0), "p07x10"},
        {Record(kProgressedHouseRecord, PointOfCusp(1), 4, 0), "Rh01x04"},
        {Record(kMoonSignRecord, MON, 5, 0), "Rp02z05"},
        {Record(kDirectionRecord, PointOfCusp(10), MRS, 0), "Dh10n05a000"},
        {Record(kEclipseRecord, SUN, MRS, 0), "S+P05"},
        {Record(kEclipseRecord, MON, VEN, 180), "M-P04"},
        {Record(kEclipseRecord, SUN, PointOfCusp(10), 0), "S+H10"},
        {Record(7, SUN, SUN, 0), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ForecastKey(c.record), c.key) << int(c.record.type);
}

TEST(ForecastKeys, EveryMethodOfTheMasks) {
    ForecastMasks m;
    m.natal = 1u | 1u << 15;  // SUN, ASC
    m.methods = 127;
    m.transit = 1u << (SAT - 1);
    m.progressed = 1u << (MON - 1);
    m.directed = 1u << 24;  // MC
    auto keys = ForecastKeys(m, {0, 90}, {60}, {0});
    auto has = [&](const char* k) { return std::count(keys.begin(), keys.end(), k); };
    for (const char* k : {"p07n01a000", "p07h01a090", "p07x12", "Rp02n01a060", "Rp02x04", "Rp02z12",
                          "Dh10n01a000", "S+P01", "M-P01", "S+H01"})
        EXPECT_EQ(has(k), 1) << k;
    // Only the chosen points; an ascendant is met by conjunction only.
    for (const char* k : {"p01n01a000", "Rh01x04", "Dh10n01a060", "M-H01", "S+P02"})
        EXPECT_EQ(has(k), 0) << k;
    EXPECT_EQ(keys.size(), 4u + 12 + 2 + 12 + 12 + 2 + 6);
}

TEST(ForecastRecordUsable, OddRecordsAreSkipped) {
    HitRecord ok = Record(kTransitRecord, SUN, 27, 0);
    EXPECT_TRUE(ForecastRecordUsable(ok));
    HitRecord manyExact = ok;
    manyExact.exactCount = 4;
    HitRecord badPoint = Record(kTransitRecord, 28, 1, 0);
    HitRecord badHouse = Record(kTransitHouseRecord, SUN, 13, 0);
    HitRecord noPoint = Record(kDirectionRecord, 0, 1, 0);
    HitRecord eclipseOfMars = Record(kEclipseRecord, MRS, 1, 0);
    eclipseOfMars.exactCount = 1;
    HitRecord nanStart = ok;
    nanStart.start = std::nan("");
    for (const auto& h : {manyExact, badPoint, badHouse, noPoint, eclipseOfMars, nanStart})
        EXPECT_FALSE(ForecastRecordUsable(h)) << int(h.type) << " " << int(h.a) << " " << int(h.b);
}

// Directed points move a degree a year; the period of a directed Sun at 359.5 runs
// over 0 Aries.
TEST(Directions, AcrossZeroAries) {
    ChartRecord natal;
    natal.jdUT = 2460000.5;
    for (int b = 1; b <= kBodyCount; ++b) natal.speed[b] = 1;
    natal.lon[SUN] = 359.5;
    natal.lon[MER] = 0.2;     // met after 0.7 of the year
    natal.lon[VEN] = 359.75;  // after 0.25
    natal.lon[MRS] = 10;      // not met
    ForecastRequest rq;
    rq.masks.methods = 1u << kForecastDirections;
    rq.masks.directed = 1;
    rq.masks.natal = 1u << (MER - 1) | 1u << (VEN - 1) | 1u << (MRS - 1);
    rq.directionOrbs = Table({0}, 1);
    double start = natal.jdUT, end = natal.jdUT + kDirectionYear;
    auto found = DirectionRecords(rq, natal, start, end);
    ASSERT_EQ(found.size(), 2u);
    for (const auto& h : found) {
        double share = h.b == MER ? 0.7 : 0.25;
        EXPECT_NEAR(h.exact[0], start + share * kDirectionYear, 1e-6) << int(h.b);
        EXPECT_NEAR(h.end - h.exact[0], kDirectionYear, 1e-9);
        EXPECT_EQ(h.type, kDirectionRecord);
        EXPECT_EQ(h.calcMethod, kDegreeDirections);
    }
    // A period of no length meets only what stands at its beginning.
    natal.lon[MER] = 359.5;
    auto still = DirectionRecords(rq, natal, start, start);
    ASSERT_EQ(still.size(), 1u);
    EXPECT_EQ(still[0].exact[0], start);
}

TEST_F(Forecast, ReversedOrEmptyPeriodIsRefused) {
    ChartRecord natal = Natal();
    ForecastRequest rq;
    rq.masks = kShippedForecastMasks;
    rq.directionOrbs = Table({0, 90}, 1);
    for (double days : {-1.0, 0.0}) {
        rq.start = At(1, 1, 2025);
        rq.end = rq.start + days;
        EXPECT_EQ(CheckForecastRequest(rq), LookupText("N>K"));
        ForecastRun run = RunForecast(test::Scratch(), rq, natal, "allob.tmp");
        EXPECT_FALSE(run.ok);
        EXPECT_TRUE(run.records.empty());
        EXPECT_EQ(work.Read("allob.tmp"), "<missing>");
    }
}

TEST_F(Forecast, EclipseWindowAndHeadings) {
    // Influence 30 days before and 180 after a solar eclipse: the eclipse of 29.03.2025
    // still acts in June.
    EclipseInfluence e;
    e.before[0] = 30;
    e.after[0] = 180;
    double from, to;
    EclipseSearchWindow(e, 0, At(1, 6, 2025), At(31, 12, 2025), from, to);
    std::vector<EclipseRecord> list;
    FindEclipses(test::Scratch(), list, from, to, kSolarEclipse);
    ASSERT_FALSE(list.empty());
    EXPECT_NEAR(list.front().moment, At(29, 3, 2025, 11), 0.1);

    ChartRecord natal = Natal();
    struct Case {
        int a, b;
        double aspect;
        const char* heading;
    } cases[] = {
        {SUN, PointOfCusp(2), 0, " Солнечное затмение на вершине 2-го дома"},
        {SUN, MON, 0, " Солнечное затмение на натальной Луне"},
        {MON, VEN, 180, " Лунное затмение в оппозиции к натальной Венере"},
        {MON, MRS, 180, " Лунное затмение в оппозиции к натальному Марсу"},
        {SUN, PointOfCusp(1), 0, " Солнечное затмение на натальном Асценденте"},
        {SUN, PointOfCusp(10), 0, " Солнечное затмение на натальном MC"},
    };
    for (const auto& c : cases) {
        HitRecord h = Record(kEclipseRecord, c.a, c.b, c.aspect);
        h.exact[0] = list.front().moment;
        h.exactCount = 1;
        h.flags = 3;
        std::string heading = AnsiToUtf8(ForecastHeading(test::Scratch(), natal, h, true));
        EXPECT_EQ(heading.rfind(c.heading, 0), 0u) << heading;
        EXPECT_NE(heading.find(" [Частное] ("), std::string::npos) << heading;
    }

    // A cusp is touched by conjunction only, a body by opposition as well.
    ForecastRequest rq;
    rq.masks.natal = 1u << (SUN - 1) | 1u << (PointOfCusp(1) - 1);
    for (auto& orbs : rq.eclipses.orbs) orbs.fill(180.1);
    auto records = EclipseRecords(test::Scratch(), rq, natal, {list.front()});
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(std::count_if(records.begin(), records.end(),
                            [](const HitRecord& h) { return h.aspect == 180; }),
              1);
    EXPECT_DOUBLE_EQ(records[0].end - records[0].exact[0], 180);
}

TEST_F(Forecast, HouseLinksOnAFixture) {
    ChartRecord natal;
    for (int k = 1; k <= 12; ++k) natal.cusp[k] = 30.0 * (k - 1) + 10;  // cusp k in sign k - 1
    natal.lon[MRS] = 100;                                               // house 4
    natal.lon[VEN] = 5;                                                 // house 12
    natal.speed[MRS] = natal.speed[VEN] = 1;
    EXPECT_EQ(AnsiToUtf8(RulershipText(natal, MRS)), "У1 Д4 ");
    EXPECT_EQ(AnsiToUtf8(RulershipText(natal, VEN)), "У2 У7 Д12 ");
    HitRecord h = Record(kTransitRecord, MRS, PointOfCusp(10), 90);
    EXPECT_EQ(LinkB(natal, h), "( 10)");
    h.b = VEN;
    EXPECT_EQ(AnsiToUtf8(LinkB(natal, h)), "(У2 У7 Д12 )");
    EXPECT_EQ(LinkB(natal, Record(kTransitHouseRecord, MRS, 3, 0)), "");
    // Transit Mars stands at 3 Leo on 01.01.2025 (house 4) and at 29 Leo on 15.06.2025
    // (house 5).
    h.start = At(1, 1, 2025);
    h.end = At(15, 6, 2025);
    h.calcMethod = 1;
    EXPECT_EQ(AnsiToUtf8(LinkA(test::Scratch(), natal, h)), "(У1 Д4 4 5 )");
    EXPECT_EQ(AnsiToUtf8(ForecastHeading(test::Scratch(), natal, h, true)),
              " Транз.Марс (У1 Д4 4 5 )  90.0 с нат.Венерой (У2 У7 Д12 )\n");
    EXPECT_EQ(AnsiToUtf8(ForecastHeading(test::Scratch(), natal, h, false)),
              " Транз.Марс   90.0 с нат.Венерой \n");
}

// A hit file that cannot be written: the warning, and the report begun is dropped.
TEST_F(Forecast, UnwritableHitFileDropsTheReport) {
    std::filesystem::create_directory(work.Path() + "/allob.tmp");
    ForecastRequest rq;
    rq.start = At(1, 1, 2025);
    rq.end = At(2, 1, 2025);
    rq.masks = kShippedForecastMasks;
    ForecastReport report = RunForecastReport(test::Scratch(), rq, Natal(), "allob.tmp", 0, {});
    EXPECT_FALSE(report.shown);
    EXPECT_FALSE(report.run.ok);
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_NE(AnsiToUtf8(services.warnings[0]).find("allob.tmp"), std::string::npos);
    EXPECT_EQ(work.Read("r0001.tmp"), "<missing>");
    EXPECT_TRUE(ReportPath().empty());
}

// The progressed Moon of the Moscow chart goes from Cancer into Leo in 2028..2029 and
// passes through house 4: periods of its signs and its houses are never merged.
TEST_F(Forecast, PeriodsContinueOnlyWithTheSameType) {
    ChartRecord natal = Natal();
    ForecastRequest rq;
    rq.start = At(1, 2, 2028);
    rq.end = At(1, 1, 2030);
    rq.correction = natal.gmtCorr;
    rq.masks.methods = 1u << kForecastProgressedHouses | 1u << kForecastMoonSigns;
    rq.masks.progressed = 1u << (MON - 1);
    ForecastRun run = RunForecast(test::Scratch(), rq, natal, "allob.tmp");
    ASSERT_TRUE(run.ok) << run.error;
    PointSampler progressed(test::Scratch(), natal, kSecondary);
    int signs = 0, houses = 0;
    for (const auto& h : run.records) {
        ASSERT_TRUE(h.type == kMoonSignRecord || h.type == kProgressedHouseRecord);
        // Just inside either end of the period the Moon is in its sign or house.
        for (double t : {h.start + 0.01, (h.start + h.end) / 2, h.end - 0.01}) {
            double lon = progressed.Longitude(MON, t);
            if (h.type == kMoonSignRecord)
                EXPECT_EQ(SignOf(lon) + 1, h.b) << DateTimeText(t);
            else
                EXPECT_EQ(HouseOf(lon, natal.cusp), h.b) << DateTimeText(t);
        }
        (h.type == kMoonSignRecord ? signs : houses) += 1;
    }
    EXPECT_EQ(signs, 2);
    EXPECT_GE(houses, 1);
    auto entries = ForecastEntries(test::Scratch(), natal, rq, run.records, 1);
    bool leo = std::any_of(entries.begin(), entries.end(), [](const ForecastEntry& e) {
        return AnsiToUtf8(e.heading) == " Прогр.Луна во Льве\n";
    });
    EXPECT_TRUE(leo);
}

// Services that stop the first search after a few steps.
struct StopFirstSearch : test::RecordingServices {
    void ProgressStarted(int) override { ++searches; }
    void ProgressStepped(int) override {
        if (searches == 1 && ++steps == 5) AbortProgress();
    }
    int searches = 0, steps = 0;
};

TEST_F(Forecast, StoppedTransitSearchStillGivesProgressions) {
    ChartRecord natal = Natal();
    StopFirstSearch stop;
    ForecastRequest rq;
    rq.start = At(1, 1, 2025);
    rq.end = At(1, 1, 2026);
    rq.masks = kShippedForecastMasks;
    rq.masks.methods = 1u << kForecastTransits | 1u << kForecastMoonSigns;
    rq.transitOrbs = Table({0, 90}, 2);
    ForecastRun run = RunForecast(test::Scratch(), rq, natal, "allob.tmp");
    ASSERT_TRUE(run.ok);
    EXPECT_TRUE(run.transits.aborted);
    EXPECT_EQ(run.transits.steps, 4);
    EXPECT_FALSE(run.progressions.aborted);
    // The progressed Moon goes on from Gemini into Cancer in December.
    EXPECT_EQ(std::count_if(run.records.begin(), run.records.end(),
                            [](const HitRecord& h) { return h.type == kMoonSignRecord; }),
              2);
    EXPECT_TRUE(std::is_sorted(run.records.begin(), run.records.end(),
                               [](const HitRecord& x, const HitRecord& y) {
                                   return x.start < y.start || (x.start == y.start && x.a > y.a);
                               }));
}

// March 2025 of the Moscow chart with texts and house links, as orbeta-cli writes the
// report (read by hand once: headings, local times, links, the eclipses of 2024 that
// still act); then arguments it refuses.
TEST(ForecastCli, GoldenMonthAndRefusedArguments) {
    test::TempWorkDir work(test::WorkspaceTemplate());
    work.WriteFile(
        "gnoz.csr",
        Utf8ToOem("@p07n02a120\n Сатурн поддерживает Ваши чувства: время укреплять\n"
                  " то, что дает Вам опору.\n"
                  "@Rp02z03\n Прогрессивная Луна в Близнецах оживляет интерес к новостям.\n"
                  "@S+P05\n Солнечное затмение на Марсе зовет к смелым решениям.\n"
                  "@Dh10n04a000\n Дирекционная Середина Неба соединяется с Венерой.\n"));
    auto run = [&](const std::string& args) {
        return test::RunCommand(std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " +
                                work.Path() +
                                " forecast --date \"16.05.1945 05:00:00\" --gmt -3 --lat 55.45"
                                " --lon 37.37 --house 3 " +
                                args + " 2>/dev/null");
    };
    auto r = run("--from \"01.03.2025 00:00\" --to \"01.04.2025 00:00\" --houses --texts");
    ASSERT_EQ(r.status, 0);
    std::ifstream in(std::string(ORBETA_SOURCE_DIR) + "/tests/fixtures/forecast_march_2025.txt",
                     std::ios::binary);
    std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(r.out, golden);
    for (const char* bad : {"--from 01.03.2025 --to 01.03.2025",
                            "--from 01.03.2025 --to 02.03.2025"
                            " --correction abc",
                            "--from 01.03.2025 --to 02.03.2025 --natal 0-3"}) {
        auto refused = run(bad);
        EXPECT_EQ(refused.status, 1) << bad;
        EXPECT_TRUE(refused.out.empty()) << bad;
    }
}

}  // namespace
}  // namespace orbeta
