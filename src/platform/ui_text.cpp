#include "platform/ui_text.h"
#include "platform/program_state.h"

#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

std::vector<std::string>& Texts() {
    static std::vector<std::string> texts;
    // A fresh start (a test) returns to no texts.
    static const StateReset reset{[] { texts.clear(); }};
    return texts;
}

bool IsComment(std::string_view line) {
    return !line.empty() && line[0] == '*';
}

// A continuation marked for another edition: "D" after the first '#'.
bool IsForeignContinuation(std::string_view line) {
    size_t hash = line.find('#');
    return hash != std::string_view::npos && line.find('D', hash + 1) != std::string_view::npos;
}

// Integer after '[' as atoi reads it; overlong numbers saturate.
int CommandIdOf(std::string_view item) {
    size_t bracket = item.find('[');
    if (bracket == std::string_view::npos) return 0;
    size_t i = bracket + 1;
    while (i < item.size() && (item[i] == ' ' || item[i] == '\t')) ++i;
    bool negative = false;
    if (i < item.size() && (item[i] == '-' || item[i] == '+')) negative = item[i++] == '-';
    long long value = 0;
    while (i < item.size() && item[i] >= '0' && item[i] <= '9') {
        if (value < 1000000000LL) value = value * 10 + (item[i] - '0');
        ++i;
    }
    if (value > 1000000000LL) value = 1000000000LL;
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::vector<std::string> ParseUiTexts(std::string_view oemBytes) {
    // CP866 → CP1251 maps byte to byte, and the marks '*', '@', '#', 'D' are ASCII, so
    // converting the whole file first gives the same lines as converting each one.
    std::vector<std::string> lines = SplitLines(OemToAnsi(oemBytes));
    std::vector<std::string> texts;
    size_t next = 0;
    while (next < lines.size()) {
        std::string line = std::move(lines[next++]);
        if (IsComment(line)) continue;
        // Text before the first '@' holds no '@', so each search starts where the last
        // join began: a long chain of continued lines stays linear.
        size_t at = line.find('@');
        while (at != std::string::npos) {
            if (next >= lines.size()) {
                // A continuation mark on the last line joins nothing.
                line.erase(at);
                break;
            }
            std::string& following = lines[next++];
            if (IsComment(following) || IsForeignContinuation(following)) continue;
            line.replace(at, std::string::npos, following);
            at = line.find('@', at);
        }
        texts.push_back(std::move(line));
    }
    return texts;
}

bool LoadUiTexts(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) {
        Texts().clear();
        return false;
    }
    Texts() = ParseUiTexts(*bytes);
    return true;
}

void SetUiTexts(std::vector<std::string> lines) {
    Texts() = std::move(lines);
}

const std::vector<std::string>& UiTexts() {
    return Texts();
}

std::string LookupText(std::string_view key) {
    const auto& texts = Texts();
    if (texts.empty() || key.empty() || key.find(' ') != std::string_view::npos)
        return std::string(key);
    for (const auto& line : texts) {
        size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;  // a key without a text is no entry
        if (std::string_view(line).substr(0, blank) == key) return line.substr(blank + 1);
    }
    return std::string(key);
}

std::vector<std::string> SplitListText(std::string_view text) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        size_t slash = text.find('/', start);
        if (slash == std::string_view::npos) {
            items.emplace_back(text.substr(start));
            return items;
        }
        items.emplace_back(text.substr(start, slash - start));
        start = slash + 1;
    }
}

std::string MenuLabel(std::string_view item) {
    item = item.substr(0, item.find('['));
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    return std::string(item);
}

std::vector<MenuItem> SplitMenuText(std::string_view text) {
    std::vector<MenuItem> items;
    for (auto& item : SplitListText(text)) {
        int id = CommandIdOf(item);
        items.push_back({std::move(item), id});
    }
    return items;
}

std::string MenuItemText(std::string_view menuKey, int commandId) {
    if (commandId == 0) return {};
    for (const auto& item : SplitMenuText(LookupText(menuKey)))
        if (item.id == commandId) return item.text.substr(0, 78);
    return {};
}

std::string ListItem(std::string_view listKey, int index) {
    if (index < 0) return {};
    // Walks to the item instead of splitting the whole list: tables ask for names
    // thousands of times.
    std::string text = LookupText(listKey);
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t slash = text.find('/', start);
        if (slash == std::string::npos) return {};
        start = slash + 1;
    }
    size_t end = text.find('/', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace orbeta
