#include "gui/qt_text.h"

#include "platform/codepage.h"

namespace orbeta {

QString FromAnsi(std::string_view cp1251) {
    return QString::fromStdString(AnsiToUtf8(cp1251));
}

std::string ToAnsi(const QString& text) {
    return Utf8ToAnsi(text.toStdString());
}

}  // namespace orbeta
