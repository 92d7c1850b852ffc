#include "platform/journal.h"

#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

TEST(Journal, StarsBeforeFirstLineOfRunAndDebugOnlyWithOption) {
    test::TempWorkDir dir;
    dir.WriteFile("jur.jur", "old run\n");
    JournalFile j("jur.jur");
    j.WriteDebug("hidden");
    j.Write("one");
    j.Write("two");
    EXPECT_EQ(*ReadFileBytes("jur.jur"), "old run\n*****\none\ntwo\n");

    JournalFile debug("jur.jur");
    debug.SetDebug(true);  // clears the file: only this run is kept
    EXPECT_FALSE(FileExists("jur.jur"));
    debug.WriteDebug("trace");
    EXPECT_EQ(*ReadFileBytes("jur.jur"), "*****\ntrace\n");
}

}  // namespace
}  // namespace orbeta
