#include "forecast/age_points.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr double kYearDays = 365.25;
constexpr double kFirstPeriod = 7;  // years per sign
constexpr double kSecondPeriod = 9;
constexpr double kHalfSecond = 0.000005787;

void Add(std::vector<AgePointEntry>& out, const ChartRecord& chart, double age, AgePointKind kind,
         double angle, std::string label) {
    if (age < 0) return;  // an angle beyond 180 read from an orb file
    AgePointEntry e;
    e.age = age;
    e.moment = chart.jdUT + age * kYearDays;
    e.kind = kind;
    e.first = FirstAgePoint(age);
    e.second = SecondAgePoint(age);
    e.angle = angle;
    e.label = std::move(label);
    out.push_back(std::move(e));
}

bool PointActive(const ChartRecord& chart, int p, long maskP) {
    if (p > kBodyCount) return true;
    return (maskP >> (p - 1) & 1) != 0 && BodyAvailable(chart, p);
}

int MonthLength(int month, int year) {
    DateParts a{1, month, year, 0, 0, 0}, b{1, month + 1, year, 0, 0, 0};
    return static_cast<int>(std::lround(JulianDay(b) - JulianDay(a)));
}

}  // namespace

double FirstAgePoint(double age) {
    return Normalize(age * 30 / kFirstPeriod);
}
double SecondAgePoint(double age) {
    return Normalize(360 - age * 30 / kSecondPeriod);
}

std::vector<AgePointEntry> AgePointEntries(const ChartRecord& chart, const OrbTable& table,
                                           long maskP) {
    std::vector<AgePointEntry> out;
    // The points draw apart at 480/63 degrees a year and meet again every 47.25 years.
    for (const AspectRecord& aspect : table.aspects) {
        double a = aspect.angle;
        double t0 = a * 63 / 480;
        Add(out, chart, t0, AgePointKind::Aspect, a, "");
        Add(out, chart, 47.25 + t0, AgePointKind::Aspect, a, "");
        if (94.5 + t0 <= 108) Add(out, chart, 94.5 + t0, AgePointKind::Aspect, a, "");
        if (a != 0 && a != 180) {
            Add(out, chart, 47.25 - t0, AgePointKind::Aspect, a, "");
            Add(out, chart, 94.5 - t0, AgePointKind::Aspect, a, "");
        }
    }
    for (int i = 0; i < 12; ++i) {
        double t = kFirstPeriod * i;
        Add(out, chart, t, AgePointKind::First, 0, SignStartName(i));
        if (t <= 24) Add(out, chart, t + 84, AgePointKind::First, 0, SignStartName(i));
    }
    // Moving backwards from 0° Aries, the second point reaches the start of Pisces
    // first: boundary i after 9 (12 − i) years, 0° Aries again at 108.
    for (int k = 0; k <= 12; ++k)
        Add(out, chart, kSecondPeriod * k, AgePointKind::Second, 0, SignStartName((12 - k) % 12));
    int last = chart.houseSystem == 8 ? kBodyCount : kPointCount;
    for (int p = 1; p <= last; ++p) {
        if (!PointActive(chart, p, maskP)) continue;
        double lon = PointLongitude(chart, p);
        double t = lon * kFirstPeriod / 30;
        Add(out, chart, t, AgePointKind::First, 0, PointName(p));
        if (t <= 24) Add(out, chart, t + 84, AgePointKind::First, 0, PointName(p));
        Add(out, chart, (360 - lon) * kSecondPeriod / 30, AgePointKind::Second, 0, PointName(p));
    }
    std::stable_sort(out.begin(), out.end(), [](const AgePointEntry& x, const AgePointEntry& y) {
        return x.moment < y.moment;
    });
    return out;
}

std::string AgeText(double birthLocal, double momentLocal) {
    if (momentLocal - birthLocal < 1) return "";
    DateParts b = DatePartsOf(birthLocal + kHalfSecond);
    DateParts m = DatePartsOf(momentLocal + kHalfSecond);
    int years = m.year - b.year;
    if (b.year < 0 && m.year > 0) --years;  // there is no year 0
    int months = m.month - b.month;
    int days = m.day - b.day;
    if (days < 0) {
        days += MonthLength(b.month, b.year);
        --months;
    }
    if (months < 0) {
        months += 12;
        --years;
    }
    int last2 = std::abs(years) % 100, last = std::abs(years) % 10;
    bool god = last >= 1 && last <= 4 && !(last2 >= 11 && last2 <= 14);
    char letter = god ? "г"_cp[0] : "л"_cp[0];
    return Format("%3d%c.%2dм.%2dд."_cp, years, letter, months, days);
}

std::string AgePointReportText(const ChartRecord& chart, const OrbTable& table, long maskP) {
    std::string out = LookupText("ctzts") + "\n";
    for (const AgePointEntry& e : AgePointEntries(chart, table, maskP)) {
        double local = e.moment - chart.gmtCorr;
        out += Format(" %-20.20s", DateTimeText(local).c_str());
        switch (e.kind) {
            case AgePointKind::Aspect:
                out += Format("%7.2f %7.2f %5.1f   ", e.first, e.second, e.angle);
                break;
            case AgePointKind::First:
                out += Format("%7.2f %16s", e.first, "");
                break;
            case AgePointKind::Second:
                out += Format("%15.2f %8s", e.second, "");
                break;
        }
        out += Format("%-12.12s %s\n", e.label.c_str(), AgeText(chart.jdLocal, local).c_str());
    }
    return out;
}

}  // namespace orbeta
