#pragma once
// A one-line input box with a prompt, a length limit and the "Помощь" button of every
// dialog: the town name of the towns directory, the name of a new database.
#include <optional>
#include <string>

#include "gui/dial.h"

namespace orbeta {

class InputBox : public Dial {
    Q_OBJECT
  public:
    // Texts are CP1251.
    InputBox(QWidget* parent, const std::string& helpKey, const std::string& caption,
             const std::string& prompt, int maxLength);
    std::string Text() const;

  private:
    QLineEdit* edit_;
};

// The typed text (CP1251) after OK; nullopt on Cancel.
std::optional<std::string> AskText(QWidget* parent, const std::string& helpKey,
                                   const std::string& caption, const std::string& prompt,
                                   int maxLength);

}  // namespace orbeta
