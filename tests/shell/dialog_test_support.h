#pragma once
// Helpers of the dialog tests: typing into fields and answering a modal dialog.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gui/app_state.h"
#include "gui/qt_services.h"
#include "gui/text_window.h"
#include "platform/codepage.h"

namespace orbeta::test {

// Types text character by character (QTest::keyClicks asserts on Cyrillic).
inline void TypeText(QWidget* w, const QString& text) {
    for (QChar ch : text) {
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Replaces a field's text as a user would: focus, select all, type.
inline void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    TypeText(edit, text);
}

// Runs `act` on the next modal dialog that opens (from within its exec).
inline void WhenDialogOpens(std::function<void(QDialog*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        act(dialog);
    });
}

// The text of an edit field or label by its control id; "<none>" when there is none.
inline QString Text(QWidget* dialog, const char* id) {
    if (auto* e = dialog->findChild<QLineEdit*>(id)) return e->text();
    if (auto* l = dialog->findChild<QLabel*>(id)) return l->text();
    return "<none>";
}

inline void Click(QWidget* dialog, const char* id) {
    auto* b = dialog->findChild<QPushButton*>(id);
    if (b) b->click();
}

// The program's message boxes instead of the console for the life of the object.
struct UseQtServices {
    UseQtServices() { InstallServices(&services); }
    ~UseQtServices() { InstallServices(nullptr); }
    QtServices services;
};

inline void ShowActive(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// A report file (CP1251) as UTF-8.
inline std::string ReportFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return AnsiToUtf8(s.str());
}

// The text windows of the frame, in the order they were opened.
inline std::vector<TextWindow*> Reports() {
    std::vector<TextWindow*> found;
    for (QMdiSubWindow* s : App().client->subWindowList())
        if (auto* t = qobject_cast<TextWindow*>(s->widget())) found.push_back(t);
    return found;
}

// The newest report's text, or "<no report>".
inline std::string LastReportText() {
    auto reports = Reports();
    return reports.empty() ? "<no report>" : ReportFileText(reports.back()->Path());
}

}  // namespace orbeta::test
