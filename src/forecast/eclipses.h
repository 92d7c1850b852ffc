#pragma once
// Solar and lunar eclipses from the lunation series of Meeus (mean lunation number,
// perturbations of the moment, gamma and u), each moment then refined against the
// ephemeris to the syzygy in longitude.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/computation.h"

namespace orbeta {

constexpr double kLunationEpoch = 2415020.0;
constexpr double kSynodicMonth = 29.53058868;

enum EclipseType : int32_t {
    kNoEclipse = 0,
    kTotalEclipse = 1,
    kAnnularEclipse = 2,
    kPartialEclipse = 3,
    kHybridEclipse = 4,  // annular-total
    kPenumbralEclipse = 6,
};
enum EclipseLuminary : int32_t { kSolarEclipse = 1, kLunarEclipse = 2 };

struct EclipseRecord {
    double moment = 0;  // Julian day UT
    int32_t type = kNoEclipse;
    int32_t luminary = kSolarEclipse;
};
static_assert(sizeof(EclipseRecord) == 16);

// The quantities of lunation k (an integer for a new moon, + 0.5 for a full moon);
// angles in degrees within [0, 360), the moment in ephemeris time.
struct Lunation {
    double k = 0, T = 0, M = 0, Mp = 0, F = 0;
    double moment = 0;
    double S = 0, C = 0, gamma = 0, u = 0;
};
Lunation LunationOf(double k);

// Type of the eclipse at a lunation, by the limits of gamma and u.
int SolarEclipseType(const Lunation& l);
int LunarEclipseType(const Lunation& l);

// The type of the eclipse at the new moon (full moon) nearest the moment, which
// becomes that lunation's computed moment (ephemeris time), also without an eclipse.
int SolarEclipseAt(double& moment);
int LunarEclipseAt(double& moment);

// The syzygy near a lunation's computed moment (ephemeris time): Sun (+ 180 for a
// lunar eclipse) and Moon equal in longitude, by bisection to 1.574e-6 day within
// 0.1 day of the moment less ΔT, or 0.5 day when that does not bracket it. False
// when neither brackets it (no positions): the moment is then no eclipse moment.
bool RefineSyzygy(Computation& c, double moment, bool lunar, double& syzygy);

// Appends the eclipses of a luminary whose refined moments lie in [from, to). A year
// step calls stepped (when given); its false ends the search with what was found.
// Returns false when ended so or when a lunation could not be refined.
bool FindEclipses(Computation& c, std::vector<EclipseRecord>& list, double from, double to,
                  int luminary, const std::function<bool()>& stepped = {});

// The list in time order, a line per eclipse (CP1251): the date and time of the
// moment less the correction (days), the kind, the type and the luminary's longitude.
std::string EclipseListText(Computation& c, std::vector<EclipseRecord> list, double correction);

// The title line of the eclipse report of an interval: "Затмения dd.mm.yyyy - dd.mm.yyyy".
std::string EclipseTitleLine(double from, double to);

}  // namespace orbeta
