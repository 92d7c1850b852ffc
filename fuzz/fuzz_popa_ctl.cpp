// popa.ctl and the town fields it is read with: any bytes are read without a crash,
// a hang or a correction that is not a number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/town_correction.h"
#include "data/towns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    orbeta::PopaCtl popa = orbeta::ParsePopaCtl("@@PopTime\n" + text);
    // The card's fields come from the same bytes, so that they meet the file's lines.
    orbeta::TownCard card;
    card.zoneCode = text.substr(0, 3);
    card.dstSection = text.substr(0, 8);
    card.longitude = text.substr(0, 12);
    for (double moment : {0.0, 2444800.5, 2451545.0, -1.0e300}) {
        double c = orbeta::TownCorrection(moment, card, &popa);
        if (!std::isfinite(c)) std::abort();
        orbeta::FillTownChoice(card, moment, &popa);
    }
    orbeta::TownKeyPrefix(text);
    return 0;
}
