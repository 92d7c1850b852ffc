#pragma once
// The graphic forecast and the graphic ephemerides on any paint device. Each picture is
// a plot, which the cursor leaves alone, and the cursor's parts (its line, box, the
// positions at the cursor), so that a window can keep the plot and repaint only those.
#include <QPainter>
#include <QSize>

#include "forecast/draw/graph_style.h"
#include "forecast/graph_ephemeris.h"
#include "forecast/graph_forecast.h"
#include "forecast/graph_layout.h"

namespace orbeta {

void PaintForecastPlot(QPainter& painter, QSize size, const ForecastModel& model,
                       const GraphStyle& style);
void PaintForecastCursor(QPainter& painter, QSize size, const ForecastModel& model,
                         const GraphStyle& style);

void PaintEphemerisPlot(QPainter& painter, QSize size, const EphemerisModel& model,
                        const GraphStyle& style);
void PaintEphemerisCursor(QPainter& painter, QSize size, const EphemerisModel& model,
                          const GraphStyle& style);

}  // namespace orbeta
