#pragma once
// A town card of the towns directory: the fields of a record of the "abasa" store
// that the directory uses. Texts are as stored, except name and where, which are
// CP1251 here (OEM in the store). An empty field is a missing one.
#include <string>

namespace orbeta {

struct TownCard {
    std::string key;              // "t." and the name in capitals, OEM, at most 20 bytes
    std::string zoneCode;         // field 2: line of section PopTime of popa.ctl
    std::string fixedCorrection;  // field 4: hours east of Greenwich; overrides field 2
    std::string latitude;         // field 5: packed degrees.minutes
    std::string longitude;        // field 6: packed degrees.minutes, west negative
    std::string name;             // field 7: the name as displayed
    std::string dstSection;       // field 11: daylight-saving section of popa.ctl
    std::string where;            // field 12: region and country, shown in the list
};

enum TownField : int {
    kTownZoneCode = 2,
    kTownFixedCorrection = 4,
    kTownLatitude = 5,
    kTownLongitude = 6,
    kTownName = 7,
    kTownDstSection = 11,
    kTownWhere = 12,
};

inline constexpr const char* kTownsStem = "abasa";
inline constexpr const char* kTownKeyPrefix = "t.";

}  // namespace orbeta
