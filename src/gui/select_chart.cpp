#include "gui/select_chart.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"

namespace orbeta {

SelectChartDialog::SelectChartDialog(QWidget* owner) : QDialog(owner) {
    setObjectName("1009");
    setWindowTitle(FromAnsi("Выбор Карты"_cp));
    list_ = new QListWidget(this);
    list_->setObjectName("1501");
    for (const auto& entry : App().charts.Selectable()) {
        ChartWindowBase* w = entry.window;
        if (w->IsHorary() || w->Chart1().calcMethod != 1) continue;
        windows_.push_back(w);
        list_->addItem(w->windowTitle());
    }
    if (list_->count() > 0) list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    buttons->button(QDialogButtonBox::Cancel)->setText(FromAnsi("Отмена"_cp));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(420, 300);
}

std::optional<ChartRecord> SelectChartDialog::Chosen() const {
    int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(windows_.size())) return std::nullopt;
    // The window may have been closed while the dialog was open.
    ChartWindowBase* w = windows_[row];
    for (const auto& entry : App().charts.Selectable())
        if (entry.window == w) return w->Chart1();
    return std::nullopt;
}

std::optional<ChartRecord> SelectChart(QWidget* owner) {
    SelectChartDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

}  // namespace orbeta
