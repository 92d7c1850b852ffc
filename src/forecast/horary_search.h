#pragma once
// The horary searches: how long a body stays in its sign, the next major aspect two
// bodies make before either leaves its sign, the aspect lists of a moment and of a day
// with the void-of-course Moon, and the list and matrix a horary chart shows.
#include <cstdint>
#include <string>
#include <vector>

#include "core/chart_record.h"
#include "core/computation.h"

namespace orbeta {

// The stay of a body (SUN..PLT) in a sign.
struct SignPeriod {
    int body = 0;
    int sign = 0;       // 0..11
    double moment = 0;  // the moment it was asked for
    double begin = 0;   // entry into the sign
    double end = 0;     // exit, or the first station when asked; 0 = not computed
    bool ValidAt(double t) const { return end != 0 && begin <= t && t < end; }
};

// Fills the record (body set) for moment t unless it already covers t. With
// untilStation the stay of MER..PLT also ends at their first station.
void FindSignPeriod(Computation& c, double t, SignPeriod& period, bool untilStation = false);

struct NextAspect {
    double begin = 0;  // the later of the two sign entries
    double end = 0;    // the earlier of the two exits
    double exact = 0;
    int16_t bodyA = 0;
    int16_t bodyB = 0;    // for a sign exit: the sign
    int16_t aspect = -1;  // -1 none, -2 a sign exit of the horary chart list
};

// The first of the aspects 0, 60, 90, 120, 180 the two bodies make after `from` and
// before either leaves its sign. False when there is none.
bool FindNextAspect(Computation& c, const SignPeriod& a, const SignPeriod& b, double from,
                    NextAspect& result);

// The next aspects among SUN..PLT from a moment: aspect and exact moment by pair
// (0-based bodies), -1 and 0 where none.
struct NextAspectMatrix {
    int aspect[10][10];
    double time[10][10];
    std::vector<NextAspect> list;
    SignPeriod periods[10];
};
NextAspectMatrix ComputeNextAspects(Computation& c, double t, bool untilStation = false);

// The line of one aspect in the horary lists (times local by the correction).
std::string HoraryAspectLine(const NextAspect& a, char mark, double gmtCorr, int precision);

// The list of a chart's moment: the next aspect of every pair.
std::string HoraryMomentText(Computation& c, const ChartRecord& chart, int precision,
                             std::vector<NextAspect>* found = nullptr);

struct VoidOfCourse {
    double begin = 0;
    double end = 0;
};
// The aspects of the day [t, t + 1) of the chart's moment and the void-of-course Moon.
std::string HoraryDayText(Computation& c, const ChartRecord& chart, int precision,
                          std::vector<NextAspect>* found = nullptr,
                          std::vector<VoidOfCourse>* voids = nullptr,
                          std::vector<SignPeriod>* periods = nullptr);

// What a horary chart window shows: the aspect matrix (upper cells the coming
// aspect, lower cells the present distance, 999 elsewhere) and the Moon-first list
// with its separator (body 0); when the Moon leaves its sign within a day, its exit
// (aspect -2) right after the separator and the aspects of its next sign; then the
// other bodies' sign exits within the day.
struct HoraryChartList {
    float matrix[kPointCount][kPointCount];
    std::vector<NextAspect> list;
};
HoraryChartList ComputeHoraryChartList(Computation& c, const ChartRecord& chart,
                                       bool untilStation = false);

// The lines of a horary chart window's list: aspects as in the moment's list, the
// separator "=================", sign exits " %s -> %s %s" (body, sign entered, local
// time).
std::string HoraryWindowText(Computation& c, const ChartRecord& chart, const HoraryChartList& list,
                             int precision);
// The same lines without line feeds and without the separator, which stands before
// line firstPart.
std::vector<std::string> HoraryWindowLines(Computation& c, const ChartRecord& chart,
                                           const HoraryChartList& list, int precision,
                                           int& firstPart);

// Whether a chart by this method shows the sky at its moment, so that its horary list
// agrees with its wheel: not directions, composite, nodal, harmonic charts or arcs.
bool HoraryMomentChart(int calcMethod);
// The message when it does not (CP1251).
std::string HoraryMomentRefusal();

}  // namespace orbeta
