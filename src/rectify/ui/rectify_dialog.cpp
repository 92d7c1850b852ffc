#include "rectify/ui/rectify_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

#include "core/birth_data.h"
#include "core/calendar.h"
#include "data/settings.h"
#include "gui/notepad_window.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/ui_text.h"
#include "rectify/ui/event_dialogs.h"

namespace orbeta {
namespace {

unsigned rememberedMethods = 7;
bool rememberedReport = false;
const StateReset kReset{[] {
    rememberedMethods = 7;
    rememberedReport = false;
}};

QLineEdit* Field(QWidget* parent, const char* id, int maxLength, const std::string& text) {
    auto* edit = new QLineEdit(FromAnsi(text), parent);
    edit->setObjectName(id);
    edit->setMaxLength(maxLength);
    return edit;
}

// A local moment of a date-and-time text; none when it cannot be read or the date
// cannot be.
std::optional<double> MomentOf(const QLineEdit* edit) {
    std::string text = ToAnsi(edit->text().trimmed());
    DateParts parts;
    if (!DatePartsOfDateTimeText(text, parts) || !ImpossibleDateText(parts).empty())
        return std::nullopt;
    double jd = JulianDayOfDateTimeText(text);
    if (jd < 0) return std::nullopt;
    return jd;
}

}  // namespace

unsigned& RememberedRectifyMethods() {
    return rememberedMethods;
}

bool& RememberedRectifyReport() {
    return rememberedReport;
}

RectifyDialog::RectifyDialog(QWidget* parent, Settings& settings, const ChartRecord& current)
    : Dial(parent, 1070, "Rect", true), settings_(settings) {
    setWindowTitle(FromAnsi("Ректификация"_cp));
    eventFile_ = new QLabel(this);
    eventFile_->setObjectName("5000");
    start_ = Field(this, "5001", 20, settings.begRect);
    end_ = Field(this, "5002", 20, settings.endRect);
    step_ = Field(this, "5003", 8, settings.stepRect);
    threshold_ = Field(this, "5004", 6, settings.porRect);
    correction_ = Field(this, "5014", 10, CorrectionHoursText(current.gmtCorr * 24));
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(FromAnsi("Файл Событий"_cp), this), row, 0);
    grid->addWidget(eventFile_, row++, 1, 1, 3);
    grid->addWidget(new QLabel(FromAnsi("Начало(ДД.ММ.ГГГГ ЧЧ:ММ)"_cp), this), row, 0);
    grid->addWidget(start_, row++, 1, 1, 3);
    grid->addWidget(new QLabel(FromAnsi("Конец(ДД.ММ.ГГГГ ЧЧ:ММ)"_cp), this), row, 0);
    grid->addWidget(end_, row++, 1, 1, 3);
    grid->addWidget(new QLabel(FromAnsi("Шаг (сек)"_cp), this), row, 0);
    grid->addWidget(step_, row++, 1);
    row = AddTownBlock(grid, row);
    grid->addWidget(new QLabel(FromAnsi("Поправка GMT-LT"_cp), this), row, 0);
    grid->addWidget(correction_, row++, 1);
    const char* methodNames[] = {"Транзиты"_cp, "Прогрессии"_cp, "Дирекции"_cp};
    auto* methodRow = new QHBoxLayout;
    for (int k = 0; k < 3; ++k) {
        methods_[k] = new QCheckBox(FromAnsi(methodNames[k]), this);
        methods_[k]->setObjectName(QString::number(201 + k));
        methods_[k]->setChecked(rememberedMethods & 1u << k);
        methodRow->addWidget(methods_[k]);
    }
    grid->addLayout(methodRow, row++, 0, 1, 4);
    report_ = new QCheckBox(FromAnsi("Отчет"_cp), this);
    report_->setObjectName("210");
    report_->setChecked(rememberedReport);
    grid->addWidget(report_, row, 0);
    grid->addWidget(new QLabel(FromAnsi("Порог отчета"_cp), this), row, 1);
    grid->addWidget(threshold_, row++, 2);

