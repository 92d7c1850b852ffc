// Interrupted and failed writes, and damaged files: every record but the one being
// written stays readable, and damage is reported, never read as data.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <map>

#include "../support/test_support.h"
#include "data/binary_file.h"
#include "data/open_base.h"
#include "data/record_store.h"
#include "data/store_check.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "store_test_support.h"

namespace orbeta {
namespace {

using test::Bytes;
using test::Fields;
using test::I16;

struct Snapshot {
    std::string btr, bod, bcr;
    static Snapshot Take() { return {Bytes("s.btr"), Bytes("s.bod"), Bytes("s.bcr")}; }
    void Restore() const {
        WriteFileAtomically("s.btr", btr);
        WriteFileAtomically("s.bod", bod);
        WriteFileAtomically("s.bcr", bcr);
    }
};

class Safety : public ::testing::Test {
  protected:
    ~Safety() override { SetStoreWriteLimit(-1); }

    // Records ".000001".. (or 20-digit keys, that fill nodes sooner), in key order.
    std::map<std::string, std::string> Fill(int count, int pageSize = 4096, bool wideKeys = false) {
        std::map<std::string, std::string> model;
        EXPECT_EQ(CreateBase("s", pageSize), 0);
        StoreOpenError error;
        auto s = RecordStore::Open("s", error);
        for (int i = 1; i <= count; ++i) {
            std::string key = Format(wideKeys ? "%020d" : ".%06d", i);
            std::string value = Format("card %d", i);
            EXPECT_EQ(s->WriteRecord(key, Fields({{2, value}})), kWriteDone);
            model[key] = value;
        }
        return model;
    }

    // Runs an operation with the store's writes cut off after n = 0, 1, 2, ... until
    // it completes, reopening from the same files each time: the store must open
    // sound, every other record must read as before, and `key` either as before or
    // as after.
    void InterruptEverywhere(const std::map<std::string, std::string>& model,
                             const std::string& key, const std::string& after,
                             const std::function<bool(RecordStore&)>& op) {
        Snapshot before = Snapshot::Take();
        for (long n = 0;; ++n) {
            ASSERT_LT(n, 100) << "the operation never completes";
            before.Restore();
            StoreOpenError error;
            auto s = RecordStore::Open("s", error);
            ASSERT_TRUE(s) << error.text;
            SetStoreWriteLimit(n);
            bool done = op(*s);
            bool closed = s->Close();
            SetStoreWriteLimit(-1);
            s = RecordStore::Open("s", error);
            ASSERT_TRUE(s) << "cut after " << n << " writes: " << error.text;
            for (const auto& [k, v] : model) {
                BaseRecord r;
                bool found = s->ReadRecord(k, r);
                if (k != key) {
                    ASSERT_TRUE(found && r.Field(2) == v) << k << " after " << n << " writes";
                } else {
                    std::string got = found ? r.Field(2) : "<gone>";
                    ASSERT_TRUE(got == v || got == after) << got << " after " << n << " writes";
                }
            }
            if (!model.count(key)) {
                BaseRecord r;
                bool found = s->ReadRecord(key, r);
                ASSERT_TRUE(!found || r.Field(2) == after);
            }
            ASSERT_TRUE(s->Close());
            StoreReport report = CheckStore("s");
            ASSERT_TRUE(report.Sound()) << report.problems.front();
            if (done && closed) {
                EXPECT_GT(n, 0);
                return;
            }
        }
    }

