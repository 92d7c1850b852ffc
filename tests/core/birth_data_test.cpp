// Birth data in the input dialogs: the correction shown whole, typed numbers checked,
// the record filled from the fields, chart kinds and intervals read from their texts.
#include "core/birth_data.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace orbeta {
namespace {

TEST(BirthData, CorrectionKeepsItsPrecision) {
    EXPECT_EQ(CorrectionText(5.75), "5.75");
    EXPECT_EQ(CorrectionText(-2.5047), "-2.5047");
    EXPECT_EQ(CorrectionText(3.0), "3.0");
    EXPECT_EQ(CorrectionText(-0.00001), "0.0");
    // Read back, the text gives the same correction to the second.
    EXPECT_NEAR(*ParseDecimal(CorrectionText(2.50472)) * 3600, 2.50472 * 3600, 0.5);
}

TEST(BirthData, NumbersAreWholeTextsOrNothing) {
    EXPECT_EQ(ParseDecimal(" 55.45 "), 55.45);
    EXPECT_EQ(ParseDecimal("-3,5"), -3.5);
    EXPECT_FALSE(ParseDecimal(""));
    EXPECT_FALSE(ParseDecimal("12abc"));
    EXPECT_FALSE(ParseDecimal("север"_cp));
    EXPECT_FALSE(ParseDecimal("nan"));
    EXPECT_FALSE(ParseDecimal("1e400"));
    EXPECT_EQ(ParseWhole("07"), 7);
    EXPECT_FALSE(ParseWhole("7.5"));
    EXPECT_FALSE(ParseWhole("99999999999"));
}

TEST(BirthData, RecordFromTheFieldsAndBack) {
    BirthData d;
    d.name = std::string(40, 'N');
    d.place = "Москва"_cp;
    d.local = {1, 13, 1999, 12, 0, 0};  // month 13: January 2000
    d.correctionHours = -3;
    d.latitude = 55.45;
    d.longitude = 37.35;
    ChartRecord c{};
    ApplyBirthData(c, d);
    EXPECT_EQ(std::string(c.name).size(), 29u);
    EXPECT_DOUBLE_EQ(c.jdLocal, 2451545.0);
    EXPECT_DOUBLE_EQ(c.jdUT, 2451545.0 - 3.0 / 24);
    EXPECT_DOUBLE_EQ(c.jdCalc, c.jdUT);
    EXPECT_DOUBLE_EQ(c.gmtCorr, -3.0 / 24);
    BirthData back = BirthDataOf(c);
    EXPECT_EQ(back.local.month, 1);
    EXPECT_EQ(back.local.year, 2000);
    EXPECT_DOUBLE_EQ(back.correctionHours, -3);
    EXPECT_EQ(back.place, d.place);
}

TEST(BirthData, ChartKindAndIntervalTexts) {
    EXPECT_EQ(MethodOfEntry("Вторичные прогрессии [6]"_cp), 6);
    EXPECT_EQ(MethodOfEntry("Без кода"_cp), 1);
    EXPECT_EQ(MethodOfEntry(std::string(80, 'x') + "[6]"), 1);  // past the 78 read

    EXPECT_EQ(SplitInterval("01.01.2005-31.12.2005"),
              std::make_pair(std::string("01.01.2005"), std::string("31.12.2005")));
    EXPECT_EQ(SplitInterval("01.01.2005"),
              std::make_pair(std::string("01.01.2005"), std::string()));
    auto date = ParseDateText(" 31.12.2005");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->day, 31);
    EXPECT_EQ(date->year, 2005);
    EXPECT_FALSE(ParseDateText("31.12"));
    EXPECT_FALSE(ParseDateText("31.дек.2005"_cp));
}

}  // namespace
}  // namespace orbeta
