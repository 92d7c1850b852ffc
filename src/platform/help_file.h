#pragma once
// The keyed help file orbtw.lrn (OEM code page): "@@name" adds a file to those searched
// after the current one, "@ key key…" starts a topic that runs up to the next line
// beginning with '@', and a topic line may carry one link "text <link ref=KEY> text".
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

inline constexpr const char* kHelpFile = "orbtw.lrn";

// Bytes of a help file by name; nullopt when it cannot be read.
using HelpFileReader = std::function<std::optional<std::string>(const std::string& name)>;

// What one file gives for a key: the topic's lines (CP1251) when it has one, and the
// files it names for the search to go on in.
struct HelpFileMatch {
    std::optional<std::vector<std::string>> topic;
    std::vector<std::string> moreFiles;
};
HelpFileMatch FindTopicInText(std::string_view cp866Text, const std::string& key);

// The first topic listing the key, searching the first file, then the files the
// searched files name, in order (each file once). Empty when no file has it.
std::vector<std::string> FindHelpTopic(const std::string& key,
                                       const std::string& firstFile = kHelpFile,
                                       const HelpFileReader& reader = {});

// A topic line cut at its link: the text before '<' (black), the link text up to "ref"
// (red), the text after '>' (black), and the target key (at most 12 characters).
// A line without a well-formed link is all `before`, with no target.
struct HelpLine {
    std::string before;
    std::string link;
    std::string after;
    std::string target;
};
HelpLine ParseHelpLine(std::string_view line);

}  // namespace orbeta
