#pragma once
// The profile's strings of the graphic windows: "GNZ" (graphic forecast) and "GEF"
// (graphic ephemerides). Texts are written as quoted tokens ("" when empty), so that a
// date with its time or an empty year keeps every later field in place; strings
// written blank-separated by earlier versions are read too. Every field is clamped.
#include <cstdint>
#include <string>

namespace orbeta {

constexpr uint32_t kBodyMaskAll = 0x7FFF;      // fifteen bodies
constexpr uint32_t kPointMaskAll = 0x7FFFFFF;  // 27 points

struct ForecastSettings {
    std::string startText = "01.01.2006", endText = "01.03.2006";
    int current = 0;     // 1 "Текущие", 0 "К натальной карте"
    int vertical = 0;    // 1 "Вертикально"
    int matrix = 1;      // 0 lower, 1 upper triangle, 2 full matrix
    int hideMotion = 1;  // 1 "Не показывать"
    uint32_t bodyMask = kBodyMaskAll;
    uint32_t natalMask = kBodyMaskAll;
    int periodKind = 0;
    std::string yearText, monthText;
};

struct EphemerisSettings {
    int modulus = 30;
    int periodKind = 2;
    std::string startText = "01.01.2005", endText = "01.03.2005";
    std::string yearText = "2005", monthText = "3";
    uint32_t bodyMask = kBodyMaskAll;
    uint32_t natalMask = kBodyMaskAll;
};

ForecastSettings ParseForecastSettings(const std::string& gnz);
std::string ForecastSettingsText(const ForecastSettings& s);

EphemerisSettings ParseEphemerisSettings(const std::string& gef);
std::string EphemerisSettingsText(const EphemerisSettings& s);

// The moduli of "Модуль", in the order of its buttons.
constexpr int kModuli[] = {360, 180, 120, 90, 72, 60, 45, 40, 36, 30, 24, 20, 18, 15, 12, 10};
bool IsListedModulus(int modulus);

}  // namespace orbeta
