#pragma once
// The one crossing between the program's CP1251 texts and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

namespace orbeta {

QString FromAnsi(std::string_view cp1251);
std::string ToAnsi(const QString& text);

}  // namespace orbeta
