#pragma once
// The store's messages are UI texts under short keys ("2OpBd", "ErrLk", "errserv",
// "err-bod-read", "bis"). The program installs its UI text lookup; until then a key
// stands for its own text, as a lookup of a missing key does.
#include <string>
#include <string_view>

namespace orbeta {

using TextLookup = std::string (*)(std::string_view key);
void SetStoreTextLookup(TextLookup lookup);
std::string StoreText(std::string_view key);

}  // namespace orbeta
