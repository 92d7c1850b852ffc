// orbeta-cli rectify on the self-check subject: events that are exact for the true
// birth time (tools/reference/rectify_fixture.py, from swetest positions).
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "../support/test_support.h"

namespace orbeta {
namespace {

class CliRectify : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ifstream in(Fixture("subject.json"));
        subject = nlohmann::json::parse(in);
        work.WriteFile("none.ao", "* no aspects: the default orbs\n");
    }
    static std::string Fixture(const std::string& name) {
        return std::string(ORBETA_SOURCE_DIR) + "/tests/fixtures/rectify/" + name;
    }
    test::CommandResult Run(const std::string& args,
                            const std::string& events = Fixture("subject.sb")) {
        std::string orbs = work.Path() + "/none.ao";
        return test::RunCommand(std::string(ORBETA_CLI) + " --workspace " + work.Path() +
                                "/ws rectify --gmt -3 --lat 55.45 --lon 37.37 --house 3 --events " +
                                events + " --orbs-t " + orbs + " --orbs-p " + orbs + " --orbs-d " +
                                orbs + " " + args + " 2>&1");
    }
    nlohmann::json subject;
    test::TempWorkDir work;
};

TEST_F(CliRectify, SubjectComesBackToItsBirthTime) {
    auto r = Run("--from \"16.05.1985 04:30\" --to \"16.05.1985 06:30\" --json");
    ASSERT_EQ(r.status, 0) << r.out;
    auto out = nlohmann::json::parse(r.out);
    const auto& c = out["candidates"];
    ASSERT_EQ(c.size(), 121u);
    ASSERT_EQ(out["events"].size(), 12u);
    EXPECT_EQ(c[60]["local"], "16.05.1985 05:30:00");
    double best = 0;
    for (const auto& k : c) best = std::max(best, k["S"].get<double>());
    EXPECT_EQ(c[60]["S"].get<double>(), best);
    EXPECT_EQ(best, 12.0);
    int lo = subject["narrowest"][0], hi = subject["narrowest"][1];
    for (int k = 0; k < 121; ++k)
        if (c[k]["S"].get<double>() == best) {
            EXPECT_GE(k - 60, lo);
            EXPECT_LE(k - 60, hi);
        }
    // Listed best first, equal totals the later first.
    EXPECT_EQ(out["listed"][0], 60 + hi);
    // The scores of the independent computation, near the true time.
    int compared = 0;
    for (const auto& ref : subject["candidates"]) {
        if (ref["edge"].get<bool>()) continue;
        const auto& got = c[60 + ref["minute"].get<int>()];
        for (const char* part : {"S", "T", "P", "D"})
            EXPECT_EQ(got[part].get<double>(), ref[part].get<double>()) << ref;
        ++compared;
    }
    EXPECT_GE(compared, 8);
}

TEST_F(CliRectify, ReportAndRefusals) {
    auto r = Run("--from \"16.05.1985 05:29\" --to \"16.05.1985 05:31\" --threshold 1");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind(" Ректификация - Отчет\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("16.05.1985 05:29:00\n Событие: 08.06.2002 08:54 Событие 1\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("12 событий, 12.0 баллов\n\n"), std::string::npos);
    EXPECT_NE(
        r.out.find(" --------------\n 16.05.1985 05:31:00 =  12.0\n 16.05.1985 05:30:00 =  12.0\n "
                   "16.05.1985 05:29:00 =  12.0\n"),
        std::string::npos)
        << r.out;

    const std::string from = "--from \"16.05.1985 05:00\" ";
    struct Case {
        std::string args, message;
    };
    const Case refused[] = {
        {from + "--to \"16.05.1985 05:00\"", "Конец интервала должен быть позже его начала"},
        {from + "--to \"17.05.1985 05:01\"", "Интервал не должен быть длиннее одних суток"},
        {from + "--to \"31.02.1985 05:00\"", "Неверно задана дата"},
        {from + "--to \"16.05.1985 06:00\" --step 0", "Шаг должен быть числом не меньше 1 секунды"},
        {from + "--to \"16.05.1985 06:00\" --threshold 1.5", "Порог отчета должен быть целым"},
    };
    for (const Case& c : refused) {
        r = Run(c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    }
    r = Run(from + "--to \"16.05.1985 06:00\"", work.Path() + "/missing.sb");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Нет файла описания событий"), std::string::npos) << r.out;
    // A whole day is accepted.
    r = Run("--from \"16.05.1985 00:00\" --to \"17.05.1985 00:00\" --step 3600 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(nlohmann::json::parse(r.out)["candidates"].size(), 25u);
}

}  // namespace
}  // namespace orbeta
