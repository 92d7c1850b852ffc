#pragma once
// The time-zone control file popa.ctl: sections opened by lines beginning with "@@"
// and the names that follow; in them, lines of blank-separated tokens (a token in
// double quotes may hold blanks), where an unquoted "&" continues the line on the
// next one and drops the rest of its own.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

using PopaLine = std::vector<std::string>;

struct PopaSection {
    std::vector<std::string> names;
    std::vector<PopaLine> lines;
};

struct PopaCtl {
    std::vector<PopaSection> sections;
    // Lines of the first section known by the name; nullptr when there is none.
    const std::vector<PopaLine>* Find(std::string_view name) const;
};

inline constexpr const char* kPopaCtlFile = "popa.ctl";

PopaCtl ParsePopaCtl(std::string_view text);
// nullopt when the file cannot be read.
std::optional<PopaCtl> ReadPopaCtl(const std::string& path);

// Julian day of a date of the file, "DD.MM.YYYY" with missing parts 1, at 0 h; an
// optional fourth part "HH[:MM[:SS]]" gives the time of day, which readers of plain
// dates ignore.
double PopaMoment(std::string_view date);

}  // namespace orbeta
