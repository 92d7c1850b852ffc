#pragma once
// Base of every window inside the frame (chart, table, text and graph windows): its
// right-click menu comes from the UI texts under its popup key, command 2102 copies
// its picture to the clipboard, and a click-armed flag lets a window ignore the click
// that only brought it to the front.
#include <QWidget>
#include <string>

#include "platform/command_ids.h"

class QMdiSubWindow;
class QPrinter;

namespace orbeta {

// Every window copies its picture on the same command.
constexpr int kCmdCopyPicture = cmd::picture::kCopy;

class ChildWindow : public QWidget {
    Q_OBJECT
  public:
    // Keys are cut to 8 characters (popup) and 9 (help).
    ChildWindow(const std::string& popupKey, const std::string& helpKey, QWidget* parent = nullptr);
    ~ChildWindow() override;

    const std::string& PopupKey() const { return popupKey_; }
    const std::string& HelpKey() const { return helpKey_; }
    void SetHelpKey(const std::string& key);

    // Puts the window into the frame's client area with a title; maximised when the
    // "Максимизировать окна" setting is on.
    QMdiSubWindow* ShowInFrame(const QString& title);

    // A command of this window (popup menu, keys, buttons). The base copies the picture
    // (2102); windows handle their own and pass the rest on.
    virtual void OnCommand(int id);
    // Whether the window handles a command now; its menu item is disabled otherwise.
    // Windows that know their commands say so; by default every item is offered.
    virtual bool OffersCommand(int) const { return true; }

    // The right-click menu as it would open (built from the UI text of the popup key).
    void FillPopupMenu(class QMenu& menu);

    // True while the window paints on the printer.
    bool printing = false;
    // Set at construction, after a resize and when a dialog gives the focus back;
    // cleared when the window loses the focus.
    bool clickArmed = true;
    // Time correction of text windows (days).
    double timeCorrection = 0.0;

    // For windows that act on a left click: false (and arms the window) when the click
    // only brought the window back.
    bool TakeClick();

  protected:
    // A menu built from the UI text of a key: its items with their command ids, greyed
    // where the window does not offer the command.
    void FillMenuFromText(class QMenu& menu, const std::string& key);

    void contextMenuEvent(QContextMenuEvent* event) override;
    // F1: the help window on the window's help key.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    std::string popupKey_;
    std::string helpKey_;
};

// Before a printout: the document title (UTF-8), and when the printer prints to a file
// (always so on a machine without printers) a new file named after the printout, so
// that no print replaces an earlier one unasked.
void PrepareToPrint(QPrinter& printer, const std::string& docName, const std::string& fileName);

}  // namespace orbeta
