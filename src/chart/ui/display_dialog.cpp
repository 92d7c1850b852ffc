#include "chart/ui/display_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "chart/make_font.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/program_state.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

constexpr const char* kFaces[] = {"Tabula Mono", "Courier New"};

DisplayDialog::ColourChooser& Chooser() {
    static DisplayDialog::ColourChooser chooser = [](QWidget* parent, QColor initial) {
        QColor c = QColorDialog::getColor(initial, parent);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = chooser] { chooser = initial; }};
    return chooser;
}

// A group of radio buttons with consecutive ids; the one of `chosen` is checked.
QButtonGroup* RadioGroup(QWidget* owner, QLayout* layout, const char* title, int firstId,
                         std::initializer_list<const char*> labels, int chosen) {
    auto* box = new QGroupBox(FromAnsi(title), owner);
    auto* inner = new QVBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    int id = firstId;
    for (const char* label : labels) {
        auto* b = new QRadioButton(FromAnsi(label), box);
        b->setObjectName(QString::number(id));
        group->addButton(b, id);
        inner->addWidget(b);
        ++id;
    }
    if (QAbstractButton* b = group->button(chosen)) b->setChecked(true);
    layout->addWidget(box);
    return group;
}

QCheckBox* CheckBox(QWidget* owner, QLayout* layout, int id, const char* label, bool checked) {
    auto* box = new QCheckBox(FromAnsi(label), owner);
    box->setObjectName(QString::number(id));
    box->setChecked(checked);
    layout->addWidget(box);
    return box;
}

}  // namespace

void DisplayDialog::SetColourChooser(ColourChooser chooser) {
    Chooser() = std::move(chooser);
}

DisplayDialog::DisplayDialog(QWidget* parent, const Settings& s)
    : Dial(parent, 1003, "Varg", false), shown_(s) {
    setWindowTitle(FromAnsi("Графическое представление и цвета"_cp));
    auto* columns = new QHBoxLayout;

    auto* wheel = new QVBoxLayout;
    origin_ = RadioGroup(this, wheel, "Начало Координат"_cp, 201, {"Асцендент"_cp, "0 Овна"_cp},
                         s.beginCoord == 1 ? 201 : 202);
    direction_ = RadioGroup(this, wheel, "Направление"_cp, 203,
                            {"Правое (против час.стрелки)"_cp, "Левое (по час.стрелке)"_cp},
                            s.obhodZod == 1 ? 204 : 203);
    wheelType_ =
        RadioGroup(this, wheel, "Тип Колеса"_cp, 205, {"Система Зодиака"_cp, "Система Домов"_cp},
                   s.egalHous == 1 ? 206 : 205);
    // The house wheel is laid out from the Ascendant.
    connect(wheelType_->button(206), &QAbstractButton::toggled, this, [this](bool on) {
        if (on) origin_->button(201)->setChecked(true);
    });
    fill_ = RadioGroup(this, wheel, "Заливка знаков зодиака"_cp, 210,
                       {"Без заливки"_cp, "Блеклая"_cp, "Размытая"_cp, "Плотная"_cp},
                       210 + std::min<int>(s.ov[kOptSignFill], 3));
    columns->addLayout(wheel);

    auto* other = new QVBoxLayout;
    cuspAspects_ = CheckBox(this, other, 250, "Рисовать Аспекты к Куспидам Домов"_cp,
                            s.Option(kOptCuspAspects));
    maximise_ = CheckBox(this, other, 252, "Максимизировать окна"_cp, s.maxW != 0);
    aspectarium_ = CheckBox(this, other, 253, "Аспектарий"_cp, s.Option(kOptAspectarium));
    bindhuTable_ =
        CheckBox(this, other, 254, "Табличная форма Биндху"_cp, s.Option(kOptBindhuTable));
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(new QLabel(FromAnsi("Шрифт"_cp), this));
    font_ = new QComboBox(this);
    font_->setObjectName("1502");
    for (const char* face : kFaces) font_->addItem(face);
    font_->setCurrentIndex(s.Option(kOptCourierFont) ? 1 : 0);
    fontRow->addWidget(font_);
    other->addLayout(fontRow);

    elements_ = new QListWidget(this);
    elements_->setObjectName("1501");
    for (int i = 0; i < kDrawingElementCount; ++i)
        elements_->addItem(FromAnsi(DrawingElementName(i)));
    elements_->setCurrentRow(0);
    other->addWidget(elements_);
    auto* colourButtons = new QHBoxLayout;
    connect(AddButton(colourButtons, 1000, "Установка цвета"_cp), &QPushButton::clicked, this,
            &DisplayDialog::ChooseColour);
    connect(AddButton(colourButtons, 1002, "Восстановить Стандартный Цвет"_cp),
            &QPushButton::clicked, this, &DisplayDialog::RestoreStandardColour);
    connect(AddButton(colourButtons, 1001, "Восстановить Все Стандартные Цвета"_cp),
            &QPushButton::clicked, this, &DisplayDialog::RestoreAllStandardColours);
    other->addLayout(colourButtons);
    columns->addLayout(other);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(StandardButtons());
    ShowColours();
}

