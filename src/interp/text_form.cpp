#include "interp/text_form.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>

#include "interp/text_base.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

std::vector<std::string> Words(const std::vector<std::string>& lines) {
    std::vector<std::string> words;
    for (const auto& line : lines) {
        std::string word;
        for (char c : line + " ") {
            auto u = static_cast<unsigned char>(c);
            bool letter = u >= 0x80 || std::isalnum(u) || c == '-';
            if (letter) {
                word += c;
            } else if (!word.empty()) {
                words.push_back(word);
                word.clear();
            }
        }
    }
    return words;
}

std::string ShownKey(const TextBlock& block) {
    return block.keys.empty() ? std::string("?") : OemToUtf8(block.keys.front());
}

}  // namespace

std::string FoldedWords(const std::vector<std::string>& lines) {
    std::string folded;
    for (const auto& w : Words(lines)) folded += w + " ";
    return folded;
}

std::vector<WordFloor> ParseWordFloors(std::string_view text) {
    std::vector<WordFloor> floors;
    for (const auto& line : SplitLines(text)) {
        if (line.empty() || line[0] == '#') continue;
        size_t end = line.find_first_of(" \t");
        if (end == std::string::npos) continue;
        size_t number = line.find_first_not_of(" \t", end);
        if (number == std::string::npos) continue;
        int words = 0;
        for (size_t i = number;
             i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i)
            words = std::min(words * 10 + (line[i] - '0'), 100000);
        floors.push_back({Utf8ToOem(line.substr(0, end)), words});
    }
    return floors;
}

bool KeyMatches(std::string_view pattern, std::string_view key) {
    size_t k = 0;
    for (size_t p = 0; p < pattern.size(); ++p) {
        char c = pattern[p];
        if (c == '*') return true;
        if (k >= key.size()) return false;
        if (c == '#') {
            if (!std::isdigit(static_cast<unsigned char>(key[k]))) return false;
        } else if (c == '[') {
            size_t close = pattern.find(']', p + 1);
            if (close == std::string_view::npos) return false;
            if (pattern.substr(p + 1, close - p - 1).find(key[k]) == std::string_view::npos)
                return false;
            p = close;
        } else if (c != key[k]) {
            return false;
        }
        ++k;
    }
    return k == key.size();
}

