// orbeta-cli as other tools use it: a separate process, its output and status.
#include <gtest/gtest.h>

#include <cmath>

#include <nlohmann/json.hpp>

#include "../core/swetest_oracle.h"
#include "../support/cli_fixture.h"
#include "core/calendar.h"

namespace orbeta {
namespace {

class Cli : public test::CliFixture {
  protected:
    test::CommandResult Run(const std::string& args) { return RunCli(args); }
};

TEST_F(Cli, CalendarBothWays) {
    auto r = Run("calendar --date \"01.01.2000 12:00:00\"");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "2451545.000000000\n");
    r = Run("calendar --date \"16.05\" --json");
    EXPECT_EQ(nlohmann::json::parse(r.out)["jd"], -1.0);
    r = Run("calendar --jd 2299160.5 --json");
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["dateTime"], "15.10.1582 00:00:00");
    EXPECT_EQ(j["date"], "15.10.1582");
    EXPECT_NE(Run("calendar").status, 0);
    EXPECT_NE(Run("calendar --date \"01.01.2000 12:60:00\"").status, 0);
}

TEST_F(Cli, ChartAgreesWithSwetest) {
    if (!test::HaveProgram("swetest")) GTEST_SKIP() << "swetest is not installed";
    // 16.05.1945 08:00 Moscow time, correction −3 hours: UT 05:00
    auto r = Run("chart --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37 --json");
    ASSERT_EQ(r.status, 0) << Stderr();
    auto j = nlohmann::json::parse(r.out);
    double jdUT = JulianDayOfDateTimeText("16.05.1945 05:00:00");
    EXPECT_NEAR(j["jdUT"].get<double>(), jdUT, 1e-9);
    EXPECT_NEAR(j["gmtCorr"].get<double>(), -0.125, 1e-15);
    EXPECT_EQ(j["calcMethod"], 1);
    EXPECT_EQ(j["lon"].size(), 15u);
    EXPECT_EQ(j["cusp"].size(), 12u);
    auto oracle = test::SwetestPositions(jdUT);
    ASSERT_EQ(oracle.size(), 15u);
    const int index[15] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, 12, -1, 13};
    for (int b = 0; b < 15; ++b) {
        if (index[b] < 0) continue;
        EXPECT_NEAR(j["lon"][b].get<double>(), oracle[index[b]].lon, 0.001 / 3600) << b + 1;
        EXPECT_NEAR(j["lat"][b].get<double>(), oracle[index[b]].lat, 0.001 / 3600) << b + 1;
    }
}

// The tables: the partner's points are the rows of an aspect table, the arcs pair a
// chart with itself without a partner, and the Bindhu table takes no partner.
TEST_F(Cli, TablesOfAChart) {
    const std::string chart =
        " --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37 --mask-p 3 --mask-a 3";
    const std::string partner =
        " --partner-date \"01.01.1990 12:00:00\" --partner-gmt 0 "
        "--partner-lat 51.30 --partner-lon 0";
    auto r = Run("table arcs --json --house 8" + chart);
    ASSERT_EQ(r.status, 0) << Stderr();
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["kind"], 3);
    EXPECT_EQ(j["points"], nlohmann::json::array({1, 2}));
    EXPECT_EQ(j["cells"][0][0], 0.0);  // the Sun with itself
    EXPECT_EQ(j["charts"].size(), 2u);
    double sun = j["charts"][0]["points"][0]["lon"], moon = j["charts"][0]["points"][1]["lon"];
    EXPECT_NEAR(j["cells"][0][1].get<double>(), std::fabs(moon - sun), 1e-4);

    r = Run("table aspects --json" + chart + partner);
    ASSERT_EQ(r.status, 0) << Stderr();
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["kind"], 2);
    EXPECT_EQ(j["points"].size(), 2u + 6u);  // Sun, Moon and the cusps 1..6
    EXPECT_EQ(j["charts"][1]["dateTime"], "01.01.1990 12:00:00");

    r = Run("table aspects" + chart);
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "         Сол   Лун   Асц    Д2    Д3    IC    Д5    Д6");
    r = Run("table bindhu --house 8" + chart);
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), " Таблица Биндху");
    EXPECT_NE(Run("table bindhu" + chart + partner).status, 0);
}

TEST_F(Cli, PackedCoordinatesWithSixtyMinutesAreRefused) {
    struct Case {
        const char* args;
        const char* message;  // empty: accepted
    } cases[] = {
        {"chart --lat 45.75 --lon 0", "--lat 45.75: minutes must be below 60"},
        {"chart --lat 0 --lon 359.60", "--lon 359.6: minutes must be below 60"},
        {"chart --lat 0 --lon -179.99", "--lon -179.99: minutes must be below 60"},
        {"chart --lat 0 --lon 0 --base-date \"01.01.2000 12:00:00\" --base-gmt 0 "
         "--base-lat 89.99 --base-lon 0",
         "--base-lat 89.99: minutes must be below 60"},
        {"houses --jd 2451545 --house 3 --lat 10.99 --lon 0", "--lat 10.99: minutes"},
        {"chart --lat -89.59 --lon -179.59", ""},
    };
    for (const auto& c : cases) {
        std::string args = c.args;
        if (args.rfind("chart", 0) == 0) args += " --date \"01.01.2000 12:00:00\" --gmt 0";
        auto r = Run(args);
        if (*c.message) {
            EXPECT_NE(r.status, 0) << c.args;
            EXPECT_NE(Stderr().find(c.message), std::string::npos) << c.args << ": " << Stderr();
        } else {
            EXPECT_EQ(r.status, 0) << c.args << ": " << Stderr();
        }
    }
}

TEST_F(Cli, BadInputIsAMessageNotAChart) {
    auto r = Run("chart --date \"32\" --gmt 0 --lat 0 --lon 0 --json");
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(Stderr().find("cannot read the date"), std::string::npos);
    EXPECT_NE(Run("chart --date \"01.01.2000\" --gmt 0 --lat 95 --lon 0").status, 0);
    EXPECT_NE(Run("chart --gmt 0 --lat 0 --lon 0").status, 0);
    EXPECT_NE(Run("frobnicate").status, 0);
}

TEST_F(Cli, WesternLongitudeIsStoredAsEastOfGreenwich) {
    auto r = Run("chart --date \"01.01.2000 00:00:00\" --gmt 5 --lat 40.43 --lon -73.59 --json");
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_NEAR(nlohmann::json::parse(r.out)["longitude"].get<double>(), 286.01, 1e-9);
}

TEST_F(Cli, FreshDataHomeGetsAWorkspace) {
    std::string home = work.Path() + "/xdg";
    auto r = test::RunCommand("env -u SE_EPHE_PATH XDG_DATA_HOME=" + home + " " + ORBETA_CLI +
                              " chart --date \"01.01.2000 12:00:00\" --gmt 0 --lat 0 --lon 0");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("SUN  10Cp22"), std::string::npos) << r.out;
    EXPECT_EQ(test::RunCommand("test -f " + home + "/orbeta/dirswe.ctl && echo ok").out, "ok\n");
}

}  // namespace
}  // namespace orbeta
