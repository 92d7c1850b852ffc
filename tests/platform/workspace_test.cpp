#include "platform/workspace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace orbeta {
namespace {

struct Workspaces : ::testing::Test {
    test::TempWorkDir dir;
    std::string templ = dir.Path() + "/template";
    std::string work = dir.Path() + "/work";
    void Ship(const std::string& name, const std::string& bytes) {
        fs::create_directories(fs::path(templ / fs::path(name)).parent_path());
        ASSERT_TRUE(WriteFileAtomically(templ + "/" + name, bytes));
    }
    std::string Read(const std::string& name) {
        return ReadFileBytes(work + "/" + name).value_or("<none>");
    }
    std::vector<std::string> Prepare() {
        std::vector<std::string> fresh;
        std::string error;
        EXPECT_TRUE(PrepareWorkspace(work, templ, error, &fresh)) << error;
        return fresh;
    }
};

TEST_F(Workspaces, FirstStartCopiesEverything) {
    Ship("orbtw.t", "texts 1");
    Ship("orbt.ini", "profile 1");
    Ship("fonts/sub.ttf", "font");
    auto fresh = Prepare();
    EXPECT_EQ(fresh.size(), 3u);
    EXPECT_EQ(Read("orbtw.t"), "texts 1");
    EXPECT_EQ(Read("fonts/sub.ttf"), "font");
    EXPECT_TRUE(Prepare().empty());  // nothing new the second time
}

TEST_F(Workspaces, NewerProgramFilesReplaceOnlyWhatTheUserLeftAlone) {
    Ship("orbtw.t", "texts 1");
    Ship("orbt.ini", "profile 1");
    Ship("0.ao", "orbs 1");
    Prepare();
    ASSERT_TRUE(WriteFileAtomically(work + "/orbt.ini", "my profile"));
    ASSERT_TRUE(WriteFileAtomically(work + "/0.ao", "my orbs"));
    ASSERT_TRUE(WriteFileAtomically(work + "/abasa.bod", "my charts"));

    Ship("orbtw.t", "texts 2");
    Ship("orbt.ini", "profile 2");
    Ship("0.ao", "orbs 2");
    Ship("abasa.bod", "shipped towns");
    Ship("orbtw.lrn", "help 2");
    auto fresh = Prepare();
    EXPECT_EQ(Read("orbtw.t"), "texts 2");   // untouched by the user: updated
    EXPECT_EQ(Read("orbtw.lrn"), "help 2");  // new in this build
    EXPECT_EQ(Read("orbt.ini"), "my profile");
    EXPECT_EQ(Read("0.ao"), "my orbs");
    EXPECT_EQ(Read("abasa.bod"), "my charts");  // never installed by us: the user's
    EXPECT_EQ(fresh, std::vector<std::string>{"orbtw.lrn"});

    // A third build: files the user kept stay theirs.
    Ship("0.ao", "orbs 3");
    Ship("orbtw.t", "texts 3");
    Prepare();
    EXPECT_EQ(Read("0.ao"), "my orbs");
    EXPECT_EQ(Read("orbtw.t"), "texts 3");
}

TEST_F(Workspaces, WorkspaceMadeBeforeTheRecordKeepsDifferingFiles) {
    Ship("orbtw.t", "texts 2");
    Ship("dirswe.ctl", "same");
    fs::create_directories(work);
    ASSERT_TRUE(WriteFileAtomically(work + "/orbtw.t", "texts 1"));
    ASSERT_TRUE(WriteFileAtomically(work + "/dirswe.ctl", "same"));
    Prepare();
    EXPECT_EQ(Read("orbtw.t"), "texts 1");  // unknown origin: not overwritten
    // From now on the identical file is known as installed and may be updated.
    Ship("dirswe.ctl", "newer");
    Prepare();
    EXPECT_EQ(Read("dirswe.ctl"), "newer");
}

TEST_F(Workspaces, DamagedRecordIsHarmless) {
    Ship("orbtw.t", "texts 1");
    Prepare();
    ASSERT_TRUE(
        WriteFileAtomically(work + "/" + kShippedRecord, "garbage\n\tx\n0123456789abcdef\n"));
    ASSERT_TRUE(WriteFileAtomically(work + "/orbtw.t", "edited"));
    Ship("orbtw.t", "texts 2");
    Prepare();
    EXPECT_EQ(Read("orbtw.t"), "edited");
}

}  // namespace
}  // namespace orbeta
