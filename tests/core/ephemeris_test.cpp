#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "../support/scratch_computation.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris.h"
#include "core/ephemeris_files.h"
#include "ephemeris_fixture.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace orbeta {
namespace {

using test::EphemerisTest;
using test::kEpheDir;

TEST(EphemerisFiles, NamesOfTheFilesCoveringADate) {
    double jd1650 = JulianDayOfDateText("01.07.1650");
    EXPECT_EQ(EphemerisFileName(0, jd1650, ""), "sepl_12.se1");
    EXPECT_EQ(EphemerisFileName(1, jd1650, "/e/"), "/e/semo_12.se1");
    EXPECT_EQ(EphemerisFileName(15, 2451545.0, ""), "seas_18.se1");
    EXPECT_EQ(EphemerisFileName(0, JulianDayOfDateText("01.07.-100"), ""), "seplm06.se1");
    EXPECT_EQ(EphemerisFileName(0, JulianDayOfDateText("01.07.-700"), ""), "seplm12.se1");
    EXPECT_EQ(EphemerisFileName(0, JulianDayOfDateText("31.12.2399"), ""), "sepl_18.se1");
    EXPECT_EQ(EphemerisFileName(0, JulianDayOfDateText("01.01.2400"), ""), "sepl_24.se1");
    EXPECT_EQ(EphemerisFileName(kAsteroidOffset + 433, 2451545.0, "/e/"), "/e/se00433s.se1");
}

TEST(EphemerisDirectory, FromControlFileOrWorkingDirectoryOrFatal) {
    test::TempWorkDir work;
    test::RecordingServices services;
    std::string prefix;
    EXPECT_FALSE(FindEphemerisDirectory(prefix));
    try {
        OpenEphemeris();
        ADD_FAILURE() << "no directory must be fatal";
    } catch (const test::FatalCalled& f) {
        EXPECT_EQ(f.text, "Директория Эфемерид не найдена"_cp);
    }
    // data files in the working directory: empty prefix
    for (const char* f : {"sepl_18.se1", "semo_18.se1", "seas_18.se1"})
        fs::create_symlink(std::string(kEpheDir) + f, f);
    ASSERT_TRUE(FindEphemerisDirectory(prefix));
    EXPECT_EQ(prefix, "");
    OpenEphemeris();
    EXPECT_EQ(EphemerisDirectory(), "");
    EXPECT_NEAR(BodyLongitude(test::Scratch(), 2451545.0, SUN), 280.3689187, 1e-6);
    // dirswe.ctl wins, its first meaningful line whole, a final '/' supplied
    work.WriteFile("dirswe.ctl", "\n* comment\n/usr/share/libswe/ephe\r\nignored\n");
    ASSERT_TRUE(FindEphemerisDirectory(prefix));
    EXPECT_EQ(prefix, kEpheDir);
    // a directory without the files: the start-up file is fatal
    work.WriteFile("dirswe.ctl", "/nonexistent/\n");
    try {
        OpenEphemeris();
        ADD_FAILURE() << "missing start-up file must be fatal";
    } catch (const test::FatalCalled& f) {
        EXPECT_EQ(f.text, "Файл /nonexistent/sepl_18.se1 (rb) не открывается"_cp);
    }
}

TEST_F(EphemerisTest, SelenaAndProserpinaFormulas) {
    double jd1900 = JulianDayOfDateTimeText("01.01.1900 00:00:00");
    BodyPosition sel = CalcBody(test::Scratch(), jd1900, SEL);
    EXPECT_NEAR(sel.lon, 139.16666667, 1e-9);
    EXPECT_NEAR(sel.speed, 51.430952381 / 365.25, 1e-12);
    EXPECT_EQ(sel.lat, 0.0);
    // the branch follows the calendar year, not the decimal year
    double jan84 = JulianDayOfDateTimeText("01.01.1984 00:00:00");
    EXPECT_NEAR(CalcBody(test::Scratch(), jan84, PRZ).lon,
                Normalize((1984.0 - 1983.109514) * 0.4918032787 + 210), 1e-9);
    double dec83 = JulianDayOfDateTimeText("31.12.1983 00:00:00");
    double t83 = 1983.0 + 364.0 / 365.25;
    EXPECT_NEAR(CalcBody(test::Scratch(), dec83, PRZ).lon,
                Normalize((t83 - 1918.1396304) * 0.4617524046 + 180), 1e-9);
    double jan1900 = JulianDayOfDateTimeText("01.01.1900 12:00:00");
    double t00 = 1900.0 + 0.5 / 365.25;
    EXPECT_NEAR(CalcBody(test::Scratch(), jan1900, PRZ).lon,
                Normalize((t00 - 1918.1396304) * 0.4918032787 + 180), 1e-9);
    EXPECT_NEAR(CalcBody(test::Scratch(), jan1900, PRZ).speed, 0.4918032787 / 365.25, 1e-12);
}

TEST_F(EphemerisTest, OptionsChooseNodeApogeeAndHeliocentric) {
    double jd = 2451545.0;
    double meanNode = BodyLongitude(test::Scratch(), jd, NDE),
           meanLil = BodyLongitude(test::Scratch(), jd, LIL);
    EXPECT_NEAR(meanNode, 125.0406461, 1e-6);
    EXPECT_NEAR(meanLil, 263.4643327, 1e-6);
    EXPECT_EQ(MotionKind({}, NDE), 1);
    EXPECT_EQ(MotionKind({}, LIL), 0);
    // Options travel with each computation: two of them side by side do not mix.
    Computation osculating, helio;
    osculating.context.options = {true, true, false};
    helio.context.options = {false, false, true};
    EXPECT_NEAR(BodyLongitude(osculating, jd, NDE), 123.9540239, 1e-6);
    EXPECT_NEAR(BodyLongitude(test::Scratch(), jd, NDE), meanNode, 1e-12);
    EXPECT_NEAR(BodyLongitude(osculating, jd, LIL), 252.9953824, 1e-6);
    EXPECT_EQ(MotionKind(osculating.Options(), NDE), 2);
    EXPECT_EQ(MotionKind(osculating.Options(), LIL), 2);
    EXPECT_EQ(MotionKind(osculating.Options(), MER), 2);
    EXPECT_EQ(MotionKind(osculating.Options(), SUN), 0);
    EXPECT_NEAR(BodyLongitude(helio, jd, SUN), Normalize(280.3689187 + 180), 1e-6);
    EXPECT_NEAR(BodyLongitude(test::Scratch(), jd, SUN), 280.3689187, 1e-6);
    EXPECT_NEAR(BodyLongitude(helio, jd, MON), 223.3237512, 1e-6);  // the Moon stays geocentric
    EXPECT_GT(Separation(BodyLongitude(helio, jd, MRS), 327.9633026), 1.0);
    EXPECT_EQ(MotionKind(helio.Options(), MRS), 0);
    EXPECT_EQ(MotionKind(helio.Options(), NDE), 1);
}

// Positions at scattered moments take the nutation from a grid of daily values: they
// must agree with the full library call for every body and option set, primed or not,
// across a grid's edges and far from any earlier moment.
TEST_F(EphemerisTest, ScatteredPositionsAgreeWithTheFullCall) {
    Computation plain, osculating, helio;
    osculating.context.options = {true, true, false};
    helio.context.options = {false, false, true};
    double start = 2460676.5;
    for (Computation* c : {&plain, &osculating, &helio}) {
        ScatteredPositions scattered(*c);
        scattered.Prime(start);
        for (double t : {start, start + 0.3712, start + 1.0, start + 17.9999, start - 3.25,
                         start + 36525.123, 2299160.7, start + 0.3712}) {
            for (int body = SUN; body <= LIL; ++body) {
                BodyPosition full = CalcBody(*c, t, body);
                BodyPosition fast = scattered.At(t, body, true);
                SCOPED_TRACE(testing::Message() << "body " << body << " at " << t);
                EXPECT_LT(Separation(fast.lon, full.lon), 1e-8);  // 0.00004″
                EXPECT_NEAR(fast.lat, full.lat, 1e-10);
                EXPECT_NEAR(fast.speed, full.speed, 1e-5);  // 0.04″ a day
                EXPECT_LT(Separation(scattered.At(t, body, false).lon, full.lon), 1e-8);
            }
        }
    }
}

TEST_F(EphemerisTest, ChartBodiesAtCalculationMoment) {
    ChartRecord c;
    c.jdUT = 2451545.0;
    c.jdCalc = 2451545.0 + 365.0;  // bodies follow jdCalc, not jdUT
    CalcBodies(test::Scratch(), c);
    EXPECT_NEAR(c.lon[SUN], BodyLongitude(test::Scratch(), c.jdCalc, SUN), 1e-12);
    for (int i = SUN; i <= LIL; ++i) EXPECT_TRUE(BodyAvailable(c, i)) << i;
    EXPECT_GT(DeltaT(2451545.0) * 86400, 63.0);  // ΔT in 2000 was about 63.8 s
    EXPECT_LT(DeltaT(2451545.0) * 86400, 65.0);
}

TEST_F(EphemerisTest, MissingFileAsksOnceAndLeavesBodyEmpty) {
    // only the 1800–2399 files
    fs::create_directory("ephe");
    for (const char* f : {"sepl_18.se1", "semo_18.se1", "seas_18.se1"})
        fs::create_symlink(std::string(kEpheDir) + f, std::string("ephe/") + f);
    OpenOn(work.Path() + "/ephe/");
    double jd1650 = JulianDayOfDateText("01.07.1650");
    // Two searches of a year of daily charts, each a command of its own: the
    // computations only note the missing file; the commands ask, once in the run.
    size_t asked = 0;
    for (int search = 0; search < 2; ++search) {
        Computation c;
        for (int day = 0; day < 365; ++day) {
            ChartRecord chart;
            chart.jdUT = chart.jdCalc = jd1650 + day;
            CalcBodies(c, chart);
            EXPECT_EQ(chart.lon[MRS], 0.0);
            EXPECT_EQ(chart.lat[MRS], 0.0);
            EXPECT_EQ(chart.speed[MRS], 0.0);
        }
        EXPECT_EQ(services.missingFiles.size(), asked);  // nothing asked while computing
        // Each missing file once, however many charts needed it (planets, Chiron).
        size_t files = c.diagnostics.Items().size();
        ASSERT_GE(files, 1u);
        EXPECT_LE(files, 2u);
        TellDiagnostics(c.diagnostics);
        if (search == 0) asked = files;
        ASSERT_EQ(services.missingFiles.size(), asked);  // the second search asks nothing
        EXPECT_EQ(services.missingFiles[0], work.Path() + "/ephe/sepl_12.se1");
    }
    // with the planetary file of 1200–1799 present the lunar one is named: geocentric
    // planets need it too (the Earth is found from the Earth–Moon barycentre)
    fs::create_directory("ephe2");
    for (const char* f : {"sepl_18.se1", "semo_18.se1", "seas_18.se1", "sepl_12.se1"})
        fs::create_symlink(std::string(kEpheDir) + f, std::string("ephe2/") + f);
    OpenOn(work.Path() + "/ephe2/");
    Computation c;
    EXPECT_EQ(CalcBody(c, jd1650, MRS).lon, 0.0);
    EXPECT_EQ(CalcBody(c, jd1650, MON).lon, 0.0);
    TellDiagnostics(c.diagnostics);
    ASSERT_EQ(services.missingFiles.size(), asked + 1);
    EXPECT_EQ(services.missingFiles.back(), work.Path() + "/ephe2/semo_12.se1");
    // in range everything still works, and SEL needs no file
    EXPECT_NEAR(BodyLongitude(test::Scratch(), 2451545.0, SUN), 280.3689187, 1e-6);
    EXPECT_NE(CalcBody(test::Scratch(), jd1650, SEL).lon, 0.0);
    // "Завершить" ends the program
    services.answer = ContinueOrQuit::Quit;
    CalcBody(c, jd1650, HIR);
    EXPECT_THROW(TellDiagnostics(c.diagnostics), test::FatalCalled);
}

TEST_F(EphemerisTest, UnpackagedAsteroidAndOutOfRangeDates) {
    Computation c;
    BodyPosition a = CalcBody(c, 2451545.0, kAsteroidOffset + 433);
    EXPECT_EQ(a.lon, 0.0);
    TellDiagnostics(c.diagnostics);
    ASSERT_EQ(services.missingFiles.size(), 1u);
    EXPECT_NE(services.missingFiles[0].find("se00433s.se1"), std::string::npos);
    EXPECT_NEAR(BodyLongitude(test::Scratch(), 2451545.0, 17),
                CalcBody(test::Scratch(), 2451545.0, 17).lon, 0);  // Ceres works
    EXPECT_NE(BodyLongitude(test::Scratch(), 2451545.0, 17), 0.0);
    // Chiron has no orbit before 675: empty and journalled, no question
    BodyPosition chiron = CalcBody(c, JulianDayOfDateText("01.01.0500"), HIR);
    EXPECT_EQ(chiron.lon, 0.0);
    EXPECT_TRUE(c.diagnostics.Empty());
    // a negative Julian day never switches files
    EXPECT_EQ(CalcBody(test::Scratch(), -10.0, SUN).lon, 0.0);
    auto journal = ReadFileBytes("jur.jur");
    ASSERT_TRUE(journal);
    EXPECT_NE(journal->find("Err new_segm: ipli=15"), std::string::npos);
    EXPECT_NE(journal->find("Err Smena: ipl=0 tjd=-10.000000"), std::string::npos);
}

TEST(EphemerisDamage, GarbageDataFileIsFatalAtStartUp) {
    test::TempWorkDir work;
    test::RecordingServices services;
    fs::create_directory("ephe");
    for (const char* f : {"semo_18.se1", "seas_18.se1"})
        fs::create_symlink(std::string(test::kEpheDir) + f, std::string("ephe/") + f);
    work.WriteFile("ephe/sepl_18.se1", std::string(4096, 'x'));
    work.WriteFile("dirswe.ctl", work.Path() + "/ephe/\n");
    try {
        OpenEphemeris();
        ADD_FAILURE() << "a damaged file must be fatal";
    } catch (const test::FatalCalled& f) {
        EXPECT_EQ(f.text, "Файл эфемерид испорчен"_cp);
    }
}

// An unknown body is a fault of the calling code, never a message to the user.
TEST_F(EphemerisTest, UnknownBodyIsAnAssertion) {
    EXPECT_DEBUG_DEATH(CalcBody(test::Scratch(), 2451545.0, 21), "no such body");
#ifdef NDEBUG
    EXPECT_EQ(CalcBody(test::Scratch(), 2451545.0, 0).lon, 0.0);
    EXPECT_TRUE(services.warnings.empty());
#endif
}

}  // namespace
}  // namespace orbeta
