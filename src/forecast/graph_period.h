#pragma once
// The period of the graphic windows (the forecast's and the ephemerides'): how it is
// chosen, how many grid divisions it has, and where a moment lies on the time axis.
// Moments are UT, as in the time search.
#include <string>

namespace orbeta {

enum GraphPeriodKind : int { kPeriodFree = 0, kPeriodYear = 1, kPeriodMonth = 2 };

struct GraphPeriodInput {
    int kind = kPeriodFree;
    std::string startText, endText;  // "ДД.ММ.ГГГГ ЧЧ:ММ" of a free period
    std::string yearText, monthText;
};

struct GraphPeriod {
    int kind = kPeriodFree;
    int year = 0, month = 0;  // of the year and month kinds
    double start = 0, end = 1;
    int divisions = 10;
};

// Settles the period: a free one from its two texts, a year from 1 January to 1 January
// of the next, a month from its first day to the first of the next (December rolls
// into January). Returns the key of the UI text that refuses it: "erdt" for a text that
// is no date (a year that is not a whole number, a month outside 1..12), "N>K" when the
// end does not come after the start; empty when the period is good.
std::string MakeGraphPeriod(const GraphPeriodInput& input, GraphPeriod& period);

// The plot's horizontal extent and the period it shows.
struct TimeAxis {
    int x0 = 0, x1 = 1;
    double start = 0, end = 1;
    // x = x0 + (t - start)(x1 - x0)/(end - start), truncated; a moment far outside the
    // period stays within a few plot widths, so drawing never overflows.
    int X(double t) const;
    // The moment at x, for what is drawn between two samples.
    double Moment(double x) const;
};

}  // namespace orbeta
