#include "platform/text_view.h"

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {

bool ForEachFileLine(const std::string& path, const std::function<void(std::string_view)>& line) {
    // Read whole, like every other file: a stream on a directory throws from its read.
    auto bytes = ReadFileBytes(path);
    if (!bytes) return false;
    for (const auto& text : SplitLines(*bytes)) line(text);
    return true;
}

int ScrollRange(int screen, int content, int client, int slack, int unit) {
    if (unit < 1) unit = 1;
    long long numerator = static_cast<long long>(screen) + content - client + slack;
    if (numerator <= 0) return 0;
    long long range = numerator / unit;
    return static_cast<int>(std::clamp<long long>(range, 1, 1 << 30));
}

PrintPage PrintPageGeometry(int printableHeight, int printableWidth) {
    PrintPage page;
    page.lineHeight = std::max(1, static_cast<int>(printableHeight * 40LL / 2900));
    page.charWidth = std::max(1, static_cast<int>(printableWidth * 18LL / 2000));
    page.left = 3 * page.charWidth;
    // Only whole lines: a line that would run past the bottom edge is printed on the
    // next page instead of being cut off.
    page.linesPerPage = std::max(1, printableHeight / page.lineHeight);
    return page;
}

std::filesystem::path FreshPrintFile(const std::filesystem::path& folder, std::string_view name,
                                     std::string_view fallback) {
    std::string stem;
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        bool unfit = u < 32 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        stem += unfit ? '_' : c;
    }
    auto blank = [](char c) { return c == ' ' || c == '.' || c == '_'; };
    while (!stem.empty() && blank(stem.back())) stem.pop_back();
    size_t lead = 0;
    while (lead < stem.size() && blank(stem[lead])) ++lead;
    stem.erase(0, lead);
    if (stem.empty()) stem = fallback;
    std::filesystem::path file = folder / std::filesystem::path(stem + ".pdf");
    std::error_code error;
    for (int n = 2; std::filesystem::exists(file, error) && n < 100000; ++n)
        file = folder / std::filesystem::path(stem + " (" + std::to_string(n) + ").pdf");
    return file;
}

bool IsWordProcessor(std::string_view editorPath) {
    size_t slash = editorPath.find_last_of("\\/");
    std::string_view name =
        slash == std::string_view::npos ? editorPath : editorPath.substr(slash + 1);
    constexpr std::string_view kWord = "winword.exe";
    return name.size() == kWord.size() &&
           std::equal(name.begin(), name.end(), kWord.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

std::string EditorFilePath(const std::string& reportPath) {
    size_t slash = reportPath.find_last_of("\\/");
    size_t dot = reportPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return reportPath + ".txt";
    return reportPath.substr(0, dot) + ".txt";
}

namespace {
bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}
}  // namespace

std::string EditorText(const std::vector<std::string>& lines, bool wordProcessor) {
    std::string out;
    for (const auto& line : lines) {
        if ((!line.empty() && line[0] == ' ') || (wordProcessor && IsBlankLine(line))) out += '\n';
        out += line;
        out += ' ';
        if (!wordProcessor) out += '\n';
    }
    return AnsiToUtf8(out);
}

std::string SavedText(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\n";
    return AnsiToUtf8(out);
}

std::string ClipboardText(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\r\n";
    return AnsiToUtf8(out);
}

}  // namespace orbeta
