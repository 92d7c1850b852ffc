#pragma once
// The start every print command shares: the document's names, the print dialog when
// the profile asks for it, the painter begun on the printer.
#include <QPainter>
#include <QPrinter>
#include <string>

class QWidget;

namespace orbeta {

// False when the user cancelled the dialog, or the printer refused (told "Принтер
// недоступен"): nothing is to be painted then.
bool StartPrinting(QPainter& painter, QPrinter& printer, QWidget* parent,
                   const std::string& docName, const std::string& fileName);

}  // namespace orbeta
