// Power loss and repair: a disk keeps, of the writes made since a file's last sync,
// any part in any order. Every such image of the store must open sound with every
// card as before or after its change; a damaged index is rebuilt from the pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "../support/test_support.h"
#include "data/binary_file.h"
#include "data/record_store.h"
#include "data/store_check.h"
#include "data/store_repair.h"
#include "platform/format.h"
#include "store_test_support.h"

namespace orbeta {
namespace {

using test::Bytes;
using test::Fields;

const char* const kGone = "<gone>";
using Files = std::map<std::string, std::string>;

void Apply(Files& files, const StoreWriteEvent& e) {
    std::string& f = files[e.path];
    if (e.kind == StoreWriteEvent::Create) f.clear();
    if (e.kind == StoreWriteEvent::Truncate) f.resize(static_cast<size_t>(e.offset));
    if (e.kind != StoreWriteEvent::Write) return;
    size_t at = static_cast<size_t>(e.offset);
    if (f.size() < at + e.bytes.size()) f.resize(at + e.bytes.size());
    f.replace(at, e.bytes.size(), e.bytes);
}

// The files a disk may hold after the first n events: what was synced, plus a choice
// of the later writes (none, all in order, or a random part in random order).
Files Crash(const Files& start, const std::vector<StoreWriteEvent>& events, size_t n, int how,
            std::mt19937& rng) {
    Files synced = start;
    std::map<std::string, std::vector<StoreWriteEvent>> pending;
    for (size_t i = 0; i < n; ++i) {
        const auto& e = events[i];
        if (e.kind != StoreWriteEvent::Sync) {
            pending[e.path].push_back(e);
            continue;
        }
        for (const auto& w : pending[e.path]) Apply(synced, w);
        pending[e.path].clear();
    }
    std::vector<StoreWriteEvent> kept;
    for (const auto& [path, writes] : pending)
        for (const auto& w : writes)
            if (how == 1 || (how == 2 && rng() % 2)) kept.push_back(w);
    if (how == 2) std::shuffle(kept.begin(), kept.end(), rng);
    for (const auto& w : kept) Apply(synced, w);
    return synced;
}

class PowerLoss : public ::testing::Test {
  protected:
    ~PowerLoss() override { SetStoreWriteRecorder(nullptr); }

    // 278 cards in one session: the next key in order splits the last leaf.
    void Fill() {
        ASSERT_EQ(CreateBase("s"), 0);
        StoreOpenError error;
        auto s = RecordStore::Open("s", error);
        for (int i = 1; i <= 278; ++i) Put(*s, Format(".%06d", i), Format("card %d", i));
    }
    void Put(RecordStore& s, const std::string& key, const std::string& value) {
        ASSERT_EQ(s.WriteRecord(key, Fields({{2, value}})), kWriteDone) << key;
        values_[key].insert(value);
    }
    void Delete(RecordStore& s, const std::string& key) {
        ASSERT_EQ(s.DeleteRecord(key), 1) << key;
        values_[key].insert(kGone);
    }

    // Three sessions: a split, a record moved to another page, a delete; then splits
    // into the nodes left spare; then more deletes. Returns what reached the files.
    std::vector<StoreWriteEvent> Run(bool bulk) {
        std::vector<StoreWriteEvent> events;
        SetStoreWriteRecorder([&](const StoreWriteEvent& e) { events.push_back(e); });
        StoreOpenError error;
        auto session = [&](const std::function<void(RecordStore&)>& changes) {
            auto s = RecordStore::Open("s", error);
            ASSERT_TRUE(s) << error.text;
            if (bulk) s->SetBulk(true, 1 << 30);
            changes(*s);
            s->SetBulk(false);
            ASSERT_TRUE(s->Close());
        };
        session([&](RecordStore& s) {
            Put(s, ".999999", "new");
            Put(s, ".000100", std::string(3000, 'r'));
            Delete(s, ".000093");
        });
        session([&](RecordStore& s) {
            for (int i = 1; i <= 86; ++i) Put(s, Format(".%06da", i), "added");
        });
        session([&](RecordStore& s) {
            Delete(s, ".000050");
            Put(s, ".000100", "short again");
        });
        SetStoreWriteRecorder(nullptr);
        return events;
    }

    // Empty when the image opens sound and every card holds a value it had at some
    // point; else what is wrong.
    std::string Verify(const Files& image) {
        for (const auto& [path, bytes] : image) WriteFileAtomically(path, bytes);
        StoreOpenError error;
        auto s = RecordStore::Open("s", error);
        if (!s) return error.text;
        for (const auto& [key, allowed] : values_) {
            BaseRecord r;
            std::string got = s->ReadRecord(key, r) ? r.Field(2) : kGone;
            if (!allowed.count(got)) return key + " holds " + got.substr(0, 20);
        }
        s->Close();
        StoreReport report = CheckStore("s");
        return report.Sound() ? "" : report.problems.front();
    }

