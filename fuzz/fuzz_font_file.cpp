// The TrueType reader of the font tests, on raw bytes and on the real Sigilum file
// with bytes overwritten where the input says, so that damage reaches the tables.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fonts/font_file.h"
#include "platform/text_file.h"

namespace {

void Exercise(const std::string& bytes) {
    auto font = orbeta::test::FontFile::Parse(bytes);
    if (!font) return;
    font->Family();
    for (char32_t c = 0; c < 0x500; ++c) font->GlyphIndex(c);
    font->GlyphIndex(0x1F600);
    for (int g = 0; g < font->GlyphCount() && g < 4096; ++g) {
        auto glyph = static_cast<uint16_t>(g);
        font->Outline(glyph);
        font->Bounds(glyph);
        font->Advance(glyph);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string seed =
        orbeta::ReadFileBytes(ORBETA_SOURCE_DIR "/data/fonts/sigilum.ttf").value_or("");
    Exercise(std::string(reinterpret_cast<const char*>(data), size));
    if (seed.empty() || size < 3) return 0;
    std::string damaged = seed;
    if (data[0] % 4 == 0) damaged.resize(damaged.size() * data[1] / 256);
    for (size_t i = 0; i + 3 <= size && !damaged.empty(); i += 3) {
        size_t at = (size_t{data[i]} << 8 | data[i + 1]) % damaged.size();
        // Most of the structure is in the first kilobyte: the directory, cmap, head.
        if (data[i] & 0x80) at %= 1024;
        if (at < damaged.size()) damaged[at] = static_cast<char>(data[i + 2]);
    }
    Exercise(damaged);
    return 0;
}
