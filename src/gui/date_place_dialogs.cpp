#include "gui/date_place_dialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {

namespace {
const char* const kPartNames[6] = {"День"_cp, "Месяц"_cp,  "Год"_cp,
                                   "Часы"_cp, "Минуты"_cp, "Секунды"_cp};
}

DatePlaceDialog::DatePlaceDialog(QWidget* parent, int resourceId, const char* helpKey, int parts,
                                 int correctionId)
    : Dial(parent, resourceId, helpKey, true), partCount_(parts) {
    for (int i = 0; i < parts; ++i) {
        parts_[i] = new QLineEdit(this);
        parts_[i]->setObjectName(QString::number(5001 + i));
        parts_[i]->setMaxLength(4);
        parts_[i]->setToolTip(FromAnsi(kPartNames[i]));
    }
    correction_ = new QLineEdit(this);
    correction_->setObjectName(QString::number(correctionId));
    correction_->setMaxLength(9);
    WatchMoment(parts_, parts, correction_);
}

int DatePlaceDialog::AddDateRows(QGridLayout* grid, int row) {
    for (int first = 0; first < partCount_; first += 3) {
        grid->addWidget(
            new QLabel(FromAnsi(first == 0 ? "Дата (Д М Г)"_cp : "Время (Ч М С)"_cp), this), row,
            0);
        auto* h = new QHBoxLayout;
        for (int i = first; i < first + 3; ++i) {
            parts_[i]->setFixedWidth(FieldWidth(parts_[i], 4));
            h->addWidget(parts_[i]);
        }
        h->addStretch();
        grid->addLayout(h, row++, 1, 1, 3);
    }
    grid->addWidget(new QLabel(FromAnsi("Поправка (час)"_cp), this), row, 0);
    correction_->setFixedWidth(FieldWidth(correction_, 9));
    auto* corrRow = new QHBoxLayout;
    corrRow->addWidget(correction_);
    corrRow->addWidget(new QLabel("(GMT)", this));
    corrRow->addStretch();
    grid->addLayout(corrRow, row, 1, 1, 3);
    return row + 1;
}

void DatePlaceDialog::Fill(const BirthData& d) {
    const int values[6] = {d.local.day,  d.local.month,  d.local.year,
                           d.local.hour, d.local.minute, d.local.second};
    for (int i = 0; i < partCount_; ++i)
        parts_[i]->setText(FromAnsi(Format(i == 2 ? "%04d" : "%02d", values[i])));
    correction_->setText(FromAnsi(CorrectionText(d.correctionHours)));
    if (name_) name_->setText(FromAnsi(d.name));
    if (comment_) comment_->setText(FromAnsi(d.comment));
}

void DatePlaceDialog::FillTodaysDate() {
    FillPresentMoment();
}

void DatePlaceDialog::OnTowns() {
    DateParts local;
    int* p[6] = {&local.day, &local.month, &local.year, &local.hour, &local.minute, &local.second};
    for (int i = 0; i < partCount_; ++i) *p[i] = ParseWhole(ToAnsi(parts_[i]->text())).value_or(0);
    double hours = 0;
    if (RunTownDirectory(JulianDay(local), &hours))
        correction_->setText(FromAnsi(CorrectionText(hours)));
}

void DatePlaceDialog::accept() {
    BirthData d;
    std::string error;
    if (auto local = ReadDateFields(parts_, partCount_, error)) d.local = *local;
    if (error.empty())
        if (auto c = ReadNumberField(correction_, "Поправка (час)"_cp, error))
            d.correctionHours = *c;
    if (error.empty()) ReadTownBlock(d.place, d.latitude, d.longitude, error);
    if (!error.empty()) {
        Svc().Warning(error);
        return;
    }
    if (name_) d.name = ToAnsi(name_->text()).substr(0, 29);
    if (comment_) d.comment = ToAnsi(comment_->text()).substr(0, 29);
    data_ = d;
    Dial::accept();
}

ElectionalDayDialog::ElectionalDayDialog(QWidget* parent, const ChartRecord& prefill)
    : DatePlaceDialog(parent, 1067, "ElectD", 3, 5004) {
    setWindowTitle(FromAnsi("Хорарные суточные аспекты"_cp));
    auto* grid = new QGridLayout;
    AddTownBlock(grid, AddDateRows(grid, 0));
    auto* extra = new QHBoxLayout;
    connect(AddButton(extra, 5023, "Сегодня"_cp), &QPushButton::clicked, this,
            &ElectionalDayDialog::FillTodaysDate);
    extra->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(extra);
    layout->addLayout(StandardButtons());
    Fill(BirthDataOf(prefill));
    WriteTownBlock(prefill);
}

LunationDialog::LunationDialog(QWidget* parent, const ChartRecord& prefill)
    : DatePlaceDialog(parent, 1060, "DVNPL", 3, 5010) {
    setWindowTitle(FromAnsi("Полно-Ново-луние"_cp));
    auto* box = new QGroupBox(this);
    box->setObjectName("100");
    auto* boxLayout = new QHBoxLayout(box);
    full_ = new QRadioButton(FromAnsi("Полнолуние"_cp), box);
    full_->setObjectName("201");
    auto* fresh = new QRadioButton(FromAnsi("Новолуние"_cp), box);
    fresh->setObjectName("202");
    auto* group = new QButtonGroup(this);
    group->addButton(full_);
    group->addButton(fresh);
    full_->setChecked(true);
    boxLayout->addWidget(full_);
    boxLayout->addWidget(fresh);
    auto* grid = new QGridLayout;
    AddTownBlock(grid, AddDateRows(grid, 0));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
    Fill(BirthDataOf(prefill));
    WriteTownBlock(prefill);
}

bool LunationDialog::FullMoon() const {
    return full_->isChecked();
}

ChartCardDialog::ChartCardDialog(QWidget* parent, const ChartRecord& card)
    : DatePlaceDialog(parent, 1061, "DCorr", 6, 5010) {
    setWindowTitle(FromAnsi("Карточка из базы данных"_cp));
    SetKeepFocus(true);
    name_ = new QLineEdit(this);
    name_->setObjectName("5000");
    name_->setMaxLength(29);
    comment_ = new QLineEdit(this);
    comment_->setObjectName("5014");
    comment_->setMaxLength(29);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(FromAnsi("Имя"_cp), this), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 3);
    int row = AddTownBlock(grid, AddDateRows(grid, 1));
    grid->addWidget(new QLabel(FromAnsi("Комментарий"_cp), this), row, 0);
    grid->addWidget(comment_, row, 1, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons("Записать"_cp));
    Fill(BirthDataOf(card));
    WriteTownBlock(card);
}

}  // namespace orbeta
