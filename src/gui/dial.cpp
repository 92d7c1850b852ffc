#include "gui/dial.h"

#include <QApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "core/birth_data.h"
#include "data/towns.h"
#include "gui/app_state.h"
#include "gui/child_window.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"

namespace orbeta {

namespace {
std::function<void(const std::string&)>& HelpOpener() {
    static std::function<void(const std::string&)> f;
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = f] { f = initial; }};
    return f;
}
std::function<bool(TownQuery&)>& TownDirectory() {
    static std::function<bool(TownQuery&)> f;
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = f] { f = initial; }};
    return f;
}
std::function<double()>& PresentMoment() {
    static std::function<double()> f;
    return f;
}
const char* const kPartNames[6] = {"День"_cp, "Месяц"_cp,  "Год"_cp,
                                   "Часы"_cp, "Минуты"_cp, "Секунды"_cp};
}  // namespace

void NotifyingEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!isModified()) return;
    setModified(false);
    emit changedAndLeft();
}

void Dial::SetHelpOpener(std::function<void(const std::string&)> opener) {
    HelpOpener() = std::move(opener);
}
bool Dial::OpenHelp(const std::string& key) {
    if (!HelpOpener()) return false;
    HelpOpener()(key);
    return true;
}

void Dial::SetTownDirectory(std::function<bool(TownQuery&)> directory) {
    TownDirectory() = std::move(directory);
}

void Dial::SetPresentMoment(std::function<double()> jdUT) {
    PresentMoment() = std::move(jdUT);
}

Dial::Dial(QWidget* parent, int resourceId, std::string helpKey, bool townBlock)
    : QDialog(parent ? parent : static_cast<QWidget*>(App().client.data())),
      helpKey_(std::move(helpKey)) {
    setObjectName(QString::number(resourceId));
    if (townBlock) {
        town_ = new QLineEdit(this);
        town_->setObjectName("5011");
        town_->setMaxLength(29);
        latitude_ = new QLineEdit(this);
        latitude_->setObjectName("5012");
        latitude_->setMaxLength(9);
        longitude_ = new QLineEdit(this);
        longitude_->setObjectName("5013");
        longitude_->setMaxLength(9);
        // A place typed by hand is no longer the directory's town.
        for (QLineEdit* field : {town_, latitude_, longitude_})
            connect(field, &QLineEdit::textEdited, this, [this] { ForgetDirectoryTown(); });
    }
}

Dial::~Dial() {
    DebugJournal("~Dial");
    if (keepFocus_) return;
    if (ChildWindow* child = App().activeChild) {
        child->setFocus();
        child->clickArmed = true;
        QApplication::alert(child, 0);
    }
}

void Dial::done(int result) {
    DebugJournal(Format("Dial::Destroy retV=%d", result));
    QDialog::done(result);
}

int Dial::AddTownBlock(QGridLayout* grid, int row) {
    if (!town_) return row;
    grid->addWidget(new QLabel(FromAnsi("Город"_cp), this), row, 0);
    grid->addWidget(town_, row, 1, 1, 3);
    auto* towns = new QPushButton(FromAnsi("Города..."_cp), this);
    towns->setObjectName(QString::number(kCmdTowns));
    towns->setEnabled(static_cast<bool>(TownDirectory()));
    connect(towns, &QPushButton::clicked, this, [this] { OnTowns(); });
    grid->addWidget(towns, row, 4);
    ++row;
    grid->addWidget(new QLabel(FromAnsi("Широта"_cp), this), row, 0);
    auto* coordinates = new QHBoxLayout;
    latitude_->setFixedWidth(FieldWidth(latitude_, 9));
    longitude_->setFixedWidth(FieldWidth(longitude_, 9));
    coordinates->addWidget(latitude_);
    coordinates->addSpacing(16);
    coordinates->addWidget(new QLabel(FromAnsi("Долгота"_cp), this));
    coordinates->addWidget(longitude_);
    coordinates->addStretch();
    grid->addLayout(coordinates, row, 1, 1, 3);
    return row + 1;
}

