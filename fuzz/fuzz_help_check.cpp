#include <cstddef>
#include <cstdint>
#include <string_view>

#include "help_check.h"

// The checker of the help file source on any bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orbeta::CheckHelpSource(std::string_view(reinterpret_cast<const char*>(data), size),
                            {"GenHelp", "VV"});
    return 0;
}
