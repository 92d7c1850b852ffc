#pragma once
// The chart analysis table (the chart window's "Анализ карты"): positions, the balance
// of crosses and elements over seven and ten bodies with the synthetic sign, dignity
// scores, degrees within the signs, rulership and exile chains, the Jones figure and
// the aspect configurations.
#include <string>

#include "aspects/aspect_matrix.h"
#include "core/chart_record.h"

namespace orbeta {

// The body of the table (CP1251, lines ended by "\n").
std::string AnalysisTableText(const ChartRecord& chart, const AspectMatrix& matrix);

}  // namespace orbeta
