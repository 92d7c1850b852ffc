#pragma once
// Main command 314 "Редактирование текстов интерпретации": dialog 1077 chooses a text
// base, the modeless dialog 1078 a kind of text and its values; the block of the key
// opens in the notepad window, and the source takes the edited block when it closes.
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "gui/dial.h"
#include "gui/notepad_window.h"
#include "interp/text_edit.h"

class QComboBox;
class QLabel;

namespace orbeta {

// Dialog 1077 "Выбор текста": the bases of the UI text "CSR".
class TextBaseChoiceDialog : public Dial {
    Q_OBJECT
  public:
    explicit TextBaseChoiceDialog(QWidget* parent);
    // The .csr of the chosen base.
    std::string ChosenSource() const;

  private:
    QComboBox* bases_;
    std::vector<std::string> sources_;
};

// Dialog 1078 "Выбор конкретного текста" (modeless).
class TextChoiceDialog : public Dial {
    Q_OBJECT
  public:
    TextChoiceDialog(QWidget* parent, EditDescription description);
    ~TextChoiceDialog() override;
    // The key of the chosen kind and values.
    std::string ChosenKey() const;
    // "Редактировать": opens the block of the key (creating it on request); while an
    // edit is open, only raises its window.
    void EditChosen();
    NotepadWindow* Editor() const { return editor_; }

  private:
    void ShowKind(int index);
    void EditorClosed();

    EditDescription description_;
    QComboBox* kinds_;
    QLabel* captions_[3];
    QComboBox* lists_[3];
    std::vector<std::string> entries_[3];
    QPointer<NotepadWindow> editor_;
    std::unique_ptr<EditSession> session_;
};

// Command 314.
void RunTextEditing(QWidget* parent);

}  // namespace orbeta
