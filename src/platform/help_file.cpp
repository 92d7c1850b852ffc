#include "platform/help_file.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {

namespace {
constexpr size_t kTargetLength = 12;
constexpr size_t kFileListLimit = 64;  // a help file naming itself must not loop
}  // namespace

HelpFileMatch FindTopicInText(std::string_view cp866Text, const std::string& key) {
    HelpFileMatch match;
    bool inTopic = false;
    std::vector<std::string> topic;
    for (const auto& line : SplitLines(cp866Text)) {
        if (line.empty() || line[0] != '@') {
            if (inTopic) topic.push_back(OemToAnsi(line));
            continue;
        }
        if (inTopic) {
            match.topic = std::move(topic);
            inTopic = false;
        }
        if (line.size() > 1 && line[1] == '@') {
            auto names = SplitTokens(std::string_view(line).substr(2));
            if (!names.empty()) match.moreFiles.push_back(names[0]);
            continue;
        }
        if (match.topic) continue;
        auto keys = SplitTokens(std::string_view(line).substr(1));
        inTopic = std::find(keys.begin(), keys.end(), key) != keys.end();
    }
    if (inTopic) match.topic = std::move(topic);
    return match;
}

std::vector<std::string> FindHelpTopic(const std::string& key, const std::string& firstFile,
                                       const HelpFileReader& reader) {
    std::vector<std::string> files{firstFile};
    for (size_t i = 0; i < files.size(); ++i) {
        auto bytes = reader ? reader(files[i]) : ReadFileBytes(files[i]);
        if (!bytes) continue;
        HelpFileMatch match = FindTopicInText(*bytes, key);
        if (match.topic) return std::move(*match.topic);
        for (auto& name : match.moreFiles)
            if (files.size() < kFileListLimit &&
                std::find(files.begin(), files.end(), name) == files.end())
                files.push_back(std::move(name));
    }
    return {};
}

HelpLine ParseHelpLine(std::string_view line) {
    HelpLine parsed;
    size_t open = line.find('<');
    size_t ref = open == std::string_view::npos ? open : line.find("ref=", open + 1);
    size_t close = ref == std::string_view::npos ? ref : line.find('>', ref + 4);
    if (close == std::string_view::npos) {
        parsed.before = std::string(line);
        return parsed;
    }
    parsed.before = std::string(line.substr(0, open));
    std::string_view link = line.substr(open + 1, ref - open - 1);
    while (!link.empty() && (link.back() == ' ' || link.back() == '\t')) link.remove_suffix(1);
    parsed.link = std::string(link);
    parsed.target = std::string(line.substr(ref + 4, std::min(close - ref - 4, kTargetLength)));
    parsed.after = std::string(line.substr(close + 1));
    return parsed;
}

}  // namespace orbeta
