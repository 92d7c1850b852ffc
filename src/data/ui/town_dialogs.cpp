#include "data/ui/town_dialogs.h"

#include <QApplication>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "data/chart_card.h"
#include "data/open_base.h"
#include "data/town_directory.h"
#include "data/ui/input_box.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"

namespace orbeta {

TownChoiceDialog::TownChoiceDialog(QWidget* parent, const std::vector<TownListRow>& rows)
    : Dial(parent, 1011, "Town", false) {
    setWindowTitle(FromAnsi("Выбор города"_cp));
    list_ = new QTreeWidget(this);
    list_->setObjectName("list");
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({FromAnsi("Город"_cp), FromAnsi("Регион"_cp), FromAnsi("Страна"_cp),
                            FromAnsi("Широта"_cp), FromAnsi("Долгота"_cp)});
    for (const auto& row : rows) {
        auto* item = new QTreeWidgetItem(list_);
        const std::string* texts[] = {&row.name, &row.region, &row.country, &row.latitude,
                                      &row.longitude};
        for (int c = 0; c < 5; ++c) item->setText(c, FromAnsi(*texts[c]));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    }
    int width = 0;
    for (int c = 0; c < 5; ++c) {
        list_->resizeColumnToContents(c);
        width += list_->columnWidth(c);
    }
    if (!rows.empty()) list_->setCurrentItem(list_->topLevelItem(0));
    // Every column in view, within the screen.
    int most = screen() ? screen()->availableGeometry().width() * 9 / 10 : 1200;
    list_->setMinimumWidth(std::min(width + 40, most));
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(StandardButtons());
    list_->setFocus();
}

int TownChoiceDialog::Chosen() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? list_->indexOfTopLevelItem(item) : -1;
}

bool LookupTown(QWidget* parent, TownQuery& query) {
    auto typed = AskText(parent, "TownIn", "Справочник Городов"_cp,
                         "Введи название или начальные буквы"_cp, int(kTownTypedMax));
    if (!typed) return false;
    std::vector<TownListRow> lines;
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
    query.card = choice->card;
    return true;
}

void InstallTownDirectory() {
    // The directory's dialogs belong to the dialog whose button asked for them.
    Dial::SetTownDirectory(
        [](TownQuery& query) { return LookupTown(QApplication::activeModalWidget(), query); });
}

}  // namespace orbeta
