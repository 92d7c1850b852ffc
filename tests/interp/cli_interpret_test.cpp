// orbeta-cli interpret: each report on a base whose every block is its own key, at
// all options and without "Планеты и аспекты"; the analysis table; the JSON form.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "../support/cli_fixture.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

const char* const kChart = "--date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37";
const char* const kPlace = "--to-place Владивосток --to-lat 43.07 --to-lon 131.54";

class CliInterpret : public test::CliFixture {
  protected:
    test::CommandResult Run(const std::string& args) { return RunCli("interpret " + args); }

    // The base of a report: a block for every key it can look up, holding the key; of
    // the sign-and-house keys only the Sun's, so that both branches are taken.
    void WriteBase(const std::string& kind, const std::string& stem) {
        auto listed = Run("--list-keys " + kind);
        ASSERT_EQ(listed.status, 0) << Stderr();
        std::istringstream lines(listed.out);
        std::string line, source = "@0\n0\n";
        while (std::getline(lines, line)) {
            std::string key = line.substr(0, line.find('\t'));
            bool optional = line.find("\toptional") != std::string::npos;
            if (!optional || key.rfind("p01", 0) == 0) source += "@" + key + "\n" + key + "\n";
        }
        work.WriteFile("ws/" + stem + ".csr", source);
    }

    std::string Golden(const std::string& name) {
        std::ifstream in(std::string(ORBETA_SOURCE_DIR) + "/tests/fixtures/interp/" + name,
                         std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(CliInterpret, GoldenReports) {
    struct Case {
        const char* kind;
        const char* stem;
        const char* options;
        const char* golden;
    };
    const Case cases[] = {
        {"natal", "natal", "2047", "natal.txt"},
        {"natal", "natal", "1983", "natal_no_bodies.txt"},
        {"child", "deti", "2047", "child.txt"},
        {"child", "deti", "1983", "child_no_bodies.txt"},
        {"relocation", "geograf", "2047", "relocation.txt"},
        {"relocation", "geograf", "1983", "relocation_no_bodies.txt"},
    };
    for (const auto& c : cases) {
        WriteBase(c.kind, c.stem);
        std::string place = std::string(c.kind) == "relocation" ? kPlace : "";
        auto r = Run(std::string("--report ") + c.kind + " " + kChart + " " + place +
                     " --options " + c.options);
        ASSERT_EQ(r.status, 0) << Stderr();
        EXPECT_EQ(r.out, Golden(c.golden)) << c.golden;
    }
    auto table = Run("--report analysis " + std::string(kChart));
    EXPECT_EQ(table.out, Golden("analysis.txt"));
}

TEST_F(CliInterpret, JsonKeysAndAnalysis) {
    WriteBase("natal", "natal");
    auto r = Run("--report natal --json " + std::string(kChart));
    ASSERT_EQ(r.status, 0) << Stderr();
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["report"], "natal");
    EXPECT_EQ(j["title"], "Интерпретация натальной карты");
    EXPECT_EQ(j["text"], Run("--report natal " + std::string(kChart)).out);
    ASSERT_FALSE(j["keys"].empty());
    EXPECT_EQ(j["keys"][0]["key"], "0");
    for (const auto& k : j["keys"]) {
        std::string key = k["key"];
        // Only the Sun's sign-and-house text is in the base.
        bool inBase = !(key.size() == 9 && key[0] == 'p' && key[3] == 'z' && key.rfind("p01", 0));
        EXPECT_EQ(k["printed"], inBase) << key;
    }
    const auto& a = j["analysis"];
    EXPECT_EQ(a["signs"].size(), 15u);
    EXPECT_EQ(a["houses"].size(), 15u);
    EXPECT_EQ(a["cuspSigns"].size(), 12u);
    EXPECT_EQ(a["energy"][0], a["energy"][1].get<int>() + a["energy"][2].get<int>());
    EXPECT_EQ(a["sorted"].size(), 10u);
    EXPECT_EQ(a["elements"].size(), 4u);
    EXPECT_EQ(a["crosses"].size(), 3u);
    EXPECT_EQ(a["chains"].size(), 4u);
    int n10 = 0;
    for (const auto& e : a["elements"]) n10 += e["n10"].get<int>();
    EXPECT_EQ(n10, 10);
}

TEST_F(CliInterpret, RefusesWhatItCannotDo) {
    EXPECT_EQ(Run("--report relocation " + std::string(kChart)).status, 1);
    EXPECT_NE(Stderr().find("--to-place"), std::string::npos);
    EXPECT_EQ(Run("--report natal --date \"16.05.1945 08:00:00\"").status, 1);
    // The shipped base cannot be compiled: its compiled file's name is taken by a folder.
    std::filesystem::create_directories(work.Path() + "/ws/natal.cta");
    auto r = Run("--report natal " + std::string(kChart));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(Stderr().find("natal.cta"), std::string::npos) << Stderr();
}

}  // namespace
}  // namespace orbeta
