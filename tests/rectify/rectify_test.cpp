// Rectification: event files, rule lines, the scoring of one event against charts
// with known positions, and the run over an interval.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include "../core/ephemeris_fixture.h"
#include "core/chart_compute.h"
#include "core/houses.h"
#include "platform/codepage.h"
#include "rectify/rectification.h"

namespace orbeta {
namespace {

ChartRecord ChartWith(double sun, double asc) {
    ChartRecord r;
    for (int b = 1; b <= kBodyCount; ++b) r.lon[b] = std::fmod(5.0 + 24 * b, 360.0);
    r.lon[SUN] = sun;
    for (int k = 1; k <= 12; ++k) r.cusp[k] = std::fmod(asc + 30.0 * (k - 1), 360.0);
    return r;
}

TEST(RectifyRules, ParsesRuleLines) {
    // Natal chart: Asc 0° Aries, equal houses, so cusp 5 is Leo (ruled by the Sun) and
    // cusp 7 Libra (Venus); Neptune (197°) alone stands in the 7th house.
    ChartRecord natal = ChartWith(125, 0);
    struct Case {
        const char* line;
        bool malformed;
        double weight;
        size_t angles;
        std::multiset<std::string> pairs;  // "a m i j weight"
    };
    const Case cases[] = {
        {"SU-T:0:SU=2", false, 2, 1, {"0 3 1 1 2"}},
        {"su:0 90:su", false, 1, 2, {"0 3 1 1 1"}},  // small letters, no letter means T
        {"SU A5-T : 0 : 1 = 1.5", false, 1.5, 1, {"0 3 1 16 3"}},       // the Sun counts twice
        {"A7-PD : 0 : 10", false, 1, 1, {"1 3 4 25 1", "2 3 4 25 1"}},  // Venus rules the 7th
        {"H7 : 0 : Z1 Z2", false, 1, 1, {"0 3 8 28 1"}},                // first natal target only
        {"MO-P : 180 : 1-PD MO", false, 1, 1, {"1 1 2 16 1", "1 2 2 16 1", "1 3 2 2 1"}},
        {"A13 H0 Z1 13 XX : 0 : Z13 A0", false, 1, 1, {}},   // unknown codes count nothing
        {"SU : 0", true, 1, 0, {}},                          // fewer than three parts
        {"SU : 0 : SU = много", true, 0, 1, {"0 3 1 1 0"}},  // a weight that is not a number
        {"SU-X : 0 : SU-X", false, 1, 1, {}},                // no known chart letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Rule rule = ParseRule(Utf8ToAnsi(c.line));
        EXPECT_EQ(rule.Malformed(), c.malformed);
        EXPECT_DOUBLE_EQ(rule.weight, c.weight);
        EXPECT_EQ(rule.angles.size(), c.angles);
        std::multiset<std::string> pairs;
        for (const RulePair& p : RulePairs(rule, natal, 1023)) {
            std::ostringstream s;
            s << p.moving << ' ' << p.target << ' ' << p.i << ' ' << p.j << ' ' << p.weight;
            pairs.insert(s.str());
        }
        EXPECT_EQ(pairs, c.pairs);
    }
    // House occupants are taken only from the bodies of the mask.
    EXPECT_TRUE(RulePairs(ParseRule("H7:0:1"), natal, 1023 & ~(1L << 7)).empty());
}

TEST(RectifyRules, ScoresOneEventAgainstKnownPositions) {
    PreparedEvent e;
    e.event.name = "test";
    e.event.dateText = "01.01.2000";
    auto rules = [&](std::initializer_list<const char*> lines) {
        e.rules.clear();
        for (const char* l : lines) e.rules.push_back(ParseRule(l));
    };
    ChartRecord natal = ChartWith(100, 10);
    ChartRecord transit = ChartWith(100.8, 50), progressed = ChartWith(130, 80.4),
                directed = ChartWith(160, 82.4);
    std::array<const ChartRecord*, kMovingKinds> moving = {&transit, &progressed, &directed};
    RectifyParams p;
    auto score = [&](unsigned methods) {
        p.methods = methods;
        CandidateScore s;
        bool hit = ScoreEvent(e, moving, natal, p, s, nullptr);
        return std::make_pair(hit, s);
    };
    // The transit Sun 0.8° from the natal Sun: within the default orb of 1°.
    rules({"SU-T:0:SU=2"});
    auto [hit, s] = score(7);
    EXPECT_TRUE(hit);
    EXPECT_DOUBLE_EQ(s.total, 2);
    EXPECT_DOUBLE_EQ(s.parts[kRuleTransit], 2);
    // A table row for the angle gives the orb: 0.5° leaves it out.
    AspectRecord narrow;
    narrow.angle = 0;
    narrow.orbs.fill(0.5f);
    p.orbs[kRuleTransit].aspects = {narrow};
    EXPECT_FALSE(score(7).first);
    p.orbs[kRuleTransit] = {};
    // Directed Asc 72.4° from the natal Asc: the directions table has 0° only, so 72°
    // takes the default 0.5° (not the orb of the 0° row).
    AspectRecord wide;
    wide.angle = 0;
    wide.orbs.fill(3.0f);
    p.orbs[kRuleDirection].aspects = {wide};
    rules({"1-D:0 72:1"});
    EXPECT_TRUE(score(7).first);
    directed.cusp[1] = 82.7;
    EXPECT_FALSE(score(7).first);
    // Progressions to natal points score without transits; a progressed target needs
    // progressions.
    rules({"1-P:0 70:1"});  // 70.4° from the natal Asc
    EXPECT_TRUE(score(2).first);
    p.orbs[kRuleDirection] = {};
    rules({"1-D:0:1-P=1"});  // directed 82.7° vs progressed 80.4°: out of orb
    EXPECT_FALSE(score(7).first);
    rules({"SU-D:0 30:SU-P"});  // 160 vs 130: 30° exactly
    EXPECT_TRUE(score(7).first);
    EXPECT_FALSE(score(4).first);
    // A broken rule line ends the event: what was added stays, the event is not hit.
    rules({"SU-T:0:SU=2", "SU-T:0", "SU-T:0:SU=5"});
    std::tie(hit, s) = score(7);
    EXPECT_FALSE(hit);
    EXPECT_DOUBLE_EQ(s.total, 2);
    // A body the ephemeris could not give never hits.
    rules({"SU-T:0:SU=2"});
    natal.lon[SUN] = natal.lat[SUN] = natal.speed[SUN] = 0;
    transit.lon[SUN] = 0.5;
    EXPECT_FALSE(score(7).first);
}

TEST(RectifyRules, CandidatesAndListing) {
    EXPECT_EQ(CandidateCount(0, 1.0 / 24, 60), 61);
    EXPECT_EQ(CandidateCount(0, 1.0 / 24, 22 * 60), 3);  // 0, 22, 44 min: never past the end
    EXPECT_EQ(CandidateCount(0, 1.0, 60), 1441);
    const double jd = 2446201.5 + 5.0 / 24;  // moments as dates give them
    EXPECT_EQ(CandidateCount(jd + 29.0 / 1440, jd + 31.0 / 1440, 60), 3);
    EXPECT_EQ(CandidateCount(jd, jd + 1.0 / 86400, 1), 2);
    std::vector<CandidateScore> c(5);
    const double totals[] = {3, 5, 3, 1, 5};
    for (int k = 0; k < 5; ++k) c[k].total = totals[k];
    EXPECT_EQ(ListedCandidates(c, 1), (std::vector<int>{4, 1}));  // ties: the later first
    EXPECT_EQ(ListedCandidates(c, 3), (std::vector<int>{4, 1, 2, 0}));
    EXPECT_EQ(ListedCandidates(c, 10), (std::vector<int>{4, 1, 2, 0, 3}));
    EXPECT_EQ(CorrectionHoursText(5.75), "5.75");
    EXPECT_EQ(CorrectionHoursText(-2.0344), "-2.0344");
    EXPECT_EQ(CorrectionHoursText(-3), "-3");
    EXPECT_EQ(CorrectionHoursText(-0.00001), "0");
    // Result records: S, T, P, D as little-endian doubles.
    CandidateScore s;
    s.total = 1.5;
    s.parts = {0.5, 0.25, 0.75};
    std::string bytes = ResultRecordBytes(s);
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\0\0\0\0\0\0\xF8\x3F", 8));
}

TEST(RectifyEvents, ReadsEventFiles) {
    std::string text = Utf8ToAnsi(
        "Файл событий Иван\n#Брак @ 12.06.1970 14:30\n* comment\nSU:0:7\n\n#Суд @1 @31.02.1975\n"
        "SA:0:1\n#Переезд\nUR:0:4\n#Развод @ erdt\n#Потоп @01.02.-9755\n");
    EventFile f = ParseEventText(text);
    ASSERT_EQ(f.types.size(), 5u);
    EXPECT_EQ(f.types[2].name, Utf8ToAnsi("Переезд"));
    ASSERT_EQ(f.events.size(), 1u);
    EXPECT_EQ(f.unreadableDates, 3);  // 31.02, a text, a year before the ephemeris data
    EXPECT_EQ(f.events[0].name, Utf8ToAnsi("Брак"));
    EXPECT_EQ(f.events[0].dateText, "12.06.1970 14:30");
    EXPECT_DOUBLE_EQ(f.events[0].jdLocal, 2440749.5 + 14.5 / 24);
    ASSERT_EQ(f.events[0].rules.size(), 1u);
    EXPECT_EQ(f.events[0].rules[0].line, 4);
    EXPECT_EQ(EventEntryText(f.types[2], "01.02.2003"),
              Utf8ToAnsi("#Переезд @01.02.2003\nUR:0:4\n"));
    EXPECT_EQ(EventFileHeader("a"), Utf8ToAnsi("Файл событий a\n"));
}

TEST(RectifyEvents, StandardEventTypesAreSound) {
    std::ifstream in(std::string(ORBETA_SOURCE_DIR) + "/data/events.ctl");
    std::stringstream utf8;
    utf8 << in.rdbuf();
    EventFile f = ParseEventText(Utf8ToAnsi(utf8.str()));
    EXPECT_GE(f.types.size(), 30u);
    std::set<std::string> names;
    for (const EventType& t : f.types) {
        SCOPED_TRACE(AnsiToUtf8(t.name));
        EXPECT_TRUE(names.insert(t.name).second);
        EXPECT_EQ(t.name.find(" @"), std::string::npos);
        EXPECT_FALSE(t.rules.empty());
        for (const RuleLine& l : t.rules) {
            Rule r = ParseRule(l.text);
            EXPECT_FALSE(r.Malformed()) << l.text;
            EXPECT_FALSE(r.angles.empty()) << l.text;
            for (const auto* list : {&r.moving, &r.targets})
                for (const RulePoint& p : *list) {
                    EXPECT_NE(p.type, RulePoint::Unknown) << l.text;
                    EXPECT_NE(p.kinds, 0u) << l.text;
                }
        }
    }
}

class RectifyRun : public test::EphemerisTest {
  protected:
    RectifyResult Run(double start, double end, double step,
                      std::string sb = "#E @01.01.2000\nSU:0:Z1\n") {
        ChartRecord natal;
        natal.latitude = latitude;
        natal.houseSystem = static_cast<int16_t>(houseSystem);
        natal.longitude = 37.37;
        RectifyParams p;
        p.startLocal = start;
        p.endLocal = end;
        p.stepSeconds = step;
        p.correction = -3.0 / 24;
        Computation c;
        return RunRectification(c, p, ParseEventText(sb), natal);
    }
    double latitude = 55.45;
    int houseSystem = kPlacidus;
};

TEST_F(RectifyRun, IntervalRules) {
    const double day = 2446201.5;
    RectifyResult r = Run(day, day + 1, 3600);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.candidates.size(), 25u);
    EXPECT_DOUBLE_EQ(r.best, 1);  // nothing hit: the scale stays 1
    EXPECT_FALSE(Run(day, day, 60).ok);
    EXPECT_FALSE(Run(day, day + 1.01, 60).ok);
    EXPECT_FALSE(Run(day, day + 0.1, 0).ok);
    EXPECT_FALSE(Run(day, day + 0.1, 0.5).ok);
    EXPECT_FALSE(Run(day, day + 0.1, 60, "#E @01.01.1900\nSU:0:1\n").ok);  // before the interval
    EXPECT_FALSE(Run(day, day + 0.1, 60, "#E @erdt\nSU:0:1\n").ok);
    // No cusp moves with the birth time: zodiac houses, chosen or beyond the polar circle.
    houseSystem = kZodiacHouses;
    EXPECT_FALSE(Run(day, day + 0.1, 60).ok);
    houseSystem = kPlacidus;
    latitude = 70.0;
    EXPECT_FALSE(Run(day, day + 0.1, 60).ok);
    latitude = -55.45;
    EXPECT_TRUE(Run(day, day + 0.1, 60).ok);
}

}  // namespace
}  // namespace orbeta
