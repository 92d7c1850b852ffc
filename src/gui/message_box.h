#pragma once
// The program's message boxes: modal to the whole program, owned by the given window
// or by none.
#include <QMessageBox>
#include <string>

namespace orbeta {

// Texts and captions are CP1251.
QMessageBox::StandardButton ShowMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const std::string& caption, const std::string& text,
                                           QMessageBox::StandardButtons buttons);

}  // namespace orbeta
