// orbeta-cli stars, degrees, lots, midpoints, directions: text and JSON, as a separate
// process on a Moscow chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "../support/cli_fixture.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

const char* kMoscow = "--date \"20.01.1990 12:00:00\" --gmt -3 --lat 55.45 --lon 37.37";

class CliDegrees : public test::CliFixture {
  protected:
    test::CommandResult Run(const std::string& args) { return RunCli(args); }
    nlohmann::json Json(const std::string& args) {
        auto r = Run(args + " --json");
        EXPECT_EQ(r.status, 0) << Stderr();
        return nlohmann::json::parse(r.out, nullptr, false);
    }
    // A control file in CP866, as shipped.
    std::string File(const std::string& name, const std::string& utf8) {
        work.WriteFile(name, Utf8ToOem(utf8));
        return " --file " + work.Path() + "/" + name;
    }
};

TEST_F(CliDegrees, Stars) {
    std::string file = File("s.ctl", "=Regulus 10.13953 11.96719 -0.1033 0.5 1.40 2 3\nРегул\n@\n");
    auto j = Json(std::string("stars ") + kMoscow + file);
    ASSERT_EQ(j["stars"].size(), 1u) << j.dump();
    EXPECT_EQ(j["stars"][0]["name"], "Regulus");
    EXPECT_EQ(j["stars"][0]["number"], 2);
    EXPECT_NEAR(j["stars"][0]["lon"].get<double>(), 149.69, 0.02);
    auto r = Run(std::string("stars ") + kMoscow + file);
    EXPECT_EQ(r.out.rfind(" Соединения с неподвижными звездами\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" Расчетное время: 20.01.1990 12:00:00\n"), std::string::npos);
    // Without the file: the header and the time line only.
    r = Run(std::string("stars ") + kMoscow + " --file " + work.Path() + "/none.ctl");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("Регул"), std::string::npos);
    EXPECT_NE(r.out.find(" Расчетное время:"), std::string::npos);
}

TEST_F(CliDegrees, DegreesListEveryPointOnce) {
    std::string text;
    for (int d = 0; d < 360; ++d)
        text += "@" + std::to_string(d) + "\nградус " + std::to_string(d) + "\n";
    auto j = Json(std::string("degrees ") + kMoscow + File("g.ctl", text));
    std::vector<int> points;
    for (auto& b : j["blocks"])
        for (auto& p : b["points"]) points.push_back(p);
    std::sort(points.begin(), points.end());
    // Sun … Pluto and the twelve cusps.
    std::vector<int> expected;
    for (int p = 1; p <= 27; ++p)
        if (p <= 10 || p >= 16) expected.push_back(p);
    EXPECT_EQ(points, expected);
}

TEST_F(CliDegrees, LotsAndTheirErrors) {
    std::string file =
        File("c.ctl", "   SUN+MON-ASC Жребий\n   SUN+XYZ-MON Ошибка\n N SUN+SUN-SUN Ночь\n");
    auto j = Json(std::string("lots ") + kMoscow + file);
    EXPECT_EQ(j["night"], false);  // the Sun is above the horizon at noon
    ASSERT_EQ(j["lots"].size(), 1u) << j.dump();
    EXPECT_EQ(j["lots"][0]["line"], 1);
    ASSERT_EQ(j["errors"].size(), 1u);
    EXPECT_EQ(j["errors"][0]["symbol"], "XYZ");
    EXPECT_EQ(j["errors"][0]["line"], 2);
    auto r = Run(std::string("lots ") + kMoscow + file);
    EXPECT_NE(r.out.find("неизвестный символ в формуле жребия"), std::string::npos) << r.out;
}

TEST_F(CliDegrees, MidpointsOfBodiesAndAngles) {
    struct Case {
        const char* house;
        size_t pairs;
    } cases[] = {{"", 66}, {" --house 8", 45}};
    for (const Case& c : cases) {
        auto j = Json(std::string("midpoints ") + kMoscow + c.house);
        EXPECT_EQ(j["midpoints"].size(), c.pairs) << c.house;
    }
    auto r = Run(std::string("midpoints ") + kMoscow);
    EXPECT_EQ(r.out.rfind(" Средние точки\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" Солнце-Луна "), std::string::npos);
}

TEST_F(CliDegrees, DirectionsInTheirInterval) {
    for (const char* kind : {"lon", "ra", "moon"}) {
        auto j = Json(std::string("directions ") + kMoscow + " --kind " + kind +
                      " --from 01.01.2000 --to 01.01.2010");
        ASSERT_FALSE(j["findings"].empty()) << kind;
        double last = 0;
        for (auto& f : j["findings"]) {
            double jd = f["jd"];
            EXPECT_GE(jd, 2451544.5) << kind;
            EXPECT_LE(jd, 2455197.5 + 0.002) << kind;
            EXPECT_GE(jd, last) << kind;
            last = jd;
        }
    }
    auto r = Run(std::string("directions ") + kMoscow +
                 " --kind moon --from 01.01.2000 --to 01.01.2001");
    EXPECT_EQ(r.out.rfind(" Прогрессивная Луна по точкам аспектов: ", 0), 0u) << r.out;
    r = Run(std::string("directions ") + kMoscow + " --from 01.01.2010 --to 01.01.2000");
    EXPECT_EQ(r.status, 1);
}

}  // namespace
}  // namespace orbeta
