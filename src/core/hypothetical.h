#pragma once
// Up to eight hypothetical bodies whose orbital elements (epoch and equinox
// 1900 January 0.5) are read from swurn.ctl.
#include <array>
#include <string>
#include <vector>

namespace orbeta {

struct OrbitalElements {
    int number = 0;             // 1..8
    double meanAnomaly = 0;     // degrees at JD 2415020.0
    double semiMajorAxis = 0;   // AU
    double eccentricity = 0;
    double perihelion = 0;      // argument of perihelion, degrees
    double node = 0;            // longitude of the ascending node, degrees
    double inclination = 0;     // degrees
};

// Element lines of a swurn.ctl text. Lines numbered outside 1..8 are ignored;
// missing tokens read as 0. A line whose orbit cannot be solved (a ≤ 0, e outside
// [0, 1)) is refused with a warning and its body stays empty.
std::vector<OrbitalElements> ParseHypotheticalElements(const std::string& text);

// Geocentric longitudes of bodies 1..8 (index 0..7) at a Julian day UT from the
// working directory's swurn.ctl; entries without a usable line stay 0.
std::array<double, 8> HypotheticalLongitudes(double jdUT);

}  // namespace orbeta
