#pragma once
// The one formatter of documented texts: printf formats, checked by the compiler
// where the format is a literal, produced byte for byte.
#include <string>

namespace orbeta {

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orbeta