    test::TempWorkDir work;
    test::RecordingServices services;
};

TEST_F(Safety, ACutInsertThatSplitsALeafLosesNothing) {
    // Keys in order split the last leaf every 93 keys from the 186th on.
    auto model = Fill(186 + 93 - 1);
    StoreOpenError error;
    int nodes = RecordStore::Open("s", error)->Index().Header().nodeCount;
    InterruptEverywhere(model, ".999999", "new", [](RecordStore& s) {
        return s.WriteRecord(".999999", Fields({{2, "new"}})) == kWriteDone;
    });
    auto s = RecordStore::Open("s", error);
    EXPECT_EQ(s->Index().Header().depth, 2);
    // The split's two halves: one in the node the last split of the filling session
    // left spare (kept in the header when it closed), one appended.
    EXPECT_EQ(s->Index().Header().nodeCount, nodes + 1);
    s.reset();
    StoreReport report = CheckStore("s");
    EXPECT_EQ(report.spareNodes, 1) << "the leaf this split replaced";
    EXPECT_TRUE(report.unreachable.empty());
}

TEST_F(Safety, ASecondSplitWritesIntoTheNodeTheFirstLeftUnused) {
    // Two full leaves: .000001...000092 with 86 longer keys put between (12 bytes
    // each fill the 1032 bytes left), and .000094...000278.
    auto model = Fill(186 + 93 - 1);
    {
        StoreOpenError error;
        auto s = RecordStore::Open("s", error);
        for (int i = 1; i <= 86; ++i) {
            std::string key = Format(".%06da", i);
            ASSERT_EQ(s->WriteRecord(key, Fields({{2, key}})), kWriteDone);
            model[key] = key;
        }
        EXPECT_EQ(s->Index().Header().nodeCount, 4);
    }
    InterruptEverywhere(model, ".000050c", "two", [](RecordStore& s) {
        return s.WriteRecord(".999999", Fields({{2, "one"}})) == kWriteDone &&
               s.WriteRecord(".000050c", Fields({{2, "two"}})) == kWriteDone;
    });
    StoreOpenError error;
    auto s = RecordStore::Open("s", error);
    // Two splits, four halves: one into the node left spare by the filling session,
    // one into the leaf the first split replaced, two appended.
    EXPECT_EQ(s->Index().Header().nodeCount, 4 + 2);
    s.reset();
    StoreReport report = CheckStore("s");
    EXPECT_EQ(report.treeNodes, 5);
    EXPECT_EQ(report.spareNodes, 1);
    EXPECT_TRUE(report.unreachable.empty());
}

TEST_F(Safety, ACutInsertThatSplitsUpToANewRootLosesNothing) {
    // 20-byte keys in order split the last leaf (85 entries of 24 bytes) every 43
    // keys from the 86th on; the root takes 78 entries of 26 bytes: the next key
    // splits the last leaf and the root.
    auto model = Fill(86 + 43 * 78 - 1, 4096, true);
    StoreOpenError error;
    int depth = RecordStore::Open("s", error)->Index().Header().depth;
    EXPECT_EQ(depth, 2);
    const std::string last(20, '9');
    InterruptEverywhere(model, last, "new", [&](RecordStore& s) {
        return s.WriteRecord(last, Fields({{2, "new"}})) == kWriteDone;
    });
    auto s = RecordStore::Open("s", error);
    EXPECT_EQ(s->Index().Header().depth, 3);
}

TEST_F(Safety, ACutReplaceKeepsTheOldOrTheNewRecord) {
    auto model = Fill(250);
    InterruptEverywhere(model, ".000100", std::string(3000, 'r'), [](RecordStore& s) {
        return s.WriteRecord(".000100", Fields({{2, std::string(3000, 'r')}})) == kWriteDone;
    });
    model[".000100"] = std::string(3000, 'r');
    InterruptEverywhere(model, ".000100", "short", [](RecordStore& s) {
        return s.WriteRecord(".000100", Fields({{2, "short"}})) == kWriteDone;
    });
}

TEST_F(Safety, ACutDeleteOrNewKeyLosesNothing) {
    auto model = Fill(250);
    InterruptEverywhere(model, ".000093", "<gone>",
                        [](RecordStore& s) { return s.DeleteRecord(".000093") == 1; });
    model.erase(".000093");
    // Without a counter record the search starts at .000001: the deleted number is
    // the first free one.
    InterruptEverywhere(model, ".000093", "added", [](RecordStore& s) {
        std::string key = s.NewKey(".");
        return key == ".000093" && s.WriteRecord(key, Fields({{2, "added"}})) == kWriteDone;
    });
}

TEST_F(Safety, AFullDiskRefusesTheWriteAndKeepsTheFiles) {
    auto model = Fill(40, 256);
    StoreOpenError error;
    auto s = RecordStore::Open("s", error);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->WriteRecord(".000001", Fields({{2, "flag set"}})), kWriteDone);
    model[".000001"] = "flag set";
    long pageBytes = static_cast<long>(Bytes("s.bod").size());
    // Files may not grow past their size (plus part of a page): a new page is written
    // only in part and must be cut back.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = static_cast<rlim_t>(pageBytes + 100);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    int result = s->WriteRecord(".000041", Fields({{2, std::string(200, 'x')}}));
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(result, kWriteFailed);
    auto messages = s->TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("s.bod"), std::string::npos);
    EXPECT_EQ(static_cast<long>(Bytes("s.bod").size()), pageBytes);
    EXPECT_FALSE(s->FindKey(".000041"));
    EXPECT_EQ(s->WriteRecord(".000041", Fields({{2, "later"}})), kWriteDone);
    model[".000041"] = "later";
    ASSERT_TRUE(s->Close());
    s = RecordStore::Open("s", error);
    for (const auto& [k, v] : model) {
        BaseRecord r;
        EXPECT_TRUE(s->ReadRecord(k, r) && r.Field(2) == v) << k;
    }
}

