#pragma once
// Helpers of the dialog tests: typing into fields and answering a modal dialog.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/qt_services.h"

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

}  // namespace orbeta::test
