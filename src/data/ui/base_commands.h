#pragma once
// The chart-database commands of the main menu (401 cards, 404 change of database,
// 405 new database), the cards behind "Из Базы..." of the birth-data dialog, and the
// storing of a chart window's chart.
#include <optional>
#include <string>

#include "core/chart_record.h"

class QWidget;

namespace orbeta {

void ShowChartBase(QWidget* parent);    // 401
void ChangeChartBase(QWidget* parent);  // 404
void CreateNewBase(QWidget* parent);    // 405

// The chart of the card picked from the current database; nullopt on Cancel or when
// the database cannot be opened (after a warning).
std::optional<ChartRecord> ChooseChartFromBase(QWidget* parent);

// Stores the chart as a new card of the current database; false after a warning.
bool StoreChartInBase(QWidget* parent, const ChartRecord& chart);

// Makes the chosen path the current database (only the extension of the file name is
// removed); false when it cannot be.
bool UseChosenBaseFile(const std::string& path);

// Supplies "Из Базы..." and "Города..." to the dialogs.
void InstallBaseDialogs();

}  // namespace orbeta
