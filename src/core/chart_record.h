#pragma once
// The horoscope record: birth or event data, the moments derived from them, how the
// chart was computed, and the positions of the fifteen bodies and twelve cusps.
// Plain data of exactly 800 bytes, copied by value as a whole.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orbeta {

enum BodyId : int {
    SUN = 1, MON, MER, VEN, MRS, JUP, SAT, URN, NEP, PLT, NDE, SEL, HIR, PRZ, LIL
};
constexpr int kBodyCount = 15;
// PointId 1..27: bodies 1..15, then cusps 1..12 (16 ASC, 25 MC).
constexpr int kPointCount = 27;
constexpr int kPointAsc = 16;
constexpr int kPointMc = 25;
constexpr int CuspOfPoint(int pointId) { return pointId - kBodyCount; }
constexpr int PointOfCusp(int cusp) { return cusp + kBodyCount; }

// Header fields of a chart; the record repeats them as its event header.
struct ChartHeader {
    double jdLocal = 0;
    double jdUT = 0;
    double jdCalc = 0;
    double gmtCorr = 0;    // days added to local time to get UT
    double longitude = 0;  // packed d.mm, east positive (west stored as 360 − magnitude)
    double latitude = 0;   // packed d.mm, north positive
    char name[30] = {};
    char comment[30] = {};
    char place[30] = {};
    int16_t houseSystem = 0;
    int16_t calcMethod = 0;
    int16_t harmonic = 0;
};
static_assert(sizeof(ChartHeader) == 144);

struct ChartRecord {
    double jdLocal = 0;
    double jdUT = 0;
    double jdCalc = 0;
    double gmtCorr = 0;
    double longitude = 0;
    double latitude = 0;
    char name[30] = {};
    char comment[30] = {};
    char place[30] = {};
    int16_t houseSystem = 0;
    int16_t calcMethod = 0;
    int16_t harmonic = 0;
    ChartHeader eventHeader;
    double baseJdLocal = 0;
    double baseJdUT = 0;
    double returnLongitude = 0;
    double lon[16] = {};
    double lat[16] = {};
    double speed[16] = {};
    double cusp[13] = {};
};
static_assert(sizeof(ChartRecord) == 800);
static_assert(offsetof(ChartRecord, eventHeader) == 144);
static_assert(offsetof(ChartRecord, cusp) == 800 - 13 * sizeof(double));

// The first 144 bytes of the record as a header, and back.
ChartHeader HeaderOf(const ChartRecord& r);
void SetHeader(ChartRecord& r, const ChartHeader& h);

// Bounded copy into a text field: at most min(n, size − 1) characters, always
// terminated.
void CopyText(char* field, std::size_t fieldSize, std::string_view text, std::size_t n);
template <std::size_t N>
void CopyText(char (&field)[N], std::string_view text, std::size_t n = N - 1) {
    CopyText(field, N, text, n);
}

// Longitude of PointId 1..27 (bodies, then cusps).
double PointLongitude(const ChartRecord& r, int pointId);

// A body whose position the ephemeris could not give keeps 0 in longitude, latitude
// and speed; such a body is not available and is left out of wheels, aspects and
// reports. SEL and PRZ come from formulas and are always available.
bool BodyAvailable(const ChartRecord& r, int bodyId);

// Abbreviations "SUN" … "LIL" and Russian labels (CP1251) of BodyId 1..15.
const char* BodyAbbreviation(int bodyId);
const char* BodyLabel(int bodyId);

}  // namespace orbeta
