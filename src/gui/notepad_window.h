#pragma once
// The notepad (main command 402): a text file in an editable window with the editor
// menu (File, Edit, Search); a changed file is offered for saving when it closes.
#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "gui/child_window.h"

class QMenuBar;

namespace orbeta {

class NotepadWindow : public ChildWindow {
    Q_OBJECT
  public:
    explicit NotepadWindow(QWidget* parent = nullptr);

    // Loads a file; false (the window unchanged) when it cannot be read or is too large.
    // A file is taken for UTF-8 when it reads as such, unless the window keeps CP1251.
    bool Load(const std::string& path);
    // Saves under the path (the window's own file when empty); false when it fails.
    bool Save(const std::string& path = {});
    const std::string& FilePath() const { return path_; }
    QPlainTextEdit* Editor() const { return editor_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    // Asks whether a changed text is saved; false when the user cancels.
    bool MaySwitchText();
    // Files of the program's own texts: read and saved in CP1251 even when they hold
    // only ASCII (which would read as UTF-8 and save Russian text so).
    void KeepCp1251() { keepAnsi_ = true; }

    // Tests replace the file dialogs: the chosen path, or empty.
    using FileChooser = std::function<QString(QWidget* parent, const QString& caption, bool save)>;
    static void SetFileChooser(FileChooser chooser);
    static QString ChooseFile(QWidget* parent, const QString& caption, bool save);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenu();
    void UpdateTitle();
    void Find(bool ask);
    void Replace();

    std::string path_;
    bool utf8_ = false;  // the file's own encoding is kept when it is saved
    bool keepAnsi_ = false;
    QString searched_;
    QPlainTextEdit* editor_;
    QMenuBar* menuBar_;
};

// Command 402: chooses a file and opens it; a file that cannot be loaded gives the
// warning "Файл %s не открывается…" and no window.
NotepadWindow* OpenNotepad(const std::string& path);
void RunNotepad(QWidget* parent);

}  // namespace orbeta
