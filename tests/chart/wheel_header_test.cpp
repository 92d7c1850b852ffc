// The header beside the wheel for each kind of chart, with the program's UI texts.
#include "chart/wheel_header.h"

#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "core/calendar.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

class WheelHeader : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
        chart.jdLocal = JulianDayOfDateTimeText("16.05.1945 08:00:00");
        chart.jdUT = chart.jdLocal - 0.125;
        chart.jdCalc = JulianDayOfDateTimeText("20.06.1980 10:00:00");
        chart.baseJdLocal = JulianDayOfDateTimeText("01.02.1950 03:04:05");
        chart.baseJdUT = chart.baseJdLocal - 0.125;
        chart.latitude = 55.45;
        chart.longitude = 37.37;
        chart.houseSystem = 3;
        CopyText(chart.name, "Иван"_cp);
        CopyText(chart.place, "Москва"_cp);
        chart.eventHeader.jdLocal = JulianDayOfDateTimeText("02.03.1960 04:05:06");
        chart.eventHeader.jdUT = chart.eventHeader.jdLocal + 0.5;
        chart.eventHeader.latitude = 48.5;
        chart.eventHeader.longitude = 2.2;
        CopyText(chart.eventHeader.name, "Анна"_cp);
        CopyText(chart.eventHeader.place, "Париж"_cp);
        partner.jdLocal = JulianDayOfDateTimeText("03.04.1970 05:06:07");
        partner.jdUT = partner.jdLocal;
        partner.latitude = 51.3;
        partner.longitude = 0.1;
        CopyText(partner.name, "Олег"_cp);
        CopyText(partner.place, "Лондон"_cp);
    }
    std::vector<std::string> Header(int method) {
        chart.calcMethod = static_cast<int16_t>(method);
        std::vector<std::string> out;
        for (const std::string& l : ChartHeaderLines(chart, partner)) out.push_back(AnsiToUtf8(l));
        return out;
    }
    ChartRecord chart, partner;
};

using Lines = std::vector<std::string>;

TEST_F(WheelHeader, NatalAndDerivedChartsShowTheirMomentsAndMethod) {
    EXPECT_EQ(Header(1), (Lines{"Иван", "LT: 16.05.1945 08:00:00", "GMT:16.05.1945 05:00:00",
                                "55.45 37.37 Москва", "Плацидус", "Натальная карта"}));
    // Progressions show the base moments, then the chart's own and its calculation moment.
    EXPECT_EQ(Header(6), (Lines{"Иван", "LT: 01.02.1950 03:04:05", "GMT:01.02.1950 00:04:05",
                                "55.45 37.37 Москва", "Плацидус", "Вторичные прогрессии",
                                "16.05.1945 08:00:00", "(20.06.1980 10:00:00)"}));
    // The nodal chart has a name but no moments below it.
    EXPECT_EQ(Header(15).back(), "Узловая карта");
    // A harmonic shows the moments of the chart it was made from, and its number.
    chart.harmonic = 5;
    EXPECT_EQ(Header(16), (Lines{"Иван", "LT: 02.03.1960 04:05:06", "GMT:02.03.1960 16:05:06",
                                 "55.45 37.37 Москва", "Гармоника 5"}));
    // A solar return: the birth moments of its event header and the return's name.
    EXPECT_EQ(Header(100),
              (Lines{"Иван", "LT: 02.03.1960 04:05:06", "GMT:02.03.1960 16:05:06",
                     "55.45 37.37 Москва", "Плацидус", "Годовой соляр", "(20.06.1980 10:00:00)"}));
    // A relocation keeps the chart's own moments and shows no calculation moment.
    Lines relocation = Header(104);
    EXPECT_EQ(relocation[1], "LT: 16.05.1945 08:00:00");
    EXPECT_EQ(relocation.back(), "Релокация");
}

TEST_F(WheelHeader, CompositeAndMidpointChartsShowBothBaseCharts) {
    Lines both = {
        "Анна", "LT: 02.03.1960 04:05:06", "GMT:02.03.1960 16:05:06", "48.50 2.20 Париж",
        "Олег", "LT: 03.04.1970 05:06:07", "GMT:03.04.1970 05:06:07", "51.30 0.10 Лондон"};
    Lines composite = both;
    composite.insert(composite.end(), {"Композит", "55.45 37.37 Москва"});
    EXPECT_EQ(Header(13), composite);
    Lines midpoint = both;
    midpoint.insert(midpoint.end(), {"Средняя", "55.45 37.37 Москва", "GMT:16.05.1945 05:00:00"});
    EXPECT_EQ(Header(14), midpoint);
}

}  // namespace
}  // namespace orbeta
