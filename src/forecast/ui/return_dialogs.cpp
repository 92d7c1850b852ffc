#include "forecast/ui/return_dialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/angles.h"
#include "core/birth_data.h"
#include "data/settings.h"
#include "forecast/returns.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {
namespace {

constexpr int kOrbRows = 21;  // SUN .. LIL, ASC, H.2 .. H.6

QLineEdit* Field(QWidget* parent, const char* id, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(id);
    edit->setMaxLength(maxLength);
    return edit;
}

std::string RowLabel(int row) {
    if (row < kBodyCount) return BodyAbbreviation(row + 1);
    if (row == kBodyCount) return "ASC";
    return Format("H.%d", row - kBodyCount + 1);
}

// Year and month fields; false with the message of the first bad one.
bool ReadYearMonth(QLineEdit* year, QLineEdit* month, ReturnDialogData& d, std::string& error) {
    auto y = ReadWholeField(year, "Год"_cp, error);
    if (!y) return false;
    error = ReturnYearError(*y);
    if (!error.empty()) return false;
    d.year = *y;
    if (!month) return true;
    auto m = ReadWholeField(month, "Месяц"_cp, error);
    if (!m) return false;
    if (*m < 1 || *m > 12) {
        error = "Месяц должен быть от 1 до 12"_cp;
        return false;
    }
    d.month = *m;
    return true;
}

}  // namespace

std::string ReturnYearError(int year) {
    if (EphemerisCoversYear(year)) return {};
    return Format("Нет эфемерид для %d года: год должен быть от -4712 до 5399"_cp, year);
}

std::string IngressDegreeError(double packed) {
    double minutes = (packed - std::trunc(packed)) * 100;
    if (!(packed >= 0 && packed < 360))
        return "Градус должен быть от 0 до 359.59 (градусы.минуты)"_cp;
    if (minutes >= 60 - 1e-9) return "Минуты градуса должны быть меньше 60"_cp;
    return {};
}

SolarLunarDialog::SolarLunarDialog(QWidget* parent, const ChartRecord& base, int year, int month)
    : Dial(parent, 1017, "DVSL", true) {
    setWindowTitle(FromAnsi("Соляр-Лунар"_cp));
    auto* box = new QGroupBox(this);
    auto* boxLayout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(this);
    const char* labels[] = {"Годовой Соляр"_cp, "Месячный Соляр"_cp, "Лунар"_cp,
                            "Эмболисмические Лунации"_cp};
    for (int i = 0; i < 4; ++i) {
        kinds_[i] = new QRadioButton(FromAnsi(labels[i]), box);
        kinds_[i]->setObjectName(QString::number(201 + i));
        group->addButton(kinds_[i]);
        boxLayout->addWidget(kinds_[i]);
    }
    kinds_[0]->setChecked(true);
    name_ = Field(this, "5000", 29);
    name_->setText(FromAnsi(std::string(base.name, strnlen(base.name, sizeof base.name))));
    year_ = Field(this, "5001", 5);
    year_->setText(QString::number(year));
    month_ = Field(this, "5002", 2);
    month_->setText(QString::number(month));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(FromAnsi("Имя"_cp), this), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(FromAnsi("Год"_cp), this), 1, 0);
    grid->addWidget(year_, 1, 1);
    grid->addWidget(new QLabel(FromAnsi("Месяц"_cp), this), 1, 2);
    grid->addWidget(month_, 1, 3);
    AddTownBlock(grid, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
    WriteTownBlock(base);
}

void SolarLunarDialog::accept() {
    ReturnDialogData d;
    std::string error;
    if (ReadYearMonth(year_, month_, d, error))
        ReadTownBlock(d.town, d.latitude, d.longitude, error);
    if (!error.empty()) {
        Svc().Warning(error);
        return;
    }
    const int kinds[] = {0, 1, 2, 7};
    d.kind = 2;
    for (int i = 0; i < 4; ++i)
        if (kinds_[i]->isChecked()) d.kind = kinds[i];
    d.name = ToAnsi(name_->text()).substr(0, 29);
    data_ = d;
    Dial::accept();
}

