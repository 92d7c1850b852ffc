#pragma once
// The store's messages are UI texts under short keys ("2OpBd", "ErrLk", "errserv",
// "err-bod-read", "bis"), looked up in the loaded UI texts; tests may install a lookup
// of their own.
#include <string>
#include <string_view>

namespace orbeta {

using TextLookup = std::string (*)(std::string_view key);
void SetStoreTextLookup(TextLookup lookup);
std::string StoreText(std::string_view key);

}  // namespace orbeta
