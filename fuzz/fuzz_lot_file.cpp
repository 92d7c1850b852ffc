#include <cstddef>
#include <cstdint>
#include <string>

#include "forecast/degree_reports.h"
#include "fuzz_degree_report_files.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool texts = [] {
        orbeta::SetUiTexts(
            {"Sym SUN/MON/MER/VEN/MRS/JUP/SAT/URN/NEP/PLT/NDE/SEL/HIR/PRZ/LIL/ASC/"
             "H02/H03/H04/H05/H06/H07/H08/H09/H10/H11/H12/R01/R02/R03/R04/R05/R06/"
             "R07/R08/R09/R10/R11/R12",
             "ErChr unknown", "DpChr symbols:", "dZ no houses"});
        return true;
    }();
    (void)texts;
    std::string text = orbeta::OemToAnsi({reinterpret_cast<const char*>(data), size});
    auto r = orbeta::ComputeLots(orbeta::fuzz::DegreeReportChart(), 0x7fff, text);
    for (const auto& e : r.entries)
        if (e.isLot && !(e.lot.lon >= 0 && e.lot.lon < 360)) __builtin_trap();
    orbeta::LotReport(r);
    return 0;
}
