#pragma once
// The towns directory: finding towns by the first letters of their names, the lines
// of the choice list, and what a chosen town fills in. Texts are CP1251 unless said.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/popa_ctl.h"
#include "data/town_card.h"

namespace orbeta {

inline constexpr size_t kTownTypedMax = 20;  // characters the input box takes
inline constexpr size_t kTownTypedCut = 16;  // characters that are looked up
inline constexpr size_t kTownKeyMax = 20;
inline constexpr const char* kTownListFile = "town.tmp";

// Latin a..z and Cyrillic а..я become capitals; every other character stays.
std::string TownCapitals(std::string_view text);

// The key prefix of a typed name: cut to 16 characters, capitals, "t." before it,
// the whole in the OEM code page.
std::string TownKeyPrefix(std::string_view typed);

// A row of the choice list, shown in columns: name, region, country (split from the
// card's "region, country"; a lone name is the country), latitude, longitude as the
// card holds them.
struct TownListRow {
    std::string name;
    std::string region;
    std::string country;
    std::string latitude;
    std::string longitude;
    bool operator==(const TownListRow&) const = default;
};
TownListRow TownListRowOf(const TownCard& card);

// What a chosen town fills into the caller's fields.
struct TownChoice {
    std::string name;
    std::string latitude;   // text of field 5
    std::string longitude;  // "%.2f"; west longitudes as 360° minus their magnitude
    double correction = 0;  // hours to add to local time to get GMT
    TownCard card;          // the chosen card, for corrections of other moments
};

// moment: Julian day of the local date and time, 0 when there is none yet (then the
// correction is 0 and popa.ctl is not read); popa: popa.ctl, nullptr when missing.
TownChoice FillTownChoice(const TownCard& card, double moment, const PopaCtl* popa);
// The same, reading popa.ctl of the working directory when the card needs it.
TownChoice FillTownChoice(const TownCard& card, double moment);

// The local moment of a town at a UT moment, and the correction in force then (hours).
// The zone history is kept in local time, so the correction of the UT moment read as
// local time is refined once or twice.
struct TownLocalMoment {
    double jdLocal = 0;
    double correction = 0;
};
TownLocalMoment LocalMomentOfTown(const TownCard& card, double jdUT, const PopaCtl* popa);

// A town taken from the directory into a dialog: its corrections for whatever moment is
// typed next, popa.ctl of the working directory read once.
class DirectoryTown {
  public:
    explicit DirectoryTown(TownCard card);
    const TownCard& Card() const { return card_; }
    // Hours to add to the local moment to get GMT.
    double CorrectionAt(double jdLocal) const;
    TownLocalMoment LocalMomentAt(double jdUT) const;

  private:
    const PopaCtl* Popa() const { return popa_ ? &*popa_ : nullptr; }
    TownCard card_;
    std::optional<PopaCtl> popa_;
};

// The longitude text a town fills in.
std::string FilledLongitude(std::string_view field6);

// A town as the build writes it into the directory.
struct TownSource {
    std::string name;           // displayed name
    std::string latin;          // Latin name, ASCII
    bool russianWorld = false;  // found by its Russian name only
    TownCard card;              // fields 2, 5, 6, 7, 11, 12 filled; key not yet
};

struct TownKey {
    std::string key;  // OEM
    size_t town;      // index into the sources
    bool latin;       // the key comes from the Latin name
};

// Keys of the towns, given most important first: every town is reachable by the
// first 16 characters of its displayed name (and of that name with Е for Ё), and
// towns outside the Russian-speaking world also by their Latin names. Namesakes keep
// the name and add "#" and a counter; the first of them keeps the bare name.
std::vector<TownKey> AssignTownKeys(const std::vector<TownSource>& towns);

}  // namespace orbeta