    // The first crash image that fails, or empty.
    std::string FirstFailure(bool bulk) {
        Fill();
        Files start{
            {"s.btr", Bytes("s.btr")}, {"s.bod", Bytes("s.bod")}, {"s.bcr", Bytes("s.bcr")}};
        for (auto& [key, set] : values_) set.clear();
        for (int i = 1; i <= 278; ++i) values_[Format(".%06d", i)].insert(Format("card %d", i));
        auto events = Run(bulk);
        for (auto& [key, set] : values_)
            if (key.size() == 8 && key.back() == 'a') set.insert(kGone);  // new keys
        values_[".999999"].insert(kGone);
        std::mt19937 rng(7);
        for (size_t n = 0; n <= events.size(); ++n)
            for (int how = 0; how < 4; ++how) {
                std::string problem = Verify(Crash(start, events, n, std::min(how, 2), rng));
                if (!problem.empty())
                    return Format("after %zu of %zu writes (%d): ", n, events.size(), how) +
                           problem;
            }
        return "";
    }

    std::map<std::string, std::set<std::string>> values_;
    test::TempWorkDir work;
    test::RecordingServices services;
};

TEST_F(PowerLoss, EveryImageADiskMayKeepOpensWithOldOrNewCards) {
    EXPECT_EQ(FirstFailure(false), "");
}

TEST_F(PowerLoss, WithoutTheSyncsSomeImageIsDamaged) {
    // The same work with the syncs left out: the model must see the difference.
    EXPECT_NE(FirstFailure(true), "");
}

TEST(Repair, EveryCardComesBackFromThePages) {
    test::TempWorkDir work;
    test::RecordingServices services;
    ASSERT_EQ(CreateBase("s"), 0);
    std::map<std::string, std::string> model;
    {
        StoreOpenError error;
        auto s = RecordStore::Open("s", error);
        for (int i = 1; i <= 600; ++i) {
            std::string key = Format(".%06d", i);
            model[key] = Format("card %d", i);
            ASSERT_EQ(s->WriteRecord(key, Fields({{2, model[key]}})), kWriteDone);
        }
        ASSERT_EQ(s->DeleteRecord(".000300"), 1);
        model.erase(".000300");
    }
    const std::string sound = Bytes("s.btr");
    int root = test::I16At(sound, 10);
    const struct {
        const char* what;
        std::function<std::string()> damage;  // the damaged index
    } cases[] = {
        {"truncated node", [&] { return sound.substr(0, sound.size() - 1000); }},
        {"wrong child",
         [&] { return std::string(sound).replace(2048L * root + 4, 2, test::I16(root)); }},
        {"zeroed header", [&] { return std::string(2048, '\0') + sound.substr(2048); }},
        {"no index at all", [&] { return std::string(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileAtomically("s.btr", c.damage()));
        const std::string damaged = Bytes("s.btr");
        // A repair cut short leaves the old index as it was.
        SetStoreWriteLimit(1);
        EXPECT_FALSE(RepairIndex("s").done);
        SetStoreWriteLimit(-1);
        EXPECT_EQ(Bytes("s.btr"), damaged);
        RepairReport r = RepairIndex("s");
        ASSERT_TRUE(r.done) << r.problem;
        EXPECT_EQ(r.keys, static_cast<long>(model.size()));
        EXPECT_EQ(r.duplicates, 0);
        StoreReport check = CheckStore("s");
        ASSERT_TRUE(check.Sound()) << check.problems.front();
        EXPECT_TRUE(check.unreachable.empty());
        StoreOpenError error;
        auto s = RecordStore::Open("s", error);
        ASSERT_TRUE(s) << error.text;
        auto keys = s->ListKeys("");
        ASSERT_TRUE(keys);
        EXPECT_EQ(keys->size(), model.size());
        for (const auto& [key, value] : model) {
            BaseRecord rec;
            ASSERT_TRUE(s->ReadRecord(key, rec)) << key;
            EXPECT_EQ(rec.Field(2), value);
        }
        // The rebuilt tree takes new keys like any other.
        ASSERT_EQ(s->WriteRecord(".000300", Fields({{2, "again"}})), kWriteDone);
        ASSERT_EQ(s->DeleteRecord(".000300"), 1);
        ASSERT_TRUE(s->Close());
        ASSERT_TRUE(CheckStore("s").Sound());
        ASSERT_TRUE(WriteFileAtomically("s.btr", sound));
    }
}

}  // namespace
}  // namespace orbeta
