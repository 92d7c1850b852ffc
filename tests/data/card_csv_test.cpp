// Chart cards to CSV and back: UTF-8 texts, quoting, and files that are refused whole.
#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "data/card_csv.h"
#include "data/chart_card.h"
#include "platform/codepage.h"
#include "store_test_support.h"

namespace orbeta {
namespace {

std::unique_ptr<RecordStore> NewStore(const std::string& stem) {
    EXPECT_EQ(CreateBase(stem), 0);
    StoreOpenError error;
    return RecordStore::Open(stem, error);
}

TEST(CardCsv, CardsGoOutAsUtf8AndComeBackUnderNewKeys) {
    test::TempWorkDir work;
    auto a = NewStore("a");
    BaseRecord ivan = test::Fields({{kCardName, "\x88\xA2\xA0\xAD, \"\x8C\xAE\xE1\xAA\xA2\xA0\""},
                                    {kCardDate, "16.05.1945"},
                                    {kCardTime, "08:00:00"},
                                    {kCardLatitude, "55.45"},
                                    {kCardLongitude, "37.37"},
                                    {kCardGmt, "-3.00"},
                                    {kCardComment, "two\nlines"}});
    BaseRecord bare = test::Fields({{kCardName, "x"}});
    ASSERT_EQ(a->WriteRecord(".000002", ivan), kWriteDone);
    ASSERT_EQ(a->WriteRecord(".000001", bare), kWriteDone);
    ASSERT_EQ(a->WriteRecord("t.TOWN", test::Fields({{7, "town"}})), kWriteDone);
    auto csv = ExportCardsCsv(*a);
    ASSERT_TRUE(csv);
    EXPECT_EQ(*csv,
              "name,date,time,latitude,longitude,place,gmt,comment\n"
              "x,,,,,,,\n"
              "\"Иван, \"\"Москва\"\"\",16.05.1945,08:00:00,55.45,37.37,,-3.00,\"two\nlines\"\n");

    CsvCards parsed = ParseCardsCsv(*csv);
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.cards.size(), 2u);
    auto b = NewStore("b");
    ASSERT_EQ(ImportCards(*b, parsed.cards), (std::vector<std::string>{".000001", ".000002"}));
    BaseRecord back;
    ASSERT_TRUE(b->ReadRecord(".000002", back));
    back.SetField(kCardKey, "");
    EXPECT_EQ(back, ivan);
    EXPECT_EQ(*ExportCardsCsv(*b), *csv);
}

TEST(CardCsv, ColumnsMayComeInAnyOrderAndValuesAreNormalised) {
    CsvCards parsed = ParseCardsCsv(
        "\xEF\xBB\xBF"
        "date , name,time,gmt,longitude\r\n"
        "\r\n"
        "1.2.1990,Пётр,7:05,+3,-73.59\r\n"
        "  \r\n");
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.cards.size(), 1u);
    const BaseRecord& c = parsed.cards[0];
    EXPECT_EQ(c.Field(kCardDate), "01.02.1990");
    EXPECT_EQ(c.Field(kCardTime), "07:05:00");
    EXPECT_EQ(c.Field(kCardGmt), "3.00");
    EXPECT_EQ(c.Field(kCardLongitude), "-73.59");
    EXPECT_EQ(CardText(c, kCardName), "Пётр"_cp);
    EXPECT_FALSE(c.Has(kCardPlace));
}

TEST(CardCsv, ABadFileIsRefusedWholeWithItsLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "no header row"},
        {"name,colour\n", "line 1: column \"colour\" is unknown"},
        {"name,date,name\n", "line 1: column \"name\" is repeated"},
        {"name,date\nA,01.01.2000\nB\n", "line 3: 1 cells where the header has 2"},
        {"name,date\nA,31.13.2000\n", "line 2, column date: the date is not DD.MM.YYYY"},
        {"name,date\nA,1.1.0\n", "line 2, column date: the date is not DD.MM.YYYY"},
        {"name,time\nA,24:00\n", "line 2, column time: the time is not HH:MM:SS"},
        {"latitude\n91\n", "line 2, column latitude: the number cannot be read or is out of range"},
        {"gmt\n3h\n", "line 2, column gmt: the number cannot be read or is out of range"},
        {"longitude\ninf\n",
         "line 2, column longitude: the number cannot be read or is out of range"},
        {"name\n\"a\nb\"\nB\xE2\x82\xAC\n",
         "line 4, column name: the text cannot be stored in the DOS Cyrillic code page"},
        {"comment\n\xFF\n",
         "line 2, column comment: the text cannot be stored in the DOS Cyrillic code page"},
        {"place\n123456789012345678901234567890\n",
         "line 2, column place: the text is longer than 29 characters"},
    };
    for (const auto& c : cases) {
        CsvCards parsed = ParseCardsCsv(c.text);
        EXPECT_EQ(parsed.error, c.error) << c.text;
        EXPECT_TRUE(parsed.cards.empty()) << c.text;
    }
    EXPECT_EQ(ParseCardsCsv("place\n" + std::string(29, 'p') + "\n").cards.size(), 1u);
}

}  // namespace
}  // namespace orbeta
