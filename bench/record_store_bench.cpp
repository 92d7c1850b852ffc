// The chart database with 100,000 cards: storing them, looking them up, listing them,
// and the open and close that every command pays.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "data/chart_card.h"
#include "data/record_store.h"
#include "data/store_check.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace {

using namespace orbeta;
constexpr int kCards = 100000;

struct WorkDir {
    std::string path;
    WorkDir() {
        path = (std::filesystem::temp_directory_path() / "orbeta-bench-XXXXXX").string();
        if (!::mkdtemp(path.data())) std::abort();
    }
    ~WorkDir() { std::filesystem::remove_all(path); }
};
const std::string& Dir() {
    static WorkDir dir;
    return dir.path;
}

BaseRecord Card(int i) {
    ChartRecord c;
    c.jdLocal = 2430000.5 + i * 0.37;
    c.gmtCorr = -3 / 24.0;
    c.latitude = 55.45;
    c.longitude = 37.37;
    CopyText(c.name, Format("%s %d", "Иван Петров"_cp, i));
    CopyText(c.place, "Москва"_cp);
    return CardOfChart(c);
}

std::string Key(int i) {
    return Format(".%06d", i + 1);
}

std::unique_ptr<RecordStore> Fresh(const std::string& name) {
    std::string stem = Dir() + "/" + name;
    for (const char* ext : {".btr", ".bod", ".bcr"}) std::filesystem::remove(stem + ext);
    CreateBase(stem);
    StoreOpenError error;
    return RecordStore::Open(stem, error);
}

void Sizes(benchmark::State& state, const std::string& name) {
    std::string stem = Dir() + "/" + name;
    state.counters["index_KiB"] = std::filesystem::file_size(stem + ".btr") / 1024.0;
    state.counters["pages_KiB"] = std::filesystem::file_size(stem + ".bod") / 1024.0;
    StoreReport r = CheckStore(stem);
    state.counters["depth"] = r.depth;
    state.counters["nodes"] = r.nodes;
    state.counters["tree_nodes"] = r.treeNodes;
}

void InsertAll(benchmark::State& state, const std::string& name, const std::vector<int>& order) {
    for (auto _ : state) {
        state.PauseTiming();
        auto s = Fresh(name);
        state.ResumeTiming();
        for (int i : order)
            if (s->WriteRecord(Key(i), Card(i)) != kWriteDone) state.SkipWithError("write");
        s->Close();
    }
    state.SetItemsProcessed(state.iterations() * kCards);
    Sizes(state, name);
}

void BM_InsertCardsInKeyOrder(benchmark::State& state) {
    std::vector<int> order(kCards);
    for (int i = 0; i < kCards; ++i) order[i] = i;
    InsertAll(state, "ordered", order);
}
BENCHMARK(BM_InsertCardsInKeyOrder)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_InsertCardsInRandomOrder(benchmark::State& state) {
    std::vector<int> order(kCards);
    for (int i = 0; i < kCards; ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    InsertAll(state, "random", order);
}
BENCHMARK(BM_InsertCardsInRandomOrder)->Iterations(1)->Unit(benchmark::kMillisecond);

// As a chart window stores a chart: a new key from the counter record, then the card.
void BM_AddCardsUnderNewKeys(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto s = Fresh("newkeys");
        state.ResumeTiming();
        for (int i = 0; i < kCards; ++i)
            if (s->WriteRecord(s->NewKey("."), Card(i)) != kWriteDone) state.SkipWithError("write");
        s->Close();
    }
    state.SetItemsProcessed(state.iterations() * kCards);
    Sizes(state, "newkeys");
}
BENCHMARK(BM_AddCardsUnderNewKeys)->Iterations(1)->Unit(benchmark::kMillisecond);

// The 100,000 cards stored in random order, opened once for the lookups.
RecordStore& Filled() {
    static std::unique_ptr<RecordStore> store = [] {
        std::vector<int> order(kCards);
        for (int i = 0; i < kCards; ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), std::mt19937(7));
        auto s = Fresh("lookup");
        for (int i : order) s->WriteRecord(Key(i), Card(i));
        s->Close();
        StoreOpenError error;
        return RecordStore::Open(Dir() + "/lookup", error);
    }();
    return *store;
}

void BM_LookUpCard(benchmark::State& state) {
    RecordStore& s = Filled();
    std::mt19937 rng(3);
    long found = 0;
    for (auto _ : state) {
        BaseRecord r;
        found += s.ReadRecord(Key(static_cast<int>(rng() % kCards)), r);
    }
    if (found != static_cast<long>(state.iterations())) state.SkipWithError("missing card");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LookUpCard);

void BM_LookUpAll100000Cards(benchmark::State& state) {
    RecordStore& s = Filled();
    std::vector<int> order(kCards);
    for (int i = 0; i < kCards; ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(11));
    for (auto _ : state) {
        long found = 0;
        for (int i : order) {
            BaseRecord r;
            found += s.ReadRecord(Key(i), r);
        }
        if (found != kCards) state.SkipWithError("missing card");
    }
    state.SetItemsProcessed(state.iterations() * kCards);
}
BENCHMARK(BM_LookUpAll100000Cards)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FindMissingKey(benchmark::State& state) {
    RecordStore& s = Filled();
    std::mt19937 rng(5);
    for (auto _ : state)
        benchmark::DoNotOptimize(s.FindKey(Format(".9%05d", static_cast<int>(rng() % kCards))));
}
BENCHMARK(BM_FindMissingKey);

void BM_ListAllCardKeys(benchmark::State& state) {
    RecordStore& s = Filled();
    for (auto _ : state) {
        auto keys = s.ListKeys(".");
        if (!keys || keys->size() != kCards) state.SkipWithError("listing");
    }
}
BENCHMARK(BM_ListAllCardKeys)->Unit(benchmark::kMillisecond);

// Every command opens the database and closes it again.
void BM_OpenAndClose(benchmark::State& state) {
    static bool copied = [] {
        Filled();
        for (const char* ext : {".btr", ".bod", ".bcr"})
            std::filesystem::copy_file(Dir() + "/lookup" + ext, Dir() + "/session" + ext,
                                       std::filesystem::copy_options::overwrite_existing);
        return true;
    }();
    (void)copied;
    for (auto _ : state) {
        StoreOpenError error;
        auto s = RecordStore::Open(Dir() + "/session", error);
        if (!s) state.SkipWithError("open");
    }
}
BENCHMARK(BM_OpenAndClose);

}  // namespace
