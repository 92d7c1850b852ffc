#include "forecast/ui/forecast_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <ctime>

#include "core/birth_data.h"
#include "core/calendar.h"
#include "data/settings.h"
#include "forecast/ui/eclipse_commands.h"
#include "forecast/ui/point_boxes.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

using namespace forecast_ids;

constexpr int kPeriodTextLength = 28;

const char* const kMethodNames[kForecastMethodCount] = {
    "Транзиты"_cp,          "Прогрессии"_cp,          "Дирекции"_cp,
    "Транзиты по домам"_cp, "Прогрессии по домам"_cp, "Прогр.Луна в знаках"_cp,
    "Затмения"_cp};

std::string Trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// A typed moment "ДД.ММ.ГГГГ ЧЧ:ММ" (the time may be left out); none when unreadable.
std::optional<double> MomentOf(const QLineEdit* e) {
    std::string text = Trimmed(ToAnsi(e->text()));
    DateParts parts;
    bool plain = !text.empty() && text.find_first_not_of("0123456789.: ") == std::string::npos;
    if (!plain || !DatePartsOfDateTimeText(text, parts) || !ImpossibleDateText(parts).empty())
        return std::nullopt;
    return JulianDay(parts);
}

}  // namespace

PointListDialog::PointListDialog(QWidget* parent, int resourceId, const char* title,
                                 const char* helpKey, int count, uint32_t mask)
    : Dial(parent, resourceId, helpKey, false) {
    setWindowTitle(FromAnsi(title));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PointBoxes(this, title, kListPoints, count, mask, boxes_));
    layout->addLayout(StandardButtons());
}

uint32_t PointListDialog::Mask() const {
    return MaskOf(boxes_);
}

ForecastMasks ForecastMasksOf(const Settings& s) {
    auto m = [&](int i) { return static_cast<uint32_t>(s.lp[static_cast<size_t>(i)]); };
    return {m(0), m(1), m(2), m(3), m(4)};
}

void StoreForecastMasks(Settings& s, const ForecastMasks& m) {
    s.lp[0] = m.natal;
    s.lp[1] = m.methods;
    s.lp[2] = m.transit;
    s.lp[3] = m.progressed;
    s.lp[4] = m.directed;
}

std::pair<std::string, std::string> ForecastPeriodTexts(const Settings& s, double jdUT,
                                                        double gmtCorr) {
    DateParts today = DatePartsOf(jdUT - gmtCorr);
    today.hour = today.minute = today.second = 0;
    DateParts next = today;
    ++next.year;
    if (next.month == 2 && next.day == 29) next.day = 28;
    auto text = [](const DateParts& d) {
        return Format("%02d.%02d.%04d 00:00", d.day, d.month, d.year);
    };
    return {s.begG.empty() ? text(today) : s.begG, s.endG.empty() ? text(next) : s.endG};
}

