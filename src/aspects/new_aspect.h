#pragma once
// The text a user types for a new aspect: the angle, optionally followed by an orb in
// parentheses ("45 (3)"); without one every orb is 1.0.
#include <optional>
#include <string>
#include <string_view>

#include "aspects/orb_file.h"

namespace orbeta {

// None when the angle is not a number.
std::optional<AspectRecord> NewAspectFromText(std::string_view text);

// The name of a new orb file: cut at its first '.', ".ao" appended; empty when the
// name is empty or would leave the working directory.
std::string NewOrbFileName(std::string_view typed);

}  // namespace orbeta
