#pragma once
// Dialog 1009 "Выбор Карты": one of the open natal chart windows.
#include <QDialog>
#include <optional>
#include <vector>

#include "core/chart_record.h"

class QListWidget;

namespace orbeta {

class ChartWindowBase;

class SelectChartDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SelectChartDialog(QWidget* owner);
    // The first chart of the chosen window after OK; none when nothing valid is chosen.
    std::optional<ChartRecord> Chosen() const;
    const char* HelpKey() const { return "VibKart"; }

  private:
    QListWidget* list_;
    std::vector<ChartWindowBase*> windows_;
};

// Runs the dialog over the selectable charts that are natal and not horary; the chart
// of the chosen window, or none (Cancel, or no valid choice).
std::optional<ChartRecord> SelectChart(QWidget* owner);

}  // namespace orbeta
