#include "data/store_texts.h"

namespace orbeta {
namespace {
TextLookup installed = nullptr;
}

void SetStoreTextLookup(TextLookup lookup) {
    installed = lookup;
}

std::string StoreText(std::string_view key) {
    return installed ? installed(key) : std::string(key);
}

}  // namespace orbeta
