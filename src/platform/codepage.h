#pragma once
// Code pages of the program's texts: inside the program every text is CP1251;
// files of the DOS tradition are CP866 (OEM); what leaves the program is UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace orbeta {

std::string OemToAnsi(std::string_view cp866);
std::string AnsiToOem(std::string_view cp1251);
std::string AnsiToUtf8(std::string_view cp1251);
// Characters that CP1251 cannot hold become '?'.
std::string Utf8ToAnsi(std::string_view utf8);
std::string OemToUtf8(std::string_view cp866);
std::string Utf8ToOem(std::string_view utf8);

namespace detail {

// Compile-time UTF-8 → CP1251 for the program's own literals (Cyrillic, Ё/ё, №,
// dashes, quotes); other characters become '?'.
constexpr unsigned char AnsiOfCodePoint(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    if (c >= 0x410 && c <= 0x44F) return static_cast<unsigned char>(0xC0 + (c - 0x410));
    switch (c) {
        case 0x401: return 0xA8;  // Ё
        case 0x451: return 0xB8;  // ё
        case 0x2116: return 0xB9; // №
        case 0x2013: return 0x96;
        case 0x2014: return 0x97;
        case 0xAB: return 0xAB;
        case 0xBB: return 0xBB;
        case 0x201C: return 0x93;
        case 0x201D: return 0x94;
        case 0xB0: return 0xB0;  // degree sign
        case 0xA0: return 0xA0;
        default: return '?';
    }
}

template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    std::size_t ansiLength = 0;
    char ansi[N]{};
    constexpr Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
        std::size_t o = 0;
        for (std::size_t i = 0; i + 1 < N;) {
            auto b = static_cast<unsigned char>(s[i]);
            char32_t c = b;
            std::size_t len = 1;
            if (b >= 0xF0) {
                len = 4;
                c = b & 0x07;
            } else if (b >= 0xE0) {
                len = 3;
                c = b & 0x0F;
            } else if (b >= 0xC0) {
                len = 2;
                c = b & 0x1F;
            }
            for (std::size_t k = 1; k < len && i + k + 1 < N; ++k)
                c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
            ansi[o++] = static_cast<char>(AnsiOfCodePoint(c));
            i += len;
        }
        ansi[o] = 0;
        ansiLength = o;
    }
};

template <Utf8Literal L>
inline constexpr auto kAnsiLiteral = L;

}  // namespace detail

// "Текст"_cp is the CP1251 form of a UTF-8 literal, made at compile time.
template <detail::Utf8Literal L>
constexpr const char* operator""_cp() {
    return detail::kAnsiLiteral<L>.ansi;
}

}  // namespace orbeta
