// Chart cards and the database commands' work: the fields a card holds, the chart
// made from a card, and the list the dialogs show.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"
#include "core/calendar.h"
#include "data/chart_base.h"
#include "data/chart_card.h"
#include "data/open_base.h"
#include "data/record_store.h"
#include "platform/codepage.h"
#include "store_test_support.h"

namespace orbeta {
namespace {

ChartRecord Ivan() {
    ChartRecord c;
    // 08:00:00 less a hundredth of a second: the card rounds to the second.
    c.jdLocal = JulianDay({16, 5, 1945, 8, 0, 0}) - 1e-7;
    c.gmtCorr = -3 / 24.0;
    c.latitude = 55.45;
    c.longitude = 37.37;
    CopyText(c.name, "Иван"_cp);
    CopyText(c.place, "Москва"_cp);
    CopyText(c.comment, "№ 5"_cp);
    return c;
}

TEST(ChartCard, AChartIsStoredInTheDocumentedFieldsWithOemTexts) {
    BaseRecord card = CardOfChart(Ivan());
    EXPECT_FALSE(card.Has(kCardKey));
    EXPECT_EQ(card.Field(kCardName), "\x88\xA2\xA0\xAD");  // CP866
    EXPECT_EQ(card.Field(kCardDate), "16.05.1945");
    EXPECT_EQ(card.Field(kCardTime), "08:00:00");
    EXPECT_EQ(card.Field(kCardLatitude), "55.45");
    EXPECT_EQ(card.Field(kCardLongitude), "37.37");
    EXPECT_EQ(card.Field(kCardPlace), "\x8C\xAE\xE1\xAA\xA2\xA0");
    EXPECT_EQ(card.Field(kCardGmt), "-3.00");
    EXPECT_EQ(card.Field(kCardComment), "\xFC 5");
    EXPECT_EQ(CardText(card, kCardPlace), "Москва"_cp);
    EXPECT_EQ(CardListLine(card), "Иван  16.05.1945 08:00:00 Москва"_cp);
    EXPECT_EQ(CardListLine(BaseRecord{}), "    ");
}

TEST(ChartCard, ACardMakesTheChartWithItsDefaults) {
    ChartRecord current;
    current.latitude = 59.57;
    current.longitude = 30.19;
    ChartRecord c = ChartOfCard(CardOfChart(Ivan()), current, 7);
    EXPECT_NEAR(c.jdLocal, JulianDay({16, 5, 1945, 8, 0, 0}), 1e-9);
    EXPECT_DOUBLE_EQ(c.gmtCorr, -0.125);
    EXPECT_DOUBLE_EQ(c.jdUT, c.jdLocal - 0.125);
    EXPECT_DOUBLE_EQ(c.jdCalc, c.jdUT);
    EXPECT_DOUBLE_EQ(c.latitude, 55.45);
    EXPECT_STREQ(c.name, "Иван"_cp);
    EXPECT_EQ(c.houseSystem, 7);
    EXPECT_EQ(c.calcMethod, 1);

    BaseRecord sparse;
    sparse.SetField(kCardDate, "..1990");
    sparse.SetField(kCardTime, "14:30");
    sparse.SetField(kCardName, std::string(29, '\xA0'));
    c = ChartOfCard(sparse, current, 3);
    EXPECT_EQ(DateTimeText(c.jdLocal), "01.01.1990 14:30:00") << "missing date parts count as 1";
    EXPECT_EQ(c.gmtCorr, 0.0);
    EXPECT_EQ(c.latitude, 59.57);
    EXPECT_EQ(c.longitude, 30.19);
    EXPECT_EQ(std::string(c.name), std::string(28, '\xE0')) << "28 characters, CP1251";
    EXPECT_EQ(DateTimeText(ChartOfCard(BaseRecord{}, current, 3).jdLocal), "01.01.0001 00:00:00");
    EXPECT_EQ(CardNumber(" +12.5x"), 12.5);
    EXPECT_EQ(CardNumber("nan"), 0.0);
}

TEST(ChartCard, TheCardDialogBuildsDateAndTimeFromItsNumbers) {
    CardInput in;
    in.name = "Пётр"_cp;
    in.local = {3, 4, 1801, 5, 6, 7};
    in.gmt = " -2.5 ";
    in.latitude = "50.27";
    in.longitude = "30.31";
    BaseRecord card = CardOfInput(in);
    EXPECT_EQ(card.Field(kCardDate), "03.04.1801");
    EXPECT_EQ(card.Field(kCardTime), "05:06:07");
    EXPECT_EQ(card.Field(kCardGmt), "-2.5");
    EXPECT_EQ(CardText(card, kCardName), "Пётр"_cp);
    EXPECT_FALSE(card.Has(kCardPlace));
}

class ChartBase : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CreateChartBase("b"), CreateBaseResult::Created); }
    test::TempWorkDir work;
    test::RecordingServices services;
};

