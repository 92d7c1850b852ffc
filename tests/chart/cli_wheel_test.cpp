// orbeta-cli wheel: files of each kind, without a display, with the workspace's
// display settings; bad arguments leave no file.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <sstream>

#include "../support/test_support.h"
#include "wheel_test_support.h"

namespace orbeta {
namespace {

const char* kChart = "--date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37";
const char* kPartner =
    "--partner-date \"01.01.2000 12:00:00\" --partner-gmt -3 --partner-lat 55.45 "
    "--partner-lon 37.37";

class CliWheel : public ::testing::Test {
  protected:
    // Without a display: no DISPLAY and no platform chosen.
    test::CommandResult Run(const std::string& args) {
        return test::RunCommand(std::string("env -u SE_EPHE_PATH -u DISPLAY -u QT_QPA_PLATFORM ") +
                                "LSAN_OPTIONS=suppressions=" + ORBETA_SOURCE_DIR +
                                "/tests/lsan.supp " + ORBETA_CLI + " --workspace " + work.Path() +
                                "/ws wheel " + args + " 2>" + work.Path() + "/stderr");
    }
    std::string Stderr() { return Read(work.Path() + "/stderr"); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool Exists(const std::string& name) { return std::ifstream(work.Path() + "/" + name).good(); }
    test::TempWorkDir work;
};

TEST_F(CliWheel, WritesPngSvgAndPdfByTheExtension) {
    auto r = Run(std::string(kChart) + " --out natal.png");  // relative: the invoker's
    ASSERT_EQ(r.status, 0) << Stderr();
    test::EnsureGui();
    QImage png(QString::fromStdString(work.Path() + "/natal.png"));
    EXPECT_EQ(png.size(), QSize(1600, 900));

    ASSERT_EQ(Run(std::string(kChart) + " " + kPartner + " --size 640x480 --out two.PNG").status, 0)
        << Stderr();
    EXPECT_EQ(QImage(QString::fromStdString(work.Path() + "/two.PNG")).size(), QSize(640, 480));

    ASSERT_EQ(Run(std::string(kChart) + " --size 800x600 --out natal.svg").status, 0) << Stderr();
    std::string svg = Read(work.Path() + "/natal.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 800 600\""), std::string::npos);
    // The file carries no fonts: glyphs and text go as outlines, not as letters.
    EXPECT_EQ(svg.find("<text"), std::string::npos);
    EXPECT_NE(svg.find("<path"), std::string::npos);

    ASSERT_EQ(Run(std::string(kChart) + " --print --out page.pdf").status, 0) << Stderr();
    std::string pdf = Read(work.Path() + "/page.pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 595"), std::string::npos);  // an A4 page
    ASSERT_EQ(Run(std::string(kChart) + " --size 800x600 --out screen.pdf").status, 0);
    EXPECT_NE(Read(work.Path() + "/screen.pdf").find("/MediaBox [0 0 600"), std::string::npos);
}

TEST_F(CliWheel, TheWorkspaceSettingsChooseTheSignFill) {
    ASSERT_EQ(Run(std::string(kChart) + " --size 800x600 --out plain.png").status, 0) << Stderr();
    // 0 Aries lies at the left: a point of the sign ring just below it is in Aries.
    QPoint aries(400 - 255, 300 + 20);
    test::EnsureGui();
    EXPECT_EQ(QImage(QString::fromStdString(work.Path() + "/plain.png")).pixel(aries),
              qRgb(255, 255, 255));
    std::string profile = Read(work.Path() + "/ws/orbt.ini");
    auto at = profile.find("Ov=");
    ASSERT_NE(at, std::string::npos);
    profile.replace(at, profile.find('\n', at) - at, "Ov=0 0 0 0 1 1 0 0 0 0 0 0 0 0 3");
    std::ofstream(work.Path() + "/ws/orbt.ini", std::ios::binary) << profile;
    ASSERT_EQ(Run(std::string(kChart) + " --size 800x600 --out filled.png").status, 0) << Stderr();
    EXPECT_EQ(QImage(QString::fromStdString(work.Path() + "/filled.png")).pixel(aries),
              qRgb(255, 0, 0));
}

TEST_F(CliWheel, BadArgumentsWriteNothing) {
    EXPECT_EQ(Run(std::string(kChart) + " --out wheel.gif").status, 1);
    EXPECT_NE(Stderr().find(".png, .svg or .pdf"), std::string::npos) << Stderr();
    EXPECT_FALSE(Exists("wheel.gif"));
    for (const char* size : {"0x100", "100", "100x", "x100", "100x100x1", "99999x10"}) {
        EXPECT_EQ(Run(std::string(kChart) + " --size " + size + " --out s.png").status, 1) << size;
        EXPECT_FALSE(Exists("s.png")) << size;
    }
    EXPECT_EQ(Run(std::string(kChart) + " --out missing/dir/w.png").status, 1);
    EXPECT_NE(Stderr().find("cannot write"), std::string::npos) << Stderr();
    EXPECT_NE(Run("--out w.png").status, 0);  // no chart
    EXPECT_FALSE(Exists("w.png"));
}

}  // namespace
}  // namespace orbeta
