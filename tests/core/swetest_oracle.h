#pragma once
// swetest, the library's own command-line program, as an independent peer: it is run
// as a separate process and its printed positions are compared with ours.
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "platform/format.h"

namespace orbeta::test {

struct OraclePosition {
    std::string name;
    double lon = 0, lat = 0, speed = 0;
};

// Positions of -p0123456789mtDAB (Sun..Pluto, mean and true node, Chiron, mean and
// osculating apogee) at a Julian day UT; extra flags such as "-hel" may be added.
inline std::vector<OraclePosition> SwetestPositions(double jdUT, const std::string& extra = "") {
    std::string cmd = Format(
        "swetest -bj%.17g -ut -p0123456789mtDAB -fPlbs -g, -head -ep -eswe -edir%s %s 2>&1",
        jdUT, kEpheDir, extra.c_str());
    std::vector<OraclePosition> out;
    auto result = RunCommand("env -u SE_EPHE_PATH " + cmd);
    bool failed = false;  // an "error:" line stands before the body it concerns
    size_t start = 0;
    while (start < result.out.size()) {
        size_t end = result.out.find('\n', start);
        if (end == std::string::npos) end = result.out.size();
        std::string line = result.out.substr(start, end - start);
        start = end + 1;
        if (line.rfind("error", 0) == 0) {
            failed = true;
            continue;
        }
        OraclePosition p;
        char name[64] = {};
        if (std::sscanf(line.c_str(), "%63[^,], %lf, %lf, %lf", name, &p.lon, &p.lat, &p.speed) ==
            4) {
            p.name = name;
            while (!p.name.empty() && p.name.back() == ' ') p.name.pop_back();
            if (failed) p.name = "error: " + p.name;
            failed = false;
            out.push_back(p);
        } else if (!line.empty()) {
            out.push_back({"unreadable: " + line});
        }
    }
    return out;
}

}  // namespace orbeta::test
