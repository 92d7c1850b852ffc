#pragma once
// The chart database that the profile names, for the command line, which has no
// settings object of its own: the key BASA of orbt.ini, read as the profile is read
// (split at the first "=", key without trailing blanks, value without leading
// blanks, at most 78 characters, the last line wins).
#include <string>
#include <string_view>

namespace orbeta::cli {

constexpr const char* kDefaultBaseStem = "abasa";

// The BASA value of a profile text as a path (UTF-8); "abasa" when it has none or an
// empty one.
std::string BaseStemOfProfileText(std::string_view text);
// Of the profile file; "abasa" when the file cannot be read.
std::string ProfileBaseStem(const std::string& path = "orbt.ini");

}  // namespace orbeta::cli
