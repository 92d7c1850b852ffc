#pragma once
// Rises, sets and new moons from an independent ephemeris: tools/reference/rise_set.mjs
// (astronomy-engine 2.1.19, run once with `npm ci && node rise_set.mjs`). Its rises
// and sets are those of the geocentric centre at the altitudes of the day report
// (Sun −0.8333°, Moon +0.1333°); its own upper-limb search with refraction gives the
// Sun's rise within 30 seconds of these. −1: no such event that day. The lunar day is
// that of local noon.
namespace orbeta::test {

struct ReferenceDay {
    const char* name;
    double latitude, longitude;  // degrees
    int day, month, year;
    double zoneHours;  // local time minus UT
    double midnightUT;
    double sunRise, sunSet, moonRise, moonSet;
    double newMoon, nextNewMoon;
    int lunarDayAtNoon;
};

inline const ReferenceDay kReferenceDays[] = {
    {"Moscow", 55 + 45 / 60.0, 37 + 37 / 60.0, 20, 3, 2024, 3, 2460389.375000, 2460389.646517,
     2460390.155515, 2460389.905958, 2460389.617987, 2460379.875666, 2460409.264876, 10},
    {"SaintPetersburg", 59 + 57 / 60.0, 30 + 19 / 60.0, 21, 6, 2025, 3, 2460847.375000,
     2460847.524348, 2460848.309765, 2460847.419366, 2460848.100549, 2460822.626993, 2460851.938976,
     25},
    {"Novosibirsk", 55 + 2 / 60.0, 82 + 55 / 60.0, 22, 12, 2023, 7, 2460300.208333, 2460300.619337,
     2460300.917678, 2460300.797789, 2460300.380420, 2460291.480956, 2460320.998571, 10},
    {"Sydney", -(33 + 52 / 60.0), 151 + 12 / 60.0, 15, 1, 2024, 11, 2460324.041667, 2460324.291008,
     2460324.881363, 2460324.452214, 2460325.000398, 2460320.998571, 2460350.458125, 5},
    {"North65December", 65.5, 40.0, 21, 12, 2024, 3, 2460665.375000, 2460665.820792, 2460665.954536,
     2460666.323958, 2460665.896076, 2460645.765351, 2460675.435711, 13},
    {"North65June", 65.5, 40.0, 21, 6, 2024, 3, 2460482.375000, 2460482.413186, 2460483.367055, -1,
     -1, 2460468.026575, 2460497.456927, 11},
    {"North659June", 65.9, 40.0, 21, 6, 2024, 3, 2460482.375000, -1, -1, -1, -1, 2460468.026575,
     2460497.456927, 10},
};

}  // namespace orbeta::test
