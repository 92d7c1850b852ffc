#pragma once
// Altitudes of bodies above the horizon and the moments at which they cross a
// threshold: rises, sets and, with another function, new moons.
#include <functional>

#include "core/computation.h"

namespace orbeta {

// A place in degrees: latitude north positive, longitude east positive.
struct SkyPlace {
    double latitude = 0;
    double longitude = 0;
};

// The centre altitude (degrees) of a BodyId at a Julian day UT, from its
// geocentric place.
double AltitudeOf(Computation& c, int body, double jdUT, const SkyPlace& place);

// The centre altitude at which a body is taken to rise or set: the Sun's upper limb
// with refraction, the Moon's with its parallax, a point for the planets.
double RiseAltitude(int body);

// The first moment in (from, to] at which f passes from negative to non-negative
// (upward) or back (downward), scanning in steps of 0.1 day; −1 when there is none.
double FindCrossing(const std::function<double(double)>& f, double from, double to, bool upward);

// The root of f between a and b (f(a) and f(b) of opposite signs) by false position
// with a bisection step after each estimate; after 21 rounds the journal gets the
// bracket and the last estimate is taken.
double RefineCrossing(const std::function<double(double)>& f, double a, double b);

// The first rise and the first set of a body within one day from fromUT; −1 where
// there is none.
struct RiseSet {
    double rise = -1;
    double set = -1;
};
RiseSet RiseSetOf(Computation& c, int body, double fromUT, const SkyPlace& place);

}  // namespace orbeta
