// The keyed record store: the documented bytes of its three files, and the cases
// its users depend on.
#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "data/open_base.h"
#include "data/record_store.h"
#include "data/store_check.h"
#include "platform/format.h"
#include "store_test_support.h"

namespace orbeta {
namespace {

using test::Bytes;
using test::Fields;
using test::I16;
using test::I16At;

class Store : public ::testing::Test {
  protected:
    std::unique_ptr<RecordStore> Open(const std::string& stem = "t") {
        StoreOpenError error;
        auto s = RecordStore::Open(stem, error);
        EXPECT_TRUE(s) << error.text;
        return s;
    }
    std::string Field2(RecordStore& s, const std::string& key) {
        BaseRecord r;
        return s.ReadRecord(key, r) ? r.Field(2) : "<none>";
    }
    test::TempWorkDir work;
    test::RecordingServices services;
};

TEST_F(Store, FilesHoldTheDocumentedBytes) {
    ASSERT_EQ(CreateBase("t", 4096), 0);
    std::string header = Bytes("t.btr");
    ASSERT_EQ(header.size(), 2048u);
    // header size, node size, key length, depth, nodes, root, reserved, page size
    EXPECT_EQ(header.substr(0, 16),
              I16(2048) + I16(2048) + I16(20) + I16(0) + I16(0) + I16(0) + I16(0) + I16(4096));
    EXPECT_EQ(header.find_first_not_of('\0', 16), std::string::npos);
    EXPECT_EQ(Bytes("t.bod"), "");
    EXPECT_EQ(Bytes("t.bcr"), "");

    auto s = Open();
    ASSERT_EQ(s->WriteRecord("AB", Fields({{2, "x"}, {10, "yz "}})), kWriteDone);
    EXPECT_EQ(I16At(Bytes("t.btr"), 16), 1) << "changes under way are flagged";
    ASSERT_TRUE(s->Close());

    std::string index = Bytes("t.btr");
    ASSERT_EQ(index.size(), 4096u);
    EXPECT_EQ(index.substr(0, 18), I16(2048) + I16(2048) + I16(20) + I16(1) + I16(1) + I16(1) +
                                       I16(0) + I16(4096) + I16(0));
    // leaf node 1: free 2048 − 4 − 6, leaf, {2, "AB", page 0}
    EXPECT_EQ(index.substr(2048, 10), I16(2038) + I16(1) + I16(2) + "AB" + I16(0));
    EXPECT_EQ(index.find_first_not_of('\0', 2058), std::string::npos);

    // fields {2, 1, "x"} {10, 2, "yz"}: data 9 bytes; record 4 + 2 + 9 = 15 bytes
    std::string page = Bytes("t.bod");
    ASSERT_EQ(page.size(), 4096u);
    std::string data = std::string("\x02") + I16(1) + "x" + "\x0A" + I16(2) + "yz";
    EXPECT_EQ(page.substr(0, 17), I16(15) + I16(2) + "AB" + I16(9) + data);
    EXPECT_EQ(page.find_first_not_of('\0', 17), std::string::npos);
    EXPECT_EQ(Bytes("t.bcr"), I16(4096 - 2 - 15));
}

TEST_F(Store, ALeafSplitsAtItsMedianUnderANewRoot) {
    ASSERT_EQ(CreateBase("t", 4096), 0);
    auto s = Open();
    // 11-byte entries: 185 fill a leaf, the 186th splits it. The median is the first
    // entry whose page number ends at or past byte 1024: the 93rd (4 + 93 × 11).
    for (int i = 1; i <= 186; ++i)
        ASSERT_EQ(s->WriteRecord(Format(".%06d", i), Fields({{2, "n"}})), kWriteDone);
    const IndexHeader& h = s->Index().Header();
    EXPECT_EQ(h.depth, 2);
    IndexNode root = s->Index().Fetch(h.root);
    EXPECT_FALSE(root.IsLeaf());
    NodeEntry median = root.EntryAt(6);
    EXPECT_EQ(median.key, ".000093");
    EXPECT_EQ(median.end, root.UsedEnd()) << "one entry in the new root";
    IndexNode left = s->Index().Fetch(root.ChildBefore(6));
    IndexNode right = s->Index().Fetch(median.child);
    EXPECT_EQ(left.Free(), 2048 - (4 + 92 * 11));
    EXPECT_EQ(left.EntryAt(4 + 91 * 11).key, ".000092");
    EXPECT_EQ(right.Free(), 2048 - (4 + 93 * 11));
    EXPECT_EQ(right.EntryAt(4).key, ".000094");
    EXPECT_EQ(right.EntryAt(4 + 92 * 11).key, ".000186");
    ASSERT_TRUE(s->Close());
    auto report = CheckStore("t");
    EXPECT_TRUE(report.Sound());
    EXPECT_EQ(report.keys, 186);
}

TEST_F(Store, EmptyDatabaseListsNothingAndTheFirstInsertMakesALeafRoot) {
    ASSERT_EQ(CreateBase("t"), 0);
    ASSERT_EQ(OpenBase("t"), 0);
    EXPECT_EQ(ListKeys("basa.tmp", "."), "");
    EXPECT_EQ(Bytes("basa.tmp"), "");
    EXPECT_FALSE(FindKey(".000001"));
    BaseRecord r = Fields({{2, "left"}});
    EXPECT_FALSE(ReadRecord(".000001", r));
    EXPECT_EQ(r, BaseRecord{}) << "a failed read leaves the slots empty";
    EXPECT_EQ(DeleteRecord(".000001"), 0);
    ASSERT_EQ(WriteRecord(".000001", Fields({{2, "a"}})), kWriteDone);
    EXPECT_EQ(OpenedBase()->Index().Header().depth, 1);
    EXPECT_TRUE(OpenedBase()->Index().Fetch(OpenedBase()->Index().Header().root).IsLeaf());
    CloseBase();
}

TEST_F(Store, ReplacingMovesTheRecordWhereItFitsAndRemovesTheOldBytes) {
    ASSERT_EQ(CreateBase("t", 256), 0);
    auto s = Open();
    ASSERT_EQ(s->WriteRecord("a", Fields({{2, std::string(100, 'a')}})), kWriteDone);
    ASSERT_EQ(s->WriteRecord("b", Fields({{2, std::string(100, 'b')}})), kWriteDone);
    EXPECT_EQ(s->Pages().PageCount(), 1);
    // A larger "a" no longer fits page 0 beside the old one: it goes to page 1 and its
    // old bytes leave page 0.
    ASSERT_EQ(s->WriteRecord("a", Fields({{2, std::string(200, 'A')}})), kWriteDone);
    EXPECT_EQ(s->Pages().PageCount(), 2);
    auto page0 = PageRecords(s->Pages().Load(0));
    ASSERT_EQ(page0.size(), 1u);
    EXPECT_EQ(page0[0].key, "b");
    EXPECT_EQ(PageUsed(s->Pages().Load(0)), 4 + 1 + 103);
    EXPECT_EQ(Field2(*s, "a"), std::string(200, 'A'));
    // Reading "a" left page 1 in the buffer: a record that fits there goes there first.
    ASSERT_EQ(s->WriteRecord("b", Fields({{2, "small"}})), kWriteDone);
    EXPECT_EQ(PageUsed(s->Pages().Load(0)), 0);
    EXPECT_EQ(PageRecords(s->Pages().Load(1)).size(), 2u);
    EXPECT_EQ(Field2(*s, "b"), "small");
    // Appended to the page of the old copy, the new one replaces it there.
    ASSERT_EQ(s->WriteRecord("b", Fields({{2, "smaller"}})), kWriteDone);
    auto page1 = PageRecords(s->Pages().Load(1));
    ASSERT_EQ(page1.size(), 2u);
    EXPECT_EQ(page1[1].key, "b");
    EXPECT_EQ(Field2(*s, "b"), "smaller");
    ASSERT_TRUE(s->Close());
    auto report = CheckStore("t");
    EXPECT_TRUE(report.Sound());
    EXPECT_EQ(report.strayRecords, 0);
}

TEST_F(Store, AnInnerKeyDeletedIsMarkedThenReusedByAWrite) {
    ASSERT_EQ(CreateBase("t"), 0);
    auto s = Open();
    for (int i = 1; i <= 186; ++i)
        ASSERT_EQ(s->WriteRecord(Format(".%06d", i), Fields({{2, "n"}})), kWriteDone);
    int nodes = s->Index().Header().nodeCount;
    ASSERT_EQ(s->DeleteRecord(".000093"), 1);  // the median in the root
    IndexNode root = s->Index().Fetch(s->Index().Header().root);
    EXPECT_EQ(root.EntryAt(6).key, ".000093");
    EXPECT_EQ(root.EntryAt(6).page, -1);
    EXPECT_FALSE(s->FindKey(".000093"));
    BaseRecord r;
    EXPECT_FALSE(s->ReadRecord(".000093", r));
    auto keys = s->ListKeys(".");
    ASSERT_TRUE(keys);
    EXPECT_EQ(keys->size(), 185u);
    EXPECT_EQ(std::find(keys->begin(), keys->end(), ".000093"), keys->end());
    EXPECT_EQ(s->DeleteRecord(".000093"), 0);
    ASSERT_EQ(s->WriteRecord(".000093", Fields({{2, "back"}})), kWriteDone);
    EXPECT_EQ(Field2(*s, ".000093"), "back");
    EXPECT_EQ(s->Index().Header().nodeCount, nodes) << "the marked entry is reused";
    EXPECT_GE(s->Index().Fetch(s->Index().Header().root).EntryAt(6).page, 0);
    ASSERT_TRUE(s->Close());
    EXPECT_TRUE(CheckStore("t").Sound());
}

TEST_F(Store, KeysIgnoreTrailingBlanksAndSortUnsignedShorterFirst) {
    ASSERT_EQ(CreateBase("t"), 0);
    auto s = Open();
    ASSERT_EQ(s->WriteRecord("ab  ", Fields({{2, "1"}})), kWriteDone);
    EXPECT_EQ(Field2(*s, "ab"), "1");
    EXPECT_EQ(Field2(*s, "ab   "), "1");
    ASSERT_EQ(s->WriteRecord("ab", Fields({{2, "2"}})), kWriteDone);
    EXPECT_EQ(Field2(*s, "ab "), "2") << "the same key";
    for (const char* k : {"abc", "ab\x8F", "abz", "a", "b", "ab@"})
        ASSERT_EQ(s->WriteRecord(k, Fields({{2, k}})), kWriteDone);
    auto keys = s->ListKeys("ab");
    ASSERT_TRUE(keys);
    // CP866 letters (0x80..) sort after Latin ones; "@" keys are left out.
    EXPECT_EQ(*keys, (std::vector<std::string>{"ab", "abc", "abz", "ab\x8F"}));
    EXPECT_EQ(s->ListKeys("")->size(), 6u);
    EXPECT_EQ(s->ListKeys("abc")->size(), 1u);
    EXPECT_TRUE(s->ListKeys("c")->empty());
}

TEST_F(Store, RefusedWritesChangeNothing) {
    ASSERT_EQ(CreateBase("t"), 0);
    auto s = Open();
    const std::string key(20, 'k');
    ASSERT_EQ(s->WriteRecord(key, Fields({{2, "kept"}})), kWriteDone);
    std::string before = Bytes("t.bod");
    // Fields of 4080 bytes fit the 4088 allowed, but with the 20-byte key the record
    // needs 4104 of the page's 4094: refused before the old record is touched.
    EXPECT_EQ(s->WriteRecord(key, Fields({{2, std::string(4077, 'x')}})), kWriteTooLarge);
    EXPECT_EQ(s->WriteRecord(key, Fields({{2, std::string(4086, 'x')}})), kWriteTooLarge);
    EXPECT_EQ(Field2(*s, key), "kept");
    EXPECT_EQ(Bytes("t.bod"), before);
    EXPECT_EQ(s->WriteRecord("", Fields({{2, "x"}})), kWriteBadKey);
    EXPECT_EQ(s->WriteRecord("   ", Fields({{2, "x"}})), kWriteBadKey);
    EXPECT_EQ(s->WriteRecord(std::string(21, 'k'), Fields({{2, "x"}})), kWriteBadKey);
    // The largest record that fits is written.
    EXPECT_EQ(s->WriteRecord("k", Fields({{2, std::string(4085, 'x')}})), kWriteDone);
    EXPECT_TRUE(services.warnings.empty());
}

TEST_F(Store, NewKeysCountUpFromTheUnlistedCounterRecord) {
    ASSERT_EQ(CreateBase("t"), 0);
    auto s = Open();
    std::string k1 = s->NewKey(".");
    EXPECT_EQ(k1, ".000001");
    EXPECT_EQ(s->NewKey("."), ".000001") << "a key is not taken until it is written";
    ASSERT_EQ(s->WriteRecord(k1, Fields({{2, "a"}})), kWriteDone);
    ASSERT_EQ(s->WriteRecord(".000003", Fields({{2, "c"}})), kWriteDone);
    std::string k2 = s->NewKey(".");
    EXPECT_EQ(k2, ".000002");
    ASSERT_EQ(s->WriteRecord(k2, Fields({{2, "b"}})), kWriteDone);
    EXPECT_EQ(s->NewKey("."), ".000004") << "keys in use are passed over";
    BaseRecord counter;
    ASSERT_TRUE(s->ReadRecord(".@", counter));
    EXPECT_EQ(counter.Field(2), ".000003");
    EXPECT_EQ(*s->ListKeys("."), (std::vector<std::string>{".000001", ".000002", ".000003"}));

    ASSERT_EQ(s->WriteRecord("p@", Fields({{2, "p999999"}})), kWriteDone);
    EXPECT_EQ(s->NewKey("p"), "p1000000") << "the counter grows a digit";
    EXPECT_EQ(s->NewKey("abcdefghijklmn"), "abcdefghijklmn000001");
    EXPECT_TRUE(s->TakeMessages().empty());
    EXPECT_EQ(s->NewKey("abcdefghijklmno"), "");
    EXPECT_EQ(s->TakeMessages(), std::vector<std::string>{"errserv abcdefghijklmno"});
    EXPECT_TRUE(services.warnings.empty()) << "the caller tells the user";
    EXPECT_EQ(IncrementKeyCounter("x007  "), "x008");
    EXPECT_EQ(IncrementKeyCounter("x"), "x1");
}

TEST_F(Store, StaleOrMissingFreeSpaceCountsAreCorrectedFromThePages) {
    ASSERT_EQ(CreateBase("t", 256), 0);
    {
        auto s = Open();
        for (char c = 'a'; c <= 'e'; ++c)
            ASSERT_EQ(s->WriteRecord(std::string(1, c), Fields({{2, std::string(100, c)}})),
                      kWriteDone);
        EXPECT_EQ(s->Pages().PageCount(), 3);
    }
    // Every page claimed empty: each write checks its page before trusting it.
    test::Patch("t.bcr", 0, I16(254) + I16(254) + I16(254));
    {
        auto s = Open();
        ASSERT_EQ(s->WriteRecord("f", Fields({{2, std::string(100, 'f')}})), kWriteDone);
        EXPECT_EQ(s->Pages().PageCount(), 3) << "page 2 had room";
        EXPECT_EQ(s->Pages().FreeTable()[0], 254 - 2 * 108);
    }
    EXPECT_EQ(CheckStore("t").staleFreeCounts, 0);
    // A short table leaves the pages past its end counted as empty until checked; a
    // missing one is created.
    ASSERT_TRUE(WriteFileAtomically("t.bcr", I16(0)));
    {
        auto s = Open();
        EXPECT_EQ(s->Pages().FreeTable(), (std::vector<int>{0, 254, 254}));
        ASSERT_EQ(s->WriteRecord("g", Fields({{2, "g"}})), kWriteDone);
    }
    std::remove("t.bcr");
    {
        auto s = Open();
        EXPECT_TRUE(FileExists("t.bcr"));
        ASSERT_EQ(s->WriteRecord("h", Fields({{2, std::string(100, 'h')}})), kWriteDone);
    }
    auto report = CheckStore("t");
    EXPECT_TRUE(report.Sound());
    EXPECT_EQ(report.staleFreeCounts, 0);
    auto s = Open();
    for (char c = 'a'; c <= 'f'; ++c) EXPECT_EQ(Field2(*s, std::string(1, c)), std::string(100, c));
    EXPECT_EQ(Field2(*s, "g"), "g");
}

TEST_F(Store, OneDatabaseIsOpenAtATime) {
    ASSERT_EQ(CreateBase("t"), 0);
    ASSERT_EQ(CreateBase("u"), 0);
    EXPECT_EQ(OpenBase("missing"), -1);
    EXPECT_TRUE(services.warnings.empty()) << "a missing database is the caller's to report";
    ASSERT_EQ(OpenBase("t"), 0);
    EXPECT_EQ(OpenBase("u"), -1);
    EXPECT_TRUE(services.warnings.empty());
    EXPECT_TRUE(TellBaseMessages("fallback"));
    EXPECT_EQ(services.warnings, std::vector<std::string>{"2OpBd"}) << "told once, by the command";
    EXPECT_EQ(OpenedBase()->Stem(), "t");
    CloseBase();
    CloseBase();
    EXPECT_FALSE(IsBaseOpen());
    EXPECT_EQ(WriteRecord("k", Fields({{2, "x"}})), kWriteFailed);
    EXPECT_EQ(OpenBase("u"), 0);
    CloseBase();
}

TEST_F(Store, ListedKeysArePickedByLineAndMarkedWhenDeleted) {
    ASSERT_EQ(CreateBase("t"), 0);
    ASSERT_EQ(OpenBase("t"), 0);
    for (const char* k : {".000001", ".000002", ".000003", "t.MOSCOW"})
        ASSERT_EQ(WriteRecord(k, Fields({{2, k}})), kWriteDone);
    EXPECT_EQ(ListKeys("basa.tmp", "."), ".000001");
    CloseBase();
    EXPECT_EQ(Bytes("basa.tmp"), " .000001\n .000002\n .000003\n");
    EXPECT_EQ(PickListed("basa.tmp", 1, true), ".000002");
    EXPECT_EQ(Bytes("basa.tmp"), " .000001\n-.000002\n .000003\n");
    EXPECT_EQ(PickListed("basa.tmp", 1, false), ".000003");
    EXPECT_EQ(PickListed("basa.tmp", 2, false), std::nullopt);
    EXPECT_EQ(PickListed("basa.tmp", -1, false), std::nullopt);
    EXPECT_EQ(ListedKeys("basa.tmp"), (std::vector<std::string>{".000001", ".000003"}));
    EXPECT_EQ(PickListed("missing.tmp", 0, false), std::nullopt);
}

TEST(BaseRecordFields, DecodingKeepsTheFirstValueAndStopsAtAnOverrun) {
    // {2 "ab"} {2 "zz"} {0 "q"} {5 ""} {7 length 9 but 2 bytes left}
    std::string data = std::string("\x02\x02\x00", 3) + "ab" + std::string("\x02\x02\x00", 3) +
                       "zz" + std::string("\x00\x01\x00", 3) + "q" +
                       std::string("\x05\x00\x00", 3) + std::string("\x07\x09\x00", 3) + "xy";
    BaseRecord r;
    r.SetField(1, "key");
    DecodeFields(reinterpret_cast<const uint8_t*>(data.data()), data.size(), r);
    EXPECT_EQ(r.Field(1), "key");
    EXPECT_EQ(r.Field(2), "ab");
    EXPECT_FALSE(r.Has(5));
    EXPECT_FALSE(r.Has(7));
    // Encoding cuts trailing blanks, leaves empty fields out and stops text at a NUL.
    BaseRecord w;
    w.SetField(3, "  a b  ");
    w.SetField(4, "   ");
    w.SetField(255, std::string("c\0d", 3));
    w.SetField(256, "ignored");
    auto bytes = EncodeFields(w);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              std::string("\x03\x05\x00", 3) + "  a b" + std::string("\xFF\x01\x00", 3) + "c");
}

}  // namespace
}  // namespace orbeta
