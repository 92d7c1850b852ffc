#include "interp/text_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "interp/text_base.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

bool HasText(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        if (line.find_first_not_of(" \t\r") != std::string::npos) return true;
    return false;
}

std::string Folded(const std::string& text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

int WordCount(const std::string& text) {
    int words = 0;
    bool inWord = false;
    for (char c : text) {
        bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank && !inWord) ++words;
        inWord = !blank;
    }
    return words;
}

}  // namespace

std::vector<RequiredKey> ParseRequiredKeys(std::string_view text) {
    std::vector<RequiredKey> keys;
    for (const auto& line : SplitLines(text)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        size_t start = 0;
        for (;;) {
            size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (fields[0].empty()) continue;
        RequiredKey key{Utf8ToOem(fields[0]), fields.size() > 1 ? fields[1] : "", true};
        key.required = fields.size() < 3 || fields[2] != "optional";
        keys.push_back(std::move(key));
    }
    return keys;
}

bool ReadSourcesForCheck(const std::filesystem::path& csr, bool utf8, SourceSet& set,
                         std::vector<SourceProblem>& problems) {
    auto files = SourceFiles(csr);
    for (size_t f = 0; f < files.size(); ++f) {
        auto bytes = ReadFileBytes(files[f].string());
        if (!bytes) {
            if (f == 0) return false;
            continue;
        }
        if (!utf8) {
            ParseSource(*bytes, files[f], set);
            continue;
        }
        std::string oem;
        int number = 0;
        for (const auto& line : SplitLines(*bytes)) {
            ++number;
            std::string converted = Utf8ToOem(line);
            if (std::count(converted.begin(), converted.end(), '?') !=
                std::count(line.begin(), line.end(), '?'))
                problems.push_back({{files[f], number}, "a character CP866 cannot hold"});
            oem += converted + "\n";
        }
        ParseSource(oem, files[f], set);
    }
    return true;
}

TextBaseCheck CheckTextBase(const SourceSet& set, std::vector<SourceProblem> readProblems,
                            const std::vector<RequiredKey>& required, const std::string& baseName) {
    TextBaseCheck check;
    check.problems = std::move(readProblems);
    std::map<std::string, size_t> blockOfKey;
    for (size_t b = 0; b < set.blocks.size(); ++b) {
        const auto& block = set.blocks[b];
        if (block.keys.empty()) check.problems.push_back({block.place, "a block without keys"});
        if (!HasText(block.lines)) check.problems.push_back({block.place, "a block without text"});
        for (const auto& key : block.keys) {
            std::string shown = OemToUtf8(key);
            if (key.size() > kMaxKeyBytes)
                check.problems.push_back({block.place, "key over 255 bytes"});
            auto [it, fresh] = blockOfKey.emplace(key, b);
            if (!fresh) {
                const auto& first = set.blocks[it->second].place;
                check.problems.push_back(
                    {block.place, "key " + shown + " also names the block at " +
                                      first.file.string() + ":" + std::to_string(first.line)});
                it->second = b;
            }
        }
    }
    if (blockOfKey.size() > kMaxTextKeys)
        check.problems.push_back(
            {{set.files.empty() ? "" : set.files[0], 0}, "more than 32767 keys"});
    for (const auto& problem : set.ctlProblems) check.problems.push_back(problem);

    // In the order of the sources and their lines.
    auto fileIndex = [&set](const std::filesystem::path& file) {
        return std::find(set.files.begin(), set.files.end(), file) - set.files.begin();
    };
    std::stable_sort(check.problems.begin(), check.problems.end(),
                     [&](const SourceProblem& a, const SourceProblem& b) {
                         auto fa = fileIndex(a.place.file), fb = fileIndex(b.place.file);
                         return fa != fb ? fa < fb : a.place.line < b.place.line;
                     });

    std::map<std::string, std::string> printed;  // by key
    std::map<size_t, std::string> printedOfBlock;
    for (const auto& [key, b] : blockOfKey) {
        if (!printedOfBlock.count(b)) printedOfBlock[b] = PrintBlock(set.blocks[b].lines).text;
        printed[key] = printedOfBlock[b];
    }
    std::map<std::string, std::string> familyOfKey;
    for (const auto& r : required) {
        familyOfKey[r.key] = r.family.empty() ? baseName : r.family;
        auto it = printed.find(r.key);
        if (r.required && (it == printed.end() || it->second.empty()))
            check.missing.push_back(r.key);
    }

    std::map<std::string, std::pair<int, std::set<size_t>>> families;
    for (const auto& r : required) families[familyOfKey[r.key]];
    for (const auto& [key, b] : blockOfKey) {
        auto f = familyOfKey.find(key);
        auto& family = families[f == familyOfKey.end() ? baseName : f->second];
        ++family.first;
        family.second.insert(b);
    }
    for (const auto& [name, family] : families) {
        FamilyStats stats{name, family.first, static_cast<int>(family.second.size()), {}};
        std::vector<int> words;
        for (size_t b : family.second) words.push_back(WordCount(printedOfBlock[b]));
        std::sort(words.begin(), words.end());
        if (!words.empty()) {
            stats.words.min = words.front();
            stats.words.max = words.back();
            size_t n = words.size();
            stats.words.median = n % 2 ? words[n / 2] : (words[n / 2 - 1] + words[n / 2]) / 2.0;
            for (int w : words) stats.words.total += w;
        }
        check.families.push_back(stats);
    }

    std::map<std::string, std::map<size_t, std::vector<std::string>>> byText;
    for (const auto& [key, b] : blockOfKey) {
        std::string folded = Folded(printedOfBlock[b]);
        if (!folded.empty()) byText[folded][b].push_back(OemToUtf8(key));
    }
    for (const auto& [text, blocks] : byText) {
        if (blocks.size() < 2) continue;
        std::vector<std::string> keys;
        for (const auto& [b, k] : blocks) keys.insert(keys.end(), k.begin(), k.end());
        std::sort(keys.begin(), keys.end());
        check.duplicates.push_back(keys);
    }
    return check;
}

}  // namespace orbeta
