#include "data/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"
#include "core/calendar.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

struct Profile {
    Settings s;
    ChartRecord c = DefaultProfileChart();
};

Profile Read(std::string_view text) {
    Profile p;
    ReadProfileText(text, p.s, p.c);
    return p;
}

// The file written for the defaults, in the documented order and formats.
constexpr const char* kDefaultProfile =
    "JD=01.01.2000 12:00:00\n"
    "GMTPOP=0.00000000\n"
    "LAT=0.00000000\n"
    "LONG=0.00000000\n"
    "NAME=\n"
    "COMMENT=\n"
    "MESTO=\n"
    "MaskP=1023\n"
    "MaskA=1023\n"
    "Ov=0 0 0 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 \n"
    "HouseSet=3\n"
    "EgalHous=0\n"
    "BeginCoord=0\n"
    "ObhodZod=-1\n"
    "MaxW=1\n"
    "BASA=abasa\n"
    "ORBFILE=\"0.ao\" \"\" \"\" \"\" \n"
    "BegG=\n"
    "EndG=\n"
    "BegRect=16.05.1945 5:00\n"
    "EndRect=16.05.1945 6:00\n"
    "StepRect=60\n"
    "PorRect=10\n"
    "SbName=\n"
    "NamRed=\n"
    "AspAll=0 60 90 120 180\n"
    "InterV=01.01.2005-31.12.2005\n"
    "GEF=30 2 01.01.2005 01.03.2005 2005 3 32767 32767\n"
    "GNZ=01.01.2006 01.03.2006 0 0 1 1 32767 32767\n"
    "StepA=1.0\n"
    "LP= 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
    "ColrPE= -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n"
    "ColGor= -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n"
    "DelT= 1 0 0 0 1 0 0 0\n"
    "OrbEclS= 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 "
    "3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0\n"
    "OrbEclM= 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0 "
    "3.0 3.0 3.0 3.0 3.0 3.0 3.0 3.0\n"
    "VEcl=180 180 90 90\n";

TEST(Profile, DefaultsAreWrittenInTheDocumentedOrderAndFormats) {
    Profile p = Read("");
    EXPECT_EQ(ProfileText(p.s, p.c), kDefaultProfile);
    EXPECT_EQ(p.c.calcMethod, 1);
    EXPECT_EQ(p.c.houseSystem, 3);
    EXPECT_DOUBLE_EQ(p.c.jdUT, 2451545.0);
    EXPECT_EQ(p.s.monoFont, "Tabula Mono");
    // Only the shipped profile asks before printing.
    EXPECT_EQ(p.s.ov[kOptPrintDialog], 0);
    auto shipped = ReadFileBytes(std::string(ORBETA_SOURCE_DIR) + "/data/orbt.ini");
    ASSERT_TRUE(shipped);
    EXPECT_EQ(Read(*shipped).s.ov[kOptPrintDialog], 1);
}

TEST(Profile, LineRules) {
    Profile p = Read(
        "* comment with MaskP=5\n"
        "\n"
        "no equals sign here\n"
        "HouseSet = 7\n"
        "maskp=5\n"  // keys are case-sensitive
        "Ov=1 1\n"
        "ORBFILE=\"a.ao\"\n"
        "EclOrbX=5\n"
        "EclOrbS=1 2\n"
        "LP=4 5\n"
        "DelT=9\n"
        "MaskA=abc\n"
        "GMTPOP=  0.125xyz\r\n"
        "Ov=1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1\n");
    EXPECT_EQ(p.s.houseSet, 7);
    EXPECT_EQ(p.c.houseSystem, 7);
    EXPECT_EQ(p.s.maskP, 1023);
    EXPECT_EQ(p.s.maskA, 0);
    for (const auto& name : p.s.orbFiles) EXPECT_EQ(name, "a.ao");
    EXPECT_DOUBLE_EQ(p.s.orbEclM[0], 5.0);
    EXPECT_DOUBLE_EQ(p.s.orbEclM[1], 3.0);
    EXPECT_DOUBLE_EQ(p.s.orbEclS[0], 1.0);
    EXPECT_DOUBLE_EQ(p.s.orbEclS[1], 2.0);
    EXPECT_DOUBLE_EQ(p.s.orbEclS[2], 3.0);
    EXPECT_EQ(p.s.lp[0], 4);
    EXPECT_EQ(p.s.lp[1], 5);
    EXPECT_EQ(p.s.lp[2], 0);
    EXPECT_EQ((std::array<long, 8>{9, 0, 0, 0, 1, 0, 0, 0}), p.s.delT);
    EXPECT_DOUBLE_EQ(p.c.gmtCorr, 0.125);
    EXPECT_DOUBLE_EQ(p.c.jdUT, 2451545.125);
    EXPECT_EQ(p.s.monoFont, "Courier New");
}

TEST(Profile, OptionListClearsWhatItDoesNotGive) {
    Profile p = Read("Ov=1 1\n");
    EXPECT_EQ(p.s.ov[0], 1);
    EXPECT_EQ(p.s.ov[1], 1);
    EXPECT_EQ(p.s.ov[kOptArcBody], 0);  // the planetary-arc body falls back to SUN
    EXPECT_EQ(p.s.ov[4], 0);
}

