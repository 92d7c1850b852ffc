#include "gui/pair_selection.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/services.h"
#include "platform/ui_text.h"

namespace orbeta {

PairSelectionDialog::PairSelectionDialog(QWidget* parent, bool forRelationshipReport)
    : Dial(parent, 1010, forRelationshipReport ? "TwoKS" : "TwoK", false) {
    setWindowTitle(FromAnsi("Выбор карт для наложения и синастрий"_cp));
    outer_ = new QListWidget(this);
    outer_->setObjectName("1501");
    inner_ = new QListWidget(this);
    inner_->setObjectName("1502");
    for (const auto& entry : App().charts.Selectable()) {
        windows_.push_back(entry.window);
        outer_->addItem(entry.window->windowTitle());
        inner_->addItem(entry.window->windowTitle());
    }
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(FromAnsi("Внешняя карта (Партнера)"_cp), this), 0, 0);
    grid->addWidget(new QLabel(FromAnsi("Внутренняя карта (Ваша)"_cp), this), 0, 1);
    grid->addWidget(outer_, 1, 0);
    grid->addWidget(inner_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
    resize(560, 300);
}

std::optional<ChartPair> PairSelectionDialog::Chosen() const {
    int o = outer_->currentRow();
    int i = inner_->currentRow();
    int n = static_cast<int>(windows_.size());
    if (o < 0 || i < 0 || o >= n || i >= n || !outer_->currentItem()->isSelected() ||
        !inner_->currentItem()->isSelected())
        return std::nullopt;
    // A window closed while the dialog was open is no choice.
    auto open = [](ChartWindowBase* w) {
        for (const auto& entry : App().charts.Selectable())
            if (entry.window == w) return true;
        return false;
    };
    if (!open(windows_[o]) || !open(windows_[i])) return std::nullopt;
    return ChartPair{windows_[o], windows_[i]};
}

std::optional<ChartPair> SelectChartPair(QWidget* parent, bool forRelationshipReport) {
    if (App().charts.Selectable().empty()) {
        Svc().Warning(LookupText("NoKr"));
        return std::nullopt;
    }
    PairSelectionDialog dialog(parent, forRelationshipReport);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

}  // namespace orbeta
