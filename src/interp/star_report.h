#pragma once
// The fixed-star report: the daily circle of the bodies and of the catalogue's stars at
// the place and day of a chart; the stars on the angles, the parans and the heliacal
// star. The computation gives plain results; the writer prints them with the texts of
// the base "starbb".
#include <array>
#include <string>
#include <vector>

#include "core/chart_record.h"
#include "core/computation.h"
#include "core/fixed_star.h"
#include "interp/report_sink.h"

namespace orbeta {

// An event hour that does not happen.
constexpr double kNoEvent = 999;

// Events in the order of the lists "v0" and of the angles: rising (Ascendant),
// culmination (MC), setting (Descendant), anti-culmination (IC).
enum StarEventIndex : int { kRising = 0, kCulmination, kSetting, kAntiCulmination };

struct StarReportInput {
    ChartRecord chart;
    std::vector<StarEntry> stars;  // names CP1251
    long maskP = 1023;             // bodies taking part (bit i − 1: body i); the Sun always
    double orb = 0.5;              // degrees
};

struct BodyEvent {
    double hour = kNoEvent;  // local sidereal hour of the event
    double jdUT = 0;         // the moment on the chart's UT day
    double lon = 0, lat = 0;
    double asc = 0, mc = 0;  // angles of that sidereal time
};

struct BodyEvents {
    int body = 0;
    std::array<BodyEvent, 4> events;
};

struct StarRow {
    StarEntry star;
    StarPosition position;
    bool visible = false;  // false: the star never rises here
    std::array<double, 4> hours{kNoEvent, kNoEvent, kNoEvent, kNoEvent};
    double ascDegree = 0, mcDegree = 0, dscDegree = 0;  // ecliptic degrees at its events
    int phase = -1;  // entry of "v2"; -1 for a star that never sets
};

struct StarOnAngle {
    int angle = 0;  // 0 Ascendant, 1 MC, 2 Descendant, 3 IC
    int star = 0;   // index into stars
};

struct Paran {
    int star = 0;  // index into stars
    int body = 0;
    int event = 0;    // the body's event
    int angle = 0;    // the star's event (= angle)
    double diff = 0;  // hours, star − body, in [−12, 12)
};

struct StarReport {
    double obliquity = 0;                // degrees
    double latitude = 0, longitude = 0;  // degrees
    std::vector<BodyEvents> bodies;      // bodies with events, Sun first
    std::vector<StarRow> stars;          // every star of the catalogue
    int heliacal = -1;                   // index into stars, or -1
    double heliacalD = 0;                // degrees the star rises before the Sun
    std::vector<StarOnAngle> onAngles;   // in the order of the report
    std::vector<Paran> parans;           // in the order of the report
};

// Hour difference a − b taken round the day, in [−12, 12).
double HourDifference(double a, double b);

// Rising, culmination, setting and anti-culmination hours (sidereal) of a right
// ascension and declination at latitude phi (degrees); rising and setting are kNoEvent
// for a body that never sets; false when it never rises.
bool CircleHours(double ra, double dec, double phi, std::array<double, 4>& hours);

StarReport ComputeStarReport(Computation& c, const StarReportInput& in);

// The report's body from the text "000" to the heading "b5".
void WriteStarReport(const StarReportInput& in, const StarReport& report, ReportSink& sink);

}  // namespace orbeta
