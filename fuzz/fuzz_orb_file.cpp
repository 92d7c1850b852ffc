// Orb files: any bytes are read without a crash or a hang, and whatever was read is
// saved so that it reads back the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "aspects/orb_file.h"

namespace {

// Equal, counting NaN equal to NaN: a NaN orb is written "nan" and read back as one.
bool Same(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool SameTable(const orbeta::OrbTable& x, const orbeta::OrbTable& y) {
    if (x.aspects.size() != y.aspects.size() || !Same(x.largestOrb, y.largestOrb)) return false;
    for (size_t i = 0; i < x.aspects.size(); ++i) {
        const auto &a = x.aspects[i], &b = y.aspects[i];
        if (!Same(a.angle, b.angle) || a.off != b.off || a.reserved != b.reserved ||
            a.lineStyle != b.lineStyle || a.colour != b.colour)
            return false;
        for (int p = 0; p < orbeta::kPointCount; ++p)
            if (!Same(a.orbs[p], b.orbs[p])) return false;
    }
    return true;
}

// The text SaveOrbTable writes, kept in memory.
std::string SavedText(const orbeta::OrbTable& t) {
    std::string text;
    for (const auto& a : t.aspects) text += orbeta::AspectLineText(a);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto table = orbeta::ParseOrbTable(text, true);
    if (!(table.largestOrb >= 1.0f)) std::abort();
    // Saving rounds to the written precision once; from then on nothing changes.
    auto first = orbeta::ParseOrbTable(SavedText(table), true);
    if (first.aspects.size() != table.aspects.size()) std::abort();
    std::string saved = SavedText(first);
    auto second = orbeta::ParseOrbTable(saved, true);
    if (SavedText(second) != saved || !SameTable(first, second)) std::abort();
    return 0;
}
