#pragma once
// Dialog 1080 "Настройка принтера": the print dialog before printing, a black-and-white
// printer, a printer with little memory, the printer's fill level, and the system's
// page setup for the printer.
#include <QButtonGroup>
#include <QCheckBox>

#include "data/settings.h"
#include "gui/dial.h"

namespace orbeta {

class PrinterSettingsDialog : public Dial {
    Q_OBJECT
  public:
    PrinterSettingsDialog(QWidget* parent, const Settings& settings);
    // The four settings as the dialog shows them.
    void StoreInto(Settings& settings) const;

  private:
    QCheckBox* printDialog_;
    QCheckBox* blackWhite_;
    QCheckBox* lowMemory_;
    QButtonGroup* fill_;
};

// Main command 310: OK stores the settings, Cancel keeps them.
void EditPrinterSettings(QWidget* parent);

}  // namespace orbeta
