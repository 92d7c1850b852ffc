#include "layer_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../support/test_support.h"

namespace orbeta {
namespace {
namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

LayerTable ShippedTable(std::vector<std::string>& problems) {
    std::ifstream in(ORBETA_SOURCE_DIR "/tools/layers/layers.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return ParseLayerTable(text.str(), problems);
}

// One file with one include, in a tree of its own, against the shipped table: the
// problem expected (a part of its message), or none.
TEST(LayerCheck, EachIncludeAgainstTheShippedTable) {
    std::vector<std::string> tableProblems;
    LayerTable table = ShippedTable(tableProblems);
    EXPECT_TRUE(tableProblems.empty()) << tableProblems.front();

    struct Case {
        const char* file;
        const char* include;
        const char* problem;  // "" when allowed
    } cases[] = {
        {"src/core/a.cpp", "\"platform/format.h\"", ""},
        {"src/forecast/a.cpp", "\"forecast/rise_set.h\"", ""},
        {"src/core/a.cpp", "\"data/settings.h\"", "src/core may not include src/data"},
        {"src/aspects/a.cpp", "\"forecast/day_report.h\"",
         "src/aspects may not include src/forecast"},
        {"src/data/a.cpp", "<QString>", "src/data uses no Qt"},
        {"src/platform/a.h", "<qstring.h>", "src/platform uses no Qt"},
        {"src/forecast/a.cpp", "<QtCore/QDate>", "src/forecast uses no Qt"},
        {"src/chart/a.cpp", "<QPainter>", ""},
        {"src/chart/a.cpp", "<QSvgGenerator>", ""},
        {"src/chart/a.cpp", "<QWidget>", "src/chart may not use QtWidgets"},
        {"src/chart/a.cpp", "<QtWidgets/QLabel>", "src/chart may not use QtWidgets"},
        {"src/chart/a.cpp", "\"gui/dial.h\"", "src/chart may not include src/gui"},
        {"src/core/ephemeris.cpp", "<swephexp.h>", ""},
        {"src/core/houses.cpp", "<swephexp.h>", "only src/core/ephemeris.cpp may include it"},
        {"cli/cmd_x.cpp", "\"swephexp.h\"", "only src/core/ephemeris.cpp may include it"},
        {"src/gui/a.cpp", "<QMdiArea>", ""},
        {"src/gui/a.cpp", "\"chart/ui/chart_window.h\"", "src/gui may not include src/chart/ui"},
        {"src/gui/a.cpp", "\"shell/command_map.h\"", "src/gui may not include src/shell"},
        {"src/chart/ui/a.cpp", "\"gui/dial.h\"", ""},
        {"src/chart/ui/a.cpp", "\"data/ui/base_commands.h\"",
         "src/chart/ui may not include src/data/ui"},
        {"src/data/ui/a.cpp", "\"shell/command_map.h\"", "src/data/ui may not include src/shell"},
        {"src/shell/a.cpp", "\"data/ui/base_commands.h\"", ""},
        {"src/shell/ui/a.cpp", "\"shell/command_map.h\"", ""},
        {"app/main.cpp", "\"shell/application.h\"", ""},
        {"cli/cmd_x.cpp", "\"commands.h\"", ""},
        {"cli/cmd_x.cpp", "\"chart/wheel_export.h\"", ""},
        {"cli/cmd_x.cpp", "<QGuiApplication>", ""},
        {"cli/cmd_x.cpp", "\"gui/qt_text.h\"", "cli may not include src/gui"},
        {"cli/cmd_x.cpp", "<QApplication>", "cli may not use QtWidgets"},
        {"src/newpart/a.cpp", "<vector>", "its folder has no row in the layer table"},
        {"src/core/a.cpp", "\"nowhere/thing.h\"", "a header of no folder in the layer table"},
    };
    for (const auto& c : cases) {
        test::TempWorkDir dir;
        fs::path root = fs::path(dir.Path()) / "tree";
        fs::path qt = fs::path(dir.Path()) / "qt";
        for (const char* header :
             {"QtCore/QString", "QtCore/qstring.h", "QtCore/QDate", "QtGui/QPainter",
              "QtGui/QGuiApplication", "QtSvg/QSvgGenerator", "QtWidgets/QWidget",
              "QtWidgets/QApplication", "QtWidgets/QMdiArea"})
            Write(qt / header, "");
        Write(root / "cli/commands.h", "#pragma once\n");
        Write(root / c.file, std::string("// a file\n#include <string>\n  #  include ") +
                                 c.include + "  // why\n");
        auto problems = CheckLayers(root, table, qt);
        std::string all;
        for (const auto& p : problems) all += p + "\n";
        if (*c.problem == '\0') {
            EXPECT_TRUE(problems.empty()) << c.file << " " << c.include << ":\n" << all;
        } else {
            ASSERT_EQ(problems.size(), 1u) << c.file << " " << c.include << ":\n" << all;
            EXPECT_NE(problems[0].find(c.problem), std::string::npos) << problems[0];
            // The file, and the line of the include unless the file itself is wrong.
            std::string where = std::string(c.file) + ":3:";
            if (std::string(c.problem).find("no row") != std::string::npos) where = c.file;
            EXPECT_EQ(problems[0].rfind(where, 0), 0u) << problems[0];
        }
    }

    // The order of the rows is the order of the layers: a folder names only folders
    // above it, and each folder has one row.
    std::vector<std::string> problems;
    ParseLayerTable(
        "src/platform - -\nsrc/core - platform data\nsrc/data - platform core\n"
        "src/core - platform\nonly x.h\n",
        problems);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].find("line 2: src/core names data"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("line 4: src/core twice"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("line 5: \"only\" needs"), std::string::npos) << problems[2];
}

}  // namespace
}  // namespace orbeta
