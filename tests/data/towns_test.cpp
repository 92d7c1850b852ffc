// Finding towns by their first letters, the keys of the directory, and what a chosen
// town fills in.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/calendar.h"
#include "data/towns.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

std::string Oem(const char* utf8) {
    return Utf8ToOem(utf8);
}

TEST(TownLookup, TypedTextBecomesAnOemKeyPrefixInCapitals) {
    EXPECT_EQ(TownKeyPrefix("мос"_cp), "t." + Oem("МОС"));
    EXPECT_EQ(TownKeyPrefix("new York-1"), "t.NEW YORK-1");
    // ё is not one of the letters the rule raises.
    EXPECT_EQ(TownKeyPrefix("Орёл"_cp), "t." + Oem("ОРёЛ"));
    // Only the first 16 characters are looked up.
    EXPECT_EQ(TownKeyPrefix("Петропавловск-Камчатский"_cp), "t." + Oem("ПЕТРОПАВЛОВСК-КА"));
    EXPECT_EQ(TownKeyPrefix(""), "t.");
}

TEST(TownLookup, ListRowSplitsRegionAndCountry) {
    TownCard card;
    card.name = "Москва"_cp;
    card.latitude = "55.45";
    card.longitude = "37.37";
    EXPECT_EQ(TownListRowOf(card), (TownListRow{"Москва"_cp, "", "", "55.45", "37.37"}));
    card.where = "Москва, Россия"_cp;
    EXPECT_EQ(TownListRowOf(card).region, "Москва"_cp);
    EXPECT_EQ(TownListRowOf(card).country, "Россия"_cp);
    card.where = "Бонэйр, Синт-Эстатиус и Саба, Нидерланды"_cp;  // the last comma parts
    EXPECT_EQ(TownListRowOf(card).region, "Бонэйр, Синт-Эстатиус и Саба"_cp);
    EXPECT_EQ(TownListRowOf(card).country, "Нидерланды"_cp);
    card.where = "Монако"_cp;
    EXPECT_EQ(TownListRowOf(card).region, "");
    EXPECT_EQ(TownListRowOf(card).country, "Монако"_cp);
}

TEST(TownLookup, ChosenTownFillsNameCoordinatesAndCorrection) {
    auto popa =
        ParsePopaCtl("@@PopTime\n5 3 01.04.1981-01.10.1981 4\n@@Summer\n01.01.1900 01.01.2100 1\n");
    TownCard card;
    card.name = "Нью-Йорк"_cp;
    card.latitude = "40.43";
    card.longitude = "-73.59";
    card.zoneCode = "5";
    double summer = JulianDayOfDateTimeText("15.07.1981 12:00:00");
    auto choice = FillTownChoice(card, summer, &popa);
    EXPECT_EQ(choice.name, card.name);
    EXPECT_EQ(choice.latitude, "40.43");
    EXPECT_EQ(choice.longitude, "286.01");
    EXPECT_EQ(choice.correction, -4);
    // No moment yet: no correction, whatever the zone says.
    EXPECT_EQ(FillTownChoice(card, 0, &popa).correction, 0);
    // Field 4 stands alone: the daylight-saving section is not consulted.
    card.fixedCorrection = "3";
    card.dstSection = "Summer";
    EXPECT_EQ(FillTownChoice(card, summer, &popa).correction, -3);
    EXPECT_EQ(FilledLongitude("37.37"), "37.37");
    EXPECT_EQ(FilledLongitude("-0.30"), "359.30");
    EXPECT_EQ(FilledLongitude("-179.59"), "180.01");
    EXPECT_EQ(FilledLongitude(""), "0.00");
}

TownSource Town(const std::string& name, const std::string& latin, bool russianWorld) {
    TownSource t;
    t.name = name;
    t.latin = latin;
    t.russianWorld = russianWorld;
    return t;
}

// Keys whose beginning is the prefix typed for the text.
std::vector<TownKey> Found(const std::vector<TownKey>& keys, const std::string& typed) {
    std::string prefix = TownKeyPrefix(typed);
    std::vector<TownKey> out;
    for (const auto& k : keys)
        if (k.key.compare(0, prefix.size(), prefix) == 0) out.push_back(k);
    return out;
}

TEST(TownKeys, EveryTownIsReachableUnderAUniqueKey) {
    std::vector<TownSource> towns;
    for (int i = 0; i < 120; ++i) towns.push_back(Town("Александровка"_cp, "Aleksandrovka", true));
    for (int i = 0; i < 40; ++i) towns.push_back(Town("Петропавловск-Камчатский"_cp, "", true));
    for (int i = 0; i < 3; ++i) towns.push_back(Town("Красногвардейское Село"_cp, "", true));
    towns.push_back(Town("Орёл"_cp, "Orel", true));
    towns.push_back(Town("Париж"_cp, "Paris", false));
    towns.push_back(Town("Paris", "Paris", false));  // a foreign town without a Russian name
    towns.push_back(Town("Москва"_cp, "Moscow", true));
    towns.push_back(Town("Москва"_cp, "Moscow", false));  // Moscow, Idaho
    auto keys = AssignTownKeys(towns);

    std::set<std::string> unique;
    for (const auto& k : keys) {
        EXPECT_TRUE(unique.insert(k.key).second) << OemToUtf8(k.key);
        EXPECT_LE(k.key.size(), kTownKeyMax);
        EXPECT_EQ(k.key.rfind("t.", 0), 0u);
    }
    for (size_t i = 0; i < towns.size(); ++i) {
        auto byName = Found(keys, towns[i].name);
        EXPECT_TRUE(std::any_of(byName.begin(), byName.end(), [&](const TownKey& k) {
            return k.town == i;
        })) << i;
    }
    EXPECT_EQ(Found(keys, "александровка"_cp).size(), 120u);
    EXPECT_EQ(Found(keys, "Петропавловск-Камчатский"_cp).size(), 40u);
    EXPECT_EQ(Found(keys, "Красногвардейское"_cp).size(), 3u);
    // The most important namesake keeps the bare name.
    EXPECT_EQ(Found(keys, "Александровка"_cp)[0].key, "t." + Oem("АЛЕКСАНДРОВКА"));
    EXPECT_EQ(Found(keys, "Александровка"_cp)[0].town, 0u);
    // Орёл is found with and without the dots.
    EXPECT_EQ(Found(keys, "Орел"_cp).size(), 1u);
    EXPECT_EQ(Found(keys, "Орёл"_cp).size(), 1u);
    // Latin names lead to towns outside the Russian-speaking world only.
    EXPECT_TRUE(Found(keys, "Orel").empty());
    EXPECT_TRUE(Found(keys, "Aleksandrovka").empty());
    auto paris = Found(keys, "paris");
    ASSERT_EQ(paris.size(), 2u);
    EXPECT_TRUE(paris[0].latin);   // Париж under its Latin name
    EXPECT_FALSE(paris[1].latin);  // the town whose only name is Latin
    auto moscow = Found(keys, "Moscow");
    ASSERT_EQ(moscow.size(), 1u);
    EXPECT_EQ(moscow[0].town, towns.size() - 1);
    EXPECT_EQ(Found(keys, "Москва"_cp).size(), 2u);
}

}  // namespace
}  // namespace orbeta
