#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/settings.h"

// The profile reader on any bytes, and the written profile read back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    orbeta::Settings s;
    orbeta::ChartRecord c = orbeta::DefaultProfileChart();
    orbeta::ReadProfileText(text, s, c);
    std::string written = orbeta::ProfileText(s, c);
    orbeta::Settings s2;
    orbeta::ChartRecord c2 = orbeta::DefaultProfileChart();
    orbeta::ReadProfileText(written, s2, c2);
    if (orbeta::ProfileText(s2, c2) != written) __builtin_trap();
    return 0;
}
