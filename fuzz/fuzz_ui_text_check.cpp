#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui_text_check.h"

// The checker of the UI text source on any bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orbeta::CheckUiTextSource(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
