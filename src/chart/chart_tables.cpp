// The aspect grid, its coordinates and the Bindhu table of a chart.
#include "chart/chart_tables.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/houses.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

constexpr int kLastGridPoint = 21;  // the cusps 7..12 repeat 1..6

std::string NameOf(const ChartRecord& chart) {
    return std::string(chart.name, strnlen(chart.name, sizeof chart.name));
}

bool BodyShown(const ChartRecord& chart, int p, long maskP) {
    return IsPointShown(p, maskP) && (p > kBodyCount || BodyAvailable(chart, p));
}

std::string CoordinateText(const PointCoordinates& c) {
    return Format("%6.1f  %6.1f %9.3f %8.1f", c.lon, c.lat, c.speed, c.declination);
}

}  // namespace

bool AspectTable::WithoutHouses() const {
    return chartA.houseSystem == kNoHouseSystem ||
           (TwoCharts() && chartB.houseSystem == kNoHouseSystem);
}

std::vector<int> AspectTable::Points() const {
    std::vector<int> points;
    int last = WithoutHouses() ? kBodyCount : kLastGridPoint;
    for (int p = 1; p <= (horary ? static_cast<int>(PLT) : last); ++p)
        if (horary || TakesPartInAspects(p, maskP, maskA)) points.push_back(p);
    return points;
}

std::vector<int> AspectTable::CoordinatePoints() const {
    std::vector<int> points;
    int last = WithoutHouses() ? kBodyCount : kLastGridPoint;
    for (int p = 1; p <= last; ++p)
        if (IsPointShown(p, maskP)) points.push_back(p);
    return points;
}

AspectMatrix ArcMatrix(const ChartRecord& a, const ChartRecord& b) {
    AspectMatrix m;
    for (int i = 1; i <= kPointCount; ++i)
        for (int j = 1; j <= kPointCount; ++j)
            m.Set(i, j, static_cast<float>(Separation(PointLongitude(a, i), PointLongitude(b, j))));
    return m;
}

PointCoordinates CoordinatesOf(const ChartRecord& chart, int pointId) {
    PointCoordinates c;
    c.lon = PointLongitude(chart, pointId);
    if (pointId <= kBodyCount) {
        c.lat = chart.lat[pointId];
        c.speed = chart.speed[pointId];
    }
    c.declination = EquatorialOf(chart, pointId).declination;
    return c;
}

std::string ChartNameLine(const ChartRecord& chart) {
    return NameOf(chart) + " " + DateTimeText(chart.jdLocal);
}

std::string AspectTableText(const AspectTable& t) {
    std::vector<int> points = t.Points();
    std::string out = Format("%6.6s", "");
    for (int c : points) out += Format("%6.6s", PointShortName(c).c_str());
    out += "\n";
    for (int r : points) {
        out += Format("%-6.6s", PointShortName(r).c_str());
        for (int c : points) {
            float v = t.matrix.At(r, c);
            if (!t.TwoCharts() && r == c)
                out += Format("%6.6s", PointShortName(r).c_str());
            else if (v == kNoAspect)
                out += Format("%6.6s", "");
            else
                out += Format("%6.1f", static_cast<double>(v));
        }
        out += "\n";
    }
    out += ChartNameLine(t.chartA);
    if (t.TwoCharts()) out += "              " + ChartNameLine(t.chartB);
    out += "\n";
    const char* heading =
        "\xc4\xee\xeb\xe3\xee\xf2\xe0  \xd8\xe8\xf0\xee\xf2\xe0  "
        "\xd1\xea\xee\xf0\xee\xf1\xf2\xfc \xd1\xea\xeb\xee\xed\xe5\xed"
        "\xe8\xe5";  // Долгота  Широта  Скорость Склонение
    out += heading;
    if (t.TwoCharts()) out += Format("    %s", heading);
    out += "\n";
    for (int p : t.CoordinatePoints()) {
        out += PointShortName(p) + CoordinateText(CoordinatesOf(t.chartA, p));
        if (t.TwoCharts()) out += "      " + CoordinateText(CoordinatesOf(t.chartB, p));
        out += "\n";
    }
    return out;
}

TableScrollMaxima ScrollMaxima(const AspectTable& table, int clientWidth, int clientHeight,
                               int lineHeight, int cellWidth) {
    auto ceilAtLeastOne = [](int a, int b) {
        return b <= 0 ? 1 : std::max(1, (std::max(a, 0) + b - 1) / b);
    };
    int n = static_cast<int>(table.Points().size());
    int m = static_cast<int>(table.CoordinatePoints().size());
    TableScrollMaxima maxima;
    maxima.vertical = n + 4 + m - ceilAtLeastOne(clientHeight, lineHeight);
    maxima.horizontal = n + 2 - ceilAtLeastOne(clientWidth, 3 * cellWidth);
    return maxima;
}