void DisplayDialog::ShowColours() {
    PaintTarget screen{shown_, false};
    for (int i = 0; i < kDrawingElementCount && i < elements_->count(); ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(ElementColour(i, screen)));
        elements_->item(i)->setIcon(QIcon(swatch));
    }
}

void DisplayDialog::ChooseColour() {
    int i = elements_->currentRow();
    if (i < 0 || i >= kDrawingElementCount) return;
    QColor initial = ToQColor(ElementColour(i, PaintTarget{shown_, false}));
    std::optional<QColor> chosen = Chooser()(this, initial);
    if (!chosen) return;
    shown_.colGor[i] = RgbColour(chosen->red(), chosen->green(), chosen->blue());
    ShowColours();
}

void DisplayDialog::RestoreStandardColour() {
    int i = elements_->currentRow();
    if (i < 0 || i >= kDrawingElementCount) return;
    shown_.colGor[i] = kStandardColour;
    ShowColours();
}

void DisplayDialog::RestoreAllStandardColours() {
    for (int i = 0; i < kDrawingElementCount; ++i) shown_.colGor[i] = kStandardColour;
    ShowColours();
}

void DisplayDialog::StoreInto(Settings& s) const {
    s.egalHous = wheelType_->checkedId() == 206 ? 1 : 0;
    s.beginCoord = origin_->checkedId() == 201 || s.egalHous == 1 ? 1 : 0;
    s.obhodZod = direction_->checkedId() == 204 ? 1 : -1;
    s.ov[kOptSignFill] = static_cast<uint8_t>(std::max(fill_->checkedId() - 210, 0));
    s.ov[kOptCuspAspects] = cuspAspects_->isChecked() ? 1 : 0;
    s.maxW = maximise_->isChecked() ? 1 : 0;
    s.ov[kOptAspectarium] = aspectarium_->isChecked() ? 1 : 0;
    s.ov[kOptBindhuTable] = bindhuTable_->isChecked() ? 1 : 0;
    int face = font_->currentIndex() == 1 ? 1 : 0;
    s.ov[kOptCourierFont] = static_cast<uint8_t>(face);
    s.monoFont = kFaces[face];
    for (int i = 0; i < kDrawingElementCount; ++i) s.colGor[i] = shown_.colGor[i];
}

void EditDisplaySettings(QWidget* parent) {
    AppState& app = App();
    DisplayDialog dialog(parent, app.settings);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.StoreInto(app.settings);
    // At once, as the windows are invalidated and updated before the command ends.
    for (const ChartWindowEntry& entry : app.charts.All())
        if (entry.window) entry.window->repaint();
}

}  // namespace orbeta
