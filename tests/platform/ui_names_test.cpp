#include "platform/ui_names.h"

#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

// The names of the shipped orbtw.t, each list read with the base its users expect.
class UiNames : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t")); }
    void TearDown() override { SetUiTexts({}); }
    static std::string U(const std::string& cp1251) { return AnsiToUtf8(cp1251); }
};

TEST_F(UiNames, PointsAndSigns) {
    EXPECT_EQ(U(PointShortName(1)), "Сол");
    EXPECT_EQ(U(PointShortName(25)), "MC");
    EXPECT_EQ(U(PointShortName(27)), "Д12");
    EXPECT_EQ(PointShortName(0), "");
    EXPECT_EQ(PointShortName(28), "");
    EXPECT_EQ(U(PointLongName(11)), "Восходящий узел");
    EXPECT_EQ(U(PointName(16)), "Асцендент");
    EXPECT_EQ(U(SignStartName(0)), "0° Овна");
    EXPECT_EQ(U(SignStartName(11)), "0° Рыб");
    EXPECT_EQ(U(SignName(0)), "Овен");
    EXPECT_EQ(U(SignName(11)), "Рыбы");
    EXPECT_EQ(U(SignNamePrepositional(4)), "о Льве");  // "во Льве" after "в"
    EXPECT_EQ(U(PlanetName(15)), "Лилит");
    EXPECT_EQ(U(PointNameIn(NameCase::Instrumental, 2)), "Луной");
    EXPECT_EQ(U(PointNameIn(NameCase::Prepositional, 1)), "Солнце");
    EXPECT_EQ(U(PointNameIn(NameCase::Dative, 25)), "MC");
    EXPECT_EQ(U(HypotheticalName(1)), "Купидон");
    EXPECT_EQ(U(HypotheticalName(8)), "Посейдон");
}

TEST_F(UiNames, ListsCountedFromZero) {
    EXPECT_EQ(U(ReturnKindName(0)), "Годовой соляр");
    EXPECT_EQ(U(ReturnKindName(4)), "Релокация");
    EXPECT_EQ(U(EclipseTypeName(6)), "Полутеневое");
    EXPECT_EQ(U(WeekdayName(0)), "Воскресенье");
    EXPECT_EQ(U(TableTitle(7)), "Возвращения");
    EXPECT_EQ(U(JonesFigureName(0)), "Нет фигуры");
    EXPECT_EQ(U(ElementName(3)), "Вода");
    EXPECT_EQ(U(CrossName(1)), "Фиксированный");
    EXPECT_EQ(U(DrawingElementName(10)), "Фон карты");
    EXPECT_EQ(U(StarPhaseName(2)), "ночная");
}

TEST_F(UiNames, ItemsByTheirNumber) {
    EXPECT_EQ(U(MethodName(1)), "Натальная карта");
    EXPECT_EQ(U(MethodName(6)), "Вторичные прогрессии");
    EXPECT_EQ(MethodName(13), "");  // composite charts have no method name
    EXPECT_EQ(U(HouseSystemName(3)), "Плацидус");
    EXPECT_EQ(U(HouseSystemName(11)), "Равные от MC");
    EXPECT_EQ(U(ReportTitle(2002)), "Таблица Биндху");
    EXPECT_EQ(U(ReportTitle(2019)), "Прогрессивная Луна по точкам аспектов");
    EXPECT_EQ(ReportTitle(2007), "");
    EXPECT_EQ(U(InterpretationTitle(0)), "Интерпретация натальной карты");
    EXPECT_EQ(U(InterpretationTitle(4)), "Неподвижные звезды");
}

TEST_F(UiNames, LotSymbols) {
    EXPECT_EQ(LotSymbols().size(), 39u);
    EXPECT_EQ(LotSymbolPosition("SUN"), 1);
    EXPECT_EQ(LotSymbolPosition("H12"), 27);
    EXPECT_EQ(LotSymbolPosition("R12"), 39);
    EXPECT_EQ(LotSymbolPosition("XYZ"), 0);
}

TEST(NumberedItems, NumberRules) {
    SetUiTexts({"M a [0]/-/b[ 7]/c [7]/d [x]/e [-2]"});
    EXPECT_EQ(NumberedItemLabel("M", 0), "a");
    EXPECT_EQ(NumberedItemLabel("M", 7), "c");  // "[ 7]" names no number
    EXPECT_EQ(NumberedItemLabel("M", -2), "e");
    EXPECT_EQ(NumberedItemLabel("M", 1), "");
    EXPECT_EQ(NumberedItemLabel("Missing", 0), "");
    SetUiTexts({});
}

}  // namespace
}  // namespace orbeta
