#pragma once
// What the graphic windows paint with: colours of the bodies, aspects and drawing
// elements for the screen or the printer, the two faces, and the chart's name and date
// for the chart box. Painting is QPainter on any device, as the wheel's.
#include <QPainter>
#include <QSize>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "aspects/orb_file.h"
#include "chart/make_font.h"
#include "chart/wheel_params.h"
#include "core/chart_record.h"
#include "data/colours.h"
#include "data/settings.h"

namespace orbeta {

struct GraphStyle {
    std::array<Colour, 17> bodies{};  // by BodyId; 0 and 16 for the other points
    std::vector<AspectPen> aspectPens;
    Colour grid = 0, text = 0, box = 0xC0C0C0, background = 0xFFFFFF;
    std::string glyphFace = "Sigilum", textFace = "Tabula Mono";
    bool printing = false;
    bool lowMemory = false;  // printing with "У принтера мало памяти": frame only
    int dpiY = 96;           // vertical resolution of the device when printing
    std::string chartName, chartDate;  // CP1251

    Colour PointColour(int pointId) const;
    Colour AspectColourOf(double angle) const;
};

GraphStyle MakeGraphStyle(const Settings& settings, const OrbTable& table, const ChartRecord& chart,
                          bool printing);

// Text and glyphs drawn at their top-left corner, as the program's windows place them.
class GraphCanvas {
  public:
    explicit GraphCanvas(QPainter& p) : p_(p) {}
    QPainter& Painter() { return p_; }
    // Selects a face at a pixel height; false when no font can be made.
    bool SelectFont(const std::string& face, int height);
    int FontHeight() const;
    int AverageCharWidth() const;
    int TextWidth(const std::string& cp1251) const;
    void Text(int x, int y, const std::string& cp1251, Colour colour);
    void Line(int xa, int ya, int xb, int yb, Colour colour, int width = 1);
    void FillBox(int xa, int ya, int xb, int yb, Colour colour);

  private:
    void Glyph(int x, int y, char ch, Colour colour);
    QPainter& p_;
};

}  // namespace orbeta
