#pragma once
// The towns check of every start, without reading the shipped store when it is the
// one the workspace was last found up to date with.
#include <string>

#include "data/town_refresh.h"

namespace orbeta {

// Name of the workspace file that remembers the last check: the manifest's
// fingerprints of the shipped store's files, and the towns version that store holds.
inline constexpr const char* kTownsChecked = ".towns";

// RefreshTownCards(templateDir/stem, stem) in the working directory, except that the
// shipped store is not opened when its fingerprints in the template's manifest are
// those of the last check and the workspace's store holds the version found then.
TownRefresh CheckTownCards(const std::string& templateDir, const std::string& stem,
                           const TownRefreshProgress& progress = {});

}  // namespace orbeta
