#pragma once
// The day report: the civil day of a chart with its weekday and ruler, the lunar day,
// rises and sets of the Sun..Pluto, planetary hours and tattvas.
#include <optional>
#include <string>
#include <vector>

#include "core/chart_record.h"
#include "forecast/rise_set.h"

namespace orbeta {

// Beyond this latitude (degrees, either hemisphere) the report is refused.
constexpr double kDayReportLatitudeLimit = 66.0;

// The Sun around the day: the sunrise of the day, the sunset before it, the sunset
// after it and the sunrise after that; −1 where there is none.
struct SunDay {
    double previousRise = -1;  // of the previous civil day
    double previousSet = -1;
    double rise = -1;
    double set = -1;
    double nextRise = -1;
};

struct DayReportData {
    double midnight = 0;  // UT of the local midnight that begins the day
    double gmtCorr = 0;
    double jdLocal = 0;
    int weekday = 0;  // 0 Sunday
    int lunarDay = 0;
    RiseSet bodies[10];  // SUN..PLT within the day
    SunDay sun;
    bool sunUp = false;  // the Sun above its rise altitude at noon
};

// Everything the report shows, from the chart's moment and place.
DayReportData ComputeDayReport(Computation& c, const ChartRecord& chart);

// Weekday of the civil day beginning at local Julian day D (…​.5), 0 Sunday.
int WeekdayOf(double dayStart);
// The ruler (BodyId) of a weekday.
int DayRuler(int weekday);

// Planetary hours: 25 times from midnight (hour starts, the first being midnight),
// the first in column firstColumn of SUN, VEN, MER, MON, SAT, JUP, MRS.
struct PlanetaryHours {
    int firstColumn = 0;
    std::vector<double> starts;
};
// None when a sunrise or sunset they need does not happen.
std::optional<PlanetaryHours> PlanetaryHoursOf(const DayReportData& day);

// Tattvas of 24 minutes from the previous sunrise, restarting at the day's sunrise:
// the column (0..4) of the tattva in progress at midnight, the boundaries up to
// sunrise and those from sunrise up to the next midnight.
struct Tattvas {
    int midnightColumn = 0;
    std::vector<double> beforeSunrise;
    std::vector<double> fromSunrise;
};
std::optional<Tattvas> TattvasOf(const DayReportData& day);

// The body of the report (CP1251), after the header of the report pipeline.
std::string DayReportText(const DayReportData& day);

}  // namespace orbeta
