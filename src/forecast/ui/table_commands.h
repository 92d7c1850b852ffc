#pragma once
// The table commands 701..708 of the main menu and the returns of a chart window
// (2045): the kind's dialog, the search with its progress dialog ("Прервать" ends it
// after the step, and what was found is still written) and the report in a text window.
class QWidget;

namespace orbeta {

struct ChartRecord;

// Runs the table of a kind for the base chart (the current chart, or a chart window's
// own chart); false on Cancel or when no report could be made.
bool RunTableMenuCommand(int kind, const ChartRecord& base, QWidget* parent = nullptr);

}  // namespace orbeta
