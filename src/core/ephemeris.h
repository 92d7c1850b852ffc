#pragma once
// Body positions from the ephemeris library and its data files. The library keeps
// one process-wide state, and so does this adapter.
#include <array>
#include <string>

#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

// Library-range ids beyond the chart's bodies: 16..20 Pholus, Ceres, Pallas, Juno,
// Vesta; 10000 + n the numbered asteroid n.
constexpr int kAsteroidOffset = 10000;

// Finds the directory (dirswe.ctl, then the working directory), checks that the
// planetary, lunar and main-asteroid files of 1800–2399 open, and sets the library's
// path. A missing directory or file is fatal: the program cannot start without them.
void OpenEphemeris();
// The directory prefix in use ("" or ending with '/').
const std::string& EphemerisDirectory();
void CloseEphemeris();

struct BodyPosition {
    double lon = 0;
    double lat = 0;
    double speed = 0;
};

// Position of a BodyId (1..15) or library-range id at a Julian day UT under the
// computation's options. A body the library cannot give stays all 0, and the reason
// (a missing or damaged file) goes to the computation's diagnostics. Any other id is
// a fault of the caller.
void CalcBody(Computation& c, double jdUT, int body, double& lon, double& lat, double& speed);
BodyPosition CalcBody(Computation& c, double jdUT, int body);
double BodyLongitude(Computation& c, double jdUT, int body);
// The longitude alone, without the speed: cheaper, for samples that need no rate.
// The last bits may differ from CalcBody's (the library reduces the two differently).
double CalcLongitude(Computation& c, double jdUT, int body);
// Library calls made in this process so far (a cheap counter for measurements).
long EphemerisCalls();
void SunMoonLongitudes(Computation& c, double jdUT, double& sun, double& moon);

// All fifteen bodies of a chart at its jdCalc.
void CalcBodies(Computation& c, ChartRecord& chart);

// ΔT in days.
double DeltaT(double jdUT);

// 0 never retrograde, 1 always retrograde, 2 may change direction.
int MotionKind(const EphemerisOptions& options, int body);

// Name of the data file that holds a library body at a date: "sepl_18.se1",
// "seplm06.se1", "se00433s.se1", with the directory prefix.
std::string EphemerisFileName(int libraryBody, double jdUT, const std::string& prefix);

// Library body of a BodyId under the options; −1 for SEL and PRZ.
int LibraryBody(const EphemerisOptions& options, int body);

}  // namespace orbeta
