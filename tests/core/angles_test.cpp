#include "core/angles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orbeta {
namespace {

TEST(Angles, PackedDegreesMinutes) {
    EXPECT_DOUBLE_EQ(PackedToDegrees(41.30), 41.5);
    EXPECT_DOUBLE_EQ(PackedToDegrees(-41.30), -41.5);
    EXPECT_NEAR(DegreesToPacked(41.5), 41.30, 1e-12);
    EXPECT_NEAR(DegreesToPacked(-0.25), -0.15, 1e-12);
    EXPECT_NEAR(StoredLongitude(-73.59), 286.01, 1e-9);
    EXPECT_DOUBLE_EQ(StoredLongitude(37.37), 37.37);
}

TEST(Angles, PackedCoordinatesOutOfRangeOrWithSixtyMinutes) {
    struct Case {
        double packed;
        PackedFault latitude, longitude;
    } cases[] = {
        {45.59, PackedFault::None, PackedFault::None},
        {-45.5959, PackedFault::None, PackedFault::None},  // fractions of a minute
        {45.75, PackedFault::Minutes, PackedFault::Minutes},
        {45.60, PackedFault::Minutes, PackedFault::Minutes},
        {10.99, PackedFault::Minutes, PackedFault::Minutes},
        {89.99, PackedFault::Minutes, PackedFault::Minutes},  // would be 91°39'
        {90.00, PackedFault::None, PackedFault::None},
        {-90.00, PackedFault::None, PackedFault::None},
        {90.01, PackedFault::Range, PackedFault::None},
        {-90.30, PackedFault::Range, PackedFault::None},
        {-179.99, PackedFault::Minutes, PackedFault::Minutes},
        {-179.59, PackedFault::Range, PackedFault::None},
        {-180.00, PackedFault::Range, PackedFault::None},
        {-180.01, PackedFault::Range, PackedFault::Range},
        {286.01, PackedFault::Range, PackedFault::None},
        {359.59, PackedFault::Range, PackedFault::None},
        {359.60, PackedFault::Minutes, PackedFault::Minutes},
        {360.00, PackedFault::Range, PackedFault::None},
        {360.30, PackedFault::Range, PackedFault::Range},
        {std::nan(""), PackedFault::Range, PackedFault::Range},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckPackedLatitude(c.packed), c.latitude) << c.packed;
        EXPECT_EQ(CheckPackedLongitude(c.packed), c.longitude) << c.packed;
    }
}

TEST(Angles, NormaliseDifferenceSeparation) {
    EXPECT_DOUBLE_EQ(Normalize(-30), 330);
    EXPECT_NEAR(Normalize(720.5), 0.5, 1e-12);
    EXPECT_NEAR(Normalize(-719.5), 0.5, 1e-12);
    EXPECT_LT(Normalize(-1e-15), 360.0);
    EXPECT_DOUBLE_EQ(Opposite(270), 90);
    EXPECT_DOUBLE_EQ(Difference(350, 10), -20);
    EXPECT_DOUBLE_EQ(Difference(10, 190), -180);
    EXPECT_DOUBLE_EQ(Difference(190, 10), -180);  // [−180, 180)
    EXPECT_DOUBLE_EQ(Difference(10, 350), 20);
    EXPECT_DOUBLE_EQ(Separation(350, 10), 20);
}

TEST(Angles, ArcTestAcrossZeroAndLongArcs) {
    EXPECT_TRUE(InArc(5, 350, 20));
    EXPECT_TRUE(InArc(355, 350, 20));
    EXPECT_FALSE(InArc(25, 350, 20));
    EXPECT_TRUE(InArc(350, 350, 20));  // start included, end excluded
    EXPECT_FALSE(InArc(20, 350, 20));
    // a long arc across 0°: 150 lies between 100 and 50 counter-clockwise
    EXPECT_TRUE(InArc(150, 100, 50));
    EXPECT_TRUE(InArc(10, 100, 50));
    EXPECT_FALSE(InArc(75, 100, 50));
}

TEST(Angles, HouseOfLongitude) {
    double cusp[13] = {0};
    for (int i = 1; i <= 12; ++i) cusp[i] = std::fmod(100.0 + (i - 1) * 30.0, 360.0);
    EXPECT_EQ(HouseOf(100, cusp), 1);
    EXPECT_EQ(HouseOf(129.9, cusp), 1);
    EXPECT_EQ(HouseOf(95, cusp), 12);
    EXPECT_EQ(HouseOf(5, cusp), 9);  // cusp 9 at 340, cusp 10 at 10
    EXPECT_EQ(HouseOf(-265, cusp), 12);
    EXPECT_EQ(HouseOf(95, cusp, true), 1);  // reversed: house 1 runs from 130 back to 100
    double same[13] = {0};
    EXPECT_EQ(HouseOf(10, same), 0);  // all cusps equal: no house holds it
}

TEST(Angles, MidpointOnShorterArc) {
    EXPECT_DOUBLE_EQ(Midpoint(10, 50), 30);
    EXPECT_DOUBLE_EQ(Midpoint(350, 10), 0);
    EXPECT_DOUBLE_EQ(Midpoint(10, 350), 0);
    EXPECT_DOUBLE_EQ(Midpoint(300, 100), 20);
}

TEST(Angles, SignsRulersAndPositionText) {
    EXPECT_EQ(SignOf(0), 0);
    EXPECT_EQ(SignOf(359.99), 11);
    EXPECT_EQ(SignRuler(7), 10);  // Scorpio: Pluto
    EXPECT_EQ(SignRuler(10), 8);  // Aquarius: Uranus
    EXPECT_EQ(PositionText(5.5), "05Ar30");
    EXPECT_EQ(PositionText(359.999), "00Ar00");
    // exactly 360 after rounding wraps too (would be sign 13 otherwise)
    EXPECT_EQ(PositionText(359.0 + 59.5 / 60.0), "00Ar00");
    EXPECT_EQ(PositionText(359.0 + 59.4 / 60.0), "29Pi59");
    EXPECT_EQ(PositionText(29.9999), "00Ta00");
    EXPECT_EQ(PositionText(123.25), "03Le15");
}

}  // namespace
}  // namespace orbeta
