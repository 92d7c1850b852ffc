#pragma once
// Charts made from the charts of a window: harmonic, composite, midpoint, relocation
// and thematic charts, and a chart moved in time or to a given Ascendant.
#include <string>
#include <string_view>

#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

// CalcMethod codes of the charts made here.
constexpr int kCompositeMethod = 13;
constexpr int kMidpointMethod = 14;
constexpr int kHarmonicMethod = 16;
constexpr int kRelocationMethod = 104;

// The harmonic number as typed: leading blanks, a sign and digits; anything below 1
// (0, negative, no number) gives 2, anything above the record's range 32767.
int ParseHarmonicNumber(std::string_view text);

// Copy of chart1 with every body longitude λ replaced by n × (λ mod 360/n), no houses
// (system 8, cusps on the signs), CalcMethod 16; n below 1 is taken as 2.
ChartRecord HarmonicChart(const ChartRecord& chart1, int n);

// The place of a composite or midpoint chart: given, or the mean of both charts'.
struct ContactPlace {
    bool averaged = true;
    std::string place;     // CP1251; used when not averaged
    double latitude = 0;   // packed d.mm, north positive
    double longitude = 0;  // packed d.mm as entered, east positive
};

// The mean of two places, packed d.mm. Latitudes average plainly; longitudes average
// along the shorter arc, so that places on both sides of Greenwich do not average to
// the far side of the globe.
double AveragedLatitude(double packedLat1, double packedLat2);
double AveragedLongitude(double storedLon1, double storedLon2);

// Composite (13): body longitudes at the midpoints of both charts', speeds and latitudes
// their means, houses from the midpoint of both Midheavens in the given system.
ChartRecord CompositeChart(const ChartRecord& chart1, const ChartRecord& chart2,
                           const ContactPlace& where, int houseSystem);

// Midpoint chart (14): a natal chart at the mean of both moments (UT) from the base;
// its local time is that UT with no correction, as no zone belongs to the mean moment.
ChartRecord MidpointChart(Computation& c, const ChartRecord& chart1, const ChartRecord& chart2,
                          const ContactPlace& where, int houseSystem, const ChartRecord& base);

// Relocation (104): chart1 at another place (packed latitude, longitude as entered)
// with its houses recomputed there in the given system.
ChartRecord RelocationChart(Computation& c, const ChartRecord& chart1, std::string_view town,
                            double latitude, double longitude, int houseSystem);

// Thematic chart of a copy of chart1: type 0 moves the moment until body p1 stands on
// the Ascendant (natal charts from the base), type 1 equal houses from p1, type 2
// equal houses from cusp 1 moved by the distance p1 → p2. False with a message (CP1251)
// when the chart cannot be made (type 0 without houses, or the search not reaching
// the Ascendant); the copy is then left as it was.
bool ThematicChart(Computation& c, ChartRecord& copy, int type, int p1, int p2,
                   const ChartRecord& base, std::string& error);

// Computes a chart again from its base by its own CalcMethod. A harmonic chart keeps
// its harmonic: its positions are computed at the new moment and multiplied again.
// Return, ingress and lunation charts (100..103, 105..107) keep their method and are
// computed at their own moment with their own houses.
void RecomputeChart(Computation& c, ChartRecord& chart, const ChartRecord& base);

// One step of time in days from the four numbers of the step setting.
double StepDays(long days, long hours, long minutes, long seconds);
// The outer (inner = false) or inner step of the eight DelT numbers.
double TimeStep(const long delT[8], bool inner);

// Moves the chart's local and UT moments by the step and recomputes it from the base.
void MoveChartInTime(Computation& c, ChartRecord& chart, const ChartRecord& base, double stepDays);

// The longitude an Ascendant change aims at: sign 0..11 and degrees, minutes, seconds.
double AscendantTarget(int sign, double degrees, double minutes, double seconds);

// Moves the chart's moment until its Ascendant is the target, then recomputes it from
// the base. Natal charts (1) are moved directly; converse charts (17) are moved at
// their mirrored moment and mapped back to the real one. Charts of other methods take
// their houses from a solar-arc Midheaven or an arc, not from their moment, so no
// moment gives them a chosen Ascendant: they are refused with a message (CP1251), as
// is a target the search does not reach. A refused chart is left as it was.
bool ChangeAscendant(Computation& c, ChartRecord& chart, const ChartRecord& base, double target,
                     std::string& error);

}  // namespace orbeta
