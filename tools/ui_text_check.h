#pragma once
// Checks the UTF-8 source of orbtw.t before the build encodes it: characters that the
// two code pages cannot both hold, stray continuation and comment marks, duplicate
// keys, and every key the program reads with the shape it expects (item counts and
// widths of lists, command ids of menus, conversions of formats).
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// One message per problem ("line 12: ..." or "key PLH2: ..."); empty when the source
// is good.
std::vector<std::string> CheckUiTextSource(std::string_view utf8);

}  // namespace orbeta
