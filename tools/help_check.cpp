#include "help_check.h"

#include <map>
#include <set>

#include "platform/format.h"
#include "platform/text_file.h"
#include "utf8_scan.h"

namespace orbeta {
namespace {

// The reader takes at most this many characters of a link target.
constexpr size_t kMaxTargetLength = 12;

// Counts the characters of a line and reports those outside the set; false when the
// line is not UTF-8.
bool CheckCharacters(std::string_view line, int number, int& count,
                     std::vector<std::string>& problems) {
    count = 0;
    for (size_t i = 0; i < line.size(); ++count) {
        char32_t c = 0;
        if (!NextUtf8(line, i, c)) {
            problems.push_back(Format("line %d: not UTF-8", number));
            return false;
        }
        if (!InBothCodePages(c))
            problems.push_back(Format("line %d: character U+%04X is not allowed", number,
                                      static_cast<unsigned>(c)));
    }
    return true;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

struct Link {
    std::string target;
    int line;
};

// The window shows one link per line, "text <link text ref=KEY> text"; anything else
// that looks like a link would be drawn wrongly or open the wrong topic.
void ParseLink(const std::string& line, int number, std::vector<Link>& links,
               std::vector<std::string>& problems) {
    auto problem = [&](const char* what) {
        problems.push_back(Format("line %d: %s", number, what));
    };
    size_t open = line.find('<');
    size_t ref = line.find("ref=");
    if (open == std::string::npos && ref == std::string::npos) {
        if (line.find('>') != std::string::npos) problem("\">\" without a link");
        return;
    }
    if (open == std::string::npos || ref == std::string::npos || ref < open) {
        problem("malformed link (expected \"<text ref=KEY>\")");
        return;
    }
    size_t close = line.find('>', ref);
    if (close == std::string::npos) {
        problem("link without \">\"");
        return;
    }
    if (line.find_first_not_of(' ', open + 1) >= ref) problem("link without text");
    if (line.find('<', open + 1) != std::string::npos ||
        line.find("ref=", ref + 1) != std::string::npos)
        problem("more than one link in a line");
    if (line.find('>') < close) problem("\">\" before the link ends");
    std::string target = line.substr(ref + 4, close - ref - 4);
    if (target.empty() || target.size() > kMaxTargetLength ||
        target.find(' ') != std::string::npos) {
        problem("link target must be 1..12 characters without blanks");
        return;
    }
    links.push_back({target, number});
}

}  // namespace

std::vector<std::string> CheckHelpSource(std::string_view utf8,
                                         const std::vector<std::string>& requiredKeys) {
    std::vector<std::string> problems;
    std::map<std::string, int> topics;  // key -> line of its head
    std::vector<Link> links;
    int number = 0;
    int textLines = -1;  // lines of the current topic; -1 outside a topic
    std::string head;
    auto endTopic = [&] {
        if (textLines == 0) problems.push_back("topic \"" + head + "\": no text");
        textLines = -1;
    };
    for (const auto& raw : SplitLines(utf8)) {
        ++number;
        std::string line = raw;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int width = 0;
        if (!CheckCharacters(line, number, width, problems)) continue;
        if (width > kHelpLineWidth)
            problems.push_back(
                Format("line %d: %d characters, more than %d", number, width, kHelpLineWidth));
        if (line.rfind("@@", 0) == 0) {
            endTopic();
            if (Words(line.substr(2)).empty())
                problems.push_back(Format("line %d: no file", number));
            continue;
        }
        if (!line.empty() && line[0] == '@') {
            endTopic();
            auto keys = Words(line.substr(1));
            if (keys.empty()) continue;  // "@" alone ends a topic and starts none
            for (const auto& key : keys) {
                auto [it, added] = topics.emplace(key, number);
                if (!added)
                    problems.push_back(Format("line %d: key %s already has a topic at line %d",
                                              number, key.c_str(), it->second));
            }
            head = line.substr(1);
            textLines = 0;
            continue;
        }
        if (textLines < 0) continue;  // text before the first topic is never shown
        ++textLines;
        ParseLink(line, number, links, problems);
    }
    endTopic();
    for (const auto& link : links)
        if (!topics.count(link.target))
            problems.push_back(
                Format("line %d: link to %s, which has no topic", link.line, link.target.c_str()));
    for (const auto& key : requiredKeys)
        if (!topics.count(key)) problems.push_back("key " + key + ": no topic");
    return problems;
}

}  // namespace orbeta
