#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/codepage.h"
#include "platform/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& line : orbeta::SplitLines(text))
        if (orbeta::IsMeaningfulLine(line)) orbeta::SplitTokens(line);
    orbeta::OemToAnsi(text);
    orbeta::Utf8ToAnsi(text);
    orbeta::AnsiToUtf8(text);
    return 0;
}
