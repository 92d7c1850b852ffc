#pragma once
// The text window of every report: it owns the report file (deleted when the window
// goes), reads it again whenever it paints, prints, saves or copies, and opens the
// chart of a moment when a line beginning with a date is clicked.
#include <QStringList>
#include <functional>
#include <string>

#include "gui/child_window.h"
#include "platform/services.h"
#include "platform/command_ids.h"

class QPrinter;
class QScrollBar;

namespace orbeta {

constexpr int kCmdExternalEditor = cmd::text::kExternalEditor;
constexpr int kCmdPrintText = cmd::text::kPrint;
constexpr int kCmdSaveText = cmd::text::kSave;
constexpr int kCmdCopyText = cmd::text::kCopy;

class TextWindow : public ChildWindow {
    Q_OBJECT
  public:
    // origin: the chart the report was written for; a clicked dated line opens the chart
    // of its moment there (UT = the line's moment + the origin's correction).
    TextWindow(const std::string& path, const std::string& helpKey, const ReportOrigin& origin = {},
               QWidget* parent = nullptr);
    ~TextWindow() override;

    // Opens a window in the frame: the report viewer of the program.
    static TextWindow* Show(const std::string& path, const std::string& title,
                            const std::string& helpKey, const ReportOrigin& origin = {});

    void OnCommand(int id) override;

    const std::string& Path() const { return path_; }
    int LineCount() const { return lineCount_; }
    int WidestLine() const { return widestLine_; }
    int LineHeight() const { return lineHeight_; }
    int CharWidth() const { return charWidth_; }
    QScrollBar* VerticalBar() const { return vertical_; }
    QScrollBar* HorizontalBar() const { return horizontal_; }

    // A click at a height of the text area: opens the chart of the line's moment.
    void ClickAt(int y);
    // The file written as UTF-8 text; false when it cannot be written.
    bool SaveTo(const std::string& path) const;
    // Hands the file to the external editor (command 100).
    void OpenInEditor();

    // How the editor program is started (tests replace it): the program and its
    // arguments, never through a shell.
    using ProcessLauncher = std::function<bool(const QString& program, const QStringList& args)>;
    static void SetProcessLauncher(ProcessLauncher launcher);
    // The name chosen for "save" (empty: cancelled); tests replace the file dialog.
    using SaveNameChooser = std::function<QString(QWidget* parent)>;
    static void SetSaveNameChooser(SaveNameChooser chooser);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    class View;
    void UpdateScrollRanges();
    void Print();
    void PaintText(class QPainter& painter, int height);

    std::string path_;
    ReportOrigin origin_;
    int lineCount_ = 0;
    int widestLine_ = 10;
    int lineHeight_ = 16;
    int charWidth_ = 8;
    View* view_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
};

// Prints a text file on the printer, page after page; returns the pages printed
// (0 when the file cannot be read or the printer not started).
int PrintTextFile(QPrinter& printer, const std::string& path, const std::string& face);

}  // namespace orbeta
