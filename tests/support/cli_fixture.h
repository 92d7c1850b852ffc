#pragma once
// orbeta-cli as other tools run it: a separate process on a scratch workspace, its
// output, status and error text.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace orbeta::test {

class CliFixture : public ::testing::Test {
  protected:
    // orbeta-cli with these arguments; the error stream goes to a file Stderr reads.
    CommandResult RunCli(const std::string& args) {
        return RunCommand(std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " +
                          work.Path() + "/ws " + args + " 2>" + work.Path() + "/stderr");
    }
    std::string Stderr() { return RunCommand("cat " + work.Path() + "/stderr").out; }
    TempWorkDir work;
};

}  // namespace orbeta::test
