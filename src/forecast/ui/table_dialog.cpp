#include "forecast/ui/table_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <sstream>

#include "core/birth_data.h"
#include "core/calendar.h"
#include "data/settings.h"
#include "forecast/search_tables.h"
#include "forecast/time_search.h"
#include "forecast/ui/point_boxes.h"
#include "gui/method_list.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

using namespace table_ids;

constexpr uint32_t kSunToPluto = 1023;
// A moment typed as "ДД.ММ.ГГГГ ЧЧ:ММ" takes 16 characters (seconds may follow).
constexpr int kMomentLength = 19;
constexpr int kAspectTextLength = 58;
constexpr int kPlanetChoices[] = {MER, VEN, MRS, JUP, SAT, URN, NEP, PLT, HIR};

uint32_t movingMask = kSunToPluto;
const StateReset kResetMask{[] { movingMask = kSunToPluto; }};

bool UsesMethod(int kind) {
    return kind != kTableLoops && kind != kTableLoopAspects;
}
bool UsesAspectList(int kind) {
    return kind != kTableIngress && kind != kTableReturns && kind != kTableLoops;
}
bool UsesMode(int kind) {
    return kind <= kTableNatal || kind == kTablePoints;
}
bool UsesMovingPoints(int kind) {
    return kind != kTableLoops && kind != kTableLoopAspects;
}
bool UsesTargets(int kind) {
    return kind == kTableChosen || kind == kTableNatal || kind == kTableLoopAspects;
}
bool RemembersMoving(int kind) {
    return UsesMode(kind);
}

std::string Trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// A moment typed as "ДД.ММ.ГГГГ ЧЧ:ММ" (the time may be left out).
std::optional<double> ReadMoment(const QLineEdit* e, const char* name, std::string& error) {
    std::string text = Trimmed(ToAnsi(e->text()));
    DateParts parts;
    bool plain = !text.empty() && text.find_first_not_of("0123456789.: ") == std::string::npos;
    if (!plain || !DatePartsOfDateTimeText(text, parts)) {
        error = Format("%s: \"%s\" не дата в виде ДД.ММ.ГГГГ ЧЧ:ММ"_cp, name, text.c_str());
        return std::nullopt;
    }
    std::string fault = ImpossibleDateText(parts);
    if (!fault.empty()) {
        error = Format("%s\n(%s)", fault.c_str(), name);
        return std::nullopt;
    }
    return JulianDay(parts);
}

// Blank-separated numbers; at most `limit` are taken.
std::optional<std::vector<double>> ReadNumbers(const QLineEdit* e, size_t limit, const char* what,
                                               std::string& error) {
    std::vector<double> values;
    std::istringstream in(ToAnsi(e->text()));
    std::string item;
    while (in >> item) {
        auto v = ParseDecimal(item);
        if (!v) {
            error = Format("%s \"%s\" не число"_cp, what, item.c_str());
            return std::nullopt;
        }
        if (values.size() < limit) values.push_back(*v);
    }
    return values;
}

}  // namespace

uint32_t RememberedMovingMask() {
    return movingMask;
}

std::pair<std::string, std::string> SplitPeriodText(const std::string& text) {
    size_t dash = text.find('-');
    if (dash == std::string::npos) return {text.substr(0, kMomentLength), ""};
    return {text.substr(0, std::min<size_t>(dash, kMomentLength)),
            text.substr(dash + 1, kMomentLength)};
}

