#include "gui/print_start.h"

#include <QPrintDialog>

#include "data/settings.h"
#include "gui/app_state.h"
#include "gui/child_window.h"
#include "platform/codepage.h"
#include "platform/services.h"

namespace orbeta {

bool StartPrinting(QPainter& painter, QPrinter& printer, QWidget* parent,
                   const std::string& docName, const std::string& fileName) {
    PrepareToPrint(printer, docName, fileName);
    if (App().settings.Option(kOptPrintDialog)) {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    if (painter.begin(&printer)) return true;
    Svc().Warning("Принтер недоступен"_cp);
    return false;
}

}  // namespace orbeta
