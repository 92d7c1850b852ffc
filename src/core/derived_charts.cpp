#include "core/derived_charts.h"

#include <cctype>
#include <cmath>

#include "core/angles.h"
#include "core/chart_compute.h"
#include "core/houses.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

constexpr int kHarmonicLimit = 32767;  // the record keeps the number in 16 bits
// Both searches aim at 0.001°; a result further off than this is not given as done.
constexpr double kReached = 0.01;

ChartRecord StartFrom(const ChartRecord& chart1) {
    ChartRecord r;
    SetHeader(r, HeaderOf(chart1));
    r.eventHeader = HeaderOf(chart1);
    return r;
}

void SetPlace(ChartRecord& r, const ChartRecord& chart1, const ChartRecord& chart2,
              const ContactPlace& where) {
    if (where.averaged) {
        CopyText(r.place, "");
        r.latitude = AveragedLatitude(chart1.latitude, chart2.latitude);
        r.longitude = AveragedLongitude(chart1.longitude, chart2.longitude);
    } else {
        CopyText(r.place, where.place);
        r.latitude = where.latitude;
        r.longitude = StoredLongitude(where.longitude);
    }
}

void Harmonise(ChartRecord& r, int n) {
    double part = 360.0 / n;
    for (int i = SUN; i <= LIL; ++i) r.lon[i] = n * std::fmod(Normalize(r.lon[i]), part);
    for (int i = 1; i <= 12; ++i) r.cusp[i] = 30.0 * (i - 1);
    r.houseSystem = kZodiacHouses;
    r.harmonic = static_cast<int16_t>(n);
}

void EqualCusps(ChartRecord& r, double first) {
    r.houseSystem = kEqualFromAsc;
    for (int i = 1; i <= 12; ++i) r.cusp[i] = Normalize(first + 30.0 * (i - 1));
}

bool BodyOnAscendant(Computation& c, ChartRecord& copy, int p1, const ChartRecord& base,
                     std::string& error) {
    if (copy.houseSystem == kZodiacHouses) {
        // The Ascendant of zodiac houses stays at 0° Aries: no moment brings a body to it.
        error =
            "У карты без домов Асцендент не движется: тематическую карту для одной "
            "планеты построить нельзя"_cp;
        return false;
    }
    ChartRecord t = copy;
    double rate = 360.0 + t.speed[p1];
    double d = t.lon[p1] - t.cusp[1];
    if (d < 0) d += 360.0;
    for (int round = 0; round < 20; ++round) {
        double a0 = t.cusp[1];
        if (round > 0) d = Difference(t.lon[p1], a0);
        if (std::fabs(d) < 0.001) break;
        if (!(std::fabs(rate) > 1e-9) || !std::isfinite(rate)) {
            error = "Асцендент карты не движется: планету нельзя поставить на Асцендент"_cp;
            return false;
        }
        t.jdUT += d / rate;
        ComputeChart(c, t, base, kNatal);
        rate = std::fabs(Separation(t.cusp[1], a0) * rate / d);
    }
    if (!(Separation(t.lon[p1], t.cusp[1]) < kReached)) {
        error = "Планету не удалось поставить на Асцендент за 20 шагов"_cp;
        return false;
    }
    t.jdLocal = t.jdUT - t.gmtCorr;
    copy = t;
    return true;
}

}  // namespace

int ParseHarmonicNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long n = 0;
    bool digits = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        digits = true;
        if (n <= kHarmonicLimit) n = n * 10 + (text[i] - '0');
    }
    if (!digits || negative || n < 1) return 2;
    return n > kHarmonicLimit ? kHarmonicLimit : static_cast<int>(n);
}

ChartRecord HarmonicChart(const ChartRecord& chart1, int n) {
    if (n < 1) n = 2;
    if (n > kHarmonicLimit) n = kHarmonicLimit;
    ChartRecord r = chart1;
    Harmonise(r, n);
    r.calcMethod = kHarmonicMethod;
    r.eventHeader = HeaderOf(chart1);
    return r;
}

double AveragedLatitude(double packedLat1, double packedLat2) {
    return DegreesToPacked((PackedToDegrees(packedLat1) + PackedToDegrees(packedLat2)) * 0.5);
}

double AveragedLongitude(double storedLon1, double storedLon2) {
    return DegreesToPacked(Midpoint(PackedToDegrees(storedLon1), PackedToDegrees(storedLon2)));
}

ChartRecord CompositeChart(const ChartRecord& chart1, const ChartRecord& chart2,
                           const ContactPlace& where, int houseSystem) {
    ChartRecord r = StartFrom(chart1);
    SetPlace(r, chart1, chart2, where);
    r.houseSystem = static_cast<int16_t>(houseSystem);
    for (int i = SUN; i <= LIL; ++i) {
        if (!BodyAvailable(chart1, i) || !BodyAvailable(chart2, i)) continue;
        r.lon[i] = Midpoint(chart1.lon[i], chart2.lon[i]);
        r.lat[i] = (chart1.lat[i] + chart2.lat[i]) * 0.5;
        r.speed[i] = (chart1.speed[i] + chart2.speed[i]) * 0.5;
    }
    HousesFromMidheaven(r, Midpoint(chart1.cusp[10], chart2.cusp[10]));
    r.calcMethod = kCompositeMethod;
    return r;
}

