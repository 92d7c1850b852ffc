#pragma once
// The settings profile orbt.ini: every user setting, and the birth data of the chart
// last worked with, as KEY=value lines read at start-up and written on every close
// query of the main window.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/chart_record.h"

namespace orbeta {

constexpr int kOptionCount = 30;
constexpr int kOrbFileCount = 4;

// Elements of the option bytes that the program reads by name.
enum OptionIndex : int {
    kOptTrueNode = 0,
    kOptTrueLilith = 1,
    kOptHeliocentric = 2,
    kOptArcBody = 5,  // body index 0..14 of the planetary-arc method
    kOptBindhuTable = 7,
    kOptPrinterBlackWhite = 9,  // black-and-white printer
    kOptPrintDialog = 10,       // "Диалог перед печатью"
    kOptDebugJournal = 12,
    kOptCuspAspects = 13,
    kOptSignFill = 14,
    kOptAspectarium = 15,
    kOptPrinterLowMemory = 19,  // no sign fill on paper
    kOptPrinterFill = 20,       // printer fill level 0..4
    kOptElectionalTurn = 21,
    kOptCourierFont = 22,
};

namespace detail {
constexpr std::array<uint8_t, kOptionCount> DefaultOptions() {
    std::array<uint8_t, kOptionCount> a{};
    a[4] = a[5] = 1;  // the shipped profile also asks before printing (element 10)
    return a;
}
template <std::size_t N, class T>
constexpr std::array<T, N> Filled(T v) {
    std::array<T, N> a{};
    a.fill(v);
    return a;
}
}  // namespace detail

struct Settings {
    long maskP = 1023;  // bit i − 1: body i is shown
    long maskA = 1023;  // bit i − 1: aspects of body i are shown
    std::array<uint8_t, kOptionCount> ov = detail::DefaultOptions();
    int houseSet = 3;  // default house system
    int egalHous = 0;
    int beginCoord = 0;
    int obhodZod = -1;
    uint8_t maxW = 1;
    std::string basa = "abasa";
    std::array<std::string, kOrbFileCount> orbFiles = {"0.ao", "", "", ""};
    std::string begG, endG;
    std::string begRect = "16.05.1945 5:00";
    std::string endRect = "16.05.1945 6:00";
    std::string stepRect = "60";
    std::string porRect = "10";
    std::string sbName;
    std::string namRed;
    std::string aspAll = "0 60 90 120 180";
    std::string interV = "01.01.2005-31.12.2005";
    std::string gef = "30 2 01.01.2005 01.03.2005 2005 3 32767 32767";
    std::string gnz = "01.01.2006 01.03.2006 0 0 1 1 32767 32767";
    std::string stepA = "1.0";
    std::array<long, 20> lp{};
    std::array<long, 16> colrPE = detail::Filled<16>(-1L);
    std::array<long, 15> colGor = detail::Filled<15>(-1L);
    std::array<long, 8> delT = {1, 0, 0, 0, 1, 0, 0, 0};
    std::array<double, kPointCount> orbEclS = detail::Filled<kPointCount>(3.0);  // by PointId − 1
    std::array<double, kPointCount> orbEclM = detail::Filled<kPointCount>(3.0);
    std::array<std::string, 4> vEcl = {"180", "180", "90", "90"};
    // Derived after loading: the face of monospaced report text.
    std::string monoFont = "Tabula Mono";

    bool Option(int i) const { return i >= 0 && i < kOptionCount && ov[i] != 0; }
};

// The chart a profile starts from before anything is read: 01.01.2000 12:00:00, no
// correction, no place, Placidus.
ChartRecord DefaultProfileChart();

// Reads profile text over the values already in `settings` and `current` (start from
// the defaults), then settles the derived values: the monospaced face, the chart's
// UT and calculation moments, method 1 and house system.
void ReadProfileText(std::string_view text, Settings& settings, ChartRecord& current);

// The profile as written: every key, in the fixed order and formats.
std::string ProfileText(const Settings& settings, const ChartRecord& current);

// Start-up load: defaults, then the file; a missing file is warned about and the
// defaults stay. With the debug-journal option the journal is cleared. Returns
// whether the file was read.
bool LoadProfile(const std::string& path, Settings& settings, ChartRecord& current);

// Writes the whole profile or nothing (a temporary file renamed over the old one).
bool SaveProfile(const std::string& path, const Settings& settings, const ChartRecord& current);

inline constexpr const char* kProfileFile = "orbt.ini";

}  // namespace orbeta
