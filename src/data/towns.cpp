#include "data/towns.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <utility>

#include "core/angles.h"
#include "data/town_correction.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

constexpr size_t kNameRoom = kTownKeyMax - 2;  // bytes of a key after "t."
constexpr char kCounterDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr size_t kRadix = sizeof(kCounterDigits) - 1;

double NumberOf(std::string_view text) {
    std::string s(text);
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    return end == s.c_str() || !std::isfinite(v) ? 0.0 : v;
}

std::string Counter(size_t n, size_t width) {
    std::string out(width, '0');
    for (size_t i = width; i-- > 0; n /= kRadix) out[i] = kCounterDigits[n % kRadix];
    return out;
}

size_t CounterWidth(size_t count) {
    size_t width = 1;
    for (size_t room = kRadix; room < count; room *= kRadix) ++width;
    return width;
}

// Keys of one group of names that share their first 16 bytes, most important first.
// The first keeps its name; the others add "#" and a counter, or, when the name
// leaves no room for that, two bytes of the DOS box-drawing range, which no name
// holds.
void KeysOfGroup(const std::vector<std::pair<std::string, size_t>>& group,
                 std::vector<std::pair<std::string, size_t>>& out) {
    out.emplace_back(std::string(kTownKeyPrefix) + group[0].first.substr(0, kNameRoom),
                     group[0].second);
    if (group.size() == 1) return;
    size_t width = CounterWidth(group.size() - 1);
    for (size_t i = 1; i < group.size(); ++i) {
        const std::string& base = group[i].first;
        std::string key = kTownKeyPrefix;
        if (std::min(base.size(), kTownTypedCut) + 1 + width <= kNameRoom) {
            key += base.substr(0, kNameRoom - 1 - width) + "#" + Counter(i - 1, width);
        } else {
            constexpr size_t kBoxDrawing = 48;  // OEM 0xB0..0xDF
            if (i - 1 >= kBoxDrawing * kBoxDrawing) throw std::length_error("too many namesakes");
            key += base.substr(0, kTownTypedCut);
            key += static_cast<char>(0xB0 + (i - 1) / kBoxDrawing);
            key += static_cast<char>(0xB0 + (i - 1) % kBoxDrawing);
        }
        out.emplace_back(std::move(key), group[i].second);
    }
}

std::string WithoutYo(std::string text) {
    for (auto& c : text) {
        if (c == '\xB8') c = '\xE5';  // ё → е
        if (c == '\xA8') c = '\xC5';  // Ё → Е
    }
    return text;
}

}  // namespace

std::string TownCapitals(std::string_view text) {
    std::string out(text);
    for (auto& c : out) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 'a' && u <= 'z') c = static_cast<char>(u - 'a' + 'A');
        if (u >= 0xE0) c = static_cast<char>(u - 0x20);  // а..я → А..Я
    }
    return out;
}

std::string TownKeyPrefix(std::string_view typed) {
    typed = typed.substr(0, kTownTypedMax).substr(0, kTownTypedCut);
    return kTownKeyPrefix + AnsiToOem(TownCapitals(typed));
}

TownListRow TownListRowOf(const TownCard& card) {
    TownListRow row{card.name, {}, card.where, card.latitude, card.longitude};
    size_t comma = card.where.rfind(", ");
    if (comma != std::string::npos) {
        row.region = card.where.substr(0, comma);
        row.country = card.where.substr(comma + 2);
    }
    return row;
}

std::string FilledLongitude(std::string_view field6) {
    return Format("%.2f", StoredLongitude(NumberOf(field6)));
}

TownChoice FillTownChoice(const TownCard& card, double moment, const PopaCtl* popa) {
    TownChoice choice;
    choice.name = card.name;
    choice.latitude = card.latitude;
    choice.longitude = FilledLongitude(card.longitude);
    choice.card = card;
    if (moment == 0)
        choice.correction = 0;
    else if (!card.fixedCorrection.empty())
        choice.correction = -NumberOf(card.fixedCorrection);
    else
        choice.correction = TownCorrection(moment, card, popa);
    return choice;
}

TownChoice FillTownChoice(const TownCard& card, double moment) {
    if (moment == 0 || !card.fixedCorrection.empty()) return FillTownChoice(card, moment, nullptr);
    auto popa = ReadPopaCtl(kPopaCtlFile);
    return FillTownChoice(card, moment, popa ? &*popa : nullptr);
}

TownLocalMoment LocalMomentOfTown(const TownCard& card, double jdUT, const PopaCtl* popa) {
    TownLocalMoment m;
    m.correction = FillTownChoice(card, jdUT, popa).correction;
    m.jdLocal = jdUT - m.correction / 24.0;
    for (int i = 0; i < 2; ++i) {
        double c = FillTownChoice(card, m.jdLocal, popa).correction;
        if (c == m.correction) break;
        m.correction = c;
        m.jdLocal = jdUT - c / 24.0;
    }
    return m;
}

DirectoryTown::DirectoryTown(TownCard card) : card_(std::move(card)) {
    if (card_.fixedCorrection.empty()) popa_ = ReadPopaCtl(kPopaCtlFile);
}

double DirectoryTown::CorrectionAt(double jdLocal) const {
    return FillTownChoice(card_, jdLocal, Popa()).correction;
}

TownLocalMoment DirectoryTown::LocalMomentAt(double jdUT) const {
    return LocalMomentOfTown(card_, jdUT, Popa());
}

std::vector<TownKey> AssignTownKeys(const std::vector<TownSource>& towns) {
    // Group by the bytes a user can type; std::map keeps the groups in key order.
    std::map<std::string, std::vector<std::pair<std::string, size_t>>> groups;
    auto add = [&](const std::string& ansi, size_t town) {
        std::string base = AnsiToOem(TownCapitals(ansi));
        groups[base.substr(0, kTownTypedCut)].emplace_back(base, town);
    };
    std::map<std::pair<std::string, size_t>, bool> isLatin;
    for (size_t i = 0; i < towns.size(); ++i) {
        const auto& t = towns[i];
        add(t.name, i);
        if (WithoutYo(t.name) != t.name) add(WithoutYo(t.name), i);
        if (!t.russianWorld && !t.latin.empty() && TownCapitals(t.latin) != TownCapitals(t.name)) {
            add(t.latin, i);
            isLatin[{AnsiToOem(TownCapitals(t.latin)), i}] = true;
        }
    }
    std::vector<TownKey> out;
    std::vector<std::pair<std::string, size_t>> keys;
    for (const auto& [head, group] : groups) {
        keys.clear();
        KeysOfGroup(group, keys);
        for (size_t k = 0; k < keys.size(); ++k)
            out.push_back({keys[k].first, keys[k].second,
                           isLatin.count({group[k].first, group[k].second}) > 0});
    }
    return out;
}

}  // namespace orbeta
