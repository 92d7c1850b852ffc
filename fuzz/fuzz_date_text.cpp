#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/angles.h"
#include "core/calendar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    double jd = orbeta::JulianDayOfDateTimeText(text);
    orbeta::DateTimeText(jd);
    orbeta::DateText(orbeta::JulianDayOfDateText(text));
    orbeta::PositionText(jd);
    return 0;
}
