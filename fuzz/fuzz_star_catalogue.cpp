#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/star_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    orbeta::Diagnostics diagnostics;
    auto stars = orbeta::ParseStarCatalogue(text, diagnostics);
    for (const auto& s : stars) {
        // every kept star is in range and has a finite position of date
        if (!(s.raHours >= 0 && s.raHours < 24) || !(std::fabs(s.declination) <= 90) ||
            s.name.size() > 39)
            __builtin_trap();
        auto p = orbeta::StarPositionAt(s, 2451545.0 + static_cast<double>(size % 97) * 365);
        if (!std::isfinite(p.longitude) || !std::isfinite(p.latitude)) __builtin_trap();
    }
    return 0;
}
