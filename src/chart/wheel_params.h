#pragma once
// Everything a wheel is drawn from: the charts and their aspects, the display
// settings, resolved colours, the body masks and the font faces.
#include <array>
#include <string>
#include <vector>

#include "aspects/aspect_matrix.h"
#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "data/colours.h"
#include "data/settings.h"

namespace orbeta {

constexpr int kWheelOneChart = 0;
constexpr int kWheelTwoCharts = 2;

// The settings of the display dialog and of the printer that the wheel reads.
struct WheelDisplay {
    bool originAscendant = false;  // "Асцендент" rather than "0 Овна"
    int direction = -1;  // −1 "Правое (против час.стрелки)", 1 "Левое"
    bool houseWheel = false;   // "Система Домов"
    bool cuspAspects = false;  // "Рисовать Аспекты к Куспидам Домов"
    bool aspectarium = false;
    int signFill = 0;  // screen: 0 none .. 3 dense
    bool printerBlackWhite = false;
    bool printerLowMemory = false;
    int printerFill = 0;  // printer: 0 none .. 4 dense
};

WheelDisplay WheelDisplayOf(const Settings& settings);

// The pen of an aspect's lines: its colour as drawn and the line style of its orb
// record. Only a colour 0..0xFFFFFF with style solid or dashed makes a pen.
struct AspectPen {
    float angle = 0;
    Colour colour = 0;
    int lineStyle = kLineSolid;
    bool Valid() const {
        return colour >= 0 && colour <= 0xFFFFFF &&
               (lineStyle == kLineSolid || lineStyle == kLineDashed);
    }
};

// The horary list that a horary window shows instead of the aspectarium: its first
// part, a rule, then the rest.
struct HoraryList {
    std::vector<std::string> lines;  // CP1251
    int firstPart = 0;               // lines before the rule
};

struct WheelParams {
    ChartRecord first;   // outer ring; the only chart of kind 0
    ChartRecord second;  // inner ring of kind 2 (for kind 0 the window's second chart)
    // Kind 0: the first chart with itself. Kind 2: row = a point of the second chart,
    // column = a point of the first.
    AspectMatrix matrix;
    int kind = kWheelOneChart;
    bool horary = false;
    HoraryList horaryList;
    WheelDisplay display;
    std::array<Colour, kDrawingElementCount> elements{};
    std::vector<AspectPen> aspectPens;  // in orb-table order; the first of an angle counts
    bool blackAndWhite = false;         // aspects of angles without a pen are black too
    long maskP = 1023;
    long maskA = 1023;
    std::string glyphFace = "Sigilum";
    std::string textFace = "Tabula Mono";
    // Printed: the aspect grid under the wheel ("Карта с Аспектами").
    bool printTable = false;

    // The pen of an aspect angle; without a pen of its own, the standard colour of
    // the angle, solid.
    AspectPen PenOf(float angle) const;
};

// Parameters from the program's settings and orb table, with the colours of the
// screen or of the printer. The charts, matrix and kind are the caller's to set.
WheelParams MakeWheelParams(const Settings& settings, const OrbTable& table, bool printing);

}  // namespace orbeta
