#include "data/popa_ctl.h"

#include <algorithm>

#include "core/calendar.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Tokens of one line up to an unquoted '&'; tells whether the line continues.
bool TokensOfLine(std::string_view line, PopaLine& out) {
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        if (line[i] == '&') return true;
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos) end = line.size();
            out.emplace_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        size_t start = i;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != '&') ++i;
        out.emplace_back(line.substr(start, i - start));
    }
    return false;
}

// Hours of "HH[:MM[:SS]]"; parts that are not numbers count as 0.
double HoursOf(std::string_view text) {
    double hours = 0, unit = 1;
    for (int part = 0; part < 3; ++part) {
        size_t colon = text.find(':');
        std::string_view piece = text.substr(0, colon);
        long v = 0;
        for (char c : piece) {
            if (c < '0' || c > '9') break;
            if (v < 100000) v = v * 10 + (c - '0');
        }
        hours += static_cast<double>(v) * unit;
        unit /= 60;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    return hours;
}

}  // namespace

const std::vector<PopaLine>* PopaCtl::Find(std::string_view name) const {
    for (const auto& s : sections)
        if (std::find(s.names.begin(), s.names.end(), name) != s.names.end()) return &s.lines;
    return nullptr;
}

PopaCtl ParsePopaCtl(std::string_view text) {
    PopaCtl ctl;
    PopaSection* current = nullptr;
    PopaLine pending;
    bool continuing = false;
    auto finish = [&] {
        if (current && continuing && !pending.empty()) current->lines.push_back(std::move(pending));
        pending.clear();
        continuing = false;
    };
    for (const auto& line : SplitLines(text)) {
        if (line.rfind("@@", 0) == 0) {
            finish();
            PopaSection section;
            TokensOfLine(std::string_view(line).substr(2), section.names);
            ctl.sections.push_back(std::move(section));
            current = &ctl.sections.back();
            continue;
        }
        if (!IsMeaningfulLine(line) || !current) continue;
        bool more = TokensOfLine(line, pending);
        continuing = true;
        if (!more) finish();
    }
    finish();
    return ctl;
}

std::optional<PopaCtl> ReadPopaCtl(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return ParsePopaCtl(*bytes);
}

double PopaMoment(std::string_view date) {
    double jd = JulianDayOfDateText(date);
    size_t dots = 0, i = 0;
    for (; i < date.size() && dots < 3; ++i)
        if (date[i] == '.') ++dots;
    if (dots == 3) jd += HoursOf(date.substr(i)) / 24.0;
    return jd;
}

}  // namespace orbeta
