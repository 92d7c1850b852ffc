#include "gui/choice_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "platform/codepage.h"

namespace orbeta {

CheckBoxDialog::CheckBoxDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                               const std::string& caption, const std::vector<std::string>& labels,
                               long mask)
    : Dial(parent, resourceId, helpKey, false), mask_(mask) {
    setWindowTitle(FromAnsi(caption));
    auto* layout = new QVBoxLayout(this);
    for (size_t i = 0; i < labels.size() && i < 32; ++i) {
        auto* box = new QCheckBox(FromAnsi(labels[i]), this);
        box->setObjectName(QString::number(501 + i));
        box->setChecked((static_cast<unsigned long>(mask) >> i) & 1u);
        layout->addWidget(box);
        boxes_.push_back(box);
    }
    auto* row = new QHBoxLayout;
    connect(AddButton(row, 3000, "Отметить все"_cp), &QPushButton::clicked, this,
            &CheckBoxDialog::CheckAll);
    row->addStretch();
    layout->addLayout(row);
    layout->addLayout(StandardButtons());
}

void CheckBoxDialog::CheckAll() {
    for (QCheckBox* box : boxes_) box->setChecked(true);
}

long CheckBoxDialog::Mask() const {
    unsigned long m = static_cast<unsigned long>(mask_);
    for (size_t i = 0; i < boxes_.size(); ++i) {
        if (boxes_[i]->isChecked())
            m |= 1ul << i;
        else
            m &= ~(1ul << i);
    }
    return static_cast<long>(m);
}

bool RunCheckBoxDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                       const std::string& caption, const std::vector<std::string>& labels,
                       long& mask) {
    CheckBoxDialog dialog(parent, resourceId, helpKey, caption, labels, mask);
    if (dialog.exec() != QDialog::Accepted) return false;
    mask = dialog.Mask();
    return true;
}

namespace {
QRadioButton* AddRadio(QWidget* owner, QButtonGroup* group, QLayout* layout, int id,
                       const QString& text) {
    auto* b = new QRadioButton(text, owner);
    b->setObjectName(QString::number(id));
    group->addButton(b, id);
    layout->addWidget(b);
    return b;
}
}  // namespace

RadioDialog::RadioDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                         const std::string& caption, const std::vector<std::string>& labels,
                         int firstId, int current)
    : Dial(parent, resourceId, helpKey, false), firstId_(firstId) {
    setWindowTitle(FromAnsi(caption));
    group_ = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    for (size_t i = 0; i < labels.size(); ++i)
        AddRadio(this, group_, layout, firstId + static_cast<int>(i), FromAnsi(labels[i]));
    if (QAbstractButton* b = group_->button(firstId + current)) b->setChecked(true);
    layout->addLayout(StandardButtons());
}

int RadioDialog::Chosen() const {
    int id = group_->checkedId();
    return id < 0 ? -1 : id - firstId_;
}

int RunRadioDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                   const std::string& caption, const std::vector<std::string>& labels, int firstId,
                   int current) {
    RadioDialog dialog(parent, resourceId, helpKey, caption, labels, firstId, current);
    if (dialog.exec() != QDialog::Accepted) return -1;
    return dialog.Chosen();
}

namespace {
QButtonGroup* RadioPair(QWidget* owner, QVBoxLayout* layout, const char* title, int firstId,
                        const char* first, const char* second, bool secondChosen) {
    auto* box = new QGroupBox(FromAnsi(title), owner);
    auto* inner = new QVBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    AddRadio(owner, group, inner, firstId, FromAnsi(first));
    AddRadio(owner, group, inner, firstId + 1, FromAnsi(second));
    group->button(firstId + (secondChosen ? 1 : 0))->setChecked(true);
    layout->addWidget(box);
    return group;
}
}  // namespace

MethodsDialog::MethodsDialog(QWidget* parent, const Settings& s)
    : Dial(parent, 1005, "MetCalc", false) {
    setWindowTitle(FromAnsi("Методы вычислений"_cp));
    auto* layout = new QVBoxLayout(this);
    node_ = RadioPair(this, layout, "Лунный узел"_cp, 201, "Усредненный"_cp, "Точный"_cp,
                      s.Option(kOptTrueNode));
    lilith_ = RadioPair(this, layout, "Лилит"_cp, 203, "Усредненная"_cp, "Точная"_cp,
                        s.Option(kOptTrueLilith));
    electional_ =
        RadioPair(this, layout, "Хорарные аспекты действуют"_cp, 206, "До выхода из знака"_cp,
                  "До выхода из знака или поворота"_cp, s.Option(kOptElectionalTurn));
    debug_ = new QCheckBox(FromAnsi("Отладочный журнал"_cp), this);
    debug_->setObjectName("205");
    debug_->setChecked(s.Option(kOptDebugJournal));
    layout->addWidget(debug_);
    layout->addLayout(StandardButtons());
}

void MethodsDialog::StoreInto(Settings& s) const {
    s.ov[kOptTrueNode] = node_->checkedId() == 202 ? 1 : 0;
    s.ov[kOptTrueLilith] = lilith_->checkedId() == 204 ? 1 : 0;
    s.ov[kOptDebugJournal] = debug_->isChecked() ? 1 : 0;
    s.ov[kOptElectionalTurn] = electional_->checkedId() == 207 ? 1 : 0;
}

}  // namespace orbeta
