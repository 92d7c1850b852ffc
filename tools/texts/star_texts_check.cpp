#include "star_texts_check.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "core/fixed_star.h"
#include "platform/text_file.h"
#include "utf8_scan.h"

namespace orbeta {
namespace {

constexpr size_t kMaxLine = 72;
constexpr size_t kSharedRun = 12;
constexpr size_t kLotName = 24;

struct Range {
    int min = 0;
    int max = 0;
};

// A block of printed text: where it starts, what it is called in messages, its lines.
struct Block {
    const NamedText* file = nullptr;
    int line = 0;
    std::string label;
    std::vector<std::string> lines;
    Range words;
};

class Checker {
  public:
    std::vector<std::string> problems;

    void Add(const NamedText& file, int line, const std::string& text) {
        problems.push_back(file.name + ":" + std::to_string(line) + ": " + text);
    }

    // Characters and length of any line of a file.
    void CheckLine(const NamedText& file, int line, const std::string& text) {
        size_t i = 0, chars = 0;
        while (i < text.size()) {
            char32_t c = 0;
            if (!NextUtf8(text, i, c)) {
                Add(file, line, "not UTF-8");
                return;
            }
            ++chars;
            if (!InBothCodePages(c)) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(c));
                Add(file, line, std::string("character ") + hex + " is not in both code pages");
            }
        }
        if (chars > kMaxLine)
            Add(file, line, "line of " + std::to_string(chars) + " characters (at most 72)");
    }

    // Form of a printed block: first line indented by one blank, no empty line, no
    // line a reader would take for a directive, and its length in words.
    void CheckBlock(const Block& b) {
        if (b.lines.empty()) {
            Add(*b.file, b.line, b.label + " has no text");
            return;
        }
        for (size_t k = 0; k < b.lines.size(); ++k) {
            const std::string& l = b.lines[k];
            int n = b.line + 1 + static_cast<int>(k);
            if (l.find_first_not_of(" \t\r") == std::string::npos)
                Add(*b.file, n, "empty line inside " + b.label);
            else if (l[0] == '#' || l[0] == '=' || l[0] == '@')
                Add(*b.file, n, "a printed line may not begin with '" + l.substr(0, 1) + "'");
            else if (l.compare(0, 2, "  ") == 0)
                Add(*b.file, n, "more than one blank at the start of a line");
        }
        if (b.lines[0].empty() || b.lines[0][0] != ' ')
            Add(*b.file, b.line + 1, b.label + ": the first line begins with one blank");
        int words = static_cast<int>(Words(b).size());
        if (b.words.max > 0 && (words < b.words.min || words > b.words.max))
            Add(*b.file, b.line,
                b.label + " has " + std::to_string(words) + " words (" +
                    std::to_string(b.words.min) + "-" + std::to_string(b.words.max) + ")");
    }

    static std::vector<std::string> Words(const Block& b) {
        std::vector<std::string> out;
        for (const auto& line : b.lines) {
            std::string word;
            for (size_t i = 0; i <= line.size(); ++i) {
                auto u = i < line.size() ? static_cast<unsigned char>(line[i]) : ' ';
                if (u >= 0x80 || std::isalnum(u) || u == '-') {
                    word += static_cast<char>(u);
                } else if (!word.empty()) {
                    if (word != "-") out.push_back(Lower(word));
                    word.clear();
                }
            }
        }
        return out;
    }

    // Russian capitals to small letters (UTF-8), other bytes as they are.
    static std::string Lower(std::string w) {
        for (size_t i = 0; i + 1 < w.size(); ++i) {
            auto a = static_cast<unsigned char>(w[i]), b = static_cast<unsigned char>(w[i + 1]);
            if (a == 0xD0 && b >= 0x90 && b <= 0x9F) {
                w[i + 1] = static_cast<char>(b + 0x20);
            } else if (a == 0xD0 && b >= 0xA0 && b <= 0xAF) {
                w[i] = static_cast<char>(0xD1);
                w[i + 1] = static_cast<char>(b - 0x20);
            }
        }
        for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return w;
    }

    // No two blocks share a run of twelve words: it is the mark of template filler.
    void CheckSharedRuns(const std::vector<Block>& blocks) {
        std::map<std::vector<std::string>, size_t> firstBlock;
        std::set<std::pair<size_t, size_t>> reported;
        for (size_t i = 0; i < blocks.size(); ++i) {
            auto words = Words(blocks[i]);
            for (size_t k = 0; k + kSharedRun <= words.size(); ++k) {
                std::vector<std::string> run(words.begin() + k, words.begin() + k + kSharedRun);
                auto [it, fresh] = firstBlock.emplace(run, i);
                if (fresh || it->second == i || !reported.emplace(it->second, i).second) continue;
                const Block& a = blocks[it->second];
                Add(*blocks[i].file, blocks[i].line,
                    blocks[i].label + " shares a run of 12 words with " + a.label + " (" +
                        a.file->name + ":" + std::to_string(a.line) + ")");
            }
        }
    }
};

