#pragma once
// Charts of moments defined by the Sun and the Moon: solar, monthly and lunar returns,
// the Sun's entry into a degree, full and new moons and embolismic lunations. Each is
// found by stepping until the angle to its target wraps through 0, then refined.
#include <functional>
#include <optional>
#include <string>

#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

enum ReturnMethod : int {
    kAnnualReturn = 100,
    kMonthlyReturn = 101,
    kLunarReturn = 102,
    kSunIngress = 103,
    kFullMoon = 105,
    kNewMoon = 106,
    kEmbolismicLunation = 107,
};

// Return, ingress and lunation charts: charts of their own moment and place that can
// be stepped to the previous or next return (not relocation, 104).
bool IsReturnChart(int calcMethod);

// The first moment after start at which f (an angle in [0, 360)) wraps from near 360
// to near 0, to 1e-6 day: 5-day steps for at most 400 days, then false position with
// the Illinois correction. None when f gives no number (no ephemeris) or never wraps.
std::optional<double> FindReturn(const std::function<double(double)>& f, double start);

// The angle a return chart's method searches at a moment: its body (or Moon − Sun)
// less the target, normalised; NaN without positions.
double ReturnAngle(Computation& c, int calcMethod, double target, double jdUT);

// The return of the chart's method to its returnLongitude after start (UT): the chart
// gets the moment (jdCalc = jdUT, jdLocal = jdUT − gmtCorr), positions and houses.
// Without an ephemeris at those dates the chart stays as it was, a warning is noted
// and the result is false.
bool SolveReturnChart(Computation& c, ChartRecord& chart, double start);

// Where a return chart is cast (texts CP1251; longitude stored, east positive).
struct ReturnPlace {
    std::string name;
    std::string place;
    double latitude = 0;   // packed d.mm
    double longitude = 0;  // packed d.mm, stored form
    double gmtCorr = 0;    // days
    int houseSystem = 3;
};

// Whether the ephemeris holds the year (dialog years are checked against it).
bool EphemerisCoversYear(int year);

// Solar and lunar returns of a base chart: kind 0 annual solar return, 1 monthly solar
// return, 2 lunar return, 7 embolismic lunation, in the month (1..12) of the year.
// The correction of the place is taken as given (the base chart's).
std::optional<ChartRecord> SolarLunarReturn(Computation& c, const ChartRecord& base, int kind,
                                            int year, int month, const ReturnPlace& place);

// The Sun's entry into a degree (packed d.mm) in a year, searched from 1 January.
std::optional<ChartRecord> SunIngressChart(Computation& c, const ReturnPlace& place, int year,
                                           double packedDegree);

// The full (or new) moon after a day at 0 h local time; the correction of the place.
std::optional<ChartRecord> LunationChart(Computation& c, const ReturnPlace& place, bool full,
                                         double dayJd);

// The previous (direction < 0) or next return of a return chart, stepped in place;
// false when the chart is no return chart or no return was found (chart unchanged).
bool StepReturnChart(Computation& c, ChartRecord& chart, int direction);

// The window text of a return chart: the kind, the year and (but for the annual
// return) the month, unless given those the return stands for (of its moment, or of
// the birthday it falls near); the degree of an ingress (CP1251).
std::string ReturnChartText(const ChartRecord& chart, int year = 0, int month = 0);

// The warning when no return can be found (CP1251).
std::string NoEphemerisText();

}  // namespace orbeta
