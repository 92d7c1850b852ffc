#include "rectify/rules.h"

#include <charconv>
#include <cmath>

#include "core/angles.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

constexpr const char* kBodyCodes[kBodyCount] = {"SU", "MO", "ME", "VE", "MR", "JU", "SA", "UR",
                                                "NE", "PL", "ND", "SE", "CH", "PR", "LI"};

// A decimal number at the start of the text (after blanks); false when none.
bool LeadingNumber(std::string_view s, double& value) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    return r.ec == std::errc() && std::isfinite(value);
}

// A house number 1..12 written with digits only; 0 otherwise.
int HouseNumber(std::string_view s) {
    if (s.empty() || s.size() > 2) return 0;
    int n = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), n);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return 0;
    return n >= 1 && n <= 12 ? n : 0;
}

std::vector<std::string_view> Parts(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        size_t at = s.find(separator);
        parts.push_back(s.substr(0, at));
        if (at == std::string_view::npos) break;
        s.remove_prefix(at + 1);
    }
    return parts;
}

unsigned KindLetters(std::string_view letters) {
    unsigned kinds = 0;
    for (char ch : letters) {
        if (ch == 'T') kinds |= 1u << kRuleTransit;
        if (ch == 'P') kinds |= 1u << kRuleProgression;
        if (ch == 'D') kinds |= 1u << kRuleDirection;
    }
    return kinds;
}

}  // namespace

std::string RuleCapitals(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        auto u = static_cast<unsigned char>(ch);
        if (u >= 'a' && u <= 'z') ch = static_cast<char>(u - 32);
        if (u >= 0xE0) ch = static_cast<char>(u - 32);  // а..я → А..Я
    }
    return out;
}

RulePoint ParsePointCode(std::string_view code) {
    RulePoint p;
    for (int b = 0; b < kBodyCount; ++b)
        if (code == kBodyCodes[b]) {
            p.type = RulePoint::Slot;
            p.n = b + 1;
            return p;
        }
    if (int n = HouseNumber(code)) {
        p.type = RulePoint::Slot;
        p.n = PointOfCusp(n);
        return p;
    }
    if (code.size() < 2) return p;
    int n = HouseNumber(code.substr(1));
    if (!n) return p;
    switch (code[0]) {
        case 'A':
            p.type = RulePoint::Ruler;
            p.n = n;
            break;
        case 'H':
            p.type = RulePoint::InHouse;
            p.n = n;
            break;
        case 'Z':
            p.type = RulePoint::Slot;
            p.n = kFirstSignSlot + n - 1;
            break;
        default:
            break;
    }
    return p;
}

Rule ParseRule(std::string_view lineIn) {
    std::string line = RuleCapitals(lineIn);
    Rule rule;
    std::string_view rest = line;
    if (size_t eq = rest.find('='); eq != std::string_view::npos) {
        rule.weightRead = LeadingNumber(rest.substr(eq + 1), rule.weight);
        if (!rule.weightRead) rule.weight = 0;
        rest = rest.substr(0, eq);
    }
    std::vector<std::string_view> parts = Parts(rest, ':');
    rule.complete = parts.size() >= 3;
    if (!rule.complete) return rule;
    for (const std::string& token : SplitTokens(parts[0])) {
        size_t dash = token.find('-');
        RulePoint p = ParsePointCode(std::string_view(token).substr(0, dash));
        p.kinds = dash == std::string::npos ? 1u << kRuleTransit
                                            : KindLetters(std::string_view(token).substr(dash + 1));
        rule.moving.push_back(p);
    }
    for (const std::string& token : SplitTokens(parts[1])) {
        double x = 0;
        auto r = std::from_chars(token.data(), token.data() + token.size(), x);
        if (r.ec == std::errc() && r.ptr == token.data() + token.size() && std::isfinite(x))
            rule.angles.push_back(x);
    }
    bool natalSeen = false;
    for (const std::string& token : SplitTokens(parts[2])) {
        size_t dash = token.find('-');
        RulePoint p = ParsePointCode(std::string_view(token).substr(0, dash));
        if (dash == std::string::npos) {
            if (natalSeen) continue;  // only the first natal target counts
            natalSeen = true;
            p.kinds = 1u << kRuleNatal;
        } else {
            p.kinds = KindLetters(std::string_view(token).substr(dash + 1));
        }
        rule.targets.push_back(p);
    }
    return rule;
}

void CountSlots(const std::vector<RulePoint>& points, const ChartRecord& natal, long bodyMask,
                SlotCounts& counts) {
    for (auto& row : counts) row.fill(0);
    auto add = [&](unsigned kinds, int slot) {
        if (slot < 1 || slot > kRuleSlots) return;
        for (int k = 0; k < kTargetKinds; ++k)
            if (kinds & (1u << k)) ++counts[k][slot];
    };
    for (const RulePoint& p : points) {
        switch (p.type) {
            case RulePoint::Slot:
                add(p.kinds, p.n);
                break;
            case RulePoint::Ruler: {
                double cusp = natal.cusp[p.n];
                if (std::isfinite(cusp)) add(p.kinds, SignRuler(SignOf(cusp)));
                break;
            }
            case RulePoint::InHouse:
                for (int b = 1; b <= kBodyCount; ++b)
                    if ((bodyMask >> (b - 1) & 1) && BodyAvailable(natal, b) &&
                        HouseOf(natal.lon[b], natal.cusp) == p.n)
                        add(p.kinds, b);
                break;
            case RulePoint::Unknown:
                break;
        }
    }
}

std::vector<RulePair> RulePairs(const Rule& rule, const ChartRecord& natal, long bodyMask) {
    std::vector<RulePair> pairs;
    if (!rule.complete) return pairs;
    SlotCounts a, b;
    CountSlots(rule.moving, natal, bodyMask, a);
    CountSlots(rule.targets, natal, bodyMask, b);
    for (int ka = 0; ka < kMovingKinds; ++ka)
        for (int m = 0; m < kTargetKinds; ++m)
            for (int i = 1; i <= kPointCount; ++i) {
                if (!a[ka][i]) continue;
                for (int j = 1; j <= kRuleSlots; ++j)
                    if (b[m][j]) pairs.push_back({ka, m, i, j, rule.weight * a[ka][i] * b[m][j]});
            }
    return pairs;
}

}  // namespace orbeta
