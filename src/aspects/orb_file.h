#pragma once
// Aspect-and-orb files (*.ao): which aspects are looked for and how wide each may be
// for each chart point. One line per aspect, in the order that decides which aspect
// wins when two fit.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart_record.h"

namespace orbeta {

struct AspectRecord {
    float angle = 0;
    std::array<float, kPointCount> orbs{};  // by PointId − 1
    uint8_t off = 0;                        // 1 = switched off ("Откл")
    uint8_t reserved = 0;                   // kept as read
    uint8_t lineStyle = 0;                  // 0 solid, 2 dashed
    int32_t colour = -1;                    // −1 = the standard colour of the angle

    float Orb(int pointId) const {
        return pointId >= 1 && pointId <= kPointCount ? orbs[pointId - 1] : 0.0f;
    }
    bool IsOff() const { return off != 0; }
    bool operator==(const AspectRecord&) const = default;
};

constexpr int kLineSolid = 0;
constexpr int kLineDashed = 2;

struct OrbTable {
    std::vector<AspectRecord> aspects;
    // The largest orb read, never below 1.0: a pair farther than this from an angle
    // cannot be in orb for any point, so the search skips it at once.
    float largestOrb = 1.0f;

    // The first aspect whose angle equals the given one exactly; nullptr when none.
    const AspectRecord* Find(float angle) const;
    bool operator==(const OrbTable&) const = default;
};

// One line of an orb file; nullopt for a line that holds no aspect (blank, comment,
// or beginning with the byte 1).
std::optional<AspectRecord> ParseAspectLine(std::string_view line);

// The whole text of an orb file. Switched-off aspects are kept only when asked for;
// those left out do not count for the largest orb.
OrbTable ParseOrbTable(std::string_view text, bool includeOff);

// The line written for one aspect, with its line feed.
std::string AspectLineText(const AspectRecord& aspect);

// Reads a table. A file that cannot be opened is reported ("Не открывается файл %s")
// and the table is read from the fallback file (the current table's file) instead;
// when that fails too the table is empty. An empty name goes to the fallback quietly.
OrbTable LoadOrbTable(const std::filesystem::path& path, const std::filesystem::path& fallbackPath,
                      bool includeOff);

// Writes every aspect, switched-off ones included, in list order. The old file stays
// whole when the new one cannot be written; that is reported ("Не записывается файл
// %s") and false returned.
bool SaveOrbTable(const std::filesystem::path& path, const OrbTable& table);

// The orb-file name of the current table when the settings name none.
constexpr const char* kDefaultOrbFile = "0.ao";

// The four orb files of the settings: the current table, then the tables for
// transits, progressions and directions.
constexpr int kOrbSlotCount = 4;
enum OrbSlot { kOrbSlotCurrent = 0, kOrbSlotTransits, kOrbSlotProgressions, kOrbSlotDirections };

// The table of one slot without its switched-off aspects. The names are the profile's
// (CP1251); an unnamed or unreadable file falls back to the current table's file (0.ao when that is
// unnamed too).
OrbTable LoadOrbSlot(const std::array<std::string, kOrbSlotCount>& orbFiles, int slot);

}  // namespace orbeta
