#include "platform/text_file.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orbeta {

std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

bool IsMeaningfulLine(std::string_view line) {
    if (line.empty() || line[0] == '*') return false;
    return line.find_first_not_of(" \t\r\n\f\v") != std::string_view::npos;
}

std::optional<std::vector<std::string>> ReadMeaningfulLines(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    std::vector<std::string> out;
    for (auto& line : SplitLines(*bytes))
        if (IsMeaningfulLine(line)) out.push_back(std::move(line));
    return out;
}

std::vector<std::string> SplitTokens(std::string_view line) {
    std::vector<std::string> tokens;
    size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (i < line.size()) {
        while (i < line.size() && blank(line[i])) ++i;
        if (i >= line.size()) break;
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos) end = line.size();
            tokens.emplace_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            size_t start = i;
            while (i < line.size() && !blank(line[i])) ++i;
            tokens.emplace_back(line.substr(start, i - start));
        }
    }
    return tokens;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string tmp = path + ".tmp" + std::to_string(::getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (::fsync(fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace orbeta
