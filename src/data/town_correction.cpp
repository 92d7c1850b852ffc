#include "data/town_correction.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace orbeta {
namespace {

// Numbers of the file as C's atof and atoi read them: a leading number or 0.
double NumberOf(const std::string& text) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    // "nan" and "inf" would pass into every chart computed from the town.
    return end == text.c_str() || !std::isfinite(v) ? 0.0 : v;
}

long IntegerOf(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 10);
}

// Boundaries are whole seconds; moments within half a second of one count as that
// second, so that a time typed to the second is not put beside it by rounding.
constexpr double kHalfSecond = 0.5 / 86400;

// A period "from-to" or "from": does it hold the moment?
bool PeriodHolds(const std::string& period, double moment) {
    // The separator is the first '-' after the first character, so that a date
    // never loses a sign it might carry.
    size_t dash = period.find('-', 1);
    std::string_view text(period);
    if (PopaMoment(text.substr(0, dash)) - kHalfSecond > moment) return false;
    return dash == std::string::npos || PopaMoment(text.substr(dash + 1)) - kHalfSecond > moment;
}

}  // namespace

double TownCorrection(double moment, const TownCard& card, const PopaCtl* popa) {
    double c = 0;
    if (!card.fixedCorrection.empty()) {
        c = -NumberOf(card.fixedCorrection);
    } else if (!card.zoneCode.empty()) {
        const std::vector<PopaLine>* popTime = popa ? popa->Find("PopTime") : nullptr;
        if (!popTime) return 0;
        long code = IntegerOf(card.zoneCode);
        for (const auto& line : *popTime) {
            if (line.size() < 2 || IntegerOf(line[0]) != code) continue;
            c = -NumberOf(line[1]);
            for (size_t i = 2; i + 1 < line.size(); i += 2) {
                if (PeriodHolds(line[i], moment)) {
                    c = -NumberOf(line[i + 1]);
                    break;
                }
            }
            break;
        }
    }
    if (!card.dstSection.empty() && popa) {
        if (const auto* dst = popa->Find(card.dstSection)) {
            for (const auto& line : *dst) {
                if (line.size() < 3) continue;
                if (PopaMoment(line[0]) + kHalfSecond < moment &&
                    moment <= PopaMoment(line[1]) + kHalfSecond) {
                    c -= NumberOf(line[2]);
                    break;
                }
            }
        }
    }
    // −0 from an offset of 0 would print as "-0".
    return c == 0 ? 0.0 : c;
}

double TownCorrection(double moment, const TownCard& card) {
    std::optional<PopaCtl> popa;
    bool needed =
        !card.dstSection.empty() || (card.fixedCorrection.empty() && !card.zoneCode.empty());
    if (needed) popa = ReadPopaCtl(kPopaCtlFile);
    return TownCorrection(moment, card, popa ? &*popa : nullptr);
}

}  // namespace orbeta
