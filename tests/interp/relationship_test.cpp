// The relationship report on constructed charts: which sections the flags bring, what
// counts as aspected, and what a chart without houses leaves out. No base is open, so
// every key is recorded and none printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "interp/relationship.h"

namespace orbeta {
namespace {

// Equal houses from 0° Aries; bodies 30° apart from 5°, unless moved.
ChartRecord Chart(double shift, int houseSystem = 1) {
    ChartRecord r;
    r.houseSystem = static_cast<int16_t>(houseSystem);
    for (int h = 1; h <= 12; ++h) r.cusp[h] = 30.0 * (h - 1);
    for (int b = 1; b <= 15; ++b) {
        r.lon[b] = std::fmod(shift + 5 + 24.0 * (b - 1), 360.0);
        r.speed[b] = 0.3;
    }
    return r;
}

OrbTable Orbs() {
    return LoadOrbTable(std::string(ORBETA_SOURCE_DIR) + "/data/0.ao", "", false);
}

struct Written {
    RelationshipFindings found;
    std::vector<std::string> keys;
    bool Has(const std::string& prefix) const {
        return std::any_of(keys.begin(), keys.end(),
                           [&](const std::string& k) { return k.rfind(prefix, 0) == 0; });
    }
};

Written Write(unsigned flags, const ChartRecord& yours, const ChartRecord& partner) {
    RelationshipInput in{flags, yours, partner, Orbs()};
    ReportSink sink;
    Written r{WriteRelationship(in, sink), {}};
    for (const auto& k : sink.Keys()) r.keys.push_back(k.key);
    return r;
}

TEST(Relationship, SectionsByFlags) {
    struct Case {
        unsigned flags;
        const char* present;  // of 000 010 011 012, "Az", "Azx", "h"
        const char* absent;
    };
    const Case cases[] = {
        {15, "000 010 011 012", "Az h0"}, {14, "000 010 011", "012 p01p"},
        {8, "000", "010 011 012 p01z"},   {2, "010 p01z", "000 011 012 Az"},
        {4, "011 p01z", "010 Az"},        {1 | 16, "012 h0", "000 010"},
        {2 | 16, "010 Az u07h", "Azx"},   {4 | 32, "011 Az u07h", "010"},
    };
    for (const auto& c : cases) {
        Written r = Write(c.flags, Chart(0), Chart(100));
        std::istringstream present(c.present), absent(c.absent);
        std::string key;
        while (present >> key) EXPECT_TRUE(r.Has(key)) << c.flags << " " << key;
        while (absent >> key) EXPECT_FALSE(r.Has(key)) << c.flags << " " << key;
    }
    // The partner's keys carry the suffix.
    Written partner = Write(4 | 32, Chart(0), Chart(100));
    for (const auto& k : partner.keys) {
        bool sided = k.rfind("p", 0) == 0 || k.rfind("Az", 0) == 0;
        EXPECT_TRUE(!sided || k.back() == 'x') << k;
    }
}

TEST(Relationship, AspectWithoutTextCounts) {
    Written r = Write(1, Chart(0), Chart(0));
    // Every body of yours meets its own place in the partner's chart.
    EXPECT_TRUE(r.found.unaspected.empty());
    EXPECT_FALSE(r.Has("Np"));
    bool sunSun = std::any_of(r.found.aspects.begin(), r.found.aspects.end(), [](const auto& a) {
        return a.yours == 1 && a.partner == 1 && a.angle == 0;
    });
    EXPECT_TRUE(sunSun);
    EXPECT_EQ(r.keys.front(), "0");
}

TEST(Relationship, NoHousesMeansNoHouseTexts) {
    for (int system : {1, 8}) {
        Written r = Write(63, Chart(0, system), Chart(100, system));
        bool cusps = std::any_of(r.found.aspects.begin(), r.found.aspects.end(),
                                 [](const auto& a) { return a.yours > 15 || a.partner > 15; });
        bool houseTexts = r.Has("Az") || r.Has("H07") || r.Has("u07") || r.Has("h") ||
                          r.Has("007") || !r.found.partnerInYourHouses.empty();
        EXPECT_EQ(cusps, system != 8) << system;
        EXPECT_EQ(houseTexts, system != 8) << system;
    }
}

TEST(Relationship, SeventhHouseStellium) {
    ChartRecord full = Chart(0), partner = Chart(100);
    for (int b : {1, 3, 4}) full.lon[b] = 185 + b;  // the 7th house: 180..210
    for (int b : {1, 3, 4}) partner.lon[b] = 185 + b;
    Written r = Write(2 | 4 | 16 | 32, full, partner);
    EXPECT_TRUE(std::count(r.keys.begin(), r.keys.end(), "007") == 1);
    EXPECT_TRUE(std::count(r.keys.begin(), r.keys.end(), "007x") == 1);
    EXPECT_TRUE(r.Has("H07p03x"));
    // Two bodies left there (NEP of yours, MRS of the partner's stand there too).
    full.lon[4] = full.lon[9] = 100;
    partner.lon[4] = partner.lon[5] = 100;
    Written two = Write(2 | 4 | 16 | 32, full, partner);
    EXPECT_FALSE(two.Has("007"));
}

TEST(Relationship, MissingBodiesTakeNoPart) {
    ChartRecord yours = Chart(0), partner = Chart(100);
    yours.lon[9] = yours.speed[9] = 0;  // NEP of yours could not be computed
    partner.lon[8] = partner.speed[8] = 0;
    Written r = Write(1 | 16, yours, partner);
    for (const auto& a : r.found.aspects) {
        EXPECT_NE(a.yours, 9);
        EXPECT_NE(a.partner, 8);
    }
    EXPECT_EQ(std::count(r.found.unaspected.begin(), r.found.unaspected.end(), 9), 0);
    for (const auto& p : r.found.partnerInYourHouses) EXPECT_NE(p.body, 8);
    EXPECT_EQ(r.found.partnerInYourHouses.size(), 14u);
}

}  // namespace
}  // namespace orbeta
