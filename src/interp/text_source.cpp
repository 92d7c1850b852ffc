#include "interp/text_source.h"

#include <algorithm>
#include <system_error>

#include "platform/text_file.h"

namespace orbeta {
namespace {

bool IsBlank(char c) {
    // A NUL cannot stand in a key of the compiled file: it separates keys like a blank.
    return c == ' ' || c == '\t' || c == '\0';
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

std::string Trimmed(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return std::string(text.substr(b, e - b));
}

std::filesystem::path Normal(const std::filesystem::path& p) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(p, ec);
    return (ec ? p : absolute).lexically_normal();
}

}  // namespace

bool OpensBlock(std::string_view line) {
    return !line.empty() && line[0] == '@' && (line.size() < 2 || line[1] != '@');
}

bool ClosesBlock(std::string_view line) {
    return line.size() >= 2 && line[0] == '@' && line[1] == '@';
}

std::vector<std::string> KeysOfLine(std::string_view line) {
    return Words(line.substr(1));
}

std::vector<std::string> ListedFileNames(std::string_view text) {
    std::string_view first = text.substr(0, text.find('\n'));
    if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
    if (first.substr(0, 6) != "FILES=") return {};
    return Words(first.substr(6));
}

std::vector<std::filesystem::path> NamedSourceFiles(const std::filesystem::path& csr) {
    std::vector<std::filesystem::path> files{csr};
    std::vector<std::filesystem::path> seen{Normal(csr)};
    auto bytes = ReadFileBytes(csr.string());
    if (!bytes) return files;
    for (const auto& name : ListedFileNames(*bytes)) {
        std::filesystem::path path = csr.parent_path() / name;
        auto normal = Normal(path);
        if (std::find(seen.begin(), seen.end(), normal) != seen.end()) continue;
        seen.push_back(normal);
        files.push_back(path);
    }
    return files;
}

std::vector<std::filesystem::path> SourceFiles(const std::filesystem::path& csr) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (auto& path : NamedSourceFiles(csr))
        if (files.empty() || std::filesystem::is_regular_file(path, ec)) files.push_back(path);
    return files;
}

void ParseSource(std::string_view bytes, const std::filesystem::path& file, SourceSet& set) {
    set.files.push_back(file);
    bool inBlock = false;
    bool inCtl = false;
    int number = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        ++number;
        if (!line.empty() && line[0] == '*') continue;
        if (ClosesBlock(line)) {
            inBlock = false;
            auto names = Words(line.substr(2));
            inCtl = !inCtl && std::find(names.begin(), names.end(), "CTL") != names.end();
            continue;
        }
        if (OpensBlock(line)) {
            inBlock = true;
            inCtl = false;
            set.blocks.push_back({KeysOfLine(line), {}, {file, number}});
            continue;
        }
        if (inBlock) {
            set.blocks.back().lines.emplace_back(line);
        } else if (inCtl && !line.empty() && line[0] == '=') {
            CtlLine ctl;
            std::string reason;
            if (ParseCtlLine(line, ctl, reason)) {
                ctl.place = {file, number};
                set.ctl.push_back(std::move(ctl));
            } else {
                set.ctlProblems.push_back({{file, number}, reason});
            }
        }
    }
}

bool ReadSourceSet(const std::filesystem::path& csr, SourceSet& set) {
    auto files = SourceFiles(csr);
    for (size_t i = 0; i < files.size(); ++i) {
        auto bytes = ReadFileBytes(files[i].string());
        if (!bytes) {
            if (i == 0) return false;
            continue;
        }
        ParseSource(*bytes, files[i], set);
    }
    return true;
}

bool ValidKeyFormat(std::string_view format, size_t conversions) {
    size_t found = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        if (i < format.size() && format[i] == '%') continue;
        if (i < format.size() && format[i] == '0') {
            size_t digits = 0;
            while (i + 1 < format.size() && digits < 2 && format[i + 1] >= '0' &&
                   format[i + 1] <= '9') {
                ++i;
                ++digits;
            }
            if (digits == 0) return false;
            ++i;
        }
        if (i >= format.size() || format[i] != 'd') return false;
        ++found;
    }
    return found == conversions;
}

std::string FormatKey(std::string_view format, const std::vector<int>& values) {
    std::string key;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            key += format[i];
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == '%') {
            key += '%';
            continue;
        }
        size_t width = 0;
        if (i < format.size() && format[i] == '0') {
            while (i + 1 < format.size() && format[i + 1] >= '0' && format[i + 1] <= '9')
                width = width * 10 + static_cast<size_t>(format[++i] - '0');
            ++i;
        }
        int value = next < values.size() ? values[next] : 0;
        ++next;
        std::string digits = std::to_string(value < 0 ? -static_cast<long>(value) : value);
        if (digits.size() + (value < 0) < width)
            digits.insert(0, width - digits.size() - (value < 0), '0');
        key += (value < 0 ? "-" : "") + digits;
    }
    return key;
}

bool ParseCtlLine(std::string_view line, CtlLine& out, std::string& reason) {
    size_t dollar = line.find('$');
    if (dollar == std::string_view::npos) {
        reason = "CTL line without \"$\"";
        return false;
    }
    out.label = Trimmed(line.substr(1, dollar - 1));
    auto words = Words(line.substr(dollar + 1));
    if (out.label.empty() || words.empty()) {
        reason = "CTL line without a label or a key format";
        return false;
    }
    if (words.size() > 4) {
        reason = "CTL line with more than three lists";
        return false;
    }
    out.format = words[0];
    out.lists.assign(words.begin() + 1, words.end());
    if (!ValidKeyFormat(out.format, out.lists.size())) {
        reason = "CTL key format \"" + out.format +
                 "\" is not literal text with one integer conversion (%d, %0Nd) per list";
        return false;
    }
    return true;
}

}  // namespace orbeta
