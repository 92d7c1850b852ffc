// orbeta-cli report: the day and age-point reports as UTF-8 text, as a separate process.
#include <gtest/gtest.h>

#include "../support/cli_fixture.h"

namespace orbeta {
namespace {

class CliReport : public test::CliFixture {
  protected:
    test::CommandResult Run(const std::string& args) { return RunCli("report " + args); }
};

TEST_F(CliReport, DayReportOfMoscow) {
    auto r = Run("--kind day --date \"20.03.2024 12:00:00\" --gmt -3 --lat 55.45 --lon 37.37");
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_EQ(r.out.rfind(" Восходы, заходы, планетные часы и таттвы", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" 20.03.2024 - Среда (Управитель - Меркурий)  10-й лунный день\n"),
              std::string::npos)
        << r.out;
    // reference: sunrise 06:30:59, sunset 18:43:56
    auto row = r.out.find(" Солнце       ");
    ASSERT_NE(row, std::string::npos);
    std::string times = r.out.substr(row + std::string(" Солнце       ").size(), 20);
    EXPECT_TRUE(times.rfind("06:30:", 0) == 0 || times.rfind("06:31:", 0) == 0) << times;
    EXPECT_TRUE(times.substr(12, 6) == "18:43:" || times.substr(12, 6) == "18:44:") << times;
    EXPECT_NE(r.out.find(" Планетные часы"), std::string::npos);
    EXPECT_NE(r.out.find(" Таттвы"), std::string::npos);
}

TEST_F(CliReport, DayReportRefusedBeyondSixtySixDegrees) {
    auto r = Run("--kind day --date \"21.06.2024 12:00:00\" --gmt -3 --lat 67.00 --lon 40");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(Stderr().find("66°"), std::string::npos) << Stderr();
}

TEST_F(CliReport, AgePointReport) {
    auto r = Run("--kind age --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37");
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_EQ(r.out.rfind(" Точки возраста", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Точка1  Точка2"), std::string::npos);
    EXPECT_NE(r.out.find("0° Рыб"), std::string::npos);
    EXPECT_NE(r.out.find("Асцендент"), std::string::npos);
    EXPECT_NE(r.out.find("  9л. 0м. 0д."), std::string::npos) << r.out;
    EXPECT_NE(
        Run("--kind week --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37").status,
        0);
}

}  // namespace
}  // namespace orbeta
