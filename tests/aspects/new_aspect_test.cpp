// What a user types for a new aspect and a new orb file.
#include "aspects/new_aspect.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

TEST(NewAspect, AngleWithAndWithoutOrb) {
    auto a = NewAspectFromText("45 (3)");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->angle, 45.0f);
    EXPECT_EQ(a->Orb(1), 3.0f);
    EXPECT_EQ(a->Orb(27), 3.0f);
    EXPECT_EQ(a->colour, -1);
    EXPECT_EQ(a->off, 0);
    auto b = NewAspectFromText("72");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Orb(16), 1.0f);
    EXPECT_FALSE(NewAspectFromText("(3)"));
    EXPECT_FALSE(NewAspectFromText("45 (x)"));
}

TEST(NewAspect, OrbFileNames) {
    EXPECT_EQ(NewOrbFileName("my.file"), "my.ao");
    EXPECT_EQ(NewOrbFileName("my"), "my.ao");
    EXPECT_EQ(NewOrbFileName(".ao"), "");
    EXPECT_EQ(NewOrbFileName("../x"), "");
    EXPECT_EQ(NewOrbFileName("a/b"), "");
}

}  // namespace
}  // namespace orbeta
