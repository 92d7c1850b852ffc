#pragma once
// Reading UTF-8 source text one character at a time, for the checkers of the shipped
// text files.
#include <cstddef>
#include <string_view>

namespace orbeta {

// The character at position i of the text, and i moved past it; false (i unchanged)
// when the bytes there are not UTF-8.
inline bool NextUtf8(std::string_view text, size_t& i, char32_t& c) {
    auto b = static_cast<unsigned char>(text[i]);
    size_t len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    c = len == 1 ? b : len == 2 ? b & 0x1F : len == 3 ? b & 0x0F : b & 0x07;
    bool valid = len > 0 && i + len <= text.size();
    for (size_t k = 1; valid && k < len; ++k) {
        auto cont = static_cast<unsigned char>(text[i + k]);
        valid = (cont & 0xC0) == 0x80;
        c = (c << 6) | (cont & 0x3F);
    }
    if (valid) i += len;
    return valid;
}

// The character set both code pages of the UI texts share: ASCII without control
// characters, the Cyrillic alphabet with Ё and ё, № and the degree sign.
inline bool InBothCodePages(char32_t c) {
    if (c >= 0x20 && c < 0x7F) return true;
    if (c >= 0x410 && c <= 0x44F) return true;
    return c == 0x401 || c == 0x451 || c == 0x2116 || c == 0xB0;
}

}  // namespace orbeta
