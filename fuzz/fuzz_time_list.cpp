#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/time_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto list = orbeta::ParseTimeList(text);
    if (list) {
        // every kept moment is reachable and the position never leaves the list
        orbeta::MoveInTimeList(*list, static_cast<int>(size % 7) - 3);
        orbeta::MoveInTimeList(*list, 1 << 30);
        if (list->position < 0 || list->position >= static_cast<int>(list->moments.size()))
            __builtin_trap();
    }
    return 0;
}
