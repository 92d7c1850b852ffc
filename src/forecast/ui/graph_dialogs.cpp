#include "forecast/ui/graph_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/settings.h"
#include "forecast/ui/graph_window.h"
#include "forecast/ui/point_boxes.h"
#include "gui/method_list.h"
#include "gui/planet_colours_dialog.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

using namespace graph_ids;

constexpr int kDateTextLength = 30;
constexpr int kYearTextLength = 6;

}  // namespace

GraphDialog::GraphDialog(QWidget* parent, int resourceId, const char* helpKey, const char* title)
    : Dial(parent, resourceId, helpKey, false) {
    setWindowTitle(FromAnsi(title));
}

void GraphDialog::AddCommonFields(QVBoxLayout* layout, int kind, const std::string& start,
                                  const std::string& end, const std::string& year,
                                  const std::string& month, uint32_t bodies, uint32_t natal) {
    auto* grid = new QGridLayout;
    methodBox_ = new QComboBox(this);
    methodBox_->setObjectName(QString::number(kMethod));
    FillMethodList(methodBox_);
    grid->addWidget(new QLabel(FromAnsi("Метод расчета"_cp), this), 0, 0);
    grid->addWidget(methodBox_, 0, 1);
    const struct {
        int id;
        const char* label;
        int length;
        const std::string& text;
    } fields[] = {{kStart, "Начало(ДД.ММ.ГГГГ ЧЧ:ММ)"_cp, kDateTextLength, start},
                  {kEnd, "Конец (ДД.ММ.ГГГГ ЧЧ:ММ)"_cp, kDateTextLength, end},
                  {kYear, "Год"_cp, kYearTextLength, year},
                  {kMonth, "Месяц"_cp, kYearTextLength, month}};
    int row = 1;
    for (const auto& f : fields) {
        auto* e = new QLineEdit(FromAnsi(f.text), this);
        e->setObjectName(QString::number(f.id));
        e->setMaxLength(f.length - 1);
        e->setMinimumWidth(FieldWidth(e, f.length == kDateTextLength ? 19 : 6));
        grid->addWidget(new QLabel(FromAnsi(f.label), this), row, 0);
        grid->addWidget(e, row++, 1);
    }
    layout->addLayout(grid);
    layout->addWidget(RadioGroup("Вид Периода"_cp, kPeriod,
                                 {"Произвольный"_cp, "Год"_cp, "Месяц"_cp}, periodKind_, kind));
    auto* points = new QHBoxLayout;
    points->addWidget(PointBoxes(this, "Планеты"_cp, kBodies, kBodyCount, bodies, bodies_));
    points->addWidget(PointBoxes(this, "Натальные точки"_cp, kNatal, kPointCount, natal, natal_));
    layout->addLayout(points);
}

QGroupBox* GraphDialog::RadioGroup(const char* title, int firstId, std::vector<const char*> labels,
                                   QButtonGroup*& group, int checked) {
    auto* box = new QGroupBox(FromAnsi(title), this);
    auto* inner = new QGridLayout(box);
    group = new QButtonGroup(this);
    int columns = labels.size() > 4 ? 4 : static_cast<int>(labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
        auto* b = new QRadioButton(FromAnsi(labels[i]), box);
        int id = firstId + static_cast<int>(i);
        b->setObjectName(QString::number(id));
        group->addButton(b, id);
        inner->addWidget(b, static_cast<int>(i) / columns, static_cast<int>(i) % columns);
        if (static_cast<int>(i) == checked) b->setChecked(true);
    }
    return box;
}

std::string GraphDialog::Text(int id) const {
    auto* e = findChild<QLineEdit*>(QString::number(id));
    return e ? ToAnsi(e->text()) : std::string();
}

int GraphDialog::PeriodKind() const {
    int id = periodKind_->checkedId();
    return id < kPeriod ? 0 : id - kPeriod;
}

uint32_t GraphDialog::BodyMask() const {
    return MaskOf(bodies_);
}

uint32_t GraphDialog::NatalMask() const {
    return MaskOf(natal_);
}

bool GraphDialog::ReadCommon() {
    method_ = ChosenMethodOf(methodBox_);
    GraphPeriodInput in{PeriodKind(), Text(kStart), Text(kEnd), Text(kYear), Text(kMonth)};
    std::string refusal = MakeGraphPeriod(in, period_);
    if (refusal.empty()) return true;
    Svc().Warning(LookupText(refusal));
    return false;
}

