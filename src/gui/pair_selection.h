#pragma once
// Dialog 1010 "Выбор карт для наложения и синастрий": an outer and an inner chart
// window among the open ordinary charts.
#include <optional>
#include <utility>
#include <vector>

#include "gui/dial.h"

class QListWidget;

namespace orbeta {

class ChartWindowBase;
using ChartPair = std::pair<ChartWindowBase*, ChartWindowBase*>;  // outer, inner

class PairSelectionDialog : public Dial {
    Q_OBJECT
  public:
    PairSelectionDialog(QWidget* parent, bool forRelationshipReport);
    std::optional<ChartPair> Chosen() const;

  private:
    QListWidget* outer_;
    QListWidget* inner_;
    std::vector<ChartWindowBase*> windows_;
};

// None when no chart is open (after the warning "NoKr"), on Cancel, or when a list
// has no selection.
std::optional<ChartPair> SelectChartPair(QWidget* parent, bool forRelationshipReport);

}  // namespace orbeta
