#include "gui/printer_settings_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/settings.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"

namespace orbeta {

namespace {
QCheckBox* AddBox(QWidget* owner, QLayout* layout, int id, const char* text, bool on) {
    auto* box = new QCheckBox(FromAnsi(text), owner);
    box->setObjectName(QString::number(id));
    box->setChecked(on);
    layout->addWidget(box);
    return box;
}
}  // namespace

PrinterSettingsDialog::PrinterSettingsDialog(QWidget* parent, const Settings& s)
    : Dial(parent, 1080, "DPrintS", false) {
    setWindowTitle(FromAnsi("Настройка принтера"_cp));
    auto* layout = new QVBoxLayout(this);
    printDialog_ = AddBox(this, layout, 201, "Диалог перед печатью"_cp, s.Option(kOptPrintDialog));
    blackWhite_ =
        AddBox(this, layout, 202, "Принтер черно-белый"_cp, s.Option(kOptPrinterBlackWhite));
    lowMemory_ =
        AddBox(this, layout, 203, "У принтера мало памяти"_cp, s.Option(kOptPrinterLowMemory));
    auto* group = new QGroupBox(FromAnsi("Заливка знаков"_cp), this);
    auto* groupLayout = new QVBoxLayout(group);
    fill_ = new QButtonGroup(this);
    const char* levels[] = {"Без заливки"_cp, "Минимальная"_cp, "Блеклая"_cp, "Размытая"_cp,
                            "Плотная"_cp};
    int level = s.ov[kOptPrinterFill] <= 4 ? s.ov[kOptPrinterFill] : 0;
    for (int i = 0; i < 5; ++i) {
        auto* b = new QRadioButton(FromAnsi(levels[i]), group);
        b->setObjectName(QString::number(210 + i));
        b->setChecked(i == level);
        fill_->addButton(b, i);
        groupLayout->addWidget(b);
    }
    layout->addWidget(group);
    auto* setupRow = new QHBoxLayout;
    QPushButton* setup = AddButton(setupRow, 1000, "Макет страницы"_cp);
    setup->setEnabled(App().printer != nullptr);
    connect(setup, &QPushButton::clicked, this, [this] {
        if (!App().printer) return;
        QPageSetupDialog dialog(App().printer.get(), this);
        dialog.exec();
    });
    setupRow->addStretch();
    layout->addLayout(setupRow);
    layout->addLayout(StandardButtons());
}

void PrinterSettingsDialog::StoreInto(Settings& s) const {
    s.ov[kOptPrintDialog] = printDialog_->isChecked() ? 1 : 0;
    s.ov[kOptPrinterBlackWhite] = blackWhite_->isChecked() ? 1 : 0;
    s.ov[kOptPrinterLowMemory] = lowMemory_->isChecked() ? 1 : 0;
    s.ov[kOptPrinterFill] = static_cast<uint8_t>(std::max(0, fill_->checkedId()));
}

void EditPrinterSettings(QWidget* parent) {
    PrinterSettingsDialog dialog(parent, App().settings);
    if (dialog.exec() == QDialog::Accepted) dialog.StoreInto(App().settings);
}

}  // namespace orbeta
