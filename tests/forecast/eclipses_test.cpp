// Eclipses against the ephemeris library's own global searches (fixture of 1900–2100
// made by tools/reference/eclipses.sh), interval edges, refinement before year 200,
// and the eclipse report of orbeta-cli.
#include "forecast/eclipses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

#include "../core/ephemeris_fixture.h"
#include "../support/scratch_computation.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris.h"

namespace orbeta {
namespace {

constexpr double kSecond = 1.0 / 86400;

struct Expected {
    int luminary, type;
    double moment;
};

// The library's eclipses with the kinds the lunation limits give: near-limit cases
// carry the finder's kind in a fifth column (0: not an eclipse by the limits).
std::vector<Expected> Fixture() {
    std::ifstream in(std::string(ORBETA_SOURCE_DIR) + "/tests/fixtures/eclipses_1900_2100.txt");
    std::vector<Expected> v;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        Expected e{};
        double greatest = 0;
        int finder = -1;
        row >> e.luminary >> e.type >> e.moment >> greatest;
        if (row >> finder) e.type = finder;
        if (e.type != 0) v.push_back(e);
    }
    return v;
}

std::vector<EclipseRecord> Found(double from, double to) {
    std::vector<EclipseRecord> list;
    EXPECT_TRUE(FindEclipses(test::Scratch(), list, from, to, kSolarEclipse));
    EXPECT_TRUE(FindEclipses(test::Scratch(), list, from, to, kLunarEclipse));
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return a.moment < b.moment; });
    return list;
}

using Eclipses = test::EphemerisTest;

TEST_F(Eclipses, EveryEclipseOf1900To2100AsTheLibraryFindsIt) {
    auto expected = Fixture();
    ASSERT_EQ(expected.size(), 910u);
    auto found = Found(2415020.5, 2488434.5);
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(DateTimeText(expected[i].moment));
        EXPECT_EQ(found[i].luminary, expected[i].luminary);
        EXPECT_EQ(found[i].type, expected[i].type);
        EXPECT_NEAR(found[i].moment, expected[i].moment, kSecond);
    }
    // Intervals with random ends list exactly the eclipses refined inside them.
    std::mt19937 random(19);
    std::uniform_real_distribution<double> at(2415020.5, 2488000.0), length(1, 400);
    for (int n = 0; n < 40; ++n) {
        double from = at(random), to = from + length(random);
        // Just after an eclipse; just before one (moments agree within a second).
        if (n % 4 == 0) from = expected[n].moment + 2 * kSecond;
        if (n % 4 == 1) to = expected[n + 3].moment - 2 * kSecond;
        size_t inside = std::count_if(expected.begin(), expected.end(), [&](const Expected& e) {
            return e.moment >= from && e.moment < to;
        });
        EXPECT_EQ(Found(from, to).size(), inside) << DateTimeText(from) << " " << DateTimeText(to);
    }
}

TEST_F(Eclipses, IntervalEdgesLimitsAndEarlyCenturies) {
    // Lunation stepping from the nearest lunation listed 25.03.2024 here and missed the
    // lunar eclipse of 15.06.2030.
    auto spring = Found(JulianDayOfDateText("01.04.2024"), JulianDayOfDateText("31.08.2024"));
    ASSERT_EQ(spring.size(), 1u);
    EXPECT_EQ(DateText(spring[0].moment), "08.04.2024");
    auto june = Found(JulianDayOfDateText("01.01.2030"), JulianDayOfDateText("16.06.2030"));
    ASSERT_EQ(june.size(), 2u);
    EXPECT_EQ(DateText(june[1].moment), "15.06.2030");
    EXPECT_EQ(june[1].luminary, kLunarEclipse);
    // Annular, not annular-total, beyond the Earth's edge (29.04.2014: gamma −1.0003).
    double moment = JulianDayOfDateText("29.04.2014");
    EXPECT_EQ(SolarEclipseAt(moment), kAnnularEclipse);
    // Before year 200 ΔT exceeds the window around the series' moment (ephemeris time):
    // every moment listed is still a syzygy.
    for (const char* year : {"01.01.0100", "01.01.-0500"}) {
        double from = JulianDayOfDateText(year);
        auto early = Found(from, from + 3 * 365.25);
        EXPECT_GE(early.size(), 6u) << year;
        for (const auto& e : early) {
            double sun = BodyLongitude(test::Scratch(), e.moment, SUN);
            double moon = BodyLongitude(test::Scratch(), e.moment, MON);
            if (e.luminary == kLunarEclipse) sun = Opposite(sun);
            EXPECT_LT(Separation(sun, moon), 0.0005) << DateTimeText(e.moment);
        }
    }
}

TEST(EclipseReport, CommandLineListOf2024) {
    test::TempWorkDir work;
    auto r = test::RunCommand(std::string("env -u SE_EPHE_PATH ") + ORBETA_CLI + " --workspace " +
                              work.Path() + "/ws eclipses --from 01.01.2024 --to 01.01.2025");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              " Затмения 01.01.2024 - 01.01.2025\n"
              " Рассчитано программой Orbeta\n"
              " 25.03.2024 07:00:20 Лунное=Полутеневое       (05Li07)\n"
              " 08.04.2024 18:20:52 Солнечное=Полное            (19Ar24)\n"
              " 18.09.2024 02:34:28 Лунное=Частное           (25Pi41)\n"
              " 02.10.2024 18:49:17 Солнечное=Кольцеобразное    (10Li04)\n");
    auto reversed = test::RunCommand(std::string(ORBETA_CLI) + " --workspace " + work.Path() +
                                     "/ws eclipses --from 01.01.2025 --to 01.01.2024 2>/dev/null");
    EXPECT_EQ(reversed.status, 1);
}

}  // namespace
}  // namespace orbeta