    auto* files = new QGridLayout;
    auto button = [this](int id, const char* text) {
        auto* b = new QPushButton(FromAnsi(text), this);
        b->setObjectName(QString::number(id));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* assign = button(5030, "Назначение файла Событий"_cp);
    QPushButton* enter = button(5031, "Ввод Событий"_cp);
    QPushButton* editOwn = button(5032, "Редактирование текущего файла Событий"_cp);
    QPushButton* editStandard = button(5033, "Редактирование Станд. файла Событий"_cp);
    files->addWidget(assign, 0, 0);
    files->addWidget(enter, 0, 1);
    files->addWidget(editOwn, 1, 0);
    files->addWidget(editStandard, 1, 1);
    connect(assign, &QPushButton::clicked, this, [this] {
        RunEventFilesDialog(this, settings_);
        ShowEventFile();
    });
    connect(enter, &QPushButton::clicked, this, [this] { RunAddEventsDialog(this, settings_); });
    connect(editOwn, &QPushButton::clicked, this, [this] {
        std::error_code ec;
        if (settings_.sbName.empty() ||
            !std::filesystem::is_regular_file(PathOfProfileName(settings_.sbName), ec)) {
            Svc().Warning(Format("Нет файла описания событий '%s'"_cp, settings_.sbName.c_str()));
            return;
        }
        OpenNotepad(PathOfProfileName(settings_.sbName).string());
    });
    connect(editStandard, &QPushButton::clicked, this, [] { OpenNotepad(kEventControlFile); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(files);
    layout->addLayout(StandardButtons());
    WriteTownBlock(current);
    ShowEventFile();
}

void RectifyDialog::ShowEventFile() {
    eventFile_->setText(FromAnsi(settings_.sbName));
}

void RectifyDialog::OnTowns() {
    double hours = 0;
    auto start = MomentOf(start_);
    if (RunTownDirectory(start ? *start : 0, start ? &hours : nullptr) && start)
        correction_->setText(FromAnsi(CorrectionHoursText(hours)));
}

void RectifyDialog::accept() {
    RectifyDialogData d;
    RectifyParams& p = d.params;
    std::string error;
    auto start = MomentOf(start_);
    auto end = MomentOf(end_);
    if (!start || !end) {
        Svc().Warning(LookupText("erdt"));
        return;
    }
    p.startLocal = *start;
    p.endLocal = *end;
    if (!(p.endLocal > p.startLocal)) {
        Svc().Warning(LookupText("N>K"));
        return;
    }
    if (p.endLocal - p.startLocal > 1.0 + 1e-9) {
        Svc().Warning(LookupText("I1"));
        return;
    }
    auto step = ParseDecimal(ToAnsi(step_->text().trimmed()));
    if (!step || !std::isfinite(*step) || *step < 1) {
        Svc().Warning("Шаг должен быть числом не меньше 1 секунды"_cp);
        return;
    }
    auto threshold = ParseDecimal(ToAnsi(threshold_->text().trimmed()));
    if (!threshold || *threshold < 1 || *threshold != std::floor(*threshold) || *threshold > 1e6) {
        Svc().Warning("Порог отчета должен быть целым числом не меньше 1"_cp);
        return;
    }
    auto correction = ReadNumberField(correction_, "Поправка GMT-LT"_cp, error);
    if (correction && std::fabs(*correction) > 24)
        error = "Поправка GMT-LT должна быть от -24 до 24 часов"_cp;
    if (error.empty()) ReadTownBlock(d.town, d.latitude, d.longitude, error);
    if (!error.empty()) {
        Svc().Warning(error);
        return;
    }
    unsigned methods = 0;
    for (int k = 0; k < 3; ++k)
        if (methods_[k]->isChecked()) methods |= 1u << k;
    if (!methods) {
        Svc().Warning("Не выбран ни один метод"_cp);
        return;
    }
    p.stepSeconds = *step;
    p.threshold = static_cast<int>(*threshold);
    p.correction = *correction / 24.0;
    p.methods = methods;
    p.report = report_->isChecked();
    p.eventFileName = settings_.sbName;
    settings_.begRect = ToAnsi(start_->text().trimmed());
    settings_.endRect = ToAnsi(end_->text().trimmed());
    settings_.stepRect = ToAnsi(step_->text().trimmed());
    settings_.porRect = ToAnsi(threshold_->text().trimmed());
    rememberedMethods = methods;
    rememberedReport = p.report;
    data_ = d;
    Dial::accept();
}

}  // namespace orbeta
