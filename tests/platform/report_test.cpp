#include "platform/report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "../support/test_support.h"
#include "platform/codepage.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

struct ReportServices : test::RecordingServices {
    void ShowReportFile(const std::string& path, const std::string& title,
                        const std::string& helpKey, const ReportOrigin& origin) override {
        shown.push_back({path, title, helpKey, origin.correction});
    }
    void SetBusy(bool busy) override { busyLevel += busy ? 1 : -1; }
    struct Shown {
        std::string path, title, helpKey;
        double correction;
    };
    std::vector<Shown> shown;
    int busyLevel = 0;
};

class Report : public ::testing::Test {
  protected:
    void SetUp() override { SetUiTexts({"Mark Метка"_cp, "tmp Нет файла"_cp}); }
    void TearDown() override { SetUiTexts({}); }
    test::TempWorkDir dir;
    ReportServices services;
};

TEST_F(Report, NumberedFileWithHeaderGoesToItsWindow) {
    dir.WriteFile("r0001.tmp", "someone else's report");
    ASSERT_TRUE(BeginReport("Заголовок"_cp));
    EXPECT_EQ(ReportPath(), "r0002.tmp");
    EXPECT_EQ(services.busyLevel, 1);
    ReportPrint(" %s=%d\n", "x", 5);
    ReportWrite("end\n");
    ShowReport("Окно"_cp, "HelpKeyLong");
    EXPECT_EQ(services.busyLevel, 0);
    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0].path, "r0002.tmp");
    EXPECT_EQ(services.shown[0].title, "Окно"_cp);
    EXPECT_EQ(services.shown[0].helpKey, "HelpKeyLo");  // help keys hold 9 characters
    EXPECT_EQ(services.shown[0].correction, 0.0);       // reports are in UT unless told
    EXPECT_EQ(*ReadFileBytes("r0002.tmp"), " Заголовок\n Метка\n x=5\nend\n"_cp);
    EXPECT_EQ(*ReadFileBytes("r0001.tmp"), "someone else's report");
    EXPECT_TRUE(ReportPath().empty());
    ReportWrite("after the end");  // no report open: nothing happens
    EXPECT_EQ(*ReadFileBytes("r0002.tmp"), " Заголовок\n Метка\n x=5\nend\n"_cp);
}

TEST_F(Report, AnUnfinishedReportIsDroppedByTheNext) {
    ASSERT_TRUE(BeginReport("one"));
    ASSERT_TRUE(BeginReport("two"));
    EXPECT_EQ(ReportPath(), "r0001.tmp");  // the dropped file's name is free again
    EXPECT_FALSE(FileExists("r0002.tmp"));
    ReportOrigin origin;
    origin.correction = -0.125;
    ShowReport("two", "", origin);
    EXPECT_EQ(services.busyLevel, 0);
    EXPECT_EQ(services.shown.back().correction, -0.125);
    EXPECT_EQ(*ReadFileBytes("r0001.tmp"), " two\n Метка\n"_cp);
}

TEST_F(Report, NoFileGivesTheWarningOfTheKeyTmp) {
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(std::filesystem::current_path());
    EXPECT_FALSE(BeginReport("x"));
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_EQ(services.warnings[0], "Нет файла"_cp);
    EXPECT_EQ(services.busyLevel, 0);
    ShowReport("x", "");  // nothing to show
    EXPECT_TRUE(services.shown.empty());
    std::filesystem::current_path(dir.Path());
}

}  // namespace
}  // namespace orbeta
