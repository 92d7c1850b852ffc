#pragma once
// Fixed stars: the star line of the catalogues (starbb.ctl, star.ctl) and the position
// of a star at a moment, precessed from J2000.0 with its proper motion.
#include <optional>
#include <string>
#include <string_view>

namespace orbeta {

struct StarEntry {
    std::string name;        // as written in the file (OEM bytes until converted)
    double raHours = 0;      // right ascension J2000.0, hours
    double declination = 0;  // J2000.0, degrees
    double pmRa = 0;         // 0.01 s of time per century
    double pmDec = 0;        // 0.01" per century
    double magnitude = 0;    // field 5
    int number = 0;          // field 6: selects the texts of the star
    int heliacalClass = 0;   // field 7
};

// Why a star line was refused.
enum class StarLineError { None, TooFewFields, NotANumber, RightAscension, Declination };

// A line "=name ra dec pmRa pmDec magnitude number class" (blank-separated fields after
// the "="; the name is one field). Fields past the eighth are ignored. The error says
// why a line that is not a star was refused; a line not beginning with "=" is
// TooFewFields.
std::optional<StarEntry> ParseStarLine(std::string_view line, StarLineError* error = nullptr);

struct StarPosition {
    double rightAscension = 0;  // degrees [0, 360), mean equator and equinox of date
    double declination = 0;     // degrees
    double longitude = 0;       // ecliptic of date by the mean obliquity, [0, 360)
    double latitude = 0;
};

// Rigorous precession from J2000.0 (ζ, z, θ with the proper motion applied first), then
// the ecliptic by the mean obliquity of the moment. jd is a Julian day (UT is close
// enough for precession).
StarPosition StarPositionAt(const StarEntry& star, double jd);

}  // namespace orbeta
