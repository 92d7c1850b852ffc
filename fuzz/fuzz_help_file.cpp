#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/help_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Every file of the search is the same input, so "@@" lines chain back to it.
    auto reader = [&bytes](const std::string&) { return std::optional<std::string>(bytes); };
    for (const char* key : {"GenHelp", "@", "", "a", "K0"}) {
        for (const auto& line : orbeta::FindHelpTopic(key, "orbtw.lrn", reader))
            orbeta::ParseHelpLine(line);
    }
    orbeta::ParseHelpLine(bytes);
    return 0;
}
