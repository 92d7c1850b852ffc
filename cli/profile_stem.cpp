#include "profile_stem.h"

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
    return stem.empty() ? kDefaultBaseStem : stem;
}

std::string ProfileBaseStem(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    return bytes ? BaseStemOfProfileText(*bytes) : kDefaultBaseStem;
}

}  // namespace orbeta::cli
