#pragma once
// Checks the UTF-8 source of the help file orbtw.lrn before the build encodes it:
// every help key the program asks for has a topic, every link is well formed and
// points at a topic, lines fit the help window (it does not wrap) and every
// character survives the OEM code page.
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// The longest line the help window shows without cutting it.
inline constexpr int kHelpLineWidth = 70;

// One message per problem ("line 12: ..." or "key VV: ..."); empty when the source is
// good. requiredKeys are the help keys the program uses.
std::vector<std::string> CheckHelpSource(std::string_view utf8,
                                         const std::vector<std::string>& requiredKeys);

}  // namespace orbeta