PrintedGrid LayOutPrintedGrid(const AspectTable& t, int pageWidth, int pageHeight, int cy) {
    std::vector<int> points = t.Points();
    int n = static_cast<int>(points.size());
    PrintedGrid g;
    int top = 2 * cy;
    g.rowHeight = (pageHeight - top) / (n + 2);
    if (g.rowHeight < pageWidth * 40 / 2000) {
        g.newPage = true;
        top = 0;
        g.rowHeight = pageHeight / (n + 2);
    }
    g.unit = pageWidth / ((n + 1) * 7);
    int h = g.rowHeight, u = g.unit;
    auto text = [&](int x, int y, std::string s) { g.items.push_back({false, x, y, 0, 0, s}); };
    auto rule = [&](int x, int y, int x2, int y2) { g.items.push_back({true, x, y, x2, y2, {}}); };
    for (int k = 1; k <= n; ++k) text(7 * k * u + 2 * u, top, PointShortName(points[k - 1]));
    int right = 7 * n * u + 6 * u;
    rule(0, top + h, right, top + h);
    for (int r = 1; r <= n; ++r) {
        int y = top + r * h;
        int row = points[r - 1];
        text(2 * u, y, PointShortName(row));
        for (int k = 1; k <= n; ++k) {
            int column = points[k - 1];
            float v = t.matrix.At(row, column);
            if (!t.TwoCharts() && row == column)
                text(7 * k * u + 2 * u, y, PointShortName(row));
            else if (v != kNoAspect)
                text(7 * k * u, y, Format("%5.1f", static_cast<double>(v)));
        }
        rule(0, y + h, right, y + h);
    }
    int bottom = top + (n + 1) * h;
    rule(0, top, 0, bottom);
    rule(6 * u, top, 6 * u, bottom);
    for (int k = 1; k <= n; ++k) rule(7 * k * u + 6 * u, top, 7 * k * u + 6 * u, bottom);
    return g;
}

std::vector<BindhuEntry> BindhuEntries(const ChartRecord& chart, const OrbTable& table,
                                       long maskP) {
    std::vector<BindhuEntry> entries;
    int last = chart.houseSystem == kNoHouseSystem ? kBodyCount : kPointCount;
    for (int p = 1; p <= last; ++p) {
        if (!BodyShown(chart, p, maskP)) continue;
        double lon = PointLongitude(chart, p);
        for (const AspectRecord& a : table.aspects) {
            entries.push_back({Normalize(lon + a.angle), p, a.angle});
            if (a.angle != 0 && a.angle != 180)
                entries.push_back({Normalize(lon - a.angle), p, a.angle});
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const BindhuEntry& a, const BindhuEntry& b) { return a.lon < b.lon; });
    return entries;
}

std::vector<BindhuRow> BindhuLayout(const std::vector<BindhuEntry>& entries) {
    // The entries of each degree and sign, in longitude order.
    std::array<std::array<std::vector<const BindhuEntry*>, 12>, 30> at;
    for (const BindhuEntry& e : entries) {
        SignPosition s = SignPositionOf(e.lon);
        at[s.degrees][s.sign].push_back(&e);
    }
    std::vector<BindhuRow> rows;
    for (int d = 0; d < 30; ++d) {
        size_t count = 1;
        for (const auto& cell : at[d]) count = std::max(count, cell.size());
        size_t first = rows.size();
        rows.resize(first + count);
        rows[first].label = static_cast<uint16_t>(d + 1);
        for (int s = 0; s < 12; ++s)
            for (size_t k = 0; k < at[d][s].size(); ++k) {
                const BindhuEntry& e = *at[d][s][k];
                BindhuCell& cell = rows[first + k].cells[s];
                cell.point = static_cast<uint8_t>(e.point);
                cell.minutes = static_cast<uint8_t>(SignPositionOf(e.lon).minutes);
                cell.aspect = e.aspect;
            }
    }
    return rows;
}

std::string BindhuReportText(const std::vector<BindhuEntry>& entries) {
    std::string out;
    int previousSign = -1, onLine = 0;
    for (const BindhuEntry& e : entries) {
        int sign = SignPositionOf(e.lon).sign;
        if (sign != previousSign || onLine == 4) {
            out += "\n |";
            onLine = 0;
        }
        previousSign = sign;
        ++onLine;
        out += Format(" %s-%3.0f %s |", PointName(e.point).c_str(), static_cast<double>(e.aspect),
                      PositionText(e.lon).c_str());
    }
    return out;
}

}  // namespace orbeta