ForecastDialog::ForecastDialog(QWidget* parent, Settings& settings, double gmtCorr)
    : Dial(parent, 1052, "Gnoz", false), settings_(settings), lists_(ForecastMasksOf(settings)) {
    setWindowTitle(FromAnsi("Прогноз"_cp));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    double now = 2440587.5 + static_cast<double>(time(nullptr)) / 86400.0;
    auto [first, second] = ForecastPeriodTexts(settings, now, gmtCorr);
    start_ = Field(kStart, first, kPeriodTextLength);
    end_ = Field(kEnd, second, kPeriodTextLength);
    correction_ = Field(kCorrection, Format("%.3f", gmtCorr * 24), 12);
    int row = 0;
    for (auto [label, edit] : {std::pair{"Начало(ДД.ММ.ГГГГ ЧЧ:ММ)"_cp, start_},
                               std::pair{"Конец (ДД.ММ.ГГГГ ЧЧ:ММ)"_cp, end_},
                               std::pair{"Поправка (час)"_cp, correction_}}) {
        grid->addWidget(new QLabel(FromAnsi(label), this), row, 0);
        grid->addWidget(edit, row++, 1);
    }
    layout->addLayout(grid);

    auto* columns = new QHBoxLayout;
    auto* methods = new QGroupBox(FromAnsi("Методы счета"_cp), this);
    auto* methodList = new QVBoxLayout(methods);
    for (int i = 0; i < kForecastMethodCount; ++i) {
        auto* b = new QCheckBox(FromAnsi(kMethodNames[i]), methods);
        b->setObjectName(QString::number(kMethods + i));
        b->setChecked((lists_.methods >> i) & 1u);
        methodList->addWidget(b);
        methods_.push_back(b);
    }
    methodList->addStretch(1);
    columns->addWidget(methods);
    auto* natal = PointBoxes(this, "Натальные точки"_cp, kNatal, kPointCount, lists_.natal, natal_);
    auto* all = new QPushButton(FromAnsi("Отметить все"_cp), natal);
    all->setObjectName(QString::number(kCheckAll));
    all->setAutoDefault(false);
    connect(all, &QPushButton::clicked, this, [this] {
        for (QCheckBox* b : natal_) b->setChecked(true);
    });
    static_cast<QGridLayout*>(natal->layout())->addWidget(all, 8, 0, 1, 2);
    columns->addWidget(natal);

    auto* side = new QVBoxLayout;
    auto* lists = new QGroupBox(FromAnsi("Списки планет"_cp), this);
    auto* listButtons = new QVBoxLayout(lists);
    struct List {
        int id;
        const char* text;
        int dialog;
        const char* title;
        const char* help;
        int count;
        uint32_t ForecastMasks::*mask;
    };
    const List kLists[] = {
        {kTransitList, "Транзитные"_cp, 1002, "Транзиты для прогноза"_cp, "InsGT", kBodyCount,
         &ForecastMasks::transit},
        {kProgressedList, "Прогрессивные"_cp, 1100, "Прогрессивные планеты"_cp, "InsGP",
         kPointCount, &ForecastMasks::progressed},
        {kDirectedList, "Дирекционные"_cp, 1100, "Дирекционные"_cp, "InsGD", kPointCount,
         &ForecastMasks::directed},
    };
    for (const List& l : kLists) {
        auto* b = new QPushButton(FromAnsi(l.text), lists);
        b->setObjectName(QString::number(l.id));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, l] {
            PointListDialog d(this, l.dialog, l.title, l.help, l.count, lists_.*l.mask);
            if (d.exec() != QDialog::Accepted) return;
            // The list is kept at once, also when the forecast is then cancelled.
            lists_.*l.mask = d.Mask();
            ForecastMasks kept = ForecastMasksOf(settings_);
            kept.*l.mask = lists_.*l.mask;
            StoreForecastMasks(settings_, kept);
        });
        listButtons->addWidget(b);
    }
    side->addWidget(lists);
    auto* eclipses = new QPushButton(FromAnsi("Параметры затмений"_cp), this);
    eclipses->setObjectName(QString::number(kEclipses));
    eclipses->setAutoDefault(false);
    connect(eclipses, &QPushButton::clicked, this, [this] { EditEclipseParameters(this); });
    side->addWidget(eclipses);
    texts_ = new QCheckBox(FromAnsi("С текстами"_cp), this);
    texts_->setObjectName(QString::number(kWithTexts));
    texts_->setChecked(settings.ov[kOptForecast] & kForecastWithTexts);
    links_ = new QCheckBox(FromAnsi("Связь с домами"_cp), this);
    links_->setObjectName(QString::number(kHouseLinks));
    links_->setChecked(settings.ov[kOptForecast] & kForecastHouseLinks);
    side->addWidget(texts_);
    side->addWidget(links_);
    side->addStretch(1);
    columns->addLayout(side);
    layout->addLayout(columns);
    layout->addLayout(StandardButtons());
}

QLineEdit* ForecastDialog::Field(int id, const std::string& text, int length) {
    auto* e = new QLineEdit(FromAnsi(text.substr(0, length)), this);
    e->setObjectName(QString::number(id));
    e->setMaxLength(length);
    e->setMinimumWidth(FieldWidth(e, 19));
    return e;
}

bool ForecastDialog::Read(ForecastRequest& r, std::string& error) const {
    auto start = MomentOf(start_), end = MomentOf(end_);
    if (!start || !end) {
        error = LookupText("erdt");
        return false;
    }
    auto hours = ParseDecimal(Trimmed(ToAnsi(correction_->text())));
    if (!hours || !(std::fabs(*hours) <= 24)) {
        error = "Поправка (час): нужно число часов от -24 до 24"_cp;
        return false;
    }
    r.start = *start;
    r.end = *end;
    r.correction = *hours / 24.0;
    r.masks = lists_;
    r.masks.methods = MaskOf(methods_);
    r.masks.natal = MaskOf(natal_);
    r.options = static_cast<uint8_t>((texts_->isChecked() ? kForecastWithTexts : 0) |
                                     (links_->isChecked() ? kForecastHouseLinks : 0));
    error = CheckForecastRequest(r);
    return error.empty();
}

void ForecastDialog::accept() {
    ForecastRequest r;
    std::string error;
    if (!Read(r, error)) {
        Svc().Warning(error);
        return;
    }
    StoreForecastMasks(settings_, r.masks);
    settings_.ov[kOptForecast] = r.options;
    settings_.begG = ToAnsi(start_->text()).substr(0, kPeriodTextLength);
    settings_.endG = ToAnsi(end_->text()).substr(0, kPeriodTextLength);
    request_ = std::move(r);
    Dial::accept();
}

}  // namespace orbeta
