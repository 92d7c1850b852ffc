// Hit files: any bytes read as whole records with the short tail skipped, and every
// record read writes back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "forecast/search_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto hits = orbeta::ParseHits(std::string_view(reinterpret_cast<const char*>(data), size));
    if (hits.size() != size / orbeta::kHitRecordSize) std::abort();
    for (size_t i = 0; i < hits.size(); ++i) {
        const auto& h = hits[i];
        if (h.exactCount > 3) std::abort();
        unsigned char once[orbeta::kHitRecordSize], twice[orbeta::kHitRecordSize];
        orbeta::EncodeHit(h, once);
        orbeta::EncodeHit(orbeta::DecodeHit(once), twice);
        if (std::memcmp(once, twice, sizeof once) != 0) std::abort();
        // Everything but a damaged count comes back byte for byte.
        const unsigned char* in = data + i * orbeta::kHitRecordSize;
        for (size_t k = 0; k < orbeta::kHitRecordSize; ++k)
            if (k != 40 && once[k] != in[k]) std::abort();
    }
    return 0;
}
