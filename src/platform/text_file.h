#pragma once
// The line-and-token reader of the program's text formats: blank lines and lines
// beginning with '*' carry no data; values are blank-separated tokens, and a token
// may be enclosed in double quotes to hold blanks.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// Whole file as bytes; nullopt when it is not a readable regular file (a directory,
// a device, a file without read permission or gone) or a read fails.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Lines of a text (LF or CRLF ends), every line kept.
std::vector<std::string> SplitLines(std::string_view text);

// True for a line that carries data: not blank, not beginning with '*'.
bool IsMeaningfulLine(std::string_view line);

// Meaningful lines of a file; nullopt when it cannot be opened.
std::optional<std::vector<std::string>> ReadMeaningfulLines(const std::string& path);

// Blank-separated tokens (blank = space or tab); a token in double quotes keeps its
// blanks and loses the quotes; an unclosed quote runs to the end of the line.
std::vector<std::string> SplitTokens(std::string_view line);

// Writes a file whole or not at all: a temporary file beside it, then a rename. A
// symbolic link is written through (its target is replaced, the link kept), and a
// replaced file keeps its mode and, where permitted, its owner.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);

}  // namespace orbeta
