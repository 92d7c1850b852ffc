// The chart tables as data: the grid's points, the saved text, the scroll maxima,
// the grid under a printed wheel, and the Bindhu entries, layout and report.
#include "chart/chart_tables.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../support/test_support.h"
#include "core/calendar.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

class ChartTables : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
    }
};

ChartRecord Chart(std::initializer_list<double> lons, int houseSystem = kNoHouseSystem) {
    ChartRecord c;
    c.jdLocal = c.jdCalc = 2451545.0;
    c.houseSystem = static_cast<int16_t>(houseSystem);
    int body = 1;
    for (double lon : lons) c.lon[body++] = lon;
    for (int h = 1; h <= 12; ++h) c.cusp[h] = 30.0 * (h - 1);
    return c;
}

OrbTable Aspects(std::initializer_list<float> angles) {
    OrbTable t;
    for (float a : angles) t.aspects.push_back(AspectRecord{a});
    return t;
}

TEST_F(ChartTables, PointListsFollowHoraryMasksAndHouses) {
    struct Case {
        bool horary;
        long maskP, maskA;
        int system;
        std::vector<int> points, coordinates;
    } cases[] = {
        {true, 1, 1, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 16, 17, 18, 19, 20, 21}},
        {false, 5, 1, 3, {1, 16, 17, 18, 19, 20, 21}, {1, 3, 16, 17, 18, 19, 20, 21}},
        // Without houses the harmonic chart's radix cusps are left out.
        {false, 5, 5, kNoHouseSystem, {1, 3}, {1, 3}},
        {false, 0, 0, kNoHouseSystem, {}, {}},
    };
    for (const Case& c : cases) {
        AspectTable t;
        t.horary = c.horary;
        t.maskP = c.maskP;
        t.maskA = c.maskA;
        t.chartA = t.chartB = Chart({10, 20, 30}, c.system);
        EXPECT_EQ(t.Points(), c.points) << c.maskP << " " << c.system;
        EXPECT_EQ(t.CoordinatePoints(), c.coordinates) << c.maskP << " " << c.system;
    }
    // A two-chart table without houses in its second chart lists bodies only.
    AspectTable two;
    two.kind = kTableTwoCharts;
    two.maskP = two.maskA = 1;
    two.chartA = Chart({10}, 3);
    two.chartB = Chart({10}, kNoHouseSystem);
    EXPECT_EQ(two.Points(), std::vector<int>{1});
}

TEST_F(ChartTables, SavedTextOfOneAndTwoCharts) {
    AspectTable one;
    one.maskP = one.maskA = 3;
    one.chartA = one.chartB = Chart({0, 90});
    CopyText(one.chartA.name, "Radix");
    one.matrix.Set(1, 2, 90);
    one.matrix.Set(2, 1, 90);
    EXPECT_EQ(one.Points(), (std::vector<int>{1, 2}));
    EXPECT_EQ(AnsiToUtf8(AspectTableText(one)),
              "         Сол   Лун\n"
              "Сол      Сол  90.0\n"
              "Лун     90.0   Лун\n"
              "Radix 01.01.2000 12:00:00\n"
              "Долгота  Широта  Скорость Склонение\n"
              "Сол   0.0     0.0     0.000      0.0\n"
              "Лун  90.0     0.0     0.000     23.4\n");

    AspectTable two = one;
    two.kind = kTableArcs;
    two.maskP = two.maskA = 1;
    two.chartB = Chart({180});
    CopyText(two.chartB.name, "Event");
    two.chartB.lat[1] = 1.25;
    two.chartB.speed[1] = -0.5;
    two.matrix = ArcMatrix(two.chartA, two.chartB);
    EXPECT_EQ(AnsiToUtf8(AspectTableText(two)),
              "         Сол\n"
              "Сол    180.0\n"
              "Radix 01.01.2000 12:00:00              Event 01.01.2000 12:00:00\n"
              "Долгота  Широта  Скорость Склонение    Долгота  Широта  Скорость Склонение\n"
              "Сол   0.0     0.0     0.000      0.0       180.0     1.2    -0.500      1.1\n");
}

TEST_F(ChartTables, ScrollMaximaHideBarsOfShortTables) {
    AspectTable t;
    t.maskP = t.maskA = 3;
    t.chartA = t.chartB = Chart({0, 90});  // n = 2, m = 2
    TableScrollMaxima wide = ScrollMaxima(t, 640, 480, 20, 10);
    EXPECT_LT(wide.vertical, 1);
    EXPECT_LT(wide.horizontal, 1);
    TableScrollMaxima small = ScrollMaxima(t, 60, 40, 20, 10);
    EXPECT_EQ(small.vertical, 2 + 4 + 2 - 2);
    EXPECT_EQ(small.horizontal, 2 + 2 - 2);
    // An empty window counts as one line and one cell, not a division by zero.
    EXPECT_EQ(ScrollMaxima(t, 0, 0, 0, 0).vertical, 7);
}

