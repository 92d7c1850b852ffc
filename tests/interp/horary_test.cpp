// The horary answer judged on constructed next-aspect matrices: the keys it looks up
// (no base is open, so every key is recorded and none printed) and what it found.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interp/horary.h"

namespace orbeta {
namespace {

constexpr double kNow = 2450000.5;

struct Aspect {
    int a, b, angle;
    double days;  // after the chart's moment
};

// Equal houses from the Ascendant: cusp 1 in Aries (ruler MRS), cusp 7 in Libra (VEN).
// Every body stands in house 10, away from the houses asked about, unless moved.
HoraryInput Question(int s, int b, double ascendant, std::vector<Aspect> aspects,
                     std::vector<std::pair<int, double>> moved = {}, std::vector<int> retro = {}) {
    HoraryInput in;
    in.subject = s;
    in.object = b;
    in.chart.jdCalc = in.chart.jdUT = kNow;
    in.chart.houseSystem = 1;
    for (int h = 1; h <= 12; ++h) in.chart.cusp[h] = ascendant + 30.0 * (h - 1);
    for (int body = 1; body <= 15; ++body) {
        in.chart.lon[body] = ascendant + 272 + body * 0.5;
        in.chart.speed[body] = 0.5;
    }
    for (auto [body, lon] : moved) in.chart.lon[body] = lon;
    for (int body : retro) in.chart.speed[body] = -0.1;
    for (const auto& x : aspects) {
        in.next.aspect[x.a - 1][x.b - 1] = in.next.aspect[x.b - 1][x.a - 1] = x.angle;
        in.next.time[x.a - 1][x.b - 1] = in.next.time[x.b - 1][x.a - 1] = kNow + x.days;
    }
    return in;
}

std::string Judged(const HoraryInput& in) {
    ReportSink sink;
    WriteHorary(in, sink);
    std::string keys;
    for (const auto& k : sink.Keys())
        if (k.key != "0" && k.key[0] != 'S' && k.key[0] != 'P') keys += k.key + " ";
    return keys;
}

TEST(Horary, Decisions) {
    const double asc = 15;  // MRS rules the 1st, VEN the 7th
    struct Case {
        const char* what;
        HoraryInput in;
        const char* keys;
    };
    const Case cases[] = {
        {"Ascendant at 2°59′", Question(1, 7, 2 + 59.0 / 60, {{5, 4, 120, 1}}), "A03 "},
        {"Ascendant past 27°", Question(1, 7, 27.5, {{5, 4, 120, 1}}), "A27 "},
        {"clean trine", Question(1, 7, asc, {{5, 4, 120, 1}}), "UU++ "},
        {"square", Question(1, 7, asc, {{5, 4, 90, 1}}), "UU- "},
        {"trine, square to j first", Question(1, 7, asc, {{5, 4, 120, 2}, {7, 4, 90, 1}}),
         "UU+- MH07 "},
        {"trine, opposition to i first", Question(1, 7, asc, {{5, 4, 60, 2}, {3, 5, 180, 1}}),
         "UU+- MH03 "},
        {"square to j after perfection", Question(1, 7, asc, {{5, 4, 120, 1}, {7, 4, 90, 2}}),
         "UU++ "},
        {"unrelated malefic conjunction", Question(1, 7, asc, {{5, 4, 120, 2}, {7, 6, 0, 1}}),
         "UU++ "},
        {"malefic conjunct j", Question(1, 7, asc, {{5, 4, 120, 2}, {8, 4, 0, 1}}), "UU+- MH08 "},
        {"benefic conjunct j", Question(1, 7, asc, {{5, 4, 120, 2}, {6, 4, 0, 1}}), "UU++ "},
        {"past perfection", Question(1, 7, asc, {{5, 4, 120, -0.1}}), "Lnot "},
        {"body in house q", Question(1, 7, asc, {{5, 9, 60, 3}}, {{9, asc + 185}}), "UU++ "},
        {"earliest pair",
         Question(1, 7, asc, {{5, 9, 90, 3}, {1, 4, 120, 2}}, {{9, asc + 185}, {1, asc + 5}}),
         "UU++ "},
        {"Moon void", Question(1, 7, asc, {{8, 9, 0, 1}}), "Lnot "},
        {"Moon meets another", Question(1, 7, asc, {{2, 1, 60, 1}}), "NoAn "},
        {"Moon squares R2", Question(1, 7, asc, {{2, 4, 90, 1}}), "L-- "},
        {"Moon conjunct SAT first", Question(1, 7, asc, {{2, 4, 120, 1}, {2, 7, 0, 0.5}}),
         "L+- LH07 "},
        {"Moon sextile SAT first", Question(1, 7, asc, {{2, 4, 120, 1}, {2, 7, 60, 0.5}}), "L++ "},
        {"Moon squares MRS after", Question(1, 7, asc, {{2, 4, 120, 1}, {2, 5, 90, 1.5}}), "L++ "},
        {"retrograde R1", Question(1, 7, asc, {{5, 4, 120, 1}}, {}, {5}), "UU++ uSr "},
        {"retrograde R2", Question(1, 7, asc, {}, {}, {4}), "Lnot uPr "},
        // b = 1: the ruler with itself has no aspect; a body in the house does.
        {"same house", Question(1, 1, asc, {{5, 6, 120, 1}}, {{6, asc + 10}}), "UU++ "},
    };
    for (const auto& c : cases) EXPECT_EQ(Judged(c.in), c.keys) << c.what;
}

TEST(Horary, Findings) {
    HoraryFindings f = [] {
        ReportSink sink;
        return WriteHorary(Question(1, 7, 15, {{5, 4, 120, 2}, {7, 4, 90, 1}}), sink);
    }();
    EXPECT_EQ(f.q, 7);
    EXPECT_EQ(f.r1, 5);
    EXPECT_EQ(f.r2, 4);
    ASSERT_TRUE(f.taken.has_value());
    EXPECT_EQ(f.taken->aspect, 120);
    EXPECT_EQ(f.prohibitor, 7);

    HoraryInput zodiac = Question(1, 7, 15, {{5, 4, 120, 1}});
    zodiac.chart.houseSystem = 8;
    ReportSink sink;
    EXPECT_FALSE(WriteHorary(zodiac, sink).refusal.empty());
    EXPECT_TRUE(sink.Keys().empty());
}

TEST(Horary, ObjectHouseAndRulers) {
    const int q[][3] = {{7, 2, 8}, {10, 4, 1}, {1, 1, 1}, {12, 12, 11}, {5, 7, 11}};
    for (const auto& c : q) EXPECT_EQ(HoraryObjectHouse(c[0], c[1]), c[2]) << c[0] << "," << c[1];
    // Scorpio, Aquarius and Pisces keep their classical rulers.
    EXPECT_EQ(ClassicalRuler(7), 5);
    EXPECT_EQ(ClassicalRuler(10), 7);
    EXPECT_EQ(ClassicalRuler(11), 6);
}

TEST(Horary, Choices) {
    auto c = HoraryChoices("Я сам [1]/Брат [3x]/Без номера/Отец [13]/ Мать [10]/[0]/Друг [11]");
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].label, "Я сам");
    EXPECT_EQ(c[1].label, "Мать");
    EXPECT_EQ(c[1].number, 10);
    EXPECT_EQ(c[2].number, 11);
    EXPECT_TRUE(HoraryChoices("").empty());
}

}  // namespace
}  // namespace orbeta
