#include "data/ui/input_box.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace orbeta {

InputBox::InputBox(QWidget* parent, const std::string& helpKey, const std::string& caption,
                   const std::string& prompt, int maxLength)
    : Dial(parent, 0, helpKey, false) {
    setObjectName("InputBox");
    setWindowTitle(FromAnsi(caption));
    edit_ = new QLineEdit(this);
    edit_->setObjectName("text");
    edit_->setMaxLength(maxLength);
    edit_->setMinimumWidth(FieldWidth(edit_, 24));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(FromAnsi(prompt), this));
    layout->addWidget(edit_);
    layout->addLayout(StandardButtons());
    edit_->setFocus();
}

std::string InputBox::Text() const {
    return ToAnsi(edit_->text());
}

std::optional<std::string> AskText(QWidget* parent, const std::string& helpKey,
                                   const std::string& caption, const std::string& prompt,
                                   int maxLength) {
    InputBox box(parent, helpKey, caption, prompt, maxLength);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.Text();
}

}  // namespace orbeta