SunIngressDialog::SunIngressDialog(QWidget* parent, const ChartRecord& prefill, int year)
    : Dial(parent, 1018, "DVVSG", true) {
    setWindowTitle(FromAnsi("Вход Солнца в Градус"_cp));
    name_ = Field(this, "5000", 29);
    name_->setText(FromAnsi(std::string(prefill.name, strnlen(prefill.name, sizeof prefill.name))));
    year_ = Field(this, "5001", 5);
    year_->setText(QString::number(year));
    degree_ = Field(this, "5002", 6);
    degree_->setText("0.00");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(FromAnsi("Имя"_cp), this), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(FromAnsi("Год"_cp), this), 1, 0);
    grid->addWidget(year_, 1, 1);
    grid->addWidget(new QLabel(FromAnsi("Градус"_cp), this), 1, 2);
    grid->addWidget(degree_, 1, 3);
    AddTownBlock(grid, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
    WriteTownBlock(prefill);
}

void SunIngressDialog::accept() {
    ReturnDialogData d;
    std::string error;
    if (ReadYearMonth(year_, nullptr, d, error)) {
        if (auto degree = ReadNumberField(degree_, "Градус"_cp, error)) {
            error = IngressDegreeError(*degree);
            d.degree = *degree;
        }
    }
    if (error.empty()) ReadTownBlock(d.town, d.latitude, d.longitude, error);
    if (!error.empty()) {
        Svc().Warning(error);
        return;
    }
    d.name = ToAnsi(name_->text()).substr(0, 29);
    data_ = d;
    Dial::accept();
}

EclipseParametersDialog::EclipseParametersDialog(QWidget* parent, Settings& settings)
    : Dial(parent, 1076, "ZatmG", false), settings_(settings) {
    setWindowTitle(FromAnsi("Затмения"_cp));
    const char* labels[] = {"Солнечное до"_cp, "Солнечное после"_cp, "Лунное до"_cp,
                            "Лунное после"_cp};
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(FromAnsi("Влияние затмений (дни)"_cp), this), 0, 0, 1, 4);
    for (int i = 0; i < 4; ++i) {
        days_[i] = Field(this, std::to_string(5001 + i).c_str(), 8);
        days_[i]->setText(FromAnsi(settings.vEcl[i]));
        grid->addWidget(new QLabel(FromAnsi(labels[i]), this), 1 + i / 2, (i % 2) * 2);
        grid->addWidget(days_[i], 1 + i / 2, (i % 2) * 2 + 1);
    }
    orbs_ = new QTableWidget(kOrbRows, 2, this);
    orbs_->setObjectName("5010");
    orbs_->setHorizontalHeaderLabels({FromAnsi("Солнце"_cp), FromAnsi("Луна"_cp)});
    for (int r = 0; r < kOrbRows; ++r) {
        orbs_->setVerticalHeaderItem(r, new QTableWidgetItem(FromAnsi(RowLabel(r))));
        orbs_->setItem(r, 0, new QTableWidgetItem(FromAnsi(Format("%4.1f", settings.orbEclS[r]))));
        orbs_->setItem(r, 1, new QTableWidgetItem(FromAnsi(Format("%4.1f", settings.orbEclM[r]))));
    }
    orbs_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    orbs_->setMinimumHeight(orbs_->verticalHeader()->defaultSectionSize() * 12);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(orbs_);
    layout->addLayout(StandardButtons());
}

void EclipseParametersDialog::accept() {
    std::array<std::string, 4> days;
    std::string error;
    for (int i = 0; i < 4 && error.empty(); ++i) {
        auto v = ReadNumberField(days_[i], "Влияние затмения"_cp, error);
        if (v && *v < 0) error = "Влияние затмения не может быть отрицательным"_cp;
        days[i] = ToAnsi(days_[i]->text().trimmed()).substr(0, 8);
    }
    std::array<double, kPointCount> orbs[2] = {settings_.orbEclS, settings_.orbEclM};
    for (int r = 0; r < kOrbRows && error.empty(); ++r)
        for (int col = 0; col < 2 && error.empty(); ++col) {
            auto v = ParseDecimal(ToAnsi(orbs_->item(r, col)->text()));
            if (!v || *v < 0 || *v > 30)
                error = Format("Орбис %s должен быть числом от 0 до 30"_cp, RowLabel(r).c_str());
            else
                orbs[col][r] = *v;
        }
    if (!error.empty()) {
        Svc().Warning(error);
        return;
    }
    for (auto& table : orbs)
        for (int cusp = 7; cusp <= 12; ++cusp)
            table[PointOfCusp(cusp) - 1] = table[PointOfCusp(cusp - 6) - 1];
    settings_.vEcl = days;
    settings_.orbEclS = orbs[0];
    settings_.orbEclM = orbs[1];
    Dial::accept();
}

}  // namespace orbeta
