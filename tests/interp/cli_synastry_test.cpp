// orbeta-cli synastry and horary: the JSON contracts, the horary window's list, and
// the charts the horary answer and lists refuse.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "../support/cli_fixture.h"

namespace orbeta {
namespace {

const char* const kYou = "--date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37";
const char* const kPartner =
    "--partner-date \"03.11.1950 14:30:00\" --partner-gmt -3 --partner-lat 59.57 "
    "--partner-lon 30.19";
const char* const kQuestion = "--date \"09.12.2026 23:40:00\" --gmt -3 --lat 55.45 --lon 37.37";

class CliSynastry : public test::CliFixture {
  protected:
    test::CommandResult Run(const std::string& args) { return RunCli(args); }
};

TEST_F(CliSynastry, JsonFields) {
    auto r = Run(std::string("synastry --json --flags 17 ") + kYou + " " + kPartner);
    ASSERT_EQ(r.status, 0) << Stderr();
    auto j = nlohmann::json::parse(r.out);
    for (const char* field : {"aspects", "partnerInYourHouses", "unaspected", "lookups"})
        EXPECT_TRUE(j.contains(field)) << field;
    EXPECT_EQ(j["partnerInYourHouses"].size(), 15u);
    EXPECT_EQ(j["lookups"][0]["key"], "0");

    auto h = Run(std::string("horary --json --subject 7 --object 2 ") + kQuestion);
    ASSERT_EQ(h.status, 0) << Stderr();
    auto k = nlohmann::json::parse(h.out);
    EXPECT_EQ(k["q"], 8);
    EXPECT_EQ(k["houses"].size(), 10u);
    EXPECT_EQ(k["lookups"][0]["key"], "S07");
    EXPECT_EQ(k["lookups"][1]["key"], "P02");
}

TEST_F(CliSynastry, WindowListHasTheMoonFirstThenTheSeparator) {
    auto r = Run(std::string("horary --list window ") + kQuestion);
    ASSERT_EQ(r.status, 0) << Stderr();
    std::istringstream lines(r.out);
    std::string line;
    int separators = 0, beforeRule = 0;
    bool moonPart = true;
    std::getline(lines, line);  // title
    std::getline(lines, line);  // mark
    while (std::getline(lines, line)) {
        if (line == "=================") {
            ++separators;
            continue;
        }
        if (separators > 0) continue;
        ++beforeRule;
        bool moon = line.rfind(" Лун - ", 0) == 0;
        // The Moon has a coming aspect here, and none comes after another body's line.
        EXPECT_TRUE(beforeRule > 1 || moon) << line;
        EXPECT_TRUE(!moon || moonPart) << line;
        moonPart = moonPart && moon;
    }
    EXPECT_EQ(separators, 1);
    EXPECT_GT(beforeRule, 0);
}

TEST_F(CliSynastry, RefusedCharts) {
    struct Case {
        std::string args;
        const char* message;
    };
    const Case cases[] = {
        {std::string("horary --subject 1 --object 7 --house 8 ") + kQuestion, "домов"},
        {std::string("horary --list window --method 16 ") + kQuestion, "момент"},
        {std::string("horary --list moment --method 11 ") + kQuestion, "момент"},
        {std::string("synastry ") + kYou, "--partner"},
    };
    for (const auto& c : cases) {
        auto r = Run(c.args);
        EXPECT_NE(r.status, 0) << c.args;
        EXPECT_NE(Stderr().find(c.message), std::string::npos) << c.args << ": " << Stderr();
    }
}

}  // namespace
}  // namespace orbeta