class Damage : public Safety {
  protected:
    void SetUp() override {
        Fill(250);
        ASSERT_EQ(CreateBase("e"), 0);
    }
    std::string OpenError(const std::string& stem = "s") {
        StoreOpenError error;
        auto s = RecordStore::Open(stem, error);
        return s ? std::string("opened") : error.text;
    }
    void SetUnfinished() { test::Patch("s.btr", 16, I16(1)); }
    int Root() { return test::I16At(Bytes("s.btr"), 10); }
};

TEST_F(Damage, ABadHeaderOrAShortIndexIsRefused) {
    test::Patch("s.btr", 14, I16(0));
    EXPECT_NE(OpenError().find("повреждена: размер страницы 0"_cp), std::string::npos);
    test::Patch("s.btr", 14, I16(4096));
    test::Patch("s.btr", 6, I16(21));
    EXPECT_NE(OpenError().find("повреждена"_cp), std::string::npos);
    test::Patch("s.btr", 6, I16(2));
    std::string index = Bytes("s.btr");
    ASSERT_TRUE(WriteFileAtomically("s.btr", index.substr(0, index.size() - 1)));
    EXPECT_NE(OpenError().find("короче"_cp), std::string::npos);
    ASSERT_TRUE(WriteFileAtomically("s.btr", index.substr(0, 10)));
    EXPECT_NE(OpenError().find("нет заголовка"_cp), std::string::npos);
    std::remove("s.btr");
    EXPECT_EQ(OpenError(), "Файл s.btr не открывается"_cp);
    // The desktop's open shows the damage and opens nothing.
    ASSERT_TRUE(WriteFileAtomically("s.btr", index.substr(0, 10)));
    EXPECT_EQ(OpenBase("s"), -1);
    EXPECT_TRUE(services.warnings.empty());
    EXPECT_TRUE(TellBaseMessages("NoB"));
    ASSERT_EQ(services.warnings.size(), 1u) << "one fault, one message";
    EXPECT_NE(services.warnings[0].find("База данных s повреждена"_cp), std::string::npos);
    EXPECT_NE(services.warnings[0].find("db repair"), std::string::npos);
    EXPECT_FALSE(IsBaseOpen());
}

TEST_F(Damage, AfterAnUnfinishedSessionTheWholeStoreIsChecked) {
    EXPECT_EQ(OpenError(), "opened");
    // A record the index refers to has gone from its page, as when a cached write
    // never reached the disk.
    std::string pages = Bytes("s.bod");
    test::Patch("s.bod", 2 + 2 + 6, "X");  // .000001 becomes .00000X
    EXPECT_EQ(OpenError(), "opened") << "nothing flags the session as unfinished";
    SetUnfinished();
    std::string text = OpenError();
    EXPECT_NE(text.find("повреждена"_cp), std::string::npos) << text;
    EXPECT_NE(text.find("записи .000001 нет на странице 0"_cp), std::string::npos) << text;
    // Repaired, the store opens again and the flag is cleared.
    ASSERT_TRUE(WriteFileAtomically("s.bod", pages));
    EXPECT_EQ(OpenError(), "opened");
    EXPECT_EQ(test::I16At(Bytes("s.btr"), 16), 0);
}

TEST_F(Damage, ATreeThatLoopsOrSharesNodesIsReportedNotWalkedForever) {
    // The root's first child made the root itself.
    int root = Root();
    test::Patch("s.btr", 2048L * root + 4, I16(root));
    StoreOpenError error;
    auto s = RecordStore::Open("s", error);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->ListKeys("."), std::nullopt);
    BaseRecord r;
    EXPECT_FALSE(s->ReadRecord(".000001", r));
    EXPECT_EQ(s->WriteRecord(".000000", Fields({{2, "x"}})), kWriteFailed);
    EXPECT_EQ(s->NewKey("."), "");
    EXPECT_TRUE(s->ReadRecord(".000200", r)) << "the other side of the tree still reads";
    auto messages = s->TakeMessages();
    ASSERT_EQ(messages.size(), 1u) << "the same fault is told once";
    EXPECT_NE(messages[0].find("на уровне"_cp), std::string::npos) << messages[0];
    s->Close();
    auto report = CheckStore("s");
    EXPECT_FALSE(report.Sound());
    SetUnfinished();
    EXPECT_NE(OpenError().find("повреждена"_cp), std::string::npos);
    // Both children of the root the same leaf: listed twice at most, and reported.
    test::Patch("s.btr", 16, I16(0));
    test::Patch("s.btr", 2048L * root + 4,
                I16(test::I16At(Bytes("s.btr"), 2048L * root + 6 + 2 + 7 + 2)));
    s = RecordStore::Open("s", error);
    ASSERT_TRUE(s);
    auto keys = s->ListKeys("");
    ASSERT_TRUE(keys);
    EXPECT_LE(keys->size(), 2u * 250);
    s->Close();
    report = CheckStore("s");
    ASSERT_FALSE(report.Sound());
    bool shared = false;
    for (const auto& p : report.problems)
        shared = shared || p.find("дважды"_cp) != std::string::npos;
    EXPECT_TRUE(shared) << report.problems[0];
}

