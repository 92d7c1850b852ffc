#pragma once
// The star catalogue starbb.ctl: "=" lines of stars (OEM text), other lines ignored.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/computation.h"
#include "core/fixed_star.h"

namespace orbeta {

struct StarCatalogue {
    std::vector<StarEntry> stars;  // in file order, names in CP1251
    bool opened = false;           // false: the file could not be read
};

// Stars of a catalogue text (OEM). A star line that is refused (fewer than eight
// fields, a field that is no number, RA outside [0, 24), Dec outside [-90, 90]) adds
// to `refused` a line for the journal; one warning in the diagnostics gives their count.
std::vector<StarEntry> ParseStarCatalogue(std::string_view text, Diagnostics& diagnostics,
                                          std::vector<std::string>* refused = nullptr);

// Reads the file, journaling the refused lines. Missing: the warning "Не открывается
// файл starbb.ctl" (with the file's name) and an empty catalogue that is not opened.
StarCatalogue ReadStarCatalogue(const std::filesystem::path& path, Diagnostics& diagnostics);

}  // namespace orbeta