void CheckShippedForm(const SourceSet& set, const std::vector<WordFloor>& floors,
                      const SourceSet* other, TextBaseCheck& check) {
    std::map<std::string, const TextBlock*> byText, otherText;
    if (other)
        for (const auto& block : other->blocks) otherText.emplace(FoldedWords(block.lines), &block);
    for (const auto& block : set.blocks) {
        auto lines = block.lines;
        while (!lines.empty() && IsBlankLine(lines.back())) lines.pop_back();
        auto problem = [&](size_t i, std::string text) {
            check.problems.push_back(
                {{block.place.file, block.place.line + 1 + static_cast<int>(i)}, std::move(text)});
        };
        if (lines.empty()) continue;  // reported as a block without text
        if (lines[0].rfind(' ', 0) != 0) problem(0, "a text begins without its paragraph blank");
        for (size_t i = 0; i < lines.size(); ++i) {
            const auto& line = lines[i];
            if (line.size() > kMaxShippedLine)
                problem(i, "a line of " + std::to_string(line.size()) + " characters (at most " +
                               std::to_string(kMaxShippedLine) + ")");
            if (IsBlankLine(line)) problem(i, "an empty line inside a block");
            if (line.rfind("  ", 0) == 0) problem(i, "more than one blank before a paragraph");
            if (!line.empty() && (line[0] == '=' || line[0] == '#'))
                problem(i, "a line beginning with a reserved character");
            if (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
                problem(i, "blanks at the end of a line");
            std::string latin;
            for (char c : line + " ") {
                if (std::isalpha(static_cast<unsigned char>(c)) &&
                    static_cast<unsigned char>(c) < 0x80) {
                    latin += c;
                    continue;
                }
                if (!latin.empty() && latin != "MC" && latin != "IC")
                    problem(i, "a Latin word \"" + latin + "\"");
                latin.clear();
            }
        }
        int words = static_cast<int>(Words(lines).size());
        for (const auto& key : block.keys) {
            auto floor = std::find_if(floors.begin(), floors.end(), [&](const WordFloor& f) {
                return KeyMatches(f.pattern, key);
            });
            if (floor != floors.end() && words < floor->words) {
                check.problems.push_back({block.place, "the text of " + OemToUtf8(key) + " has " +
                                                           std::to_string(words) +
                                                           " words, under " +
                                                           std::to_string(floor->words)});
                break;
            }
        }
        std::string folded = FoldedWords(lines);
        auto [it, fresh] = byText.emplace(folded, &block);
        if (!fresh)
            check.problems.push_back({block.place, "the same text as " + ShownKey(*it->second)});
        auto there = otherText.find(folded);
        if (there != otherText.end())
            check.problems.push_back({block.place, "the same text as " + ShownKey(*there->second) +
                                                       " of the other base"});
    }
}

std::vector<std::pair<std::string, std::string>> SimilarBlocks(
    const SourceSet& set, const std::vector<RequiredKey>& required) {
    std::map<std::string, std::string> familyOfKey;
    for (const auto& r : required) familyOfKey[r.key] = r.family;
    using Gram = std::array<std::string, 4>;
    std::map<std::string, std::vector<std::pair<const TextBlock*, std::set<Gram>>>> families;
    for (const auto& block : set.blocks) {
        if (block.keys.empty()) continue;
        auto f = familyOfKey.find(block.keys.front());
        auto words = Words(block.lines);
        std::set<Gram> grams;
        for (size_t i = 0; i + 4 <= words.size(); ++i)
            grams.insert({words[i], words[i + 1], words[i + 2], words[i + 3]});
        if (!grams.empty())
            families[f == familyOfKey.end() ? std::string() : f->second].emplace_back(&block,
                                                                                      grams);
    }
    std::vector<std::pair<std::string, std::string>> similar;
    for (const auto& [name, blocks] : families)
        for (size_t a = 0; a < blocks.size(); ++a)
            for (size_t b = a + 1; b < blocks.size(); ++b) {
                const auto& ga = blocks[a].second;
                const auto& gb = blocks[b].second;
                size_t shared = 0;
                for (const auto& g : ga) shared += gb.count(g);
                if (shared * 2 >= std::min(ga.size(), gb.size()))
                    similar.emplace_back(ShownKey(*blocks[a].first), ShownKey(*blocks[b].first));
            }
    return similar;
}

void CheckKeysLookedUp(const SourceSet& set, const std::vector<RequiredKey>& lookedUp,
                       TextBaseCheck& check) {
    std::set<std::string> known;
    for (const auto& r : lookedUp) known.insert(r.key);
    for (const auto& block : set.blocks)
        for (const auto& key : block.keys)
            if (!known.count(key))
                check.problems.push_back(
                    {block.place, "key " + OemToUtf8(key) + " is looked up by no report"});
}

std::vector<SharedSentence> SharedSentences(const SourceSet& set, size_t minWords) {
    std::map<std::string, std::vector<std::string>> blocksOf;
    for (const auto& block : set.blocks) {
        if (block.keys.empty()) continue;
        std::string text;
        for (const auto& line : block.lines) text += line + " ";
        std::set<std::string> seen;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of(".!?", start);
            if (end == std::string::npos) end = text.size();
            auto words = Words({text.substr(start, end - start)});
            start = end + 1;
            if (words.size() < minWords) continue;
            std::string folded;
            for (const auto& w : words) folded += (folded.empty() ? "" : " ") + w;
            if (seen.insert(folded).second) blocksOf[folded].push_back(ShownKey(block));
        }
    }
    std::vector<SharedSentence> shared;
    for (auto& [words, keys] : blocksOf)
        if (keys.size() > 1) shared.push_back({OemToUtf8(words), std::move(keys)});
    return shared;
}

}  // namespace orbeta