TEST_F(ChartTables, PrintedGridOnPortraitAndLandscapePages) {
    AspectTable t;
    t.maskP = t.maskA = 3;
    t.chartA = t.chartB = Chart({0, 90});
    t.matrix.Set(1, 2, 90);
    struct Case {
        int w, h, cy;
        bool newPage;
        int top, rowHeight, unit;
    } cases[] = {
        {2480, 3508, 1000, false, 2000, (3508 - 2000) / 4, 2480 / 21},
        // Landscape: the wheel fills the height, the grid goes to a page of its own.
        {3272, 2244, 3 * 3272 / 8, true, 0, 2244 / 4, 3272 / 21},
    };
    for (const Case& c : cases) {
        PrintedGrid g = LayOutPrintedGrid(t, c.w, c.h, c.cy);
        EXPECT_EQ(g.newPage, c.newPage);
        EXPECT_EQ(g.rowHeight, c.rowHeight);
        EXPECT_EQ(g.unit, c.unit);
        int u = c.unit, h = c.rowHeight;
        std::vector<std::string> texts;
        for (const GridItem& item : g.items) {
            EXPECT_GE(item.y, 0);
            EXPECT_LE(std::max(item.y, item.y2), c.h);
            if (!item.rule)
                texts.push_back(AnsiToUtf8(item.text) + "@" + std::to_string(item.x) + "," +
                                std::to_string(item.y - c.top));
        }
        auto at = [](std::string s, int x, int y) {
            return s + "@" + std::to_string(x) + "," + std::to_string(y);
        };
        EXPECT_EQ(texts, (std::vector<std::string>{at("Сол", 9 * u, 0), at("Лун", 16 * u, 0),
                                                   at("Сол", 2 * u, h), at("Сол", 9 * u, h),
                                                   at(" 90.0", 14 * u, h), at("Лун", 2 * u, 2 * h),
                                                   at("Лун", 16 * u, 2 * h)}));
        int rules = 0;
        for (const GridItem& item : g.items) rules += item.rule;
        EXPECT_EQ(rules, 3 + 4);  // under the heading and each row; 0, 6u and two columns
    }
}

TEST_F(ChartTables, BindhuEntriesAndLayout) {
    // Sun at 350°: conjunction and opposition once, sextile both ways across 0°.
    auto entries = BindhuEntries(Chart({350}), Aspects({0, 60, 180}), 1);
    std::vector<double> lons;
    for (const auto& e : entries) lons.push_back(std::round(e.lon * 1e9) / 1e9);
    EXPECT_EQ(lons, (std::vector<double>{50, 170, 290, 350}));
    EXPECT_EQ(entries[0].aspect, 60);
    EXPECT_EQ(entries[2].aspect, 60);

    // Three points in 5° Aries: three rows for that degree, labelled 6, 0, 0; every
    // other degree keeps one row. 29°59'40" Taurus rounds into 0° Gemini.
    double lastSecond = 30 + 29 + 59.0 / 60 + 40.0 / 3600;
    auto rows = BindhuLayout(BindhuEntries(Chart({5.2, 5.4, 5.6, lastSecond}), Aspects({0}), 15));
    ASSERT_EQ(rows.size(), 32u);
    EXPECT_EQ(rows[0].label, 1);
    EXPECT_EQ(rows[0].cells[2].point, 4);
    EXPECT_EQ(rows[0].cells[2].minutes, 0);
    EXPECT_EQ(rows[0].cells[1].point, kBindhuEmpty);
    EXPECT_EQ(rows[5].label, 6);
    EXPECT_EQ(rows[6].label, 0);
    EXPECT_EQ(rows[7].label, 0);
    EXPECT_EQ(rows[8].label, 7);
    EXPECT_EQ(rows[31].label, 30);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rows[5 + k].cells[0].point, k + 1);
        EXPECT_EQ(rows[5 + k].cells[0].minutes, 12 + 12 * k);
    }
    // Nothing to list: thirty empty rows.
    EXPECT_EQ(BindhuLayout(BindhuEntries(Chart({}), Aspects({}), 0)).size(), 30u);
    EXPECT_EQ(BindhuReportText({}), "");
}

TEST_F(ChartTables, BindhuReportBreaksAtSignsAndAfterFour) {
    auto entries = BindhuEntries(Chart({10, 100}), Aspects({0, 90}), 3);
    EXPECT_EQ(AnsiToUtf8(BindhuReportText(entries)),
              "\n | Солнце-  0 10Ar00 | Луна- 90 10Ar00 |"
              "\n | Солнце- 90 10Cn00 | Луна-  0 10Cn00 |"
              "\n | Луна- 90 10Li00 |"
              "\n | Солнце- 90 10Cp00 |");
    auto five = BindhuEntries(Chart({1, 2, 3, 4, 5}), Aspects({0}), 31);
    EXPECT_EQ(AnsiToUtf8(BindhuReportText(five)),
              "\n | Солнце-  0 01Ar00 | Луна-  0 02Ar00 | Меркурий-  0 03Ar00 | Венера-  0 04Ar00 |"
              "\n | Марс-  0 05Ar00 |");
}

}  // namespace
}  // namespace orbeta