TEST_F(Damage, AKeyLongerThanTwentyBytesIsListedCutWithAWarning) {
    // A leaf root holding one entry with a 21-byte key.
    std::string node = I16(2048 - 4 - 25) + I16(1) + I16(21) + std::string(21, 'k') + I16(0);
    node.resize(2048, '\0');
    ASSERT_TRUE(WriteFileAtomically(
        "e.btr", std::string(Bytes("e.btr")).replace(6, 6, I16(1) + I16(1) + I16(1)) + node));
    StoreOpenError error;
    auto s = RecordStore::Open("e", error);
    ASSERT_TRUE(s) << error.text;
    EXPECT_EQ(s->ListKeys("k"), std::vector<std::string>{std::string(20, 'k')});
    EXPECT_EQ(s->TakeMessages(), std::vector<std::string>{"ErrLk"});
}

TEST_F(Damage, AStoreInUseByAnotherProgramIsNotOpenedTwice) {
    StoreOpenError error;
    auto first = RecordStore::Open("s", error);
    ASSERT_TRUE(first);
    auto second = RecordStore::Open("s", error);
    EXPECT_FALSE(second);
    EXPECT_FALSE(error.damaged);
    EXPECT_TRUE(error.busy);
    EXPECT_NE(error.text.find("занята"_cp), std::string::npos);
    EXPECT_TRUE(CheckStore("e").Sound()) << "other stores are not held";
    first.reset();
    EXPECT_TRUE(RecordStore::Open("s", error));
}

TEST_F(Damage, NodesWithImpossibleSizesOrChildrenAreReported) {
    int root = Root();
    const std::pair<long, std::string> patches[] = {
        {0, I16(-1)},    // free bytes
        {0, I16(2046)},  // less used than an inner node's child0
        {2, I16(7)},     // leaf flag
        {4, I16(999)},   // child past the node count
        {6, I16(3000)},  // key length past the used part
        {6, I16(-2)},    // negative key length
    };
    std::string index = Bytes("s.btr");
    for (const auto& [offset, bytes] : patches) {
        ASSERT_TRUE(WriteFileAtomically("s.btr", index));
        test::Patch("s.btr", 2048L * root + offset, bytes);
        services.warnings.clear();
        StoreOpenError error;
        auto s = RecordStore::Open("s", error);
        ASSERT_TRUE(s);
        BaseRecord r;
        EXPECT_FALSE(s->ReadRecord(".000001", r)) << offset;
        auto messages = s->TakeMessages();
        ASSERT_EQ(messages.size(), 1u) << offset;
        EXPECT_NE(messages[0].find(Format("узел %d"_cp, root)), std::string::npos) << messages[0];
        s.reset();
        auto report = CheckStore("s");
        ASSERT_FALSE(report.Sound());
        EXPECT_NE(report.problems[0].find(Format("узел %d"_cp, root)), std::string::npos)
            << report.problems[0];
    }
}

TEST_F(Damage, PageAndRecordGarbageIsNeverReadAsData) {
    // Data length past the page, used bytes past the page: the record is not there.
    test::Patch("s.bod", 2 + 2 + 7, I16(30000));
    test::Patch("s.bod", 4096, I16(30000));
    StoreOpenError error;
    auto s = RecordStore::Open("s", error);
    BaseRecord r;
    EXPECT_FALSE(s->ReadRecord(".000001", r));
    auto messages = s->TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("нет на странице"_cp), std::string::npos);
    // An index that points past the page file.
    s->Close();
    std::string pages = Bytes("s.bod");
    ASSERT_TRUE(WriteFileAtomically("s.bod", pages.substr(0, 4096)));
    s = RecordStore::Open("s", error);
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->ReadRecord(".000250", r));
    messages = s->TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("err-bod-read"), std::string::npos);
    s->Close();
    auto report = CheckStore("s");
    EXPECT_FALSE(report.Sound());
    EXPECT_GE(report.problems.size(), 2u);
}

}  // namespace
}  // namespace orbeta