TableDialog::TableDialog(QWidget* parent, int kind, Settings& settings, const OrbTable* orbTable)
    : Dial(parent, 1020 + kind, TableHelpKey(kind), false),
      kind_(kind),
      settings_(settings),
      orbTable_(orbTable) {
    static const char* const kTitles[kTableKindCount] = {
        "Текущие Аспекты"_cp,           "Аспекты к выбранным"_cp,
        "Аспекты к натальной карте"_cp, "Ингрессии"_cp,
        "Аспекты к заданным точкам"_cp, "Петли"_cp,
        "Петлевые аспекты"_cp,          "Возвращения"_cp};
    setWindowTitle(FromAnsi(kTitles[kind]));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    if (UsesMethod(kind)) {
        method_ = new QComboBox(this);
        method_->setObjectName(QString::number(kMethod));
        FillMethodList(method_);
        grid->addWidget(new QLabel(FromAnsi("Метод расчета"_cp), this), row, 0);
        grid->addWidget(method_, row++, 1);
    }
    auto [first, second] = SplitPeriodText(settings.interV);
    start_ = AddField(grid, row++, kStart, "Начало(ДД.ММ.ГГГГ ЧЧ:ММ)"_cp, kMomentLength, first);
    end_ = AddField(grid, row++, kEnd, "Конец (ДД.ММ.ГГГГ ЧЧ:ММ)"_cp, kMomentLength, second);
    step_ = AddField(grid, row++, kStep, "Шаг (дней)"_cp, 11, settings.stepA);
    if (UsesAspectList(kind)) {
        aspects_ = AddField(grid, row++, kAspects,
                            "Перечень аспектов через пробел  (для точных аспектов)"_cp,
                            kAspectTextLength, settings.aspAll.substr(0, kAspectTextLength));
        aspects_->setMinimumWidth(FieldWidth(aspects_, 30));
    }
    if (kind == kTablePoints)
        points_ = AddField(grid, row++, kPoints, "Точки (через пробел)"_cp, 200, "");
    layout->addLayout(grid);
    if (UsesMode(kind)) {
        auto* box = new QGroupBox(this);
        auto* inner = new QHBoxLayout(box);
        mode_ = new QButtonGroup(this);
        for (int id : {kExact, kOrbs}) {
            auto* b = new QRadioButton(
                FromAnsi(id == kExact ? "Точные попадания"_cp : "С учетом Орбисов"_cp), box);
            b->setObjectName(QString::number(id));
            mode_->addButton(b, id);
            inner->addWidget(b);
        }
        mode_->button(kExact)->setChecked(true);
        layout->addWidget(box);
    }
    auto* groups = new QHBoxLayout;
    if (UsesMovingPoints(kind)) {
        bool remembered = RemembersMoving(kind);
        groups->addWidget(PointBoxes(this,
                                     kind == kTableChosen ? "Какие Транзиты"_cp : "Транзиты"_cp,
                                     kMoving, kind == kTableReturns ? kBodyCount : kPointCount,
                                     remembered ? movingMask : 0, moving_));
    }
    if (kind == kTableLoops || kind == kTableLoopAspects) groups->addWidget(PlanetChoice());
    if (UsesTargets(kind))
        groups->addWidget(
            PointBoxes(this, kind == kTableChosen ? "К каким транзитам"_cp : "Натальные точки"_cp,
                       kTargets, kPointCount, kSunToPluto, targets_));
    if (kind == kTableIngress) groups->addWidget(SignBoxes());
    layout->addLayout(groups);
    layout->addLayout(StandardButtons());
}

QLineEdit* TableDialog::AddField(QGridLayout* grid, int row, int id, const char* label,
                                 int maxLength, const std::string& text) {
    auto* e = new QLineEdit(FromAnsi(text), this);
    e->setObjectName(QString::number(id));
    e->setMaxLength(maxLength);
    e->setMinimumWidth(FieldWidth(e, std::min(maxLength, 19)));
    grid->addWidget(new QLabel(FromAnsi(label), this), row, 0);
    grid->addWidget(e, row, 1);
    return e;
}

QGroupBox* TableDialog::SignBoxes() {
    auto* group = new QGroupBox(FromAnsi("Знаки Зодиака"_cp), this);
    auto* grid = new QGridLayout(group);
    for (int s = 0; s < 12; ++s) {
        auto* b = new QCheckBox(FromAnsi(SignName(s)), group);
        b->setObjectName(QString::number(kSigns + s));
        grid->addWidget(b, s % 6, s / 6);
        signs_.push_back(b);
    }
    auto* all = new QPushButton(FromAnsi("Отметить все"_cp), group);
    all->setObjectName(QString::number(kCheckAllSigns));
    all->setAutoDefault(false);
    connect(all, &QPushButton::clicked, this, [this] {
        for (QCheckBox* b : signs_) b->setChecked(true);
    });
    grid->addWidget(all, 6, 0, 1, 2);
    return group;
}

