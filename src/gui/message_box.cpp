#include "gui/message_box.h"

#include <QAbstractButton>

#include "gui/qt_text.h"
#include "platform/codepage.h"

namespace orbeta {

QMessageBox::StandardButton ShowMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const std::string& caption, const std::string& text,
                                           QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, FromAnsi(caption), FromAnsi(text), buttons, owner);
    box.setWindowModality(Qt::ApplicationModal);
    // The buttons speak the program's language whatever translations Qt has.
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Yes, "Да"_cp},
        {QMessageBox::No, "Нет"_cp},
        {QMessageBox::Cancel, "Отмена"_cp}};
    for (const auto& [button, name] : names)
        if (QAbstractButton* b = box.button(button)) b->setText(FromAnsi(name));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace orbeta