GraphForecastDialog::GraphForecastDialog(QWidget* parent, Settings& settings)
    : GraphDialog(parent, 1031, "GRGN", "Графический Прогноз"_cp), settings_(settings) {
    ForecastSettings s = ParseForecastSettings(settings.gnz);
    auto* layout = new QVBoxLayout(this);
    AddCommonFields(layout, s.periodKind, s.startText, s.endText, s.yearText, s.monthText,
                    s.bodyMask, s.natalMask);
    auto* options = new QGridLayout;
    options->addWidget(RadioGroup("Аспекты"_cp, kToNatal, {"К натальной карте"_cp, "Текущие"_cp},
                                  aspects_, s.current),
                       0, 0);
    options->addWidget(RadioGroup("Натальная ось"_cp, kAxis, {"Горизонтально"_cp, "Вертикально"_cp},
                                  axis_, s.vertical),
                       0, 1);
    options->addWidget(
        RadioGroup("Матрица"_cp, kMatrix,
                   {"Нижний треугольник"_cp, "Верхний треугольник"_cp, "Полная матрица"_cp},
                   matrix_, s.matrix),
        1, 0);
    options->addWidget(
        RadioGroup("r/d"_cp, kMotion, {"Показывать"_cp, "Не показывать"_cp}, motion_, s.hideMotion),
        1, 1);
    layout->addLayout(options);
    layout->addLayout(StandardButtons());
}

void GraphForecastDialog::accept() {
    if (!ReadCommon()) return;
    ForecastSettings s;
    s.startText = Text(kStart);
    s.endText = Text(kEnd);
    s.yearText = Text(kYear);
    s.monthText = Text(kMonth);
    s.periodKind = PeriodKind();
    s.current = aspects_->checkedId() == kToNatal + 1;
    s.vertical = axis_->checkedId() == kAxis + 1;
    s.matrix = matrix_->checkedId() < kMatrix ? 1 : matrix_->checkedId() - kMatrix;
    s.hideMotion = motion_->checkedId() == kMotion + 1;
    s.bodyMask = BodyMask();
    s.natalMask = NatalMask();
    settings_.gnz = ForecastSettingsText(s);
    options_.current = s.current;
    options_.vertical = s.vertical && !s.current;
    options_.matrix = s.matrix;
    options_.hideMotion = s.hideMotion;
    options_.bodyMask = s.bodyMask;
    options_.natalMask = s.natalMask;
    Dial::accept();
}

GraphEphemerisDialog::GraphEphemerisDialog(QWidget* parent, Settings& settings)
    : GraphDialog(parent, 1030, "GREF", "Графические Эфемериды"_cp), settings_(settings) {
    EphemerisSettings s = ParseEphemerisSettings(settings.gef);
    auto* layout = new QVBoxLayout(this);
    AddCommonFields(layout, s.periodKind, s.startText, s.endText, s.yearText, s.monthText,
                    s.bodyMask, s.natalMask);
    std::vector<std::string> texts;
    for (int m : kModuli) texts.push_back(std::to_string(m));
    std::vector<const char*> labels;
    for (const auto& t : texts) labels.push_back(t.c_str());
    int checked = -1;  // a modulus not in the list checks no button
    for (size_t i = 0; i < std::size(kModuli); ++i)
        if (kModuli[i] == s.modulus) checked = static_cast<int>(i);
    layout->addWidget(RadioGroup("Модуль"_cp, kModulus, labels, modulusGroup_, checked));
    auto* colours = new QPushButton(FromAnsi("Цвета Планет"_cp), this);
    colours->setObjectName(QString::number(kColours));
    colours->setAutoDefault(false);
    connect(colours, &QPushButton::clicked, this, [this] {
        EditPlanetColours(this);
        GraphWindow::RepaintAll();
    });
    layout->addWidget(colours);
    layout->addLayout(StandardButtons());
}

void GraphEphemerisDialog::accept() {
    int id = modulusGroup_->checkedId();
    if (id < kModulus) {
        Svc().Warning("Выберите модуль"_cp);
        return;
    }
    if (!ReadCommon()) return;
    modulus_ = kModuli[id - kModulus];
    bodyMask_ = BodyMask();
    natalMask_ = NatalMask();
    EphemerisSettings s;
    s.modulus = modulus_;
    s.periodKind = PeriodKind();
    s.startText = Text(kStart);
    s.endText = Text(kEnd);
    s.yearText = Text(kYear);
    s.monthText = Text(kMonth);
    s.bodyMask = bodyMask_;
    s.natalMask = natalMask_;
    settings_.gef = EphemerisSettingsText(s);
    Dial::accept();
}

}  // namespace orbeta
