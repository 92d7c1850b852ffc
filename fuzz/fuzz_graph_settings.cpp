// The profile strings of the graphic windows on any bytes: every field within its
// range, and the written string read back unchanged. The first byte chooses the string.
#include <cstddef>
#include <cstdint>
#include <string>

#include "forecast/graph_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        auto s = orbeta::ParseForecastSettings(text);
        if (s.current > 1 || s.vertical > 1 || s.matrix > 2 || s.hideMotion > 1 ||
            s.periodKind > 2 || s.current < 0 || s.matrix < 0 || s.periodKind < 0)
            __builtin_trap();
        std::string written = orbeta::ForecastSettingsText(s);
        if (orbeta::ForecastSettingsText(orbeta::ParseForecastSettings(written)) != written)
            __builtin_trap();
    } else {
        auto s = orbeta::ParseEphemerisSettings(text);
        if (s.modulus < 0 || s.modulus > 360 || s.periodKind < 0 || s.periodKind > 2)
            __builtin_trap();
        std::string written = orbeta::EphemerisSettingsText(s);
        if (orbeta::EphemerisSettingsText(orbeta::ParseEphemerisSettings(written)) != written)
            __builtin_trap();
    }
    return 0;
}
