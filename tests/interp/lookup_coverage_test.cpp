// The keys the relationship and horary reports look up on many random charts are all
// among the keys their listing names (what `--list-keys` prints and the text checks
// hold the bases to), so a base that passes the check has a text for every lookup.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "interp/horary.h"
#include "interp/relationship.h"

namespace orbeta {
namespace {

std::set<std::string> Listed(const ReportSink& sink) {
    std::set<std::string> keys;
    for (const auto& k : sink.Listed()) keys.insert(k.key);
    return keys;
}

// Random positions and speeds; cusps in zodiac order from a random Ascendant.
ChartRecord RandomChart(std::mt19937& rng) {
    std::uniform_real_distribution<double> lon(0, 360), speed(-0.5, 1.5), arc(20, 40);
    ChartRecord r;
    r.houseSystem = 1;
    for (int b = 1; b <= kBodyCount; ++b) {
        r.lon[b] = lon(rng);
        r.speed[b] = speed(rng);
    }
    double c = lon(rng);
    for (int h = 1; h <= 6; ++h, c += arc(rng)) r.cusp[h] = std::fmod(c, 360.0);
    for (int h = 7; h <= 12; ++h) r.cusp[h] = std::fmod(r.cusp[h - 6] + 180, 360.0);
    return r;
}

TEST(LookupCoverage, EveryLookupIsListed) {
    std::mt19937 rng(20261210);
    const OrbTable orbs = LoadOrbTable(std::string(ORBETA_SOURCE_DIR) + "/data/0.ao", "", false);

    RelationshipInput listInput{kAllRelationshipFlags, RandomChart(rng), RandomChart(rng), orbs};
    ReportSink listing(true);
    WriteRelationship(listInput, listing);
    const auto relationshipKeys = Listed(listing);
    for (int n = 0; n < 200; ++n) {
        RelationshipInput in{kAllRelationshipFlags, RandomChart(rng), RandomChart(rng), orbs};
        ReportSink sink;
        WriteRelationship(in, sink);
        for (const auto& k : sink.Keys())
            ASSERT_TRUE(relationshipKeys.count(k.key)) << "couple " << n << ": " << k.key;
    }

    HoraryInput listQuestion;
    listQuestion.chart = RandomChart(rng);
    ReportSink horaryListing(true);
    WriteHorary(listQuestion, horaryListing);
    const auto horaryKeys = Listed(horaryListing);
    std::uniform_int_distribution<int> house(1, 12), aspect(-1, 4);
    std::uniform_real_distribution<double> days(0.01, 30);
    const int angles[] = {0, 60, 90, 120, 180};
    int answered = 0;
    for (int n = 0; n < 200; ++n) {
        HoraryInput in;
        in.subject = house(rng);
        in.object = house(rng);
        in.chart = RandomChart(rng);
        for (int i = 0; i < 10; ++i)
            for (int j = i + 1; j < 10; ++j) {
                int a = aspect(rng);
                in.next.aspect[i][j] = in.next.aspect[j][i] = a < 0 ? -1 : angles[a];
                in.next.time[i][j] = in.next.time[j][i] = 2461000 + days(rng);
            }
        ReportSink sink;
        WriteHorary(in, sink);
        answered += !sink.Keys().empty();
        for (const auto& k : sink.Keys())
            ASSERT_TRUE(horaryKeys.count(k.key)) << "question " << n << ": " << k.key;
    }
    EXPECT_GT(answered, 100);  // most random questions reach the texts
}

}  // namespace
}  // namespace orbeta
