#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "forecast/degree_reports.h"
#include "fuzz_degree_report_files.h"
#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = orbeta::OemToAnsi({reinterpret_cast<const char*>(data), size});
    auto r = orbeta::ComputeStarConjunctions(orbeta::fuzz::DegreeReportChart(), 0x7fff, text);
    for (const auto& s : r.stars) {
        if (!(s.position.longitude >= 0 && s.position.longitude < 360)) __builtin_trap();
        for (const auto& h : s.hits)
            if (!(std::fabs(h.diff) <= 1.0 + 1e-6)) __builtin_trap();
    }
    orbeta::StarConjunctionReport(r);
    return 0;
}
