#pragma once
// The check of a text base's sources before it ships: repeated keys, empty blocks,
// keys too long, invalid CTL lines, required keys without text, and the size of the
// texts per family of keys.
#include <filesystem>
#include <string>
#include <vector>

#include "interp/text_source.h"

namespace orbeta {

// A line of a list of required keys: "KEY[\tFAMILY[\trequired|optional]]" (UTF-8).
struct RequiredKey {
    std::string key;  // OEM
    std::string family;
    bool required = true;
};
std::vector<RequiredKey> ParseRequiredKeys(std::string_view text);

struct WordStats {
    int min = 0;
    double median = 0;
    int max = 0;
    long total = 0;
};
struct FamilyStats {
    std::string family;
    int keys = 0;
    int blocks = 0;
    WordStats words;
};

struct TextBaseCheck {
    std::vector<SourceProblem> problems;
    std::vector<std::string> missing;  // required keys without printed text (OEM)
    std::vector<FamilyStats> families;
    std::vector<std::vector<std::string>> duplicates;  // keys of blocks of equal text
};

// Reads the source set of a .csr; with utf8 the files are UTF-8 and characters the
// OEM code page lacks are problems too. False when the .csr cannot be read.
bool ReadSourcesForCheck(const std::filesystem::path& csr, bool utf8, SourceSet& set,
                         std::vector<SourceProblem>& problems);

TextBaseCheck CheckTextBase(const SourceSet& set, std::vector<SourceProblem> readProblems,
                            const std::vector<RequiredKey>& required, const std::string& baseName);

}  // namespace orbeta
