#include "data/towns_check.h"

#include "data/record_store.h"
#include "platform/text_file.h"
#include "platform/workspace.h"

namespace orbeta {

namespace {

// The version in the workspace's store; "" when it has none or cannot be opened.
std::string PresentVersion(const std::string& stem) {
    StoreOpenError error;
    auto store = RecordStore::Open(stem, error);
    BaseRecord record;
    return store && store->ReadRecord(kTownsVersionKey, record) ? record.Field(2) : "";
}

}  // namespace

TownRefresh CheckTownCards(const std::string& templateDir, const std::string& stem,
                           const TownRefreshProgress& progress) {
    std::string prints;
    for (const char* e : {".btr", ".bod", ".bcr"}) {
        std::string print = ManifestFingerprint(templateDir, stem + e);
        prints += (print.empty() ? std::string("-") : print) + ' ';
    }
    const bool known = prints.find('-') == std::string::npos;
    auto checked = ReadFileBytes(kTownsChecked);
    if (known && checked && checked->rfind(prints, 0) == 0) {
        std::string version = checked->substr(prints.size());
        if (!version.empty() && version == PresentVersion(stem)) return TownRefresh::UpToDate;
    }
    TownRefresh result =
        RefreshTownCards(templateDir + "/" + stem, stem, "towns-shipped", progress);
    if (known && (result == TownRefresh::UpToDate || result == TownRefresh::Refreshed)) {
        std::string version = PresentVersion(stem);
        if (!version.empty()) WriteFileAtomically(kTownsChecked, prints + version);
    }
    return result;
}

}  // namespace orbeta
