#include "gui/planet_colours_dialog.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/make_font.h"
#include "data/colours.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/program_state.h"
#include "platform/ui_names.h"

namespace orbeta {

namespace {
PlanetColoursDialog::ColourChooser& Chooser() {
    static PlanetColoursDialog::ColourChooser chooser = [](QWidget* parent, QColor initial) {
        QColor c = QColorDialog::getColor(initial, parent);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = chooser] { chooser = initial; }};
    return chooser;
}
}  // namespace

void PlanetColoursDialog::SetColourChooser(ColourChooser chooser) {
    Chooser() = std::move(chooser);
}

PlanetColoursDialog::PlanetColoursDialog(QWidget* parent, const Settings& settings)
    : Dial(parent, 1065, "ColPGr", false), shown_(settings) {
    setWindowTitle(FromAnsi("Цвета планет"_cp));
    auto* layout = new QVBoxLayout(this);
    bodies_ = new QListWidget(this);
    bodies_->setObjectName("1501");
    for (int id = SUN; id <= LIL; ++id) bodies_->addItem(FromAnsi(PlanetName(id)));
    bodies_->setCurrentRow(0);
    layout->addWidget(bodies_);
    auto* row = new QHBoxLayout;
    connect(AddButton(row, 1000, "Установить цвет планеты"_cp), &QPushButton::clicked, this,
            &PlanetColoursDialog::ChooseColour);
    connect(AddButton(row, 1001, "Восстановить станд.цвет планеты"_cp), &QPushButton::clicked, this,
            &PlanetColoursDialog::RestoreStandardColour);
    connect(AddButton(row, 1002, "Восстановить все станд.цвета"_cp), &QPushButton::clicked, this,
            &PlanetColoursDialog::RestoreAllStandardColours);
    layout->addLayout(row);
    layout->addLayout(StandardButtons());
    ShowColours();
}

void PlanetColoursDialog::ShowColours() {
    for (int i = 0; i < bodies_->count(); ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(BodyColour(SUN + i, PaintTarget{shown_, false})));
        bodies_->item(i)->setIcon(QIcon(swatch));
    }
}

void PlanetColoursDialog::ChooseColour() {
    int row = bodies_->currentRow();
    if (row < 0) return;
    int body = SUN + row;
    std::optional<QColor> chosen =
        Chooser()(this, ToQColor(BodyColour(body, PaintTarget{shown_, false})));
    if (!chosen) return;
    shown_.colrPE[body - 1] = RgbColour(chosen->red(), chosen->green(), chosen->blue());
    ShowColours();
}

void PlanetColoursDialog::RestoreStandardColour() {
    int row = bodies_->currentRow();
    if (row < 0) return;
    shown_.colrPE[SUN + row - 1] = kStandardColour;
    ShowColours();
}

void PlanetColoursDialog::RestoreAllStandardColours() {
    shown_.colrPE.fill(kStandardColour);
    ShowColours();
}

void EditPlanetColours(QWidget* parent) {
    PlanetColoursDialog dialog(parent, App().settings);
    if (dialog.exec() == QDialog::Accepted) dialog.StoreInto(App().settings);
}

}  // namespace orbeta
