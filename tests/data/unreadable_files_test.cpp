// Every reader of the program's files, given something that is no readable file: a
// directory, a device, a vanished file (a dangling link), a file without read
// permission. Each reports failure as for a missing file; none throws or aborts.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include "../support/test_support.h"
#include "aspects/orb_file.h"
#include "core/time_list.h"
#include "data/open_base.h"
#include "data/popa_ctl.h"
#include "data/settings.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/help_file.h"
#include "platform/text_file.h"
#include "platform/text_view.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

namespace fs = std::filesystem;

struct Reader {
    const char* name;
    // Reads the file at the path; true when it was read.
    std::function<bool(const std::string& path, test::RecordingServices& services)> read;
    // Whether the reader says "Не открывается файл <path>" itself.
    bool warns = false;
};

const std::vector<Reader>& Readers() {
    static const std::vector<Reader> readers = {
        {"profile",
         [](const std::string& path, test::RecordingServices&) {
             Settings s;
             ChartRecord c;
             return LoadProfile(path, s, c);
         },
         true},
        {"orb file",
         [](const std::string& path, test::RecordingServices&) {
             return !LoadOrbTable(path, "", true).aspects.empty();
         },
         true},
        {"UI texts", [](const std::string& path, auto&) { return LoadUiTexts(path); }},
        {"help",
         [](const std::string& path, auto&) { return !FindHelpTopic("Town", path).empty(); }},
        {"popa.ctl", [](const std::string& path, auto&) { return ReadPopaCtl(path).has_value(); }},
        {"time list",
         [](const std::string& path, auto&) { return ReadTimeListFile(path).has_value(); }},
        {"text window",
         [](const std::string& path, auto&) { return ForEachFileLine(path, [](auto) {}); }},
        {"control file",
         [](const std::string& path, auto&) { return ReadMeaningfulLines(path).has_value(); }},
        {"store",
         [](const std::string& path, auto&) {
             // The store's index file is the bad one; its other files are in order.
             std::string stem = path.substr(0, path.size() - 4);
             bool opened = OpenBase(stem) == 0;
             CloseBase();
             return opened;
         }},
    };
    return readers;
}

// Places the bad thing at "bad.btr" (the store reader wants its extension) and checks
// that every reader fails on it, with the message where the reader gives one.
void ExpectEveryReaderFails(const std::function<void(const std::string& path)>& makeBad) {
    for (const auto& reader : Readers()) {
        SCOPED_TRACE(reader.name);
        test::TempWorkDir dir;
        test::RecordingServices services;
        for (const char* ext : {".bod", ".bcr"}) dir.WriteFile(std::string("bad") + ext, "");
        makeBad("bad.btr");
        bool read = true;
        EXPECT_NO_THROW(read = reader.read("bad.btr", services));
        EXPECT_FALSE(read);
        if (reader.warns) {
            ASSERT_FALSE(services.warnings.empty());
            EXPECT_EQ(services.warnings.front(), "Не открывается файл bad.btr"_cp);
        }
    }
}

TEST(UnreadableFiles, DirectoryDeviceAndVanishedFileReadAsFailure) {
    ExpectEveryReaderFails([](const std::string& path) { fs::create_directory(path); });
    ExpectEveryReaderFails([](const std::string& path) { fs::create_symlink("/dev/zero", path); });
    ExpectEveryReaderFails([](const std::string& path) { fs::create_symlink("gone", path); });
    ExpectEveryReaderFails([](const std::string& path) {
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);  // no writer: must not hang
    });
}

TEST(UnreadableFiles, FileWithoutReadPermissionReadsAsFailure) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads a file of mode 000";
    ExpectEveryReaderFails([](const std::string& path) {
        ASSERT_TRUE(WriteFileAtomically(path, "0 \"x\" 1\n"));
        fs::permissions(path, fs::perms::none);
    });
}

// Random profiles through the reads of the start-up: the profile, then the orb files
// it names. Values are drawn from names of directories, devices, missing and real
// files and random bytes; the start-up must come through every one of them.
TEST(UnreadableFiles, RandomProfilesStartUp) {
    test::TempWorkDir dir;
    test::RecordingServices services;
    fs::create_directory("sub");
    dir.WriteFile("0.ao", "  0.0  8.0 S 0 0 255 0\n");
    const char* keys[] = {"ORBFILE", "ORBFILET", "ORBFILEP", "ORBFILED", "BASA",  "Ov",
                          "JD",      "LAT",      "LONG",     "MaskP",    "NamRed"};
    const char* values[] = {".",
                            "..",
                            "/tmp",
                            "sub",
                            "/dev/null",
                            "/dev/zero",
                            "missing.ao",
                            "0.ao",
                            "\"\"",
                            "",
                            "1 1 1 1 1 1 1 1 1 1 1 1 1 1"};
    std::mt19937 random(32);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        int lines = static_cast<int>(random() % 12);
        for (int i = 0; i < lines; ++i) {
            text += keys[random() % std::size(keys)];
            text += '=';
            if (random() % 4 == 0) {
                for (int n = static_cast<int>(random() % 16); n > 0; --n)
                    text += static_cast<char>(random() % 256);
            } else {
                text += values[random() % std::size(values)];
            }
            text += random() % 2 ? "\n" : "\r\n";
        }
        SCOPED_TRACE(text);
        // Now and then the profile itself is no file.
        std::string profile = "orbt.ini";
        if (round % 10 == 0)
            profile = round % 20 ? "sub" : ".";
        else
            dir.WriteFile(profile, text);
        Settings settings;
        ChartRecord current;
        EXPECT_NO_THROW({
            LoadProfile(profile, settings, current);
            for (int slot = 0; slot < kOrbSlotCount; ++slot) LoadOrbSlot(settings.orbFiles, slot);
        });
    }
}

// orbeta-cli starting on a workspace whose profile is a directory, and told to read an
// orb file that is one: a message, no abort.
TEST(UnreadableFiles, CliStartsWithADirectoryForAFile) {
    test::TempWorkDir dir;
    std::string cli =
        std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " + dir.Path() + "/ws ";
    ASSERT_EQ(test::RunCommand(cli + "db list 2>/dev/null").status, 0);
    fs::remove(dir.Path() + "/ws/orbt.ini");
    fs::create_directory(dir.Path() + "/ws/orbt.ini");
    EXPECT_EQ(test::RunCommand(cli + "db list >/dev/null 2>&1").status, 0);
    auto r = test::RunCommand(cli +
                              "aspects --date \"01.01.2000 12:00:00\" --gmt 0 --lat 0 --lon 0 "
                              "--orbs . 2>&1");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Не открывается файл ."), std::string::npos) << r.out;
}

}  // namespace
}  // namespace orbeta
