#include "core/chart_record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orbeta {
namespace {

TEST(ChartRecord, HeaderRoundTripAndBoundedTexts) {
    ChartRecord r;
    r.jdLocal = 1;
    r.jdUT = 2;
    r.latitude = 55.45;
    CopyText(r.name, std::string(40, 'x'));
    EXPECT_EQ(std::strlen(r.name), 29u);
    CopyText(r.place, "Москва", 21);
    CopyText(r.comment, std::string(30, 'c'), 21);
    EXPECT_EQ(std::strlen(r.comment), 21u);
    r.houseSystem = 3;
    r.harmonic = 7;
    r.eventHeader = HeaderOf(r);
    ChartRecord copy;
    SetHeader(copy, r.eventHeader);
    EXPECT_EQ(std::memcmp(&copy, &r, sizeof(ChartHeader)), 0);
    EXPECT_EQ(copy.eventHeader.harmonic, 0);
}

TEST(ChartRecord, PointsAndAvailability) {
    ChartRecord r;
    r.lon[SUN] = 10;
    r.cusp[1] = 100;
    r.cusp[10] = 10.5;
    EXPECT_DOUBLE_EQ(PointLongitude(r, SUN), 10);
    EXPECT_DOUBLE_EQ(PointLongitude(r, kPointAsc), 100);
    EXPECT_DOUBLE_EQ(PointLongitude(r, kPointMc), 10.5);
    EXPECT_DOUBLE_EQ(PointLongitude(r, 28), 0);
    EXPECT_TRUE(BodyAvailable(r, SUN));
    EXPECT_FALSE(BodyAvailable(r, HIR));  // all three outputs 0: not computed
    EXPECT_TRUE(BodyAvailable(r, SEL));   // formulas always give a value
    EXPECT_FALSE(BodyAvailable(r, 0));
    EXPECT_STREQ(BodyAbbreviation(LIL), "LIL");
}

}  // namespace
}  // namespace orbeta
