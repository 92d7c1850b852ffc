// The towns directory the build makes: every town of the sources can be found by the
// first letters of its names, and the dialog's steps list and fill as they should.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../support/test_support.h"
#include "core/calendar.h"
#include "data/open_base.h"
#include "data/town_directory.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

class TownDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* f : {"abasa.btr", "abasa.bod", "abasa.bcr", "popa.ctl"})
            std::filesystem::copy_file(test::WorkspaceTemplate() + "/" + f, work.Path() + "/" + f);
    }
    test::TempWorkDir work;
    test::RecordingServices services;
};

TEST_F(TownDirectory, EveryTownIsFoundByItsNames) {
    auto text = ReadFileBytes(std::string(ORBETA_SOURCE_DIR) + "/data/towns/towns.txt");
    ASSERT_TRUE(text);
    BaseSession base("abasa");
    ASSERT_TRUE(base);
    size_t towns = 0;
    for (const auto& line : SplitLines(*text)) {
        if (!IsMeaningfulLine(line)) continue;
        // name, Latin name, country, latitude, longitude, zone, region and country
        std::vector<std::string> c;
        for (size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1)
            c.push_back(line.substr(start, (tab = line.find('\t', start)) - start));
        ASSERT_EQ(c.size(), 7u) << line;
        ++towns;
        auto found = [&](const std::string& typed) {
            auto keys = OpenedBase()->ListKeys(TownKeyPrefix(Utf8ToAnsi(typed)));
            if (!keys) return false;
            BaseRecord r;
            for (const auto& k : *keys)
                if (ReadRecord(k, r) && r.Field(kTownLatitude) == c[3] &&
                    r.Field(kTownLongitude) == c[4] && OemToUtf8(r.Field(kTownName)) == c[0])
                    return true;
            return false;
        };
        EXPECT_TRUE(found(c[0])) << line;
        static const std::string kRussianWorld = " RU UA BY KZ KG UZ TJ TM AZ AM GE MD LT LV EE ";
        if (kRussianWorld.find(" " + c[2] + " ") == std::string::npos) {
            EXPECT_TRUE(found(c[1])) << line;
        }
    }
    EXPECT_GT(towns, 30000u);
}

TEST_F(TownDirectory, ListAndChooseAsTheDialogDoes) {
    std::vector<TownListRow> lines;
    ASSERT_EQ(ListTowns("москва"_cp, lines), TownSearch::Found);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], (TownListRow{"Москва"_cp, "Москва"_cp, "Россия"_cp, "55.45", "37.37"}));
    EXPECT_EQ(lines[1].region, "Айдахо"_cp);
    EXPECT_EQ(lines[1].country, "США"_cp);
    auto listed = ReadFileBytes("town.tmp");
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->substr(0, 10), " t." + Utf8ToOem("МОСКВА") + "\n");

    auto moscow = ChooseTown(0, JulianDayOfDateTimeText("15.01.2020 12:00:00"));
    ASSERT_TRUE(moscow);
    EXPECT_EQ(moscow->name, "Москва"_cp);
    EXPECT_EQ(moscow->latitude, "55.45");
    EXPECT_EQ(moscow->longitude, "37.37");
    EXPECT_EQ(moscow->correction, -3);
    auto idaho = ChooseTown(1, JulianDayOfDateTimeText("15.07.2020 12:00:00"));
    ASSERT_TRUE(idaho);
    EXPECT_EQ(idaho->longitude, "243.00");  // 117°00' west
    EXPECT_EQ(idaho->correction, 7);
    EXPECT_EQ(ChooseTown(1, 0)->correction, 0);
    EXPECT_FALSE(ChooseTown(static_cast<int>(lines.size()), 0));
    EXPECT_TRUE(services.warnings.empty());
}

TEST_F(TownDirectory, FailuresAreTheDocumentedWarnings) {
    std::vector<TownListRow> lines;
    EXPECT_EQ(ListTowns("Щщщщ"_cp, lines), TownSearch::NoTown);
    EXPECT_TRUE(lines.empty());
    std::filesystem::remove("abasa.btr");
    EXPECT_EQ(ListTowns("москва"_cp, lines), TownSearch::NoDirectory);
    EXPECT_FALSE(ChooseTown(0, 0));
    EXPECT_EQ(services.warnings, (std::vector<std::string>{"notown", "Noab"}));
    std::vector<TownCard> cards;
    EXPECT_EQ(FindTownCards("москва"_cp, cards), TownSearch::NoDirectory);
}

}  // namespace
}  // namespace orbeta
