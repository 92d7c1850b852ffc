#include "gui/qt_services.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <cstdio>
#include <cstdlib>

#include "gui/app_state.h"
#include "gui/message_box.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

// While a search runs, the rest of the program waits: the frame's menu and windows
// take no commands that could start another search or close the one running.
void SetFrameEnabled(bool enabled) {
    if (!App().frame) return;
    App().frame->menuBar()->setEnabled(enabled);
    if (App().client) App().client->setEnabled(enabled);
}

}  // namespace

void QtServices::Warning(const std::string& text) {
    Journal(Format("%s", text.c_str()));
    ShowMessageBox(nullptr, QMessageBox::Warning, "Предупреждение"_cp, text, QMessageBox::Ok);
}

void QtServices::Fatal(const std::string& text) {
    Journal(Format("%s", text.c_str()));
    ShowMessageBox(nullptr, QMessageBox::Critical, "Аварийное завершение"_cp, text,
                   QMessageBox::Ok);
    std::fflush(nullptr);
    std::exit(1);
}

ContinueOrQuit QtServices::AskMissingEphemerisFile(const std::string& fileName) {
    QMessageBox box(QMessageBox::Warning, FromAnsi("Не открывается файл эфемерид"_cp),
                    FromAnsi(fileName));
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* go = box.addButton(FromAnsi("Продолжить"_cp), QMessageBox::AcceptRole);
    box.addButton(FromAnsi("Завершить"_cp), QMessageBox::RejectRole);
    box.setDefaultButton(go);
    box.exec();
    return box.clickedButton() == go ? ContinueOrQuit::Continue : ContinueOrQuit::Quit;
}

void QtServices::Quit() {
    if (beforeQuit_) beforeQuit_();
    std::fflush(nullptr);
    std::exit(0);
}

bool QtServices::AskYesNo(const std::string& caption, const std::string& text) {
    return ShowMessageBox(nullptr, QMessageBox::Question, caption, text,
                          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtServices::ProgressStarted(int total) {
    if (progress_) return;
    progress_ = new ProgressDialog(total, App().frame);
    progress_->setAttribute(Qt::WA_DeleteOnClose, false);
    progress_->show();
    SetFrameEnabled(false);
}

void QtServices::ProgressStepped(int delta) {
    if (!progress_) return;
    // One round of pending events, so that "Прервать" can be pressed.
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (progress_) progress_->Advance(delta);
}

void QtServices::ProgressEnded() {
    SetFrameEnabled(true);
    delete progress_.data();
}

void QtServices::SetBusy(bool busy) {
    if (busy) {
        if (busy_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busy_ > 0) {
        if (--busy_ == 0) QApplication::restoreOverrideCursor();
    }
}

void QtServices::Notice(const std::string& text) {
    Services::Notice(text);
    if (App().frame) App().frame->statusBar()->showMessage(FromAnsi(text));
}

void QtServices::ShowReportFile(const std::string& path, const std::string& title,
                                const std::string& helpKey, const ReportOrigin& origin) {
    if (reportViewer_)
        reportViewer_(path, title, helpKey, origin);
    else
        Services::ShowReportFile(path, title, helpKey, origin);
}

}  // namespace orbeta
