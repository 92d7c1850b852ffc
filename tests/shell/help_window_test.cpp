// Help windows on the keys of orbtw.lrn, their links, keys and placement; F1 of child
// windows; the notepad and the planet colours.
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "data/colours.h"
#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "gui/child_window.h"
#include "gui/dial.h"
#include "gui/help_window.h"
#include "gui/notepad_window.h"
#include "gui/planet_colours_dialog.h"
#include "platform/codepage.h"
#include "platform/text_file.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

// The test topics in the workspace's help file, in its code page.
void WriteHelpFixture(const TestWorkspace& ws) {
    auto text = ReadFileBytes(std::string(ORBETA_SOURCE_DIR) + "/tests/fixtures/help_topics.lrn");
    ws.Write("orbtw.lrn", Utf8ToOem(text.value_or("")));
}

void DeleteClosed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::vector<HelpWindow*> OpenHelpWindows() {
    std::vector<HelpWindow*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible()) open.push_back(h);
    return open;
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        for (HelpWindow* w : OpenHelpWindows()) w->close();
        DeleteClosed();
        ResetProgramState();
        Dial::SetHelpOpener({});
    }

    void topicFoundByEachKeyAndMissingKeyGivesEmptyWindow() {
        TestWorkspace ws;
        WriteHelpFixture(ws);
        HelpWindow two("TwoK"), twoS("TwoKS"), missing("Nothing");
        QCOMPARE(two.Lines().size(), size_t(1));
        QCOMPARE(two.Lines(), twoS.Lines());
        QVERIFY(missing.Lines().empty());
        // The shipped help file answers the main menu's key.
        TestWorkspace shipped;
        HelpWindow general("GenHelp");
        QVERIFY(!general.Lines().empty());
    }

    void linkLineOpensFurtherWindowAndPlainLineNothing() {
        TestWorkspace ws;
        WriteHelpFixture(ws);
        HelpWindow* first = HelpWindow::Open("GenHelp");
        QCOMPARE(first->ClickAt(0), nullptr);
        HelpWindow* linked = first->ClickAt(HelpWindow::kLineHeight + 3);
        QVERIFY(linked);
        QCOMPARE(linked->Key(), std::string("DPrintS"));
        QCOMPARE(OpenHelpWindows().size(), size_t(2));
        QCOMPARE(first->ClickAt(50 * HelpWindow::kLineHeight), nullptr);
    }

    void keysAndPlacement() {
        TestWorkspace ws;
        WriteHelpFixture(ws);
        QWidget frame;
        frame.setGeometry(100, 50, 1000, 800);
        QPointer<HelpWindow> w = new HelpWindow("GenHelp", &frame);
        QCOMPARE(w->geometry(), QRect(500, 90, 600, 720));
        QVERIFY(!(w->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        w->show();
        // One line high: the topic's two lines scroll until the last is shown, no further.
        w->resize(600, HelpWindow::kLineHeight);
        QCOMPARE(w->VerticalBar()->maximum(), 1);
        QVERIFY(w->VerticalBar()->isVisible());
        QTest::keyClick(w, Qt::Key_Up);
        QCOMPARE(w->FirstLine(), 0);
        QTest::keyClick(w, Qt::Key_Down);
        QCOMPARE(w->FirstLine(), 1);
        QTest::keyClick(w, Qt::Key_Down);
        QCOMPARE(w->FirstLine(), 1);
        QWheelEvent up(QPointF(10, 5), w->mapToGlobal(QPointF(10, 5)), {}, QPoint(0, 120),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &up);
        QCOMPARE(w->FirstLine(), 0);
        // The active chart window takes the next click once the help has gone.
        ChildWindow chart("MDK0", "K0t1");
        App().activeChild = &chart;
        chart.clickArmed = false;
        QTest::keyClick(w, Qt::Key_Escape);
        DeleteClosed();
        QVERIFY(w.isNull());
        QVERIFY(chart.clickArmed);
    }

    void escapeInHelpFromADialogClosesTheHelpOnly() {
        TestWorkspace ws;
        WriteHelpFixture(ws);
        QWidget frame;
        QDialog dialog(&frame);
        dialog.setModal(true);
        dialog.show();
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        QPointer<HelpWindow> help = HelpWindow::Open("GenHelp");
        // The help belongs to the dialog: the dialog's modality does not block it.
        QCOMPARE(help->parentWidget(), &dialog);
        QVERIFY(!help->testAttribute(Qt::WA_Disabled) && help->isEnabled());
        QTest::keyClick(help, Qt::Key_Escape);
        DeleteClosed();
        QVERIFY(help.isNull());
        QVERIFY(dialog.isVisible());
    }

    void f1OpensHelpOnTheWindowsKey() {
        std::vector<std::string> asked;
        Dial::SetHelpOpener([&](const std::string& key) { asked.push_back(key); });
        ChildWindow window("MTEXT", "ATeka");
        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(asked, std::vector<std::string>{"ATeka"});
    }

    void notepadWarnsOnMissingFileAndAsksBeforeLosingChanges() {
        TestWorkspace ws;
        UseQtServices qt;
        QMdiArea client;
        App().client = &client;
        BoxAnswerer boxes({QMessageBox::Ok, QMessageBox::Yes});
        QVERIFY(!OpenNotepad("missing.txt"));
        QCOMPARE(boxes.seen.size(), size_t(1));
        QCOMPARE(boxes.seen[0].text,
                 QString("Файл missing.txt не открывается\nВозможно, слишком велик"));
        QVERIFY(client.subWindowList().isEmpty());

        ws.Write("note.txt", "Луна\n"_cp);
        NotepadWindow* pad = OpenNotepad("note.txt");
        QVERIFY(pad);
        QCOMPARE(pad->windowTitle(), QString("Редактирование note.txt"));
        QStringList menus;
        for (QAction* a : pad->MenuBar()->actions()) menus << a->text();
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Search"}));
        pad->Editor()->moveCursor(QTextCursor::End);
        pad->Editor()->insertPlainText("Солнце");
        client.closeAllSubWindows();
        QTRY_COMPARE(boxes.seen.size(), size_t(2));
        QCOMPARE(boxes.seen[1].text, QString("Файл note.txt был изменен.\n\nСохранить изменения?"));
        // Saved in the code page the file had.
        QCOMPARE(ws.Read("note.txt"), std::string("Луна\nСолнце"_cp));
        DeleteClosed();
        QVERIFY(client.subWindowList().isEmpty());
    }

    void planetColoursChosenRestoredAndKeptOnCancel() {
        PlanetColoursDialog::SetColourChooser(
            [](QWidget*, QColor) { return std::optional<QColor>(QColor(255, 0, 0)); });
        Settings& s = App().settings;
        s.colrPE[0] = RgbColour(1, 2, 3);
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1065"));
            d->findChild<QListWidget*>("1501")->setCurrentRow(2);
            Click(d, "1000");
            d->findChild<QListWidget*>("1501")->setCurrentRow(0);
            Click(d, "1001");
            Click(d, "1");
        });
        EditPlanetColours(nullptr);
        QCOMPARE(s.colrPE[2], RgbColour(255, 0, 0));
        QCOMPARE(s.colrPE[0], kStandardColour);
        WhenDialogOpens([](QDialog* d) {
            Click(d, "1002");
            Click(d, "2");
        });
        EditPlanetColours(nullptr);
        QCOMPARE(s.colrPE[2], RgbColour(255, 0, 0));
        PlanetColoursDialog::SetColourChooser({});
    }
};

static RegisterTestClass<HelpWindowTest> reg("help_windows");

}  // namespace orbeta::test

#include "help_window_test.moc"
