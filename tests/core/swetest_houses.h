#pragma once
// House cusps from swetest, the library's own program, run as a separate process.
#include <cstdio>
#include <string>

#include "../support/test_support.h"
#include "platform/format.h"

namespace orbeta::test {

struct OracleHouses {
    bool ok = false;
    double cusp[13] = {};
    double mc = 0;
    double armc = 0;
};

// Cusps at a Julian day UT and place (degrees, east and north positive) in the system
// of a swetest letter. With meanSky the library leaves out nutation: mean obliquity and
// mean sidereal time, as our house formulas use.
inline OracleHouses SwetestHouses(double jdUT, double lonDeg, double latDeg, char system,
                                  bool meanSky = true) {
    std::string cmd = Format(
        "env -u SE_EPHE_PATH swetest -bj%.9f -ut -p -house%.9f,%.9f,%c -fPl -g, -head -eswe "
        "-edir%s %s 2>&1",
        jdUT, lonDeg, latDeg, system, kEpheDir, meanSky ? "-nonut" : "");
    OracleHouses h;
    auto result = RunCommand(cmd);
    int found = 0;
    size_t start = 0;
    while (start < result.out.size()) {
        size_t end = result.out.find('\n', start);
        if (end == std::string::npos) end = result.out.size();
        std::string line = result.out.substr(start, end - start);
        start = end + 1;
        int n;
        double v;
        if (std::sscanf(line.c_str(), "house %d , %lf", &n, &v) == 2 && n >= 1 && n <= 12) {
            h.cusp[n] = v;
            ++found;
        } else if (std::sscanf(line.c_str(), "MC , %lf", &v) == 1) {
            h.mc = v;
        } else if (std::sscanf(line.c_str(), "ARMC , %lf", &v) == 1) {
            h.armc = v;
        }
    }
    h.ok = found == 12;
    return h;
}

}  // namespace orbeta::test
