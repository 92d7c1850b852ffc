#include <cstddef>
#include <cstdint>
#include <string>

#include "forecast/degree_reports.h"
#include "fuzz_degree_report_files.h"
#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = orbeta::OemToAnsi({reinterpret_cast<const char*>(data), size});
    auto r = orbeta::ComputeDegreeTexts(orbeta::fuzz::DegreeReportChart(), 0x7fff, text);
    for (const auto& b : r.blocks)
        if (b.degree < 0 || b.degree > 359 || b.points.empty()) __builtin_trap();
    orbeta::DegreeTextReport(r);
    return 0;
}
