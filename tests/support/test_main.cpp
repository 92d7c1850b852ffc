// main() of every GoogleTest program: the same surroundings whatever the caller's
// environment — the ephemeris is found through the working directory only, and Qt
// draws offscreen.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("SE_EPHE_PATH", "", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
