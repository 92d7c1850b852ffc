// orbeta-cli graph: the data of both graphics as JSON and text, refusals of periods
// that cannot be drawn, and a picture file of the size asked for.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "../support/test_support.h"

namespace orbeta {
namespace {

class CliGraph : public ::testing::Test {
  protected:
    test::CommandResult Run(const std::string& args) {
        return test::RunCommand(std::string("env -u SE_EPHE_PATH -u DISPLAY ") + ORBETA_CLI +
                                " --workspace " + work.Path() + "/ws graph " + args +
                                " --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37"
                                " 2>" +
                                work.Path() + "/stderr");
    }
    std::string Stderr() {
        std::ifstream in(work.Path() + "/stderr");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    test::TempWorkDir work;
};

TEST_F(CliGraph, EphemerisJsonWrapsAndRefusals) {
    auto r = Run("ephemeris --year 2025 --month 3 --bodies 1,3 --modulus 30 --json");
    ASSERT_EQ(r.status, 0) << Stderr();
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["divisions"], 31);
    EXPECT_EQ(j["steps"].size(), 32u);
    EXPECT_EQ(j["bodies"], nlohmann::json::array({1, 3}));
    // The Sun enters Aries on 20.03; Mercury enters Aries on 03.03 and turns back
    // into Pisces on 30.03.
    std::vector<std::string> wraps;
    for (const auto& w : j["wraps"])
        wraps.push_back(std::to_string(int(w["body"])) + w["through"].get<std::string>());
    EXPECT_EQ(wraps, (std::vector<std::string>{"1top", "3top", "3bottom"}));

    const struct {
        const char* args;
        const char* message;
    } refusals[] = {
        {"ephemeris --year 2025 --month 13", "Неверно задана дата"},
        {"ephemeris --from \"01.03.2025\" --to \"01.03.2025\"", "позже его начала"},
        {"ephemeris --year 2025 --modulus 7", "--modulus"},
        {"forecast --from \"31.02.2025\" --to \"01.03.2025\"", "Неверно задана дата"},
    };
    for (const auto& x : refusals) {
        EXPECT_EQ(Run(x.args).status, 1) << x.args;
        EXPECT_NE(Stderr().find(x.message), std::string::npos) << Stderr();
    }
}

TEST_F(CliGraph, ForecastTextAndPicture) {
    auto r = Run("forecast --year 2025 --bodies 3 --natal 1");
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_EQ(r.out.rfind("MER ", 0), 0u) << r.out;
    // The trine of Mercury to the natal Sun in January, found exact, moving direct.
    EXPECT_NE(r.out.find("\t24.01.2025 23:32:18\t120.0\tSUN\t0\td\n"), std::string::npos) << r.out;

    ASSERT_EQ(Run("forecast --year 2025 --bodies 3 --natal 1 --size 320x200 --out " + work.Path() +
                  "/f.png")
                  .status,
              0)
        << Stderr();
    std::ifstream png(work.Path() + "/f.png", std::ios::binary);
    unsigned char head[24] = {};
    png.read(reinterpret_cast<char*>(head), sizeof head);
    EXPECT_EQ(head[1], 'P');
    EXPECT_EQ((head[18] << 8) | head[19], 320);  // IHDR width
    EXPECT_EQ((head[22] << 8) | head[23], 200);  // and height
}

}  // namespace
}  // namespace orbeta