QGroupBox* TableDialog::PlanetChoice() {
    auto* group = new QGroupBox(FromAnsi("Выбор планеты"_cp), this);
    auto* grid = new QGridLayout(group);
    planet_ = new QButtonGroup(this);
    int i = 0;
    for (int body : kPlanetChoices) {
        auto* b = new QRadioButton(FromAnsi(PointLongName(body)), group);
        b->setObjectName(QString::number(kPlanets + i));
        planet_->addButton(b, body);
        grid->addWidget(b, i % 5, i / 5);
        ++i;
    }
    planet_->button(MER)->setChecked(true);
    grid->setRowStretch(5, 1);  // the choices stay together at the top
    return group;
}

bool TableDialog::ReadRequest(SearchRequest& r, std::string& error) const {
    auto start = ReadMoment(start_, "Начало"_cp, error);
    if (!start) return false;
    auto end = ReadMoment(end_, "Конец"_cp, error);
    if (!end) return false;
    auto step = ReadNumberField(step_, "Шаг (дней)"_cp, error);
    if (!step) return false;
    r.start = *start;
    r.end = *end;
    r.step = *step;
    r.calcMethod = method_ ? ChosenMethodOf(method_) : 1;
    r.exactMode = mode_ && mode_->checkedId() == kOrbs ? 0 : 1;
    if (aspects_) {
        auto angles = ReadNumbers(aspects_, kMaxSearchAspects, "Аспект"_cp, error);
        if (!angles) return false;
        r.aspects = *angles;
    }
    if (points_) {
        auto points = ReadNumbers(points_, kMaxSearchPoints, "Точка"_cp, error);
        if (!points) return false;
        r.points = *points;
    }
    r.movingMask = MaskOf(moving_);
    r.targetMask = kind_ == kTableIngress ? MaskOf(signs_) : MaskOf(targets_);
    r.planet = planet_ ? planet_->checkedId() : 0;
    PrepareTableRequest(kind_, r, orbTable_);
    error = Utf8ToAnsi(CheckSearchRequest(r));
    if (!error.empty()) return false;
    // Nothing to search for is refused too: the table would come out empty.
    auto none = [&error](const char* group) {
        error = Format("Не отмечено ни одной точки в группе \"%s\""_cp, group);
        return false;
    };
    if (UsesMovingPoints(kind_) && r.movingMask == 0)
        return none(kind_ == kTableChosen ? "Какие Транзиты"_cp : "Транзиты"_cp);
    if (kind_ == kTableCurrent && (r.movingMask & (r.movingMask - 1)) == 0) {
        error = "Для текущих аспектов отметьте не менее двух транзитов"_cp;
        return false;
    }
    if (UsesTargets(kind_) && r.targetMask == 0)
        return none(kind_ == kTableChosen ? "К каким транзитам"_cp : "Натальные точки"_cp);
    if (kind_ == kTableIngress && r.targetMask == 0) return none("Знаки Зодиака"_cp);
    if (kind_ == kTablePoints && r.points.empty()) {
        error = "Не задано ни одной точки"_cp;
        return false;
    }
    if (UsesAspectList(kind_) && r.aspects.empty()) {
        error = r.exactMode ? "Не задано ни одного аспекта"_cp
                            : "В текущей таблице орбисов нет аспектов"_cp;
        return false;
    }
    return true;
}

void TableDialog::Remember(const SearchRequest& r) {
    settings_.interV =
        Format("%s-%s", ToAnsi(start_->text()).c_str(), ToAnsi(end_->text()).c_str()).substr(0, 38);
    settings_.stepA = ToAnsi(step_->text()).substr(0, 11);
    if (aspects_) settings_.aspAll = ToAnsi(aspects_->text());
    if (RemembersMoving(kind_)) movingMask = r.movingMask;
}

void TableDialog::accept() {
    SearchRequest r;
    std::string error;
    if (!ReadRequest(r, error)) {
        Svc().Warning(error);
        return;
    }
    Remember(r);
    request_ = std::move(r);
    Dial::accept();
}

std::optional<SearchRequest> RunTableDialog(QWidget* parent, int kind, Settings& settings,
                                            const OrbTable* orbTable) {
    TableDialog dialog(parent, kind, settings, orbTable);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Request();
}

}  // namespace orbeta
