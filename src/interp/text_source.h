#pragma once
// The sources of an interpretation text base: stem.csr and the files its first line
// "FILES=" names, in the OEM code page. A line "@key1 key2 …" opens a block named by
// every key on it, "@@" closes it, "*" lines are comments; the section CTL (from a
// "@@" line naming CTL to the next "@@" line) describes the base for the text editor.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// A place in a source: the file and the line (from 1).
struct SourcePlace {
    std::filesystem::path file;
    int line = 0;
};

struct TextBlock {
    std::vector<std::string> keys;   // OEM bytes, as on the "@" line
    std::vector<std::string> lines;  // OEM, comment lines left out
    SourcePlace place;               // of the "@" line
};

// A line "=label $ format [list1 [list2 [list3]]]" of the CTL section.
struct CtlLine {
    std::string label;  // OEM
    std::string format;
    std::vector<std::string> lists;
    SourcePlace place;
};

struct SourceProblem {
    SourcePlace place;
    std::string text;  // UTF-8
};

struct SourceSet {
    std::vector<std::filesystem::path> files;  // the files read, in order
    std::vector<TextBlock> blocks;             // in source order
    std::vector<CtlLine> ctl;                  // valid CTL lines
    std::vector<SourceProblem> ctlProblems;    // CTL lines skipped, with the reason
};

// Names of the "FILES=" line, when the text's first line is one.
std::vector<std::string> ListedFileNames(std::string_view text);

// The source set of a .csr: the file itself, then the listed files that exist, each
// once (relative names are the .csr's neighbours).
std::vector<std::filesystem::path> SourceFiles(const std::filesystem::path& csr);
// Every file the set names, existing or not (for the recompile rule).
std::vector<std::filesystem::path> NamedSourceFiles(const std::filesystem::path& csr);

// Adds the blocks and CTL lines of one source's bytes to the set.
void ParseSource(std::string_view bytes, const std::filesystem::path& file, SourceSet& set);

// Reads the whole source set of a .csr; false when the .csr itself cannot be read.
bool ReadSourceSet(const std::filesystem::path& csr, SourceSet& set);

// The keys of an "@" line (whole blank-separated tokens after the "@").
std::vector<std::string> KeysOfLine(std::string_view line);
bool OpensBlock(std::string_view line);   // "@" but not "@@"
bool ClosesBlock(std::string_view line);  // "@@"

// Checks a CTL key format: literal characters, "%%", and exactly `conversions`
// integer conversions "%d" or "%0Nd" (N a digit or two).
bool ValidKeyFormat(std::string_view format, size_t conversions);
// The key a valid format gives with the values.
std::string FormatKey(std::string_view format, const std::vector<int>& values);

// Parses a CTL "=" line; false with the reason (UTF-8) when it is invalid.
bool ParseCtlLine(std::string_view line, CtlLine& out, std::string& reason);

}  // namespace orbeta
