// Random writes, rewrites and deletes, with the store closed and reopened in between,
// against a std::map and against the tree's invariants: no node is lost across the
// sessions (spare nodes survive a close and are used first).
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "../support/test_support.h"
#include "data/binary_file.h"
#include "data/record_store.h"
#include "data/store_check.h"
#include "store_test_support.h"

namespace orbeta {
namespace {

struct Model {
    std::map<std::string, std::string> records;

    // Keys that ListKeys gives for a prefix.
    std::vector<std::string> Listed(const std::string& prefix) const {
        std::vector<std::string> out;
        for (auto it = records.lower_bound(prefix); it != records.end(); ++it) {
            if (it->first.compare(0, prefix.size(), prefix) != 0) break;
            if (it->first.find('@') == std::string::npos) out.push_back(it->first);
        }
        return out;
    }
};

// std::map orders std::string by unsigned bytes (char_traits<char>::compare), as the
// store does.
std::vector<std::string> KeyPool(std::mt19937& rng, int n) {
    const std::string alphabet = ".0123456789abcXYZ@ \x80\x8F\xA0\xE0\xFF";
    std::vector<std::string> pool;
    for (int i = 0; i < n; ++i) {
        std::string key(1 + rng() % 20, ' ');
        for (auto& c : key) c = alphabet[rng() % alphabet.size()];
        while (key.back() == ' ') key.back() = 'k';
        pool.push_back(key);
    }
    return pool;
}

void CheckAgainstModel(RecordStore& s, const Model& m, std::mt19937& rng) {
    auto keys = s.ListKeys("");
    ASSERT_TRUE(keys);
    ASSERT_EQ(*keys, m.Listed(""));
    for (const auto& [key, value] : m.records) {
        BaseRecord r;
        ASSERT_TRUE(s.ReadRecord(key, r)) << key;
        ASSERT_EQ(r.Field(1), key);
        ASSERT_EQ(r.Field(7), value) << key;
    }
    for (int i = 0; i < 20; ++i) {
        std::string prefix =
            m.records.empty()
                ? ""
                : std::next(m.records.begin(), static_cast<long>(rng() % m.records.size()))->first;
        prefix.resize(rng() % (prefix.size() + 1));
        ASSERT_EQ(*s.ListKeys(prefix), m.Listed(prefix)) << prefix;
    }
}

void RunRandomOperations(int pageSize, int operations, int poolSize, unsigned seed, int minDepth) {
    test::TempWorkDir work;
    test::RecordingServices services;
    // Recorded syncs are not made: the test is about the tree, not the disk.
    SetStoreWriteRecorder([](const StoreWriteEvent&) {});
    struct Lift {
        ~Lift() { SetStoreWriteRecorder(nullptr); }
    } lift;
    ASSERT_EQ(CreateBase("p", pageSize), 0);
    std::mt19937 rng(seed);
    auto pool = KeyPool(rng, poolSize);
    Model model;
    StoreOpenError error;
    auto s = RecordStore::Open("p", error);
    ASSERT_TRUE(s);
    int maxDepth = 0;
    long refused = 0;
    for (int op = 1; op <= operations; ++op) {
        const std::string& key = pool[rng() % pool.size()];
        unsigned kind = rng() % 100;
        if (kind < 70) {
            // Mostly short values; now and then one near or past the page's limit.
            size_t length = rng() % 8 == 0 ? rng() % static_cast<unsigned>(pageSize) : rng() % 60;
            std::string value(length, static_cast<char>('a' + rng() % 26));
            BaseRecord r = test::Fields({{7, value}, {2, "x"}});
            int result = s->WriteRecord(key, r);
            bool fits = 3 + 1 + 3 + length <= static_cast<size_t>(pageSize - 8) &&
                        4 + key.size() + 3 + 1 + 3 + length <= static_cast<size_t>(pageSize - 2);
            ASSERT_EQ(result, fits ? kWriteDone : kWriteTooLarge) << op;
            if (fits)
                model.records[key] = value;
            else
                ++refused;
        } else {
            ASSERT_EQ(s->DeleteRecord(key), static_cast<int>(model.records.erase(key))) << op;
        }
        if (rng() % 40 == 0) {  // sessions of 40 operations on average
            ASSERT_TRUE(s->Close());
            s = RecordStore::Open("p", error);
            ASSERT_TRUE(s) << error.text;
        }
        if (op % 5000 == 0 || op == operations) {
            ASSERT_TRUE(s->Close());
            StoreReport report = CheckStore("p");
            ASSERT_TRUE(report.Sound()) << report.problems.front();
            ASSERT_EQ(report.keys, static_cast<long>(model.records.size()));
            ASSERT_EQ(report.strayRecords, 0);
            ASSERT_EQ(report.staleFreeCounts, 0);
            ASSERT_TRUE(report.unreachable.empty()) << report.unreachable.size() << " nodes lost";
            ASSERT_EQ(report.treeNodes + report.spareNodes, report.nodes);
            maxDepth = std::max(maxDepth, report.depth);
            s = RecordStore::Open("p", error);
            ASSERT_TRUE(s) << error.text;
            CheckAgainstModel(*s, model, rng);
        }
    }
    EXPECT_TRUE(services.warnings.empty());
    EXPECT_TRUE(s->TakeMessages().empty());
    EXPECT_GE(maxDepth, minDepth) << "deep enough to split inner nodes";
    EXPECT_GT(refused, 0);
}

TEST(StoreProperty, FiftyThousandOperationsWithFourKilobytePages) {
    RunRandomOperations(4096, 50000, 30000, 1, 3);
}

TEST(StoreProperty, SmallPagesSpillAndRefuseOften) {
    RunRandomOperations(128, 20000, 20000, 2, 2);
}

}  // namespace
}  // namespace orbeta
