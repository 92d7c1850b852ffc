// orbeta-cli town: the towns directory from the command line.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../support/test_support.h"

namespace orbeta {
namespace {

class CliTown : public ::testing::Test {
  protected:
    test::CommandResult Run(const std::string& args) {
        return test::RunCommand(std::string(ORBETA_CLI) + " --workspace " + work.Path() +
                                "/ws town " + args + " 2>/dev/null");
    }
    test::TempWorkDir work;
};

TEST_F(CliTown, FindsTownsWithTheirCorrections) {
    auto r = Run("--find мос --date \"15.01.2020 12:00\" --json");
    ASSERT_EQ(r.status, 0);
    auto towns = nlohmann::json::parse(r.out);
    auto moscow =
        std::find_if(towns.begin(), towns.end(), [](auto& t) { return t["key"] == "t.МОСКВА"; });
    ASSERT_NE(moscow, towns.end());
    EXPECT_EQ((*moscow)["name"], "Москва");
    EXPECT_DOUBLE_EQ((*moscow)["latitude"].get<double>(), 55.45);
    EXPECT_DOUBLE_EQ((*moscow)["longitude"].get<double>(), 37.37);
    EXPECT_EQ((*moscow)["correction"], -3);
    for (const auto& t : towns) EXPECT_EQ(t["key"].get<std::string>().rfind("t.МОС", 0), 0u) << t;

    towns = nlohmann::json::parse(
        Run("--find \"New York City\" --date \"15.07.1943 12:00\" --json").out);
    ASSERT_EQ(towns.size(), 1u);
    EXPECT_EQ(towns[0]["name"], "Нью-Йорк");
    EXPECT_DOUBLE_EQ(towns[0]["longitude"].get<double>(), 286.0);
    EXPECT_EQ(towns[0]["correction"], 4);
    // Without a date the correction is 0.
    towns = nlohmann::json::parse(Run("--find Самара --json").out);
    ASSERT_FALSE(towns.empty());
    EXPECT_EQ(towns[0]["correction"], 0);
    // The first instant of summer time is summer time; a zero correction has no sign.
    r = Run("--find Лондон --date \"27.03.2011 02:00\"");
    EXPECT_NE(r.out.find("  -1\n"), std::string::npos) << r.out;
    r = Run("--find Лондон --date \"30.10.2011 02:00\"");
    EXPECT_NE(r.out.find("  0\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("-0"), std::string::npos) << r.out;
}

TEST_F(CliTown, NothingFoundAndBadInput) {
    auto r = Run("--find Щщщщ --json");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "[]\n");
    EXPECT_NE(Run("--find мос --date 32").status, 0);
    EXPECT_NE(Run("").status, 0);
}

}  // namespace
}  // namespace orbeta