TEST(Profile, UnreadableValuesFallBack) {
    Profile p = Read("JD=yesterday\nLAT=north\nLONG=nan\nORBFILE=\n");
    EXPECT_EQ(DateTimeText(p.c.jdLocal), "01.01.2000 12:00:00");
    EXPECT_DOUBLE_EQ(p.c.latitude, 0.0);
    EXPECT_DOUBLE_EQ(p.c.longitude, 0.0);
    for (const auto& name : p.s.orbFiles) EXPECT_EQ(name, "");
}

TEST(Profile, TextsAreCutToTheirFields) {
    std::string longText(100, 'x');
    Profile p = Read("StepA=" + longText + "\nNAME=" + longText + "\nVEcl=1 2 123456789\n" +
                     "BASA=" + longText + "\n");
    EXPECT_EQ(p.s.stepA.size(), 11u);
    EXPECT_EQ(std::string(p.c.name).size(), 29u);
    EXPECT_EQ(p.s.basa.size(), 78u);
    EXPECT_EQ(p.s.vEcl[0], "1");
    EXPECT_EQ(p.s.vEcl[2], "12345678");
    EXPECT_EQ(p.s.vEcl[3], "90");
}

TEST(Profile, RoundTripKeepsEveryValue) {
    Profile p = Read("");
    p.c.jdLocal = JulianDayOfDateTimeText("16.05.1945 05:30:15");
    p.c.gmtCorr = 3.0 / 24.0;
    p.c.latitude = 55.45;
    p.c.longitude = 322.23;
    CopyText(p.c.name, "Иван Петрович Сидоров-Кузнецов"_cp);  // 29 characters survive
    CopyText(p.c.comment, "с пробелом в конце "_cp);
    CopyText(p.c.place, "Москва"_cp);
    p.s.maskP = 32767;
    p.s.ov[kOptArcBody] = 14;
    p.s.ov[kOptDebugJournal] = 0;
    p.s.ov[29] = 200;
    p.s.houseSet = 11;
    p.s.obhodZod = 1;
    p.s.maxW = 0;
    p.s.orbFiles = {"my.ao", "tr.ao", "", "dir.ao"};
    p.s.namRed = "/usr/bin/mousepad \"%s\"";
    p.s.colrPE[15] = 0xFF00FF;
    p.s.orbEclS[26] = 1.5;
    p.s.orbEclM[0] = 0.5;
    p.s.vEcl = {"1", "2", "3", "4"};
    std::string text = ProfileText(p.s, p.c);
    EXPECT_NE(text.find("GMTPOP=0.12500000\n"), std::string::npos);
    EXPECT_NE(text.find("ORBFILE=\"my.ao\" \"tr.ao\" \"\" \"dir.ao\" \n"), std::string::npos);

    Profile back = Read(text);
    EXPECT_EQ(ProfileText(back.s, back.c), text);
    EXPECT_DOUBLE_EQ(back.s.orbEclS[26], 1.5);  // saved eclipse orbs come back
    EXPECT_DOUBLE_EQ(back.s.orbEclM[0], 0.5);
    EXPECT_EQ(back.c.houseSystem, 11);
}

TEST(Profile, ValuesCannotBreakTheLineStructure) {
    Profile p = Read("");
    p.s.namRed = "editor\nHouseSet=1";
    p.s.orbFiles[0] = "odd\"name.ao";
    Profile back = Read(ProfileText(p.s, p.c));
    EXPECT_EQ(back.s.houseSet, 3);
    EXPECT_EQ(back.s.namRed, "editor HouseSet=1");
    EXPECT_EQ(back.s.orbFiles[0], "oddname.ao");
}

TEST(Profile, FileLoadAndSave) {
    test::TempWorkDir dir;
    test::RecordingServices services;
    Settings s;
    ChartRecord c;
    s.maskP = 1;
    EXPECT_FALSE(LoadProfile(kProfileFile, s, c));
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_EQ(services.warnings[0], "Не открывается файл orbt.ini"_cp);
    EXPECT_EQ(s.maskP, 1023);  // the defaults stay

    ASSERT_TRUE(SaveProfile(kProfileFile, s, c));
    EXPECT_EQ(*ReadFileBytes(kProfileFile), kDefaultProfile);
    size_t files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1u);  // no temporary file left beside it

    // The debug journal option clears the journal of earlier runs.
    dir.WriteFile("jur.jur", "old\n");
    dir.WriteFile(kProfileFile, "Ov=0 0 0 0 0 0 0 0 0 0 0 0 1\n");
    EXPECT_TRUE(LoadProfile(kProfileFile, s, c));
    EXPECT_FALSE(FileExists("jur.jur"));
    EXPECT_TRUE(s.Option(kOptDebugJournal));
}

TEST(Profile, SaveFailureKeepsTheOldFile) {
    test::TempWorkDir dir;
    dir.WriteFile(kProfileFile, "MaskP=5\n");
    Settings s;
    ChartRecord c = DefaultProfileChart();
    EXPECT_FALSE(SaveProfile(dir.Path() + "/missing-dir/orbt.ini", s, c));
    EXPECT_EQ(*ReadFileBytes(kProfileFile), "MaskP=5\n");
}

}  // namespace
}  // namespace orbeta