TEST_F(ChartBase, CardsAreStoredListedCorrectedAndDeletedByListLine) {
    ChartRecord second = Ivan();
    CopyText(second.name, "Second");
    EXPECT_EQ(StoreChart("b", Ivan()), ".000001");
    EXPECT_EQ(StoreChart("b", second), ".000002");
    EXPECT_EQ(StoreChart("b", Ivan()), ".000003");
    auto lines = ListCards("b");
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 3u);
    EXPECT_EQ((*lines)[1], "Second  16.05.1945 08:00:00 Москва"_cp);
    EXPECT_EQ(test::Bytes("basa.tmp"), " .000001\n .000002\n .000003\n");

    ASSERT_TRUE(DeleteListedCard("b", 0));
    EXPECT_EQ(test::Bytes("basa.tmp"), "-.000001\n .000002\n .000003\n");
    // The list box dropped line 0: its index 0 is now the second card.
    auto card = ReadListedCard("b", 0);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->Field(kCardName), "Second");

    CardInput in;
    in.name = "Corrected";
    in.local = {1, 2, 2003, 4, 5, 6};
    auto line = RewriteListedCard("b", 0, CardOfInput(in));
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "Corrected  01.02.2003 04:05:06 ");
    ASSERT_EQ(OpenBase("b"), 0);
    BaseRecord stored;
    ASSERT_TRUE(ReadRecord(".000002", stored));
    EXPECT_EQ(stored.Field(kCardName), "Corrected");
    EXPECT_FALSE(ReadRecord(".000001", stored));
    auto keys = OpenedBase()->ListKeys("");
    EXPECT_EQ(*keys, (std::vector<std::string>{".000002", ".000003"}));
    // The corrected card keeps its key in field 1, as a card written back does.
    IndexSearch at = OpenedBase()->Index().Search(".000002");
    auto data = OpenedBase()->Pages().Find(at.page, ".000002");
    CloseBase();
    ASSERT_TRUE(data);
    BaseRecord fields;
    DecodeFields(data->data(), data->size(), fields);
    EXPECT_EQ(fields.Field(kCardKey), ".000002");

    EXPECT_FALSE(ReadListedCard("b", 5));
    EXPECT_FALSE(DeleteListedCard("b", 5));
    EXPECT_FALSE(ListCards("missing"));
    EXPECT_TRUE(services.warnings.empty());
}

TEST_F(ChartBase, AChosenFileLosesOnlyItsExtension) {
    std::filesystem::create_directory("my.bases");
    ASSERT_EQ(CreateChartBase("my.bases/cards"), CreateBaseResult::Created);
    std::string dir = work.Path() + "/my.bases/";
    EXPECT_EQ(StemOfChosenFile(dir + "cards.bod"), dir + "cards");
    EXPECT_EQ(StemOfChosenFile("my.bases/cards.bod"), "my.bases/cards");
    EXPECT_EQ(StemOfChosenFile("my.bases/cards.btr"), "my.bases/cards");
    EXPECT_EQ(StemOfChosenFile("my.bases/none.bod"), std::nullopt) << "cannot be opened";
    work.WriteFile("my.bases/plain", "");
    EXPECT_EQ(StemOfChosenFile("my.bases/plain"), "my.bases/plain");
    work.WriteFile("my.bases/.bod", "");
    EXPECT_EQ(StemOfChosenFile("my.bases/.bod"), std::nullopt);
    std::string deep = std::string(80, 'd');
    std::filesystem::create_directory(deep);
    work.WriteFile(deep + "/long.bod", "");
    EXPECT_EQ(StemOfChosenFile(deep + "/long.bod"), std::nullopt);
    ASSERT_EQ(services.warnings.size(), 1u) << "a stem the profile cannot keep";
}

TEST_F(ChartBase, ANewDatabaseIsNeverMadeOverAnExistingFile) {
    EXPECT_TRUE(services.warnings.empty());
    EXPECT_EQ(CreateChartBase("b"), CreateBaseResult::Exists);
    EXPECT_EQ(services.warnings, std::vector<std::string>{"bis"});
    work.WriteFile("c.btr", "precious");
    EXPECT_EQ(CreateChartBase("c"), CreateBaseResult::Exists);
    EXPECT_EQ(test::Bytes("c.btr"), "precious");
    EXPECT_EQ(test::I16At(test::Bytes("b.btr"), 14), 4096);
    EXPECT_EQ(CreateChartBase(""), CreateBaseResult::Failed);
    EXPECT_EQ(CreateChartBase("no/such/dir/x"), CreateBaseResult::Failed);
    EXPECT_FALSE(FileExists("no/such/dir/x.btr"));
}

}  // namespace
}  // namespace orbeta
