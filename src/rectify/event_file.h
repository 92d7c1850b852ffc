#pragma once
// Event files: the standard event description file events.ctl (event types, each a
// "#" line with its name followed by its rule lines) and a person's event files
// (*.sb), whose "#" lines name an event type and its date after " @". Texts are
// CP1251; blank lines and lines beginning with '*' carry nothing.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

struct RuleLine {
    int line = 0;      // 1-based line number in its file
    std::string text;  // CP1251, as written
};

// A "#" block: its name (the whole rest of the line) and its rule lines.
struct EventType {
    std::string name;
    std::vector<RuleLine> rules;
};

// A "#" block with a readable date after its last " @".
struct DatedEvent {
    std::string name;      // the text before " @"
    std::string dateText;  // the text after " @", blanks trimmed
    double jdLocal = 0;    // local Julian day of the date
    std::vector<RuleLine> rules;
};

struct EventFile {
    std::vector<EventType> types;    // every block, in file order
    std::vector<DatedEvent> events;  // the blocks with a readable date
    int unreadableDates = 0;         // blocks with " @" whose date could not be read
};

// Any bytes are read; nothing is refused.
EventFile ParseEventText(std::string_view text);

// nullopt when the file cannot be read.
std::optional<EventFile> ReadEventFile(const std::filesystem::path& path);

// The first line of a new event file named `name` (CP1251), with its line feed.
std::string EventFileHeader(std::string_view name);

// The lines appended for a new event: "#" name " @" date, then the type's rule lines.
std::string EventEntryText(const EventType& type, std::string_view date);

}  // namespace orbeta
