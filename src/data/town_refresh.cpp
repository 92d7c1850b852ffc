#include "data/town_refresh.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "data/binary_file.h"
#include "data/record_store.h"
#include "data/town_card.h"
#include "platform/text_file.h"

namespace orbeta {

namespace {

namespace fs = std::filesystem;
const char* const kExtensions[] = {".btr", ".bod", ".bcr"};

std::string VersionOf(RecordStore& store) {
    BaseRecord record;
    return store.ReadRecord(kTownsVersionKey, record) ? record.Field(2) : std::string();
}

struct ShippedTowns {
    std::string version;
    std::vector<std::pair<std::string, BaseRecord>> cards;
};

// Progress in steps of this many records: often enough for a smooth gauge, rarely
// enough not to slow the work.
constexpr size_t kProgressStep = 500;

class Counter {
  public:
    explicit Counter(const TownRefreshProgress& progress) : progress_(progress) {}
    void Start(size_t total) {
        total_ = total;
        if (progress_) progress_(0, total_);
    }
    void Step() {
        if (++done_ % kProgressStep == 0 && progress_) progress_(std::min(done_, total_), total_);
    }
    void Finish() {
        if (progress_ && total_ > 0) progress_(total_, total_);
    }

  private:
    const TownRefreshProgress& progress_;
    size_t done_ = 0;
    size_t total_ = 0;
};

// The town cards of the shipped store, read from a copy of its files; only its version
// when that is the one the workspace has already.
bool ReadShipped(const std::string& shippedStem, const std::string& workStem,
                 const std::string& present, size_t presentCount, Counter& counter,
                 ShippedTowns& towns) {
    std::error_code ec;
    bool copied = true;
    for (const char* e : kExtensions)
        copied = copied && fs::copy_file(shippedStem + e, workStem + e,
                                         fs::copy_options::overwrite_existing, ec);
    bool read = false;
    if (copied) {
        StoreOpenError error;
        if (auto store = RecordStore::Open(workStem, error)) {
            towns.version = VersionOf(*store);
            if (towns.version == present) {
                read = !present.empty();
            } else if (auto keys = store->ListKeys(kTownKeyPrefix)) {
                read = !towns.version.empty();
                // Read, then the old cards deleted, then the new ones written.
                counter.Start(2 * keys->size() + presentCount);
                for (const auto& key : *keys) {
                    BaseRecord record;
                    counter.Step();
                    if (!store->ReadRecord(key, record)) continue;
                    record.SetField(1, "");  // slot 1 holds the key when read
                    towns.cards.emplace_back(key, std::move(record));
                }
            }
        }
    }
    for (const char* e : kExtensions) fs::remove(workStem + e, ec);
    return read;
}

std::string MarkOf(const std::string& stem) {
    return stem + ".refresh";
}
// The copy of a stem's files: stem.btr.bak, stem.bod.bak, stem.bcr.bak.
bool CopyFiles(const std::string& stem, bool toBackup) {
    std::error_code ec;
    for (const char* e : kExtensions) {
        std::string live = stem + e, copy = stem + e + ".bak";
        std::string from = toBackup ? live : copy, to = toBackup ? copy : live;
        std::string temp = to + ".tmp";
        if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec)) return false;
        BinaryFile f;
        bool synced = f.Open(temp) && f.Sync();
        f.Close();
        if (!synced) return false;
        fs::rename(temp, to, ec);
        if (ec) return false;
    }
    return SyncFolderOf(stem + ".btr");
}

bool SetMark(const std::string& stem, bool on) {
    std::error_code ec;
    if (!on) {
        fs::remove(MarkOf(stem), ec);
        return !ec && SyncFolderOf(stem + ".btr");
    }
    BinaryFile f;
    bool made = f.Create(MarkOf(stem)) && f.Sync();
    f.Close();
    return made && SyncFolderOf(stem + ".btr");
}

// Writes the shipped town cards into the store; false at the first failure.
bool ReplaceTownCards(const std::string& stem, const ShippedTowns& shipped, Counter& counter) {
    StoreOpenError error;
    auto store = RecordStore::Open(stem, error);
    if (!store) return false;
    // One sync per batch: the copy made before covers a power loss inside a batch.
    store->SetBulk(true);
    auto old = store->ListKeys(kTownKeyPrefix);
    if (!old) return false;
    for (const auto& key : *old) {
        counter.Step();
        if (store->DeleteRecord(key) != 1) return false;
    }
    for (const auto& [key, record] : shipped.cards) {
        counter.Step();
        if (store->WriteRecord(key, record) != kWriteDone) return false;
    }
    BaseRecord version;
    version.SetField(2, shipped.version);
    if (store->WriteRecord(kTownsVersionKey, version) != kWriteDone) return false;
    store->SetBulk(false);
    return store->Close() && store->TakeMessages().empty();
}

}  // namespace

TownRefresh RefreshTownCards(const std::string& shippedStem, const std::string& stem,
                             const std::string& workStem, const TownRefreshProgress& progress) {
    // A refresh cut short (the process killed, the power gone) is undone first.
    if (FileExists(MarkOf(stem)) && (!CopyFiles(stem, false) || !SetMark(stem, false)))
        return TownRefresh::Failed;
    std::string present;
    size_t presentCount = 0;
    {
        StoreOpenError error;
        auto store = RecordStore::Open(stem, error);
        if (!store) return TownRefresh::Failed;
        present = VersionOf(*store);
        if (auto keys = store->ListKeys(kTownKeyPrefix)) presentCount = keys->size();
    }
    Counter counter(progress);
    ShippedTowns shipped;
    if (!ReadShipped(shippedStem, workStem, present, presentCount, counter, shipped))
        return TownRefresh::NoShipped;
    if (shipped.version == present) return TownRefresh::UpToDate;
    if (!CopyFiles(stem, true) || !SetMark(stem, true)) return TownRefresh::Failed;
    if (!ReplaceTownCards(stem, shipped, counter)) {
        // The copy holds the store as it was; the mark stays when it cannot be put back,
        // so that the next refresh tries again.
        if (CopyFiles(stem, false)) SetMark(stem, false);
        return TownRefresh::Failed;
    }
    SetMark(stem, false);
    counter.Finish();
    return TownRefresh::Refreshed;
}

}  // namespace orbeta