QPushButton* Dial::AddButton(QHBoxLayout* row, int id, const char* cp1251Text) {
    auto* b = new QPushButton(FromAnsi(cp1251Text), this);
    b->setObjectName(QString::number(id));
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

QHBoxLayout* Dial::StandardButtons(const char* okText) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* ok = AddButton(row, 1, okText ? okText : "OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(AddButton(row, 2, "Отмена"_cp), &QPushButton::clicked, this, &QDialog::reject);
    QPushButton* help = AddButton(row, kCmdHelp, "Помощь"_cp);
    help->setEnabled(static_cast<bool>(HelpOpener()));
    connect(help, &QPushButton::clicked, this, [this] {
        if (HelpOpener()) HelpOpener()(helpKey_);
    });
    return row;
}

bool Dial::RunTownDirectory(double jdLocal, double* correctionHours) {
    if (!town_ || !TownDirectory()) return false;
    TownQuery q;
    q.town = ToAnsi(town_->text());
    q.jdLocal = jdLocal;
    if (!TownDirectory()(q)) return false;
    town_->setText(FromAnsi(q.town.substr(0, 29)));
    latitude_->setText(FromAnsi(AngleFieldText(q.latitude)));
    longitude_->setText(FromAnsi(AngleFieldText(q.longitude)));
    if (correctionHours) *correctionHours = q.correctionHours;
    // Only a card with a zone has corrections of other moments to follow.
    if (q.card.zoneCode.empty() && q.card.fixedCorrection.empty())
        directoryTown_.reset();
    else
        directoryTown_ = std::make_unique<DirectoryTown>(q.card);
    correctionTyped_ = false;
    return true;
}

void Dial::ForgetDirectoryTown() {
    directoryTown_.reset();
}

void Dial::WatchMoment(QLineEdit* const* parts, int count, QLineEdit* correction) {
    momentCount_ = std::min(count, 6);
    for (int i = 0; i < momentCount_; ++i) {
        momentParts_[i] = parts[i];
        connect(parts[i], &QLineEdit::textEdited, this, [this] { FollowMoment(); });
    }
    watchedCorrection_ = correction;
    connect(correction, &QLineEdit::textEdited, this, [this] { correctionTyped_ = true; });
}

std::optional<DateParts> Dial::TypedMoment() const {
    std::string error;
    return ReadDateFields(momentParts_, momentCount_, error);
}

void Dial::FollowMoment() {
    if (!directoryTown_ || correctionTyped_ || !watchedCorrection_) return;
    auto moment = TypedMoment();
    if (!moment) return;
    QString text = FromAnsi(CorrectionText(directoryTown_->CorrectionAt(JulianDay(*moment))));
    if (text == watchedCorrection_->text()) return;
    watchedCorrection_->setText(text);
    CorrectionFollowed();
}

void Dial::FillPresentMoment() {
    double jdUT = PresentMoment() ? PresentMoment()()
                                  : 2440587.5 + QDateTime::currentSecsSinceEpoch() / 86400.0;
    double jdLocal = 0;
    if (directoryTown_ && !correctionTyped_) {
        TownLocalMoment m = directoryTown_->LocalMomentAt(jdUT);
        jdLocal = m.jdLocal;
        if (watchedCorrection_) watchedCorrection_->setText(FromAnsi(CorrectionText(m.correction)));
    } else {
        double hours =
            watchedCorrection_ ? ParseDecimal(ToAnsi(watchedCorrection_->text())).value_or(0) : 0;
        jdLocal = jdUT - hours / 24.0;
    }
    // Half a second against the truncation of the parts, as the date texts round.
    DateParts p = DatePartsOf(jdLocal + 0.5 / 86400.0);
    const int values[6] = {p.day, p.month, p.year, p.hour, p.minute, p.second};
    for (int i = 0; i < momentCount_; ++i)
        momentParts_[i]->setText(FromAnsi(Format(i == 2 ? "%04d" : "%02d", values[i])));
}

void Dial::WriteTownBlock(const ChartRecord& chart) {
    if (!town_) return;
    town_->setText(FromAnsi(std::string(chart.place, strnlen(chart.place, 29))));
    latitude_->setText(FromAnsi(AngleFieldText(chart.latitude)));
    longitude_->setText(FromAnsi(AngleFieldText(chart.longitude)));
}

bool Dial::ReadTownBlock(std::string& town, double& latitude, double& longitude,
                         std::string& error) const {
    if (!town_) return true;
    auto lat = ReadNumberField(latitude_, "Широта"_cp, error);
    if (!lat) return false;
    if (error = LatitudeFieldError(*lat, "Широта"_cp); !error.empty()) return false;
    auto lon = ReadNumberField(longitude_, "Долгота"_cp, error);
    if (!lon) return false;
    if (error = LongitudeFieldError(*lon, "Долгота"_cp); !error.empty()) return false;
    town = ToAnsi(town_->text()).substr(0, 29);
    latitude = *lat;
    longitude = *lon;
    return true;
}

int FieldWidth(const QLineEdit* edit, int characters) {
    return edit->fontMetrics().horizontalAdvance(QString(characters, '0')) + 14;
}

std::optional<double> ReadNumberField(const QLineEdit* edit, const char* name, std::string& error) {
    auto v = ParseDecimal(ToAnsi(edit->text()));
    if (!v) error = Format("В поле \"%s\" должно быть число"_cp, name);
    return v;
}

std::optional<int> ReadWholeField(const QLineEdit* edit, const char* name, std::string& error) {
    auto v = ParseWhole(ToAnsi(edit->text()));
    if (!v) error = Format("В поле \"%s\" должно быть целое число"_cp, name);
    return v;
}

std::optional<DateParts> ReadDateFields(QLineEdit* const* parts, int count, std::string& error) {
    DateParts d;
    d.hour = d.minute = d.second = 0;
    int* p[6] = {&d.day, &d.month, &d.year, &d.hour, &d.minute, &d.second};
    for (int i = 0; i < count && i < 6; ++i) {
        auto v = ReadWholeField(parts[i], kPartNames[i], error);
        if (!v) return std::nullopt;
        *p[i] = *v;
    }
    error = ImpossibleDateText(d);
    if (!error.empty()) return std::nullopt;
    return d;
}

}  // namespace orbeta
