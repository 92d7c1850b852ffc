#pragma once
// Where the graphic pictures lie on a screen or page of given size: plain arithmetic,
// shared by the painters and by what reports the pictures as data.
namespace orbeta {

struct GraphLayout {
    int width = 1, height = 1, rowHeight = 1;
    int x0 = 0, x1 = 1, y0 = 0, y1 = 1;
    int rowPitch = 0;    // forecast: band height (0 without bands)
    int levelPitch = 0;  // ephemerides: a 24th of the plot
};

// Base layout: rowHeight a 30th of the height on screen; on the page a fraction of the
// page's height that depends on its orientation.
GraphLayout BaseGraphLayout(int width, int height, bool printing);
// The forecast: on the printer rowHeight is a sixth of the vertical resolution. Without
// bands there is no band height (the count would divide by 0).
GraphLayout ForecastLayout(int width, int height, bool printing, int dpiY, int bandCount);
GraphLayout EphemerisLayout(int width, int height, bool printing);

}  // namespace orbeta
