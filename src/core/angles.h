#pragma once
// Angle arithmetic of ecliptic longitudes and the position text.
#include <string>

namespace orbeta {

// Packed degrees.minutes (41.30 = 41°30') and back.
double PackedToDegrees(double packed);
double DegreesToPacked(double degrees);
// A longitude as entered, packed d.mm: a western (negative) value is stored as
// 360° minus its magnitude, converted through degrees (−73.59 → 286.01).
double StoredLongitude(double packedLongitude);

// What is wrong with a packed coordinate as typed: minutes of 60 or more (45.75), or
// an angle beyond the range — a latitude within 90°00' either way, a longitude from
// 180°00' west (negative) to 360°00' east. Not a number counts as beyond the range.
enum class PackedFault { None, Minutes, Range };
PackedFault CheckPackedLatitude(double packed);
PackedFault CheckPackedLongitude(double packed);

double Normalize(double x);          // [0, 360)
double Opposite(double x);           // x + 180, normalised
double Difference(double a, double b);  // signed shortest a − b in [−180, 180)
double Separation(double a, double b);  // |Difference|, 0..180
// Is x within the counter-clockwise arc from a to b.
bool InArc(double x, double a, double b);
// House 1..12 of a longitude given cusp[1..12]; 0 when none contains it.
int HouseOf(double lon, const double cusp[13], bool reverse = false);
double Midpoint(double a, double b);

int SignOf(double lon);      // 0 = Aries … 11 = Pisces
int SignRuler(int sign);     // BodyId of the ruler of sign 0..11
const char* SignAbbreviation(int sign);  // "Ar" … "Pi"

// A longitude rounded to the nearest minute, as degrees and minutes within its sign
// (359°59'30" and above round to 0° Aries).
struct SignPosition {
    int sign = 0;  // 0 = Aries … 11 = Pisces
    int degrees = 0;
    int minutes = 0;
};
SignPosition SignPositionOf(double lon);

// "%02u%s%02u": degrees in sign, sign abbreviation, minutes (05Ar30).
std::string PositionText(double lon);

}  // namespace orbeta
