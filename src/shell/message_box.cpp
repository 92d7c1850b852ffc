#include "shell/message_box.h"

#include "shell/qt_text.h"

namespace orbeta {

QMessageBox::StandardButton ShowMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const std::string& caption, const std::string& text,
                                           QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, FromAnsi(caption), FromAnsi(text), buttons, owner);
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace orbeta
