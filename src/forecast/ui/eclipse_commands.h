#pragma once
// Commands of eclipses, lunations and returns: the eclipse list (604), the Sun's entry
// into a degree (801), full and new moons (802), the returns of a chart window (2041)
// and the eclipse parameters (dialog 1076).
#include "core/chart_record.h"

class QWidget;

namespace orbeta {

void RunEclipseList(QWidget* parent);
void RunSunIngress(QWidget* parent);
void RunLunation(QWidget* parent);
void RunSolarLunar(QWidget* parent, const ChartRecord& base);
// True when the parameters were changed.
bool EditEclipseParameters(QWidget* parent);

}  // namespace orbeta
