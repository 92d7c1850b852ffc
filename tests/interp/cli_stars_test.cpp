// orbeta-cli parans and extra-points.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "../support/test_support.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

const char* const kMoscow = "--date \"20.01.1990 12:00:00\" --gmt -3 --lat 55.45 --lon 37.37";

class CliStars : public ::testing::Test {
  protected:
    test::CommandResult Run(const std::string& args) {
        return test::RunCommand(std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " +
                                work.Path() + "/ws " + args + " 2>/dev/null");
    }
    test::TempWorkDir work;
};

TEST_F(CliStars, ParansJsonHoldsEveryStarAndTheHeliacalStar) {
    auto r = Run(std::string("parans --json ") + kMoscow);
    ASSERT_EQ(r.status, 0);
    auto j = nlohmann::json::parse(r.out);
    EXPECT_NEAR(j["obliquity"].get<double>(), 23.44, 0.01);
    ASSERT_EQ(j["stars"].size(), 88u);
    EXPECT_EQ(j["stars"][40]["name"], "Регул");
    EXPECT_EQ(j["bodies"][0]["body"], 1);
    ASSERT_FALSE(j["heliacal"].is_null());
    int n = j["heliacal"]["number"];
    EXPECT_NE(j["stars"][n - 1]["hours"][0].get<double>(), 999.0);
}

TEST_F(CliStars, ParansTextStopsWithoutTheBaseUnlessAskedNotToPrintTexts) {
    auto r = Run(std::string("parans --no-texts ") + kMoscow);
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(" LAT=55.45, LONG=37.37"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Гелиактическая звезда: "), std::string::npos);
    EXPECT_NE(r.out.find("Конец списка звезд"), std::string::npos);
    // The shipped base made unopenable: a folder where its source would be (the
    // workspace leaves what is not a plain file alone).
    const std::filesystem::path csr = work.Path() + "/ws/starbb.csr";
    std::error_code ec;
    std::filesystem::remove(work.Path() + "/ws/starbb.cta", ec);
    std::filesystem::remove(csr, ec);
    ASSERT_TRUE(std::filesystem::create_directory(csr));
    EXPECT_NE(Run(std::string("parans ") + kMoscow).status, 0);
    std::filesystem::remove(csr);
    // With a base: its introduction, then the text before the place.
    work.WriteFile("ws/starbb.csr", Utf8ToOem("@0\nО звездах.\n@000\nВведение.\n"));
    auto texts = Run(std::string("parans ") + kMoscow);
    ASSERT_EQ(texts.status, 0);
    EXPECT_NE(texts.out.find("О звездах.\n\nВведение.\n\n LAT="), std::string::npos) << texts.out;
}

TEST_F(CliStars, ExtraPointsOfBothKinds) {
    auto a = Run(std::string("extra-points --kind asteroids --json ") + kMoscow);
    ASSERT_EQ(a.status, 0);
    auto j = nlohmann::json::parse(a.out);
    ASSERT_EQ(j["bodies"].size(), 5u);
    EXPECT_EQ(j["bodies"][1]["number"], 17);  // Ceres
    EXPECT_TRUE(j["bodies"][1]["available"]);
    auto h = Run(std::string("extra-points --kind hypothetical --json ") + kMoscow);
    ASSERT_EQ(h.status, 0);
    j = nlohmann::json::parse(h.out);
    ASSERT_EQ(j["bodies"].size(), 8u);
    for (const auto& b : j["bodies"]) EXPECT_TRUE(b["available"]) << b.dump();
    auto text = Run(std::string("extra-points --kind hypothetical ") + kMoscow);
    EXPECT_NE(text.out.find("Купидон"), std::string::npos) << text.out;
}

}  // namespace
}  // namespace orbeta
