#pragma once
// Where the ephemeris data files are: the directory lookup and the names of the
// files that cover a date.
#include <string>

namespace orbeta {

// The directory prefix from dirswe.ctl (first meaningful line, a missing final '/'
// supplied), or "" when sepl_18.se1 lies in the working directory; false when neither.
bool FindEphemerisDirectory(std::string& prefix);
// The prefix a dirswe.ctl text names; false when it has no meaningful line.
bool DirectoryOfControlText(const std::string& text, std::string& prefix);

// Century of the first year that the 600-year file holding year `year` covers.
int EphemerisFileCentury(int year);

}  // namespace orbeta
