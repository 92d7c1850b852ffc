#include "core/ephemeris_files.h"

#include <cmath>

#include "core/calendar.h"
#include "core/ephemeris.h"
#include "platform/format.h"
#include "platform/text_file.h"

namespace orbeta {

bool DirectoryOfControlText(const std::string& text, std::string& prefix) {
    for (const auto& line : SplitLines(text)) {
        if (!IsMeaningfulLine(line)) continue;
        std::string dir = line;
        while (!dir.empty() && (dir.back() == ' ' || dir.back() == '\t')) dir.pop_back();
        if (!dir.empty() && dir.back() != '/') dir += '/';
        prefix = dir;
        return true;
    }
    return false;
}

bool FindEphemerisDirectory(std::string& prefix) {
    if (auto text = ReadFileBytes("dirswe.ctl"); text && DirectoryOfControlText(*text, prefix))
        return true;
    if (FileExists("sepl_18.se1")) {
        prefix.clear();
        return true;
    }
    return false;
}

int EphemerisFileCentury(int year) {
    int century = year >= 0 ? year / 100 : -((-year + 99) / 100);
    int rem = ((century % 6) + 6) % 6;
    return century - rem;
}

std::string EphemerisFileName(int libraryBody, double jdUT, const std::string& prefix) {
    if (libraryBody > kAsteroidOffset)
        return Format("%sse%05ds.se1", prefix.c_str(), libraryBody - kAsteroidOffset);
    const char* kind = libraryBody == 1 ? "mo" : (libraryBody >= 15 ? "as" : "pl");
    int century = EphemerisFileCentury(DatePartsOf(jdUT).year);
    return Format("%sse%s%c%02d.se1", prefix.c_str(), kind, century >= 0 ? '_' : 'm',
                  std::abs(century));
}

}  // namespace orbeta
