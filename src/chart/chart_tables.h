#pragma once
// The tables of a chart: the aspect grid with the coordinates of its points (shown in
// a window, printed, saved as text) and the Bindhu table, the degrees of the zodiac
// where a body would make an aspect to a point of the chart. Plain data, no drawing.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "aspects/aspect_matrix.h"
#include "aspects/orb_file.h"
#include "core/chart_record.h"

namespace orbeta {

constexpr int kTableOneChart = 0;
constexpr int kTableTwoCharts = 2;
constexpr int kTableArcs = 3;
// The house system of charts without houses (harmonic charts keep the radix cusps).
constexpr int kNoHouseSystem = 8;

struct AspectTable {
    int kind = kTableOneChart;
    bool horary = false;
    ChartRecord chartA;
    ChartRecord chartB;  // kinds 2 and 3
    // Cell (row, column) by PointId; kind 3 the separation of point row of chartA and
    // point column of chartB.
    AspectMatrix matrix;
    long maskP = 1023;
    long maskA = 1023;

    bool TwoCharts() const { return kind != kTableOneChart; }
    // Without houses in either chart the cusps are left out of the grid and the
    // coordinates: no picture shows them.
    bool WithoutHouses() const;
    // Rows and columns: horary SUN..PLT; else the points 1..21 that take aspects.
    std::vector<int> Points() const;
    // The points 1..21 whose coordinates follow the grid.
    std::vector<int> CoordinatePoints() const;
};

// The separations of every point of `a` to every point of `b`.
AspectMatrix ArcMatrix(const ChartRecord& a, const ChartRecord& b);

struct PointCoordinates {
    double lon = 0, lat = 0, speed = 0, declination = 0;
};
// Cusps have latitude and speed 0.
PointCoordinates CoordinatesOf(const ChartRecord& chart, int pointId);

// "%s %s": the chart's name and the date-time text of its local moment (CP1251).
std::string ChartNameLine(const ChartRecord& chart);

// What command 2015 writes (CP1251).
std::string AspectTableText(const AspectTable& table);

// The scroll maxima of the table window; below 1 a bar is hidden.
struct TableScrollMaxima {
    int vertical = 0, horizontal = 0;
};
TableScrollMaxima ScrollMaxima(const AspectTable& table, int clientWidth, int clientHeight,
                               int lineHeight, int cellWidth);

// One line of the grid printed under the wheel: a text or a rule, in page pixels.
struct GridItem {
    bool rule = false;
    int x = 0, y = 0, x2 = 0, y2 = 0;  // text: top left; rule: from (x, y) to (x2, y2)
    std::string text;                  // CP1251
};
struct PrintedGrid {
    bool newPage = false;  // the grid starts at the top of a page of its own
    int rowHeight = 0, unit = 0;
    std::vector<GridItem> items;
};
// The grid below a printed wheel whose centre stands at cy on a page W × H. When the
// rows below the wheel would be lower than a printer line (W·40/2000), the grid takes
// a page of its own.
PrintedGrid LayOutPrintedGrid(const AspectTable& table, int pageWidth, int pageHeight, int cy);

struct BindhuEntry {
    double lon = 0;
    int point = 0;
    float aspect = 0;
};
constexpr uint8_t kBindhuEmpty = 255;
struct BindhuCell {
    uint8_t point = kBindhuEmpty;
    uint8_t minutes = 0;
    float aspect = 0;
};
struct BindhuRow {
    uint16_t label = 0;  // degree within the sign + 1 on a degree's first row, else 0
    std::array<BindhuCell, 12> cells{};
};

// For each shown point (1..15 without houses, else 1..27) and aspect angle A in table
// order: λ + A, and λ − A unless A is 0 or 180; sorted by longitude, stable.
std::vector<BindhuEntry> BindhuEntries(const ChartRecord& chart, const OrbTable& table, long maskP);
std::vector<BindhuRow> BindhuLayout(const std::vector<BindhuEntry>& entries);
// The body of the report (CP1251), after the pipeline's two header lines.
std::string BindhuReportText(const std::vector<BindhuEntry>& entries);

}  // namespace orbeta
