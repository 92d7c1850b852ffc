#pragma once
// Body positions from the ephemeris library and its data files. The library keeps
// one process-wide state, and so does this adapter.
#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <unordered_map>

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
// The nutation in longitude at a moment, in degrees.
double NutationInLongitude(double jdUT);

// Single bodies at many scattered moments (the crossings a search refines, the houses
// of its records) for about half the cost of CalcBody: most of a call at a new moment
// goes to the nutation, so the library gives the longitude on the mean equinox of date
// and the nutation in longitude, which is all the difference, is interpolated over
// eight daily values (off by 0.00001″ at most; exact for bodies slower than kSlowBody
// when the speed is asked for, where a crossing's moment would feel even that; speeds
// within 0.04″ a day). Moments within a few days of each other share the daily values.
class ScatteredPositions {
  public:
    static constexpr double kGridStep = 1.0;
    static constexpr int kGridNodes = 8;
    static constexpr double kSlowBody = 0.05;  // degrees a day

    explicit ScatteredPositions(Computation& c) : c_(c) {}
    BodyPosition At(double jdUT, int body, bool withSpeed);
    // Called right after bodies were computed at jdUT, while the library still holds
    // that moment's nutation: the daily values are laid through the first such moment,
    // and one on them costs nothing.
    void Prime(double jdUT);

  private:
    bool Reducible(int body) const;
    double GridNutation(long node);
    double InterpolatedNutation(double jdUT, double& rate);

    Computation& c_;
    double origin_ = std::nan("");
    std::unordered_map<long, double> grid_;
    long lastNode_ = LONG_MIN;  // the grid values last interpolated over, from this node on
    double lastValues_[kGridNodes] = {};
};

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