ChartRecord MidpointChart(Computation& c, const ChartRecord& chart1, const ChartRecord& chart2,
                          const ContactPlace& where, int houseSystem, const ChartRecord& base) {
    ChartRecord r = StartFrom(chart1);
    SetPlace(r, chart1, chart2, where);
    r.houseSystem = static_cast<int16_t>(houseSystem);
    r.jdUT = r.jdCalc = (chart1.jdUT + chart2.jdUT) * 0.5;
    r.jdLocal = r.jdUT;
    r.gmtCorr = 0;
    ComputeChart(c, r, base, kNatal);
    r.calcMethod = kMidpointMethod;
    r.eventHeader = HeaderOf(chart1);
    return r;
}

ChartRecord RelocationChart(Computation& c, const ChartRecord& chart1, std::string_view town,
                            double latitude, double longitude, int houseSystem) {
    ChartRecord r = chart1;
    CopyText(r.place, town);
    r.latitude = latitude;
    r.longitude = StoredLongitude(longitude);
    r.houseSystem = static_cast<int16_t>(houseSystem);
    ComputeHouses(r, c.diagnostics);
    r.calcMethod = kRelocationMethod;
    return r;
}

bool ThematicChart(Computation& c, ChartRecord& copy, int type, int p1, int p2,
                   const ChartRecord& base, std::string& error) {
    if (p1 < SUN || p1 > LIL || (type == 2 && (p2 < SUN || p2 > LIL))) {
        error = "Планета для тематической карты не выбрана"_cp;
        return false;
    }
    switch (type) {
        case 0:
            return BodyOnAscendant(c, copy, p1, base, error);
        case 1:
            EqualCusps(copy, copy.lon[p1]);
            return true;
        case 2:
            EqualCusps(copy, Difference(copy.lon[p2], copy.lon[p1]) + copy.cusp[1]);
            return true;
        default:
            error = "Неизвестный вид тематической карты"_cp;
            return false;
    }
}

void RecomputeChart(Computation& c, ChartRecord& chart, const ChartRecord& base) {
    if (chart.calcMethod == kHarmonicMethod) {
        int n = chart.harmonic;
        ComputeChart(c, chart, base, kNatal);
        Harmonise(chart, n >= 1 ? n : 2);
        chart.calcMethod = kHarmonicMethod;
        return;
    }
    int method = chart.calcMethod;
    if ((method >= 100 && method <= 103) || (method >= 105 && method <= 107)) {
        // A return, ingress or lunation chart is a chart of its own moment and place:
        // its own houses, its base and target kept.
        double baseLocal = chart.baseJdLocal, baseUT = chart.baseJdUT;
        ComputeChart(c, chart, chart, kNatal);
        chart.calcMethod = static_cast<int16_t>(method);
        chart.baseJdLocal = baseLocal;
        chart.baseJdUT = baseUT;
        return;
    }
    ComputeChart(c, chart, base, method);
}

double StepDays(long days, long hours, long minutes, long seconds) {
    return static_cast<double>(days) +
           (static_cast<double>(hours) + minutes / 60.0 + seconds / 3600.0) / 24.0;
}

double TimeStep(const long delT[8], bool inner) {
    const long* s = delT + (inner ? 4 : 0);
    return StepDays(s[0], s[1], s[2], s[3]);
}

void MoveChartInTime(Computation& c, ChartRecord& chart, const ChartRecord& base, double stepDays) {
    chart.jdLocal += stepDays;
    chart.jdUT += stepDays;
    RecomputeChart(c, chart, base);
}

double AscendantTarget(int sign, double degrees, double minutes, double seconds) {
    return 30.0 * sign + degrees + minutes / 60.0 + seconds / 3600.0;
}

bool ChangeAscendant(Computation& c, ChartRecord& chart, const ChartRecord& base, double target,
                     std::string& error) {
    int method = chart.calcMethod;
    if (method != 1 && method != 17) {
        error =
            "Асцендент этой карты задан методом вычисления, а не её моментом: сменить "
            "Асцендент можно только у натальной и конверсной карты"_cp;
        return false;
    }
    if (chart.houseSystem == kZodiacHouses) {
        error = "У карты без домов Асцендент не движется"_cp;
        return false;
    }
    ChartRecord t = chart;
    MomentForAscendant(t, target, c.diagnostics);
    if (method == 17) {
        // The converse chart stands at the mirror of its moment about the base's.
        t.jdUT = 2.0 * base.jdUT - t.jdCalc;
        t.jdLocal = t.jdUT - t.gmtCorr;
    }
    ComputeChart(c, t, base, method);
    // Beyond the polar latitude the houses may turn into signs on the way.
    if (!(Separation(t.cusp[1], target) < kReached)) {
        error = "Асцендент не удалось довести до заданного значения"_cp;
        return false;
    }
    chart = t;
    return true;
}

}  // namespace orbeta
