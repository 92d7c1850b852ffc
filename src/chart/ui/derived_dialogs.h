#pragma once
// The dialogs of a chart window's commands: time steps and time files (1014), change
// of Ascendant (1015), the place of a composite or midpoint chart (1016), relocation
// (1019), thematic chart (1075), the harmonic number and the method of the outer chart
// (1068). Each Run function shows its dialog and gives the values on OK, nothing on
// Cancel; wrong numbers are refused with a message naming the field.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/chart_record.h"
#include "core/derived_charts.h"
#include "core/time_list.h"

class QWidget;

namespace orbeta {

// 1014 "Шаг Модификации Времени" (ModTime).
struct TimeStepInput {
    std::array<long, 8> delT = {1, 0, 0, 0, 1, 0, 0, 0};
    bool twoCharts = false;  // the inner step's file box is offered in kind-2 windows only
};
struct TimeStepResult {
    std::array<long, 8> delT{};
    // A list for each chart whose box was ticked and whose file held a moment; both
    // lists of the window are replaced by these.
    std::optional<TimeList> lists[2];
};
std::optional<TimeStepResult> RunTimeStepDialog(QWidget* parent, const TimeStepInput& in);

// The file chooser of the time lists: given the caption, gives a path or "" on Cancel.
// By default a file dialog for text files; tests put their own.
void SetTimeFileChooser(std::function<std::string(const std::string& caption)> chooser);

// 1015 "Смена Asc" (SmAsc).
struct AscendantInput {
    double ascendant = 0;    // the current Ascendant of the outer chart, prefilled
    bool twoCharts = false;  // "Внутренняя" is offered in kind-2 windows only
};
struct AscendantResult {
    int sign = 0;  // 0 = Aries
    double degrees = 0, minutes = 0, seconds = 0;
    bool inner = false;
    double target = 0;  // 30 × sign + degrees + minutes / 60 + seconds / 3600
};
std::optional<AscendantResult> RunAscendantDialog(QWidget* parent, const AscendantInput& in);

// 1016 "Место контакта" (DVKomp): averaged or given coordinates; the town block is
// prefilled from the chart.
std::optional<ContactPlace> RunContactPlaceDialog(QWidget* parent, const ChartRecord& prefill);

// 1019 "Координаты места" (DVGeo), prefilled from the chart.
struct PlaceResult {
    std::string town;      // CP1251
    double latitude = 0;   // packed d.mm
    double longitude = 0;  // packed d.mm as entered, east positive
};
std::optional<PlaceResult> RunRelocationDialog(QWidget* parent, const ChartRecord& chart1);

// 1075 "Тематическая карта" (TemaK): the planets are list indices 0..14 of "PLAN"
// (the option values 17 and 18, to be stored back), the BodyId is index + 1.
struct ThematicInput {
    int planet1 = 0;
    int planet2 = 0;
};
struct ThematicResult {
    int type = 0;  // 0 one planet, 1 symbolic, 2 two planets
    int planet1 = 0;
    int planet2 = 0;
    std::string title;  // "Тематическая карта: %s" (and " - %s"), CP1251
};
std::optional<ThematicResult> RunThematicDialog(QWidget* parent, const ThematicInput& in);

// The harmonic number box ("Гармоника"): the number as ParseHarmonicNumber reads it.
std::optional<int> RunHarmonicDialog(QWidget* parent);

// 1068 (VMet): the chart-kind list (5022) with the current method preselected.
std::optional<int> RunMethodDialog(QWidget* parent, int currentMethod);

}  // namespace orbeta