bool StartsWith(const std::string& s, std::string_view p) {
    return s.compare(0, p.size(), p) == 0;
}

// The value of a UI text key: "KEY value", continued on the next line while a line
// ends with "@".
std::string UiTextValue(const std::string& text, const std::string& key) {
    auto lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!StartsWith(lines[i], key + " ")) continue;
        std::string value = lines[i].substr(key.size() + 1);
        while (!value.empty() && value.back() == '@' && ++i < lines.size())
            value = value.substr(0, value.size() - 1) + lines[i];
        return value;
    }
    return {};
}

std::vector<std::string> SplitOn(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find(sep, start);
        if (end == std::string::npos) end = s.size();
        out.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string Trimmed(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\t')) s.pop_back();
    return s;
}

size_t CharCount(const std::string& s) {
    return static_cast<size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Blocks of a text-base source: "@key ..." opens, "@@" closes, "*" lines are comments.
// Keys and their line numbers come with the blocks.
struct KeyedBlock {
    Block block;
    std::vector<std::string> keys;
};
std::vector<KeyedBlock> BaseBlocks(const NamedText& file) {
    std::vector<KeyedBlock> out;
    bool open = false;
    int n = 0;
    for (const auto& raw : SplitLines(file.text)) {
        ++n;
        std::string line = Trimmed(raw);
        if (StartsWith(line, "*")) continue;
        if (StartsWith(line, "@@")) {
            open = false;
        } else if (StartsWith(line, "@")) {
            KeyedBlock kb;
            kb.block.file = &file;
            kb.block.line = n;
            for (const auto& t : SplitTokens(line.substr(1))) kb.keys.push_back(t);
            kb.block.label = kb.keys.empty() ? "block" : "@" + kb.keys.front();
            out.push_back(std::move(kb));
            open = true;
        } else if (open && StartsWith(line, "FILES=") == false) {
            out.back().block.lines.push_back(line);
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> CheckStarTexts(const StarTextSources& s) {
    Checker c;
    std::vector<Block> printed;
    for (const NamedText* f :
         {&s.catalogue, &s.uiTexts, &s.starbb, &s.aster, &s.degrees, &s.stars, &s.lots})
        if (!f->present) c.Add(*f, 0, "missing");
    for (const NamedText* f : {&s.starbb, &s.aster, &s.degrees, &s.stars, &s.lots}) {
        int n = 0;
        for (const auto& line : SplitLines(f->text)) c.CheckLine(*f, ++n, Trimmed(line));
    }

    // The catalogue: its stars by number.
    std::map<int, std::pair<StarEntry, std::string>> stars;
    {
        int n = 0;
        for (const auto& raw : SplitLines(s.catalogue.text)) {
            ++n;
            std::string line = Trimmed(raw);
            if (!StartsWith(line, "=")) continue;
            auto star = ParseStarLine(line);
            if (!star)
                c.Add(s.catalogue, n, "not a star line");
            else if (!stars.emplace(star->number, std::make_pair(*star, line)).second)
                c.Add(s.catalogue, n, "star number " + std::to_string(star->number) + " twice");
        }
    }

    // The two bases: every key they are looked up by, once, with text of its length.
    auto checkBase = [&](const NamedText& file, const std::map<std::string, Range>& required) {
        std::map<std::string, int> seen;
        for (auto& kb : BaseBlocks(file)) {
            for (const auto& key : kb.keys) {
                if (!seen.emplace(key, kb.block.line).second)
                    c.Add(file, kb.block.line,
                          "key " + key + " also at line " + std::to_string(seen[key]));
                else if (!required.count(key))
                    c.Add(file, kb.block.line, "key " + key + " is not looked up by the report");
            }
            if (!kb.keys.empty() && required.count(kb.keys.front()))
                kb.block.words = required.at(kb.keys.front());
            c.CheckBlock(kb.block);
            printed.push_back(kb.block);
        }
        for (const auto& [key, range] : required)
            if (!seen.count(key)) c.Add(file, 0, "missing key " + key);
    };
    std::map<std::string, Range> starKeys{{"0", {60, 150}}, {"000", {150, 300}}};
    for (const auto& [number, star] : stars) {
        char key[16];
        if (star.first.heliacalClass > 0) {
            std::snprintf(key, sizeof key, "g%03d", number);
            starKeys[key] = {80, 150};
        }
        std::snprintf(key, sizeof key, "s%03d", number);
        starKeys[key] = {60, 120};
    }
    if (s.starbb.present) checkBase(s.starbb, starKeys);
    std::map<std::string, Range> asterKeys{{"0", {80, 150}}};
    for (const auto& entry : SplitOn(UiTextValue(s.uiTexts.text, "ASw"), '/')) {
        auto tokens = SplitTokens(entry);
        if (!tokens.empty()) asterKeys[tokens.back()] = {80, 150};
    }
    if (s.aster.present) checkBase(s.aster, asterKeys);

    // Degrees: "@0" .. "@359", each once, 50-100 words.
    if (s.degrees.present) {
        std::map<int, int> seen;
        int n = 0;
        for (const auto& raw : SplitLines(s.degrees.text)) {
            ++n;
            std::string line = Trimmed(raw);
            if (StartsWith(line, "*")) continue;
            if (StartsWith(line, "@")) {
                std::string digits = line.substr(1);
                bool number = !digits.empty() && digits.size() <= 3 &&
                              digits.find_first_not_of("0123456789") == std::string::npos;
                int degree = number ? std::stoi(digits) : -1;
                if (degree < 0 || degree > 359) {
                    c.Add(s.degrees, n, "a block line names no degree 0..359");
                    printed.push_back({&s.degrees, n, "?", {}, {}});
                    continue;
                }
                if (!seen.emplace(degree, n).second)
                    c.Add(s.degrees, n,
                          "degree " + digits + " also at line " + std::to_string(seen[degree]));
                printed.push_back({&s.degrees, n, "@" + digits, {}, {50, 100}});
            } else if (!printed.empty() && printed.back().file == &s.degrees) {
                printed.back().lines.push_back(line);
            }
        }
        for (int d = 0; d < 360; ++d)
            if (!seen.count(d)) c.Add(s.degrees, 0, "missing degree " + std::to_string(d));
    }

    // Star conjunctions: one block per catalogue star, its line as in the catalogue.
    if (s.stars.present) {
        std::map<int, int> seen;
        bool open = false;
        int n = 0;
        for (const auto& raw : SplitLines(s.stars.text)) {
            ++n;
            std::string line = Trimmed(raw);
            if (StartsWith(line, "*")) continue;
            if (StartsWith(line, "@")) {
                open = false;
            } else if (StartsWith(line, "=")) {
                auto star = ParseStarLine(line);
                open = true;
                if (!star) {
                    c.Add(s.stars, n, "not a star line");
                    printed.push_back({&s.stars, n, "?", {}, {60, 120}});
                    continue;
                }
                auto it = stars.find(star->number);
                if (it == stars.end())
                    c.Add(
                        s.stars, n,
                        "star " + std::to_string(star->number) + " is not in " + s.catalogue.name);
                else if (it->second.second != line)
                    c.Add(s.stars, n, "star line differs from " + s.catalogue.name);
                if (!seen.emplace(star->number, n).second)
                    c.Add(s.stars, n,
                          "star " + std::to_string(star->number) + " also at line " +
                              std::to_string(seen[star->number]));
                printed.push_back({&s.stars, n, star->name, {}, {60, 120}});
            } else if (open && !printed.empty() && printed.back().file == &s.stars) {
                printed.back().lines.push_back(line);
            } else if (!line.empty()) {
                c.Add(s.stars, n, "text outside a star's block");
            }
        }
        for (const auto& [number, star] : stars)
            if (!seen.count(number))
                c.Add(s.stars, 0, "missing star " + std::to_string(number) + " " + star.first.name);
    }
    for (const Block& b : printed)
        if (b.file == &s.stars || b.file == &s.degrees) c.CheckBlock(b);

    // Lots: each line parses as sex, day or night, three symbols and two operators.
    if (s.lots.present) {
        std::set<std::string> symbols;
        for (const auto& sym : SplitOn(UiTextValue(s.uiTexts.text, "Sym"), '/'))
            symbols.insert(Trimmed(sym));
        int n = 0;
        for (const auto& raw : SplitLines(s.lots.text)) {
            ++n;
            std::string line = Trimmed(raw);
            if (line.empty() || StartsWith(line, "*")) continue;
            if (line.size() < 16) {
                c.Add(s.lots, n, "a lot line has three symbols and a name");
                continue;
            }
            if (line[0] != 'M' && line[0] != 'F' && line[0] != '-')
                c.Add(s.lots, n, "sex is M, F or -");
            if (line[1] != ' ' && line[1] != 'D' && line[1] != 'N')
                c.Add(s.lots, n, "day or night is a blank, D or N");
            if (line[2] != ' ' || line[14] != ' ') c.Add(s.lots, n, "columns 2 and 14 are blanks");
            for (size_t col : {6u, 10u})
                if (line[col] != '+' && line[col] != '-')
                    c.Add(s.lots, n, "operator at column " + std::to_string(col) + " is + or -");
            for (size_t col : {3u, 7u, 11u})
                if (!symbols.count(line.substr(col, 3)))
                    c.Add(s.lots, n, "unknown symbol " + line.substr(col, 3));
            std::string name = line.substr(15);
            if (name.empty() || CharCount(name) > kLotName)
                c.Add(s.lots, n, "a lot's name has 1 to 24 characters");
        }
    }

    c.CheckSharedRuns(printed);
    return c.problems;
}

}  // namespace orbeta
