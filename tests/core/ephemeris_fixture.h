#pragma once
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"
#include "core/ephemeris.h"

namespace orbeta::test {

// A working directory whose dirswe.ctl names the given ephemeris directory, with the
// ephemeris opened on it and the default options.
class EphemerisTest : public ::testing::Test {
  protected:
    void OpenOn(const std::string& dir) {
        work.WriteFile("dirswe.ctl", "* ephemeris\n" + dir + "\n");
        OpenEphemeris();
    }
    void SetUp() override { OpenOn(kEpheDir); }
    TempWorkDir work;
    RecordingServices services;
};

}  // namespace orbeta::test
