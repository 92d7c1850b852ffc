#pragma once
// File names between the profile and the file system. Inside the program a path is a
// std::filesystem::path in UTF-8; the profile, like every text of the program, holds
// CP1251. These functions are the only crossing between the two.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orbeta {

// The path a file name of the profile (CP1251) stands for.
std::filesystem::path PathOfProfileName(std::string_view cp1251);

// The profile's form (CP1251) of a path; none when CP1251 cannot hold every character
// of it, so that no name is ever written to the profile half converted.
std::optional<std::string> ProfileNameOfPath(const std::filesystem::path& path);

// A path as it goes into a message (CP1251); characters CP1251 lacks become '?'.
std::string PathForMessage(const std::filesystem::path& path);

}  // namespace orbeta
