#pragma once
// Up to eight hypothetical bodies whose orbital elements (epoch and equinox
// 1900 January 0.5) are read from swurn.ctl.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/computation.h"

namespace orbeta {

struct OrbitalElements {
    int number = 0;            // 1..8
    double meanAnomaly = 0;    // degrees at JD 2415020.0
    double semiMajorAxis = 0;  // AU
    double eccentricity = 0;
    double perihelion = 0;   // argument of perihelion, degrees
    double node = 0;         // longitude of the ascending node, degrees
    double inclination = 0;  // degrees
};

// Element lines of a swurn.ctl text. Lines numbered outside 1..8 are ignored;
// missing tokens read as 0. A line whose orbit cannot be solved (a ≤ 0, e outside
// [0, 1)) is refused with a warning in the diagnostics and its body stays empty.
std::vector<OrbitalElements> ParseHypotheticalElements(const std::string& text,
                                                       Diagnostics& diagnostics);

// The elements of one reading of swurn.ctl.
struct HypotheticalSet {
    std::vector<OrbitalElements> elements;
};

// The working directory's swurn.ctl, read once and again only when the file changes
// (size or modification time): a search of many charts neither reads the file nor
// warns about it more than once. The warnings of a reading go to the diagnostics.
std::shared_ptr<const HypotheticalSet> CurrentHypotheticalSet(Diagnostics& diagnostics);

// The longitude of a hypothetical body that has none (0 is a real longitude, 0° Aries).
constexpr double kNoHypotheticalLongitude = 999;

// Geocentric longitudes of bodies 1..8 (index 0..7) at a Julian day UT from the
// computation's elements (the current swurn.ctl when its context has none); a body
// without a usable line, without swurn.ctl or whose computation failed gets
// kNoHypotheticalLongitude.
std::array<double, 8> HypotheticalLongitudes(Computation& c, double jdUT);

}  // namespace orbeta
