#include "core/star_catalogue.h"

#include <cmath>

#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

constexpr double kMaxProperMotion = 1e7;

const char* Reason(StarLineError e) {
    switch (e) {
        case StarLineError::TooFewFields:
            return "fewer than eight fields";
        case StarLineError::NotANumber:
            return "a field is not a number";
        case StarLineError::RightAscension:
            return "right ascension outside [0, 24)";
        case StarLineError::Declination:
            return "declination outside [-90, 90]";
        case StarLineError::None:
            break;
    }
    return "";
}

}  // namespace

std::vector<StarEntry> ParseStarCatalogue(std::string_view text, Diagnostics& diagnostics,
                                          std::vector<std::string>* refusedLines) {
    std::vector<StarEntry> stars;
    int refused = 0, lineNumber = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() != '=') continue;
        StarLineError error = StarLineError::None;
        auto star = ParseStarLine(line, &error);
        // No star moves nearly this fast (the fastest is near 1e5 in these units); such
        // a number would only carry the position of date off to infinity.
        const char* reason =
            !star ? Reason(error)
            : std::fabs(star->pmRa) > kMaxProperMotion || std::fabs(star->pmDec) > kMaxProperMotion
                ? "proper motion out of range"
                : nullptr;
        if (reason) {
            ++refused;
            if (refusedLines)
                refusedLines->push_back(
                    Format("starbb.ctl, line %d: star refused, %s", lineNumber, reason));
            continue;
        }
        star->name = OemToAnsi(star->name);
        stars.push_back(std::move(*star));
    }
    if (refused > 0)
        diagnostics.Add(DiagnosticKind::Warning,
                        Format("В файле starbb.ctl пропущено неверных строк: %d"_cp, refused));
    return stars;
}

StarCatalogue ReadStarCatalogue(const std::filesystem::path& path, Diagnostics& diagnostics) {
    StarCatalogue catalogue;
    auto bytes = ReadFileBytes(path.string());
    if (!bytes) {
        diagnostics.Add(DiagnosticKind::Warning,
                        Format("Не открывается файл %s"_cp, path.filename().string().c_str()));
        return catalogue;
    }
    catalogue.opened = true;
    std::vector<std::string> refused;
    catalogue.stars = ParseStarCatalogue(*bytes, diagnostics, &refused);
    for (const std::string& line : refused) Journal(line);
    return catalogue;
}

}  // namespace orbeta
