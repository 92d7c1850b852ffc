#pragma once
// Lunar days: the first runs from a new moon to the next moonrise, each following one
// from moonrise to moonrise; the day in which the next new moon falls ends there.
#include <vector>

#include "forecast/rise_set.h"

namespace orbeta {

// The first new moon (the Moon passing the Sun in longitude) after fromUT, searched
// for 40 days; −1 when none is found.
double NextNewMoon(Computation& c, double fromUT);

// Moonrises after fromUT up to toUT, in order.
std::vector<double> MoonrisesBetween(Computation& c, double fromUT, double toUT,
                                     const SkyPlace& place);

// The number of the lunar day containing a moment, from a new moon before it, the
// new moon after that and the moonrises after the first new moon in order.
int LunarDayAt(double moment, double newMoon, double nextNewMoon,
               const std::vector<double>& moonrises);

// The lunar day at a moment and place: new moons from 30 days before it, moonrises
// up to 2 days after it.
struct LunarDayResult {
    int number = 0;
    double newMoon = -1;
    double nextNewMoon = -1;
};
LunarDayResult LunarDayOf(Computation& c, double jdUT, const SkyPlace& place);

}  // namespace orbeta
