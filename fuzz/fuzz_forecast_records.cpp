// The forecast's read-back of allob.tmp: any bytes give records that are either left
// out or have a key, and whose period line is written without fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "forecast/forecast_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto hits = orbeta::ParseHits(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& h : hits) {
        if (!orbeta::ForecastRecordUsable(h)) continue;
        if (orbeta::ForecastKey(h).empty()) std::abort();
        std::string line = orbeta::ForecastPeriodLine(h, 0.125, 0);
        if (line.empty() || line.back() != '\n') std::abort();
    }
    return 0;
}
