// orbeta-cli's houses and derived charts, as a separate process.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../core/swetest_houses.h"
#include "../support/test_support.h"
#include "core/calendar.h"

namespace orbeta {
namespace {

class CliHouses : public ::testing::Test {
  protected:
    nlohmann::json Json(const std::string& args) {
        auto r =
            test::RunCommand(std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " +
                             work.Path() + "/ws " + args + " --json 2>" + work.Path() + "/stderr");
        EXPECT_EQ(r.status, 0) << args << "\n" << Stderr();
        return r.status == 0 ? nlohmann::json::parse(r.out) : nlohmann::json{};
    }
    std::string Stderr() { return test::RunCommand("cat " + work.Path() + "/stderr").out; }
    test::TempWorkDir work;
};

TEST_F(CliHouses, HousesAgreeWithSwetest) {
    if (!test::HaveProgram("swetest")) GTEST_SKIP() << "swetest is not installed";
    // New York, entered with a western longitude
    auto j = Json("houses --jd 2451545.0 --lat 40.43 --lon -73.59 --house 2");
    auto oracle = test::SwetestHouses(2451545.0, -(73 + 59 / 60.0), 40 + 43 / 60.0, 'C');
    ASSERT_TRUE(oracle.ok);
    EXPECT_EQ(j["houseSystem"], 2);
    EXPECT_EQ(j["warned"], false);
    for (int n = 1; n <= 12; ++n)
        EXPECT_NEAR(j["cusp"][n - 1].get<double>(), oracle.cusp[n], 5.0 / 3600) << n;
    EXPECT_EQ(Json("houses --jd 2451545.0 --lat 40.43 --lon 286.01 --house 2")["cusp"], j["cusp"]);
}

TEST_F(CliHouses, PolarRuleAndMidheaven) {
    auto j = Json("houses --jd 2451545.0 --lat 66.01 --lon 37.37 --house 3");
    EXPECT_EQ(j["houseSystem"], 8);
    EXPECT_EQ(j["warned"], true);
    EXPECT_NE(Stderr().find("66°"), std::string::npos) << Stderr();  // the text, in UTF-8
    j = Json("houses --jd 2451545.0 --lat 69 --lon 37.37 --house 5 --from-mc 90");
    EXPECT_EQ(j["houseSystem"], 8);
    EXPECT_EQ(j["warned"], false);
    EXPECT_DOUBLE_EQ(j["cusp"][0].get<double>(), 180.0);
    j = Json("houses --jd 2451545.0 --lat 50 --lon 0 --house 9 --sun 45");
    EXPECT_DOUBLE_EQ(j["cusp"][0].get<double>(), 30.0);
}

TEST_F(CliHouses, ChartsByMethodFromABase) {
    const std::string base =
        " --base-date \"16.05.1945 08:00:00\" --base-gmt -3 --base-lat 55.45 --base-lon 37.37";
    auto natal = Json("chart --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37");
    double birth = natal["jdUT"].get<double>();
    EXPECT_NE(natal["cusp"][0].get<double>(), 0.0);
    // 40 years later, progressed and converse
    auto later = [&](int method, const std::string& extra = "") {
        return Json(
            "chart --date \"16.05.1985 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37 "
            "--method " +
            std::to_string(method) + base + extra);
    };
    double d = JulianDayOfDateTimeText("16.05.1985 05:00:00") - birth;
    auto secondary = later(6);
    EXPECT_NEAR(secondary["jdCalc"].get<double>(), birth + d / 365.2421, 1e-9);
    EXPECT_EQ(secondary["calcMethod"], 6);
    EXPECT_NEAR(later(18)["jdCalc"].get<double>(), birth - d / 365.2421, 1e-9);
    EXPECT_NEAR(later(17)["jdCalc"].get<double>(), birth - d, 1e-9);
    auto directed = later(11);
    double arc = d / 365.2421;
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(
            std::fmod(directed["cusp"][i].get<double>() - natal["cusp"][i].get<double>() + 720.0,
                      360.0),
            arc, 1e-9);
    auto arcs = later(24, " --arc-body 1");
    EXPECT_EQ(arcs["calcMethod"], 24);
    EXPECT_NE(arcs["lon"][0], natal["lon"][0]);
}

}  // namespace
}  // namespace orbeta
