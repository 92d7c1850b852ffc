#include "profile_stem.h"

#include "platform/file_names.h"
#include "platform/text_file.h"

namespace orbeta::cli {

std::string BaseStemOfProfileText(std::string_view text) {
    std::string stem;
    for (const auto& line : SplitLines(text)) {
        if (!IsMeaningfulLine(line)) continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string_view key = std::string_view(line).substr(0, eq);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
        if (key != "BASA") continue;
        size_t start = line.find_first_not_of(" \t", eq + 1);
        stem = start == std::string::npos ? "" : line.substr(start, 78);
    }
    if (stem.empty()) return kDefaultBaseStem;
    // The profile holds the name in CP1251; the store takes a path (UTF-8).
    std::u8string path = PathOfProfileName(stem).u8string();
    return std::string(path.begin(), path.end());
}

std::string ProfileBaseStem(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    return bytes ? BaseStemOfProfileText(*bytes) : kDefaultBaseStem;
}

}  // namespace orbeta::cli
