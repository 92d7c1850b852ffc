#include "aspects/orb_file.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

constexpr int kMaxNumbers = 1 + kPointCount;  // the angle and 27 orbs
constexpr int kSavedOrbs = 21;                // bodies and cusps 1..6
constexpr int kFirstCopiedCusp = PointOfCusp(7);

std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> parts;
    size_t i = 0;
    while (i < text.size()) {
        size_t start = text.find_first_not_of(separators, i);
        if (start == std::string_view::npos) break;
        size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) end = text.size();
        parts.push_back(text.substr(start, end - start));
        i = end;
    }
    return parts;
}

// The leading number of a token, 0 when it has none. Values beyond the range of a
// float become infinite rather than undefined.
float FloatOf(std::string_view token) {
    std::string s(token);
    double v = std::strtod(s.c_str(), nullptr);
    if (v > FLT_MAX) return INFINITY;
    if (v < -FLT_MAX) return -INFINITY;
    return static_cast<float>(v);
}

long LongOf(std::string_view token) {
    std::string s(token);
    long v = std::strtol(s.c_str(), nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return v;
}

uint8_t ByteOf(std::string_view token) {
    return static_cast<uint8_t>(static_cast<unsigned long>(LongOf(token)));
}

bool CuspsSevenToTwelveAreCopies(const AspectRecord& a) {
    for (int p = kFirstCopiedCusp; p <= kPointCount; ++p)
        if (!(a.Orb(p) == a.Orb(p - 6))) return false;
    return true;
}

void RaiseLargestOrb(OrbTable& table, const AspectRecord& a, int orbsRead) {
    for (int p = 1; p <= orbsRead; ++p)
        if (a.Orb(p) > table.largestOrb) table.largestOrb = a.Orb(p);
}

// The aspect of a line and how many orbs the line itself gave.
std::optional<std::pair<AspectRecord, int>> ReadLine(std::string_view line) {
    if (!IsMeaningfulLine(line) || line[0] == '\x01') return std::nullopt;
    AspectRecord a;
    size_t s = line.find('S');
    std::string_view numbers = line.substr(0, s);
    if (s != std::string_view::npos) {
        auto tail = Split(line.substr(s + 1), " \t");
        if (tail.size() > 0) a.off = ByteOf(tail[0]);
        if (tail.size() > 1) a.reserved = ByteOf(tail[1]);
        if (tail.size() > 2) a.colour = static_cast<int32_t>(LongOf(tail[2]));
        if (tail.size() > 3) a.lineStyle = ByteOf(tail[3]);
    }
    bool byteOneSeparated = line.find('\x01') != std::string_view::npos;
    auto parts = Split(numbers, byteOneSeparated ? std::string_view("\x01", 1) : " \t");
    int count = std::min(static_cast<int>(parts.size()), kMaxNumbers);
    if (count > 0) a.angle = FloatOf(parts[0]);
    for (int i = 1; i < count; ++i) a.orbs[i - 1] = FloatOf(parts[i]);
    int orbsRead = std::max(count - 1, 0);
    // Cusps 7..12 not given take the orbs of the opposite cusps.
    for (int p = std::max(orbsRead + 1, kFirstCopiedCusp); p <= kPointCount; ++p)
        a.orbs[p - 1] = a.orbs[p - 7];
    return std::make_pair(a, orbsRead);
}

}  // namespace

const AspectRecord* OrbTable::Find(float angle) const {
    for (const auto& a : aspects)
        if (a.angle == angle) return &a;
    return nullptr;
}

std::optional<AspectRecord> ParseAspectLine(std::string_view line) {
    auto read = ReadLine(line);
    if (!read) return std::nullopt;
    return read->first;
}

OrbTable ParseOrbTable(std::string_view text, bool includeOff) {
    OrbTable table;
    for (const auto& line : SplitLines(text)) {
        auto read = ReadLine(line);
        if (!read || (read->first.IsOff() && !includeOff)) continue;
        RaiseLargestOrb(table, read->first, read->second);
        table.aspects.push_back(read->first);
    }
    return table;
}

std::string AspectLineText(const AspectRecord& a) {
    // Cusps 7..12 with orbs of their own are written out; otherwise the short line
    // that older files have, whose reader copies them from cusps 1..6.
    int orbs = CuspsSevenToTwelveAreCopies(a) ? kSavedOrbs : kPointCount;
    std::string line = Format("%6.1f", static_cast<double>(a.angle));
    for (int p = 1; p <= orbs; ++p) line += Format(" %4.1f", static_cast<double>(a.Orb(p)));
    line += " S ";
    line += Format("%d %d %ld %d\n", a.off, a.reserved, static_cast<long>(a.colour), a.lineStyle);
    return line;
}

OrbTable LoadOrbTable(const std::filesystem::path& path, const std::filesystem::path& fallbackPath,
                      bool includeOff) {
    std::optional<std::string> bytes;
    if (!path.empty()) {
        bytes = ReadFileBytes(path.string());
        if (!bytes)
            Svc().Warning(Format("Не открывается файл %s"_cp, PathForMessage(path).c_str()));
    }
    if (!bytes && !fallbackPath.empty() && fallbackPath != path) {
        bytes = ReadFileBytes(fallbackPath.string());
        if (!bytes)
            Svc().Warning(
                Format("Не открывается файл %s"_cp, PathForMessage(fallbackPath).c_str()));
    }
    if (!bytes) return OrbTable{};
    return ParseOrbTable(*bytes, includeOff);
}

OrbTable LoadOrbSlot(const std::array<std::string, kOrbSlotCount>& orbFiles, int slot) {
    const std::string& current = orbFiles[kOrbSlotCurrent];
    std::filesystem::path fallback = PathOfProfileName(current.empty() ? kDefaultOrbFile : current);
    if (slot < 0 || slot >= kOrbSlotCount) return LoadOrbTable(fallback, {}, false);
    return LoadOrbTable(PathOfProfileName(orbFiles[slot]), fallback, false);
}

bool SaveOrbTable(const std::filesystem::path& path, const OrbTable& table) {
    std::string text;
    for (const auto& a : table.aspects) text += AspectLineText(a);
    if (WriteFileAtomically(path.string(), text)) return true;
    Svc().Warning(Format("Не записывается файл %s"_cp, PathForMessage(path).c_str()));
    return false;
}

}  // namespace orbeta
