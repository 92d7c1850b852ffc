#include "core/dated_line.h"

#include <gtest/gtest.h>

#include "core/calendar.h"

namespace orbeta {
namespace {

TEST(DatedLine, LineBeginningWithDateAndTimeGivesItsMoment) {
    auto m = MomentOfLine(" 16.05.1945 05:30  SUN  0 TAU 25  SAT");
    ASSERT_TRUE(m);
    EXPECT_DOUBLE_EQ(m->jd, JulianDay({16, 5, 1945, 5, 30, 0}));
    EXPECT_EQ(m->text, "16.05.1945 05:30");
    auto dateOnly = MomentOfLine("01.01.2005  new moon");
    ASSERT_TRUE(dateOnly);
    EXPECT_DOUBLE_EQ(dateOnly->jd, JulianDay({1, 1, 2005, 0, 0, 0}));
    EXPECT_EQ(dateOnly->text, "01.01.2005");
}

TEST(DatedLine, OtherLinesGiveNone) {
    for (const char* line : {"", "   ", " Transits 01.01.2005", "SUN 12.5 13.7", "12.5 13.7",
                             "1.1.0 nothing", "-1.1.2000 10:00"})
        EXPECT_FALSE(MomentOfLine(line)) << line;
}

TEST(DatedLine, TextIsCutTo38Characters) {
    auto m = MomentOfLine("01.01.2005 10:20:30:40:50:60:70:80:90:11:12:13:14 tail");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text.size(), 38u);
}

}  // namespace
}  // namespace orbeta
