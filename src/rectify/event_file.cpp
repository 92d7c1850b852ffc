#include "rectify/event_file.h"

#include "core/calendar.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

EventFile ParseEventText(std::string_view text) {
    EventFile file;
    std::vector<std::string> lines = SplitLines(text);
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string& line = lines[k];
        if (!IsMeaningfulLine(line)) continue;
        if (line[0] == '#') {
            file.types.push_back({std::string(Trimmed(std::string_view(line).substr(1))), {}});
            continue;
        }
        if (file.types.empty()) continue;  // the file's title line
        file.types.back().rules.push_back({static_cast<int>(k + 1), line});
    }
    for (const EventType& type : file.types) {
        size_t at = type.name.rfind(" @");
        if (at == std::string::npos) continue;
        DatedEvent e;
        e.name = std::string(Trimmed(std::string_view(type.name).substr(0, at)));
        e.dateText = std::string(Trimmed(std::string_view(type.name).substr(at + 2)));
        DateParts parts;
        // A year outside the ephemeris data (−4712..5399) is no date of a life either.
        if (!DatePartsOfDateTimeText(e.dateText, parts) || !ImpossibleDateText(parts).empty() ||
            parts.year < -4712 || parts.year > 5399) {
            ++file.unreadableDates;
            continue;
        }
        e.jdLocal = JulianDay(parts);
        e.rules = type.rules;
        file.events.push_back(std::move(e));
    }
    return file;
}

std::optional<EventFile> ReadEventFile(const std::filesystem::path& path) {
    std::optional<std::string> bytes = ReadFileBytes(path.string());
    if (!bytes) return std::nullopt;
    return ParseEventText(*bytes);
}

std::string EventFileHeader(std::string_view name) {
    return std::string("Файл событий "_cp) + std::string(name) + "\n";
}

std::string EventEntryText(const EventType& type, std::string_view date) {
    std::string text = "#" + type.name + " @" + std::string(date) + "\n";
    for (const RuleLine& r : type.rules) text += r.text + "\n";
    return text;
}

}  // namespace orbeta
