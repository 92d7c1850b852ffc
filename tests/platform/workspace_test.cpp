#include "platform/workspace.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

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
    std::vector<std::string> Prepare(int* filesRead = nullptr) {
        std::vector<std::string> fresh;
        std::string error;
        EXPECT_TRUE(PrepareWorkspace(work, templ, error, &fresh, filesRead)) << error;
        return fresh;
    }
};

// Moves a file's time back, as a copy that keeps times or an old backup would.
void SetBack(const std::string& file, int hours) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(hours));
}

// The start-up check with a manifest: what each situation reads and what it leaves.
TEST_F(Workspaces, ManifestAndStampsDecideWhatIsRead) {
    struct Case {
        const char* name;
        // What happens between the settled workspace and the start checked (with the
        // shipped file "texts 1" installed as orbtw.t, and the record trusted).
        std::function<void(Workspaces&)> between;
        const char* shippedNow;  // the build's orbtw.t at that start
        const char* expected;    // the workspace's orbtw.t after it
        int maxRead;             // files read (template or workspace)
    };
    auto edit = [](const char* bytes, int hoursBack = 2) {
        return [=](Workspaces& w) {
            ASSERT_TRUE(WriteFileAtomically(w.work + "/orbtw.t", bytes));
            SetBack(w.work + "/orbtw.t", hoursBack);
        };
    };
    const Case cases[] = {
        {"unchanged", [](Workspaces&) {}, "texts 1", "texts 1", 0},
        {"shipped file changed", [](Workspaces&) {}, "texts 2", "texts 2", 1},
        {"user file changed", edit("edited"), "texts 2", "edited", 1},
        {"user file changed back to the shipped bytes",
         [&](Workspaces& w) {
             edit("edited")(w);
             w.Prepare();
             edit("texts 1", 3)(w);
         },
         "texts 2", "texts 2", 2},
        {"record missing",
         [&](Workspaces& w) {
             fs::remove(w.work + "/" + kShippedRecord);
             edit("edited")(w);
         },
         "texts 2", "edited", 2},
        {"record stale: same size, time moved back", edit("TEXTS 9", 5), "texts 2", "TEXTS 9", 1},
        {"manifest damaged",
         [](Workspaces& w) {
             ASSERT_TRUE(WriteFileAtomically(w.templ + "/orbtw.t", "texts 2"));
             ASSERT_TRUE(WriteFileAtomically(w.templ + "/" + kWorkspaceManifest,
                                             "orbeta-manifest 1\n0123456789abcdef\torbtw.t\n"));
         },
         nullptr, "texts 2", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(templ);
        fs::remove_all(work);
        Ship("orbtw.t", "texts 1");
        Ship("dirswe.ctl", "ephemeris");
        std::string error;
        ASSERT_TRUE(WriteWorkspaceManifest(templ, error)) << error;
        EXPECT_EQ(Prepare(), (std::vector<std::string>{"dirswe.ctl", "orbtw.t"}));  // fresh
        // Installed files are new; once their times are old enough, one more start
        // records stamps it can trust.
        SetBack(work + "/orbtw.t", 1);
        SetBack(work + "/dirswe.ctl", 1);
        int read = -1;
        Prepare(&read);
        EXPECT_EQ(read, 2);
        Prepare(&read);
        EXPECT_EQ(read, 0);

        c.between(*this);
        if (c.shippedNow) {
            Ship("orbtw.t", c.shippedNow);
            ASSERT_TRUE(WriteWorkspaceManifest(templ, error)) << error;
        }
        EXPECT_TRUE(Prepare(&read).empty());
        EXPECT_LE(read, c.maxRead);
        EXPECT_EQ(Read("orbtw.t"), c.expected);
        EXPECT_EQ(Read("dirswe.ctl"), "ephemeris");
        EXPECT_FALSE(fs::exists(work + "/" + kWorkspaceManifest));
    }
}

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
