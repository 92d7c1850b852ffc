#include "data/town_refresh.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "data/record_store.h"
#include "data/town_card.h"

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

// The town cards of the shipped store, read from a copy of its files; only its version
// when that is the one the workspace has already.
bool ReadShipped(const std::string& shippedStem, const std::string& workStem,
                 const std::string& present, ShippedTowns& towns) {
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
                for (const auto& key : *keys) {
                    BaseRecord record;
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

}  // namespace

TownRefresh RefreshTownCards(const std::string& shippedStem, const std::string& stem,
                             const std::string& workStem) {
    std::string present;
    {
        StoreOpenError error;
        auto store = RecordStore::Open(stem, error);
        if (!store) return TownRefresh::Failed;
        present = VersionOf(*store);
    }
    ShippedTowns shipped;
    if (!ReadShipped(shippedStem, workStem, present, shipped)) return TownRefresh::NoShipped;
    if (shipped.version == present) return TownRefresh::UpToDate;
    StoreOpenError error;
    auto store = RecordStore::Open(stem, error);
    if (!store) return TownRefresh::Failed;
    auto old = store->ListKeys(kTownKeyPrefix);
    if (!old) return TownRefresh::Failed;
    for (const auto& key : *old)
        if (store->DeleteRecord(key) != 1) return TownRefresh::Failed;
    for (const auto& [key, record] : shipped.cards)
        if (store->WriteRecord(key, record) != kWriteDone) return TownRefresh::Failed;
    BaseRecord version;
    version.SetField(2, shipped.version);
    if (store->WriteRecord(kTownsVersionKey, version) != kWriteDone) return TownRefresh::Failed;
    return store->Close() ? TownRefresh::Refreshed : TownRefresh::Failed;
}

}  // namespace orbeta
