// orbeta-cli aspects: the matrix of a chart, or of a chart and a partner, as other
// tools read it.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#include "../core/swetest_oracle.h"
#include "../support/cli_fixture.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "platform/format.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

const char* kChart = "--date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37";
const char* kPartner =
    "--partner-date \"01.01.2000 12:00:00\" --partner-gmt 0 --partner-lat 0 --partner-lon 0";

class CliAspects : public test::CliFixture {
  protected:
    test::CommandResult Run(const std::string& args) { return RunCli("aspects " + args); }
    nlohmann::json Matrix(const std::string& args) {
        auto r = Run(args + " --json");
        EXPECT_EQ(r.status, 0) << Stderr();
        auto j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["matrix"].size(), 27u);
        for (const auto& row : j["matrix"]) EXPECT_EQ(row.size(), 27u);
        return j;
    }
};

TEST_F(CliAspects, TheOrbOfTheFileDecidesBetweenSunAndMoon) {
    if (!test::HaveProgram("swetest")) GTEST_SKIP() << "swetest is not installed";
    auto oracle = test::SwetestPositions(JulianDayOfDateTimeText("16.05.1945 05:00:00"));
    ASSERT_GE(oracle.size(), 2u);
    double s = Separation(oracle[0].lon, oracle[1].lon);
    // an aspect angle 0.5..1.5 below the separation; SUN's orb just wide enough or not
    double angle = std::floor(s) - 0.5, d = s - angle;
    auto table = [&](double orb) { return Format("%.1f %.4f 0\n", angle, orb); };
    work.WriteFile("wide.ao", table(d + 0.2));
    work.WriteFile("narrow.ao", table(d - 0.2));
    auto j = Matrix(std::string(kChart) + " --orbs " + work.Path() + "/wide.ao");
    EXPECT_EQ(j["mode"], 0);
    EXPECT_EQ(j["matrix"][0][1].get<double>(), angle);
    EXPECT_NEAR(j["matrix"][1][0].get<double>(), s, 1e-4);  // the separation below
    EXPECT_EQ(j["matrix"][0][0].get<double>(), 0.0);
    // a relative name is the invoker's file
    j = Matrix(std::string(kChart) + " --orbs narrow.ao");
    EXPECT_EQ(j["matrix"][0][1].get<double>(), 999.0);
}

TEST_F(CliAspects, RowsAreTheChartsPointsColumnsThePartners) {
    // only SUN has an orb, and a conjunction of 180 admits any pair: between charts the
    // row point's orb counts, and between a body and a cusp the body's
    work.WriteFile("sun.ao", "0 180 S 0 0 -1 0\n");
    auto j = Matrix(std::string(kChart) + " " + kPartner + " --orbs sun.ao");
    EXPECT_EQ(j["mode"], 2);
    const auto& m = j["matrix"];
    for (int c = 0; c < 27; ++c) EXPECT_EQ(m[0][c].get<double>(), 0.0) << c;
    for (int r = 1; r < 15; ++r) EXPECT_EQ(m[r][0].get<double>(), 999.0) << r;
    for (int r = 15; r < 27; ++r) EXPECT_EQ(m[r][0].get<double>(), 0.0) << r;
    EXPECT_EQ(m[1][2].get<double>(), 999.0);
}

TEST_F(CliAspects, TheWorkspaceTableWhenNoneIsNamed) {
    auto j = Matrix(kChart);
    const std::set<double> angles = {0, 180, 120, 90, 60, 30, 150, 45, 135, 999};
    int found = 0;
    for (int r = 0; r < 27; ++r)
        for (int c = 0; c < 27; ++c) {
            double v = j["matrix"][r][c].get<double>();
            if (r >= c) {
                EXPECT_TRUE(v >= 0 && v <= 180) << r << " " << c;
            } else {
                EXPECT_EQ(angles.count(v), 1u) << v;
                found += v != 999;
                // an aspect found is within the widest orb of the separation below
                if (v == 999) continue;
                EXPECT_LE(std::fabs(j["matrix"][c][r].get<double>() - v), 10.0);
            }
        }
    EXPECT_GT(found, 0);
    // a missing file is reported and the workspace table used instead
    auto k = Matrix(std::string(kChart) + " --orbs missing.ao");
    EXPECT_NE(Stderr().find("Не открывается файл missing.ao"), std::string::npos) << Stderr();
    EXPECT_EQ(k["matrix"], j["matrix"]);
}

TEST_F(CliAspects, ReadableGridAndBadArguments) {
    work.WriteFile("sun.ao", "90 180 S 0 0 -1 0\n");
    auto r = Run(std::string(kChart) + " --orbs sun.ao");
    ASSERT_EQ(r.status, 0) << Stderr();
    auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_NE(lines[0].find("   SUN   MON   MER"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("   ASC    H2"), std::string::npos);
    EXPECT_NE(lines[0].find("    MC   H11   H12"), std::string::npos);
    EXPECT_EQ(lines[1].find("SUN"), 0u);
    EXPECT_EQ(lines[27].find("H12"), 0u);
    EXPECT_NE(Run(std::string(kChart) + " --partner-date \"01.01.2000\"").status, 0);
    EXPECT_NE(Run("--orbs sun.ao").status, 0);

    // Both charts above the polar circle: the house warning is told once.
    ASSERT_EQ(Run("--date \"16.05.1945 08:00:00\" --gmt -3 --lat 69.0 --lon 33.05 "
                  "--partner-date \"01.01.2000 12:00:00\" --partner-gmt -3 --partner-lat 68.58 "
                  "--partner-lon 33.05 --orbs sun.ao")
                  .status,
              0);
    std::string told = Stderr();
    size_t first = told.find("квадрантные системы домов не определены");
    ASSERT_NE(first, std::string::npos) << told;
    EXPECT_EQ(told.find("квадрантные системы домов не определены", first + 1), std::string::npos)
        << told;
}

}  // namespace
}  // namespace orbeta
