#include "core/hypothetical.h"

#include <gtest/gtest.h>

#include "../support/scratch_computation.h"
#include "core/ephemeris.h"
#include "ephemeris_fixture.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

TEST(HypotheticalElements, LineNumbersPaddingAndUnsolvableOrbits) {
    test::RecordingServices services;
    Diagnostics noted;
    auto e = ParseHypotheticalElements(
        "* comment\n0 1 2 0.1\n9 1 2 0.1\n3 10.5 40\n"
        "4 1 0 0\n5 1 -3 0\n6 1 10 1.0\n7 1 10 nan\n8 1 10 0.5 1 2 3 extra\n",
        noted);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].number, 3);
    EXPECT_DOUBLE_EQ(e[0].meanAnomaly, 10.5);
    EXPECT_DOUBLE_EQ(e[0].semiMajorAxis, 40);
    EXPECT_DOUBLE_EQ(e[0].eccentricity, 0);  // missing tokens are 0
    EXPECT_DOUBLE_EQ(e[0].inclination, 0);
    EXPECT_EQ(e[1].number, 7);
    EXPECT_DOUBLE_EQ(e[1].eccentricity, 0);  // "nan" is no number: 0
    EXPECT_EQ(e[2].number, 8);
    EXPECT_DOUBLE_EQ(e[2].inclination, 3);
    // a = 0, a < 0 and e = 1 are refused with a warning each, told by the command
    EXPECT_TRUE(services.warnings.empty());
    TellDiagnostics(noted);
    ASSERT_EQ(services.warnings.size(), 3u);
    EXPECT_EQ(services.warnings[0], "Ошибочные элементы орбиты тела 4 в файле swurn.ctl"_cp);
}

class HypotheticalTest : public test::EphemerisTest {};

TEST_F(HypotheticalTest, ShippedElementsMatchTheLibrarysOwnUranianBodies) {
    if (!test::HaveProgram("swetest")) GTEST_SKIP() << "swetest is not installed";
    std::string shipped = test::WorkspaceTemplate() + "/swurn.ctl";
    work.WriteFile("swurn.ctl", *ReadFileBytes(shipped));
    auto lon = HypotheticalLongitudes(test::Scratch(), 2451545.0);
    // swetest computes Cupido … Poseidon from its own element file
    auto r = test::RunCommand(
        "env -u SE_EPHE_PATH swetest -bj2451545.0 -ut -pJKLMNOPQ -fl -head -ep -eswe "
        "-edir/usr/share/libswe/ephe/");
    std::vector<double> oracle;
    for (const auto& line : SplitLines(r.out)) oracle.push_back(std::atof(line.c_str()));
    ASSERT_EQ(oracle.size(), 8u) << r.out;
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(lon[i], oracle[i], 0.001 / 3600) << "body " << i + 1;
    // ordinary positions are unaffected by the element directory
    EXPECT_NEAR(BodyLongitude(test::Scratch(), 2451545.0, SUN), 280.3689187, 1e-6);
}

TEST_F(HypotheticalTest, ReadOncePerChangeWarnsOnceAndGivesNoLongitudeWithoutTheFile) {
    Computation search;
    std::array<double, 8> lon{};
    for (int day = 0; day < 30; ++day) lon = HypotheticalLongitudes(search, 2451545.0 + day);
    for (double x : lon) EXPECT_EQ(x, kNoHypotheticalLongitude);
    TellDiagnostics(search.diagnostics);
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_EQ(services.warnings[0], "Не открывается файл swurn.ctl"_cp);
    work.WriteFile("swurn.ctl", "2 27.6496 50.66744 0.00245 148.1796 161.3339 1.0500\n");
    // A new command sees the changed file; the unchanged file is not read again.
    Computation next;
    lon = HypotheticalLongitudes(next, 2451545.0);
    EXPECT_EQ(lon[0], kNoHypotheticalLongitude);  // no line: not 0° Aries
    EXPECT_NEAR(lon[1], 78.1803890, 1e-6);        // Hades, as the library computes it
    EXPECT_TRUE(next.diagnostics.Empty());
    Diagnostics unchanged;
    EXPECT_EQ(CurrentHypotheticalSet(unchanged), next.context.hypothetical);
    // A set read once travels with its context, whatever the file does meanwhile.
    work.WriteFile("swurn.ctl", "3 10 0 0\n");
    EXPECT_NEAR(HypotheticalLongitudes(next, 2451545.0)[1], 78.1803890, 1e-6);
    Diagnostics changed;
    EXPECT_NE(CurrentHypotheticalSet(changed), next.context.hypothetical);
    EXPECT_TRUE(changed.Has(DiagnosticKind::Warning));
}

}  // namespace
}  // namespace orbeta
