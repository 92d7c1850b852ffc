// Event files and their rule lines: any bytes are read without a crash or a hang, and
// every rule pair names a moving point 1..27 and a target 1..39 of a known kind.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "rectify/event_file.h"
#include "rectify/rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orbeta;
    std::string text(reinterpret_cast<const char*>(data), size);
    EventFile file = ParseEventText(text);
    ChartRecord natal;
    for (int k = 1; k <= 12; ++k) natal.cusp[k] = (k - 1) * 30.0 + 7.5;
    for (int b = 1; b <= kBodyCount; ++b) natal.lon[b] = b * 23.0;
    natal.cusp[5] = NAN;  // a cusp that could not be computed
    for (const EventType& type : file.types)
        for (const RuleLine& line : type.rules) {
            Rule rule = ParseRule(line.text);
            for (const RulePair& p : RulePairs(rule, natal, 1023))
                if (p.i < 1 || p.i > kPointCount || p.j < 1 || p.j > kRuleSlots || p.moving < 0 ||
                    p.moving >= kMovingKinds || p.target < 0 || p.target >= kTargetKinds)
                    std::abort();
        }
    for (const DatedEvent& e : file.events)
        if (!(e.jdLocal >= 0) || !std::isfinite(e.jdLocal)) std::abort();
    return 0;
}
