#include "data/ui/town_dialogs.h"

#include <QApplication>
#include <QListWidget>
#include <QVBoxLayout>

#include "data/chart_card.h"
#include "data/open_base.h"
#include "data/town_directory.h"
#include "data/ui/input_box.h"
#include "platform/codepage.h"
#include "shell/qt_text.h"

namespace orbeta {

TownChoiceDialog::TownChoiceDialog(QWidget* parent, const std::vector<std::string>& lines)
    : Dial(parent, 1011, "Town", false) {
    setWindowTitle(FromAnsi("Выбор города"_cp));
    list_ = new QListWidget(this);
    list_->setObjectName("list");
    for (const auto& line : lines) list_->addItem(FromAnsi(line));
    if (!lines.empty()) list_->setCurrentRow(0);
    list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance(QString(56, 'W')));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(StandardButtons());
    list_->setFocus();
}

int TownChoiceDialog::Chosen() const {
    return list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
}

bool LookupTown(QWidget* parent, TownQuery& query) {
    auto typed = AskText(parent, "TownIn", "Справочник Городов"_cp,
                         "Введи название или начальные буквы"_cp, int(kTownTypedMax));
    if (!typed) return false;
    std::vector<std::string> lines;
    if (ListTowns(*typed, lines) != TownSearch::Found) return false;  // warned already
    TownChoiceDialog dialog(parent, lines);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen() < 0) return false;
    auto choice = ChooseTown(dialog.Chosen(), query.jdLocal);
    TellBaseMessages();
    if (!choice) return false;
    query.town = choice->name;
    query.latitude = CardNumber(choice->latitude);
    query.longitude = CardNumber(choice->longitude);
    query.correctionHours = choice->correction;
    return true;
}

void InstallTownDirectory() {
    // The directory's dialogs belong to the dialog whose button asked for them.
    Dial::SetTownDirectory(
        [](TownQuery& query) { return LookupTown(QApplication::activeModalWidget(), query); });
}

}  // namespace orbeta
