#pragma once
// Between the ephemeris adapter and the hypothetical bodies: the library's
// fictitious-body facility reads its elements from seorbel.txt on its path.
#include <string>

#include "core/computation.h"

namespace orbeta::detail {

// Longitudes of the first `count` element lines of elementsDir/seorbel.txt; a line the
// library cannot compute keeps `failed`.
bool FictitiousLongitudes(Diagnostics& d, double jdUT, const std::string& elementsDir, int count,
                          double out[], double failed);

}  // namespace orbeta::detail
