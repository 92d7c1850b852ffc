#include "platform/file_names.h"

#include "platform/codepage.h"

namespace orbeta {

std::filesystem::path PathOfProfileName(std::string_view cp1251) {
    std::string utf8 = AnsiToUtf8(cp1251);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<std::string> ProfileNameOfPath(const std::filesystem::path& path) {
    std::u8string u8 = path.u8string();
    std::string utf8(u8.begin(), u8.end());
    std::string ansi = Utf8ToAnsi(utf8);
    // A character CP1251 lacks comes back as '?', and so differs from the original.
    if (AnsiToUtf8(ansi) != utf8) return std::nullopt;
    return ansi;
}

std::string PathForMessage(const std::filesystem::path& path) {
    std::u8string u8 = path.u8string();
    return Utf8ToAnsi(std::string(u8.begin(), u8.end()));
}

}  // namespace orbeta
