#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ui_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orbeta::SetUiTexts(orbeta::ParseUiTexts(bytes));
    for (const auto& line : orbeta::UiTexts()) orbeta::SplitMenuText(line);
    for (const char* key : {"S", "A", "a", "0", "*", "@", "/"}) {
        orbeta::LookupText(key);
        orbeta::MenuItemText(key, 5);
        orbeta::ListItem(key, 3);
    }
    return 0;
}
