// New towns for a workspace whose store already holds chart cards: the town cards are
// replaced through the engine, everything else stays.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"
#include "data/open_base.h"
#include "data/town_refresh.h"
#include "store_test_support.h"

namespace orbeta {
namespace {

using test::Fields;

void Write(const std::string& stem, std::initializer_list<std::pair<const char*, BaseRecord>> all) {
    BaseSession session(stem);
    ASSERT_TRUE(session);
    for (const auto& [key, record] : all) ASSERT_EQ(WriteRecord(key, record), kWriteDone) << key;
}

std::vector<std::string> Keys(const std::string& stem, const char* prefix) {
    BaseSession session(stem);
    return session ? *OpenedBase()->ListKeys(prefix) : std::vector<std::string>{"<closed>"};
}

std::string FieldOf(const std::string& stem, const char* key, int n) {
    BaseSession session(stem);
    BaseRecord r;
    return session && ReadRecord(key, r) ? r.Field(n) : "<missing>";
}

class TownRefreshTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directory("shipped");
        ASSERT_EQ(CreateBase("shipped/abasa"), 0);
        Write("shipped/abasa", {{"t.AMSTERDAM", Fields({{5, "52.22"}, {7, "Amsterdam"}})},
                                {"t.BERN", Fields({{5, "46.57"}, {7, "Bern"}})},
                                {kTownsVersionKey, Fields({{2, "v2"}})}});
        ASSERT_EQ(CreateBase("abasa"), 0);
        Write("abasa", {{"t.AMSTERDAM", Fields({{5, "52.00"}, {7, "Amsterdam"}})},
                        {"t.CHUR", Fields({{5, "46.51"}, {7, "Chur"}})},
                        {kTownsVersionKey, Fields({{2, "v1"}})}});
        BaseSession session("abasa");
        ASSERT_EQ(NewKey("."), ".000001");
        ASSERT_EQ(WriteRecord(".000001", Fields({{2, "Card"}, {3, "01.01.2000"}})), kWriteDone);
    }
    test::TempWorkDir work;
    test::RecordingServices services;
};

TEST_F(TownRefreshTest, TownCardsAreReplacedAndChartCardsKept) {
    std::string shippedBytes = test::Bytes("shipped/abasa.bod") + test::Bytes("shipped/abasa.btr");
    std::vector<std::pair<size_t, size_t>> told;
    auto progress = [&told](size_t done, size_t total) { told.emplace_back(done, total); };
    EXPECT_EQ(RefreshTownCards("shipped/abasa", "abasa", "towns-shipped", progress),
              TownRefresh::Refreshed);
    // Two shipped cards read and written, two old ones deleted.
    using Told = std::vector<std::pair<size_t, size_t>>;
    EXPECT_EQ(told, (Told{{0, 6}, {6, 6}}));
    EXPECT_EQ(Keys("abasa", "t."), (std::vector<std::string>{"t.AMSTERDAM", "t.BERN"}));
    EXPECT_EQ(FieldOf("abasa", "t.AMSTERDAM", 5), "52.22");
    EXPECT_EQ(FieldOf("abasa", "t.AMSTERDAM", 1), "t.AMSTERDAM");
    EXPECT_EQ(FieldOf("abasa", kTownsVersionKey, 2), "v2");
    EXPECT_EQ(Keys("abasa", "."), std::vector<std::string>{".000001"});
    EXPECT_EQ(FieldOf("abasa", ".000001", 2), "Card");
    {
        BaseSession session("abasa");
        EXPECT_EQ(NewKey("."), ".000002");  // the counter record stayed too
    }
    // The shipped store is only read, and its working copy is gone.
    EXPECT_EQ(test::Bytes("shipped/abasa.bod") + test::Bytes("shipped/abasa.btr"), shippedBytes);
    EXPECT_FALSE(std::filesystem::exists("towns-shipped.btr"));

    told.clear();
    EXPECT_EQ(RefreshTownCards("shipped/abasa", "abasa", "towns-shipped", progress),
              TownRefresh::UpToDate);
    EXPECT_TRUE(told.empty()) << "nothing to show when the towns are up to date";
    EXPECT_TRUE(services.warnings.empty());
}

TEST_F(TownRefreshTest, NothingChangesWithoutAShippedVersion) {
    std::string before = test::Bytes("abasa.bod") + test::Bytes("abasa.btr");
    EXPECT_EQ(RefreshTownCards("missing/abasa", "abasa"), TownRefresh::NoShipped);
    {
        BaseSession session("shipped/abasa");
        ASSERT_EQ(DeleteRecord(kTownsVersionKey), 1);
    }
    EXPECT_EQ(RefreshTownCards("shipped/abasa", "abasa"), TownRefresh::NoShipped);
    EXPECT_EQ(test::Bytes("abasa.bod") + test::Bytes("abasa.btr"), before);
}

std::string StoreBytes(const std::string& stem) {
    return test::Bytes(stem + ".btr") + test::Bytes(stem + ".bod") + test::Bytes(stem + ".bcr");
}

TEST_F(TownRefreshTest, AFailedRefreshPutsTheCopyBackAndACutOneIsUndoneFirst) {
    // A shipped card that does not fit the workspace store's pages fails the refresh
    // half-way, after the old town cards are gone.
    std::filesystem::create_directory("big");
    ASSERT_EQ(CreateBase("big/abasa", 8192), 0);
    Write("big/abasa", {{"t.AMSTERDAM", Fields({{5, "52.22"}})},
                        {"t.ZZZ", Fields({{7, std::string(5000, 'z')}})},
                        {kTownsVersionKey, Fields({{2, "v3"}})}});
    const std::string before = StoreBytes("abasa");
    EXPECT_EQ(RefreshTownCards("big/abasa", "abasa"), TownRefresh::Failed);
    EXPECT_EQ(StoreBytes("abasa"), before);
    EXPECT_EQ(
        test::Bytes("abasa.btr.bak") + test::Bytes("abasa.bod.bak") + test::Bytes("abasa.bcr.bak"),
        before);
    EXPECT_FALSE(std::filesystem::exists("abasa.refresh"));

    // A refresh cut short: the mark is there and the store half-written (here, its
    // index gone). The next refresh starts from the copy and keeps the chart card.
    ASSERT_TRUE(WriteFileAtomically("abasa.refresh", ""));
    ASSERT_TRUE(WriteFileAtomically("abasa.btr", "broken"));
    EXPECT_EQ(RefreshTownCards("shipped/abasa", "abasa"), TownRefresh::Refreshed);
    EXPECT_FALSE(std::filesystem::exists("abasa.refresh"));
    EXPECT_EQ(FieldOf("abasa", ".000001", 2), "Card");
    EXPECT_EQ(Keys("abasa", "t."), (std::vector<std::string>{"t.AMSTERDAM", "t.BERN"}));
    // The copy is the one made by this refresh: the store as it was before it.
    EXPECT_EQ(
        test::Bytes("abasa.btr.bak") + test::Bytes("abasa.bod.bak") + test::Bytes("abasa.bcr.bak"),
        before);
    EXPECT_TRUE(services.warnings.empty());
}

}  // namespace
}  // namespace orbeta
