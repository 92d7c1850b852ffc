#include "data/store_texts.h"

#include "platform/ui_text.h"

namespace orbeta {
namespace {
TextLookup installed = nullptr;
}

void SetStoreTextLookup(TextLookup lookup) { installed = lookup; }

// The UI texts are loaded by every program that shows the store's messages; without
// them LookupText gives the key itself.
std::string StoreText(std::string_view key) {
    return installed ? installed(key) : LookupText(key);
}

}  // namespace orbeta
