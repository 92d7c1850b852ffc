#include "gui/child_window.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>

#include "gui/app_state.h"
#include "gui/dial.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/text_view.h"
#include "platform/ui_text.h"

namespace orbeta {

ChildWindow::ChildWindow(const std::string& popupKey, const std::string& helpKey, QWidget* parent)
    : QWidget(parent), popupKey_(popupKey.substr(0, 8)), helpKey_(helpKey.substr(0, 9)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_DeleteOnClose);
}

ChildWindow::~ChildWindow() {
    if (App().activeChild == this) App().activeChild = nullptr;
}

void ChildWindow::SetHelpKey(const std::string& key) {
    helpKey_ = key.substr(0, 9);
}

QMdiSubWindow* ChildWindow::ShowInFrame(const QString& title) {
    setWindowTitle(title);
    QMdiSubWindow* sub = App().client ? App().client->addSubWindow(this) : nullptr;
    QWidget* shown = sub ? static_cast<QWidget*>(sub) : this;
    if (sub) sub->setAttribute(Qt::WA_DeleteOnClose);
    if (App().settings.maxW) {
        shown->showMaximized();
    } else {
        // Unmaximised, a window whose own size hint is small (a text window's is a few
        // characters) would open as a sliver: it takes at least half the client area.
        if (sub) {
            QSize area = App().client->viewport()->size();
            sub->resize(sub->sizeHint().expandedTo(area / 2).boundedTo(area));
        }
        shown->show();
    }
    // A new window comes to the front with the focus, also when it was asked for from a
    // dialog that closes afterwards.
    if (sub) {
        App().client->setActiveSubWindow(sub);
        sub->raise();
    }
    setFocus(Qt::OtherFocusReason);
    return sub;
}

void ChildWindow::OnCommand(int id) {
    if (id != kCmdCopyPicture) return;
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(grab().toImage());
}

void ChildWindow::FillPopupMenu(QMenu& menu) {
    FillMenuFromText(menu, popupKey_);
}

void ChildWindow::FillMenuFromText(QMenu& menu, const std::string& key) {
    for (const auto& item : SplitMenuText(LookupText(key))) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(FromAnsi(MenuLabel(item.text)));
        action->setObjectName(QString::number(item.id));
        int id = item.id;
        action->setEnabled(OffersCommand(id));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
}

bool ChildWindow::TakeClick() {
    if (clickArmed) return true;
    clickArmed = true;
    return false;
}

void ChildWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    FillPopupMenu(menu);
    if (!menu.isEmpty()) menu.exec(event->globalPos());
}

void ChildWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && Dial::OpenHelp(helpKey_)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChildWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    clickArmed = true;
    repaint();
}

void ChildWindow::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    App().activeChild = this;
    // The focus coming back from a dialog or another program: the next click counts.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        clickArmed = true;
}

void ChildWindow::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // A popup menu of this window keeps it armed: its command is not a new click.
    if (event->reason() != Qt::PopupFocusReason) clickArmed = false;
}

void PrepareToPrint(QPrinter& printer, const std::string& docName, const std::string& fileName) {
    printer.setDocName(QString::fromStdString(docName));
    bool toFile = printer.outputFormat() == QPrinter::PdfFormat ||
                  !printer.outputFileName().isEmpty() ||
                  QPrinterInfo::availablePrinterNames().isEmpty();
    if (!toFile) return;
    QString previous = printer.outputFileName();
    std::filesystem::path folder =
        previous.isEmpty() ? std::filesystem::current_path()
                           : std::filesystem::path(previous.toStdString()).parent_path();
    std::filesystem::path file = FreshPrintFile(folder, fileName, AnsiToUtf8("Печать"_cp));
    printer.setOutputFileName(QString::fromStdString(file.string()));
}

}  // namespace orbeta
