#pragma once
// The twelve house cusps of a chart in its house system: from the chart's moment and
// place, or from a given Midheaven (progressed and directed charts, rectification).
#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

// Codes of ChartRecord::houseSystem; other codes give equal houses from the Ascendant.
enum HouseSystem : int {
    kRegiomontanus = 1,
    kCampanus,
    kPlacidus,
    kTopocentric,
    kKoch,
    kEqualFromAsc,
    kSolarHouses,      // equal from the Sun
    kZodiacHouses,     // the signs
    kSolarSignHouses,  // equal from 0° of the Sun's sign
    kPorphyry,
    kEqualFromMc,
};

// Beyond this packed latitude the quadrant systems give way to zodiac houses.
constexpr double kPolarLatitude = 66.0;

// Cusps of a chart at its jdCalc and place. The polar rule comes first: a quadrant
// system (codes below 6, and 10) above the polar latitude switches the chart to zodiac
// houses for good and notes it in the diagnostics (the command shows "virhous"); the
// result says it did. lon[1] must be computed for codes 7 and 9.
bool ComputeHouses(ChartRecord& chart, Diagnostics& diagnostics);

// Cusps from a Midheaven longitude (degrees) at the chart's latitude and jdCalc. There
// is no polar rule; where a quadrant system has no solution the chart silently gets
// zodiac houses, as the polar rule would give.
void HousesFromMidheaven(ChartRecord& chart, double midheaven);

// The Ascendant and the MC (degrees [0, 360)) of a right ascension of the MC (degrees)
// at a packed latitude, with the mean obliquity of jd: the angles the cusps start from.
struct AnglePair {
    double ascendant = 0;
    double midheaven = 0;
};
AnglePair AnglesOfRamc(double ramc, double jd, double packedLatitude);
// The true Ascendant and MC of a chart's moment and place, whatever its house system.
AnglePair TrueAngles(const ChartRecord& chart);

// Mean obliquity of the ecliptic (radians) at a Julian day.
double MeanObliquity(double jd);

struct EquatorialPosition {
    double rightAscension = 0;  // degrees [0, 360)
    double declination = 0;     // degrees
};
// Of PointId 1..27 (cusps have latitude 0), with the mean obliquity of jdCalc.
EquatorialPosition EquatorialOf(const ChartRecord& chart, int pointId);

}  // namespace orbeta
