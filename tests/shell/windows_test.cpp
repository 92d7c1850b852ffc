// Chart windows in the registry, chart selection, and the services every child window
// has: popup menu from the UI texts, picture to the clipboard, maximising, click arming.
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "fake_chart_window.h"
#include "gui/app_state.h"
#include "gui/select_chart.h"
#include "platform/codepage.h"
#include "platform/journal.h"
#include "platform/ui_text.h"
#include "shell/application.h"
#include "shell/main_frame.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {
namespace {

ChartRecord Chart(const char* name, int method = 1) {
    ChartRecord c = DefaultProfileChart();
    CopyText(c.name, name);
    c.calcMethod = static_cast<int16_t>(method);
    return c;
}

// Runs chart selection and acts on the dialog once it is open.
std::optional<ChartRecord> SelectWith(const std::function<void(SelectChartDialog&)>& act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<SelectChartDialog*>(w); d && d->isVisible()) act(*d);
    });
    return SelectChart(nullptr);
}

QStringList Listed(SelectChartDialog& d) {
    QStringList titles;
    auto* list = d.findChild<QListWidget*>("1501");
    for (int i = 0; i < list->count(); ++i) titles << list->item(i)->text();
    return titles;
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void numbersAreConsecutiveAndNeverReused() {
        int before = App().charts.Counter();
        auto* a = new FakeChartWindow(0, Chart("A"));
        auto* b = new FakeChartWindow(0, Chart("B"));
        QCOMPARE(a->Number(), before + 1);
        QCOMPARE(b->Number(), before + 2);
        QCOMPARE(int(App().charts.All().size()), 2);
        delete a;
        QCOMPARE(int(App().charts.All().size()), 1);
        QCOMPARE(App().charts.All()[0].number, int16_t(before + 2));
        auto* c = new FakeChartWindow(2, Chart("C"));
        QCOMPARE(c->Number(), before + 3);
        QCOMPARE(int(App().charts.Selectable().size()), 1);  // overlays are not offered
        delete b;
        delete c;
        QVERIFY(App().charts.All().empty());
        QVERIFY(App().charts.Selectable().empty());
    }

    void debugJournalTracesChartWindows() {
        TestWorkspace ws;
        TheJournal().SetDebug(true);
        int number = 0;
        {
            FakeChartWindow w(2, Chart("A"));
            number = w.Number();
        }
        TheJournal().SetDebug(false);
        FakeChartWindow quiet(0, Chart("B"));
        std::string expected = "DKart: NGS=" + std::to_string(number) +
                               " kg=2\n~DKart: NGS=" + std::to_string(number) + "\n";
        QVERIFY(ws.Read("jur.jur").find(expected) != std::string::npos);
        QVERIFY(ws.Read("jur.jur").find("NGS=" + std::to_string(number + 1)) == std::string::npos);
    }

    void selectChartOffersOpenNatalCharts() {
        FakeChartWindow natal(0, Chart("Natal"));
        natal.setWindowTitle("Карта 1: Natal");
        FakeChartWindow progressed(0, Chart("Progressed", 6));
        FakeChartWindow horary(0, Chart("Horary"), true);
        FakeChartWindow second(0, Chart("Second"));
        second.setWindowTitle("Карта 4: Second");
        QStringList titles;
        auto chosen = SelectWith([&](SelectChartDialog& d) {
            titles = Listed(d);
            QCOMPARE(d.windowTitle(), QString("Выбор Карты"));
            QCOMPARE(d.findChild<QListWidget*>("1501")->currentRow(), 0);
            d.findChild<QListWidget*>("1501")->setCurrentRow(1);
            d.findChild<QPushButton*>("1")->click();
        });
        QCOMPARE(titles, (QStringList{"Карта 1: Natal", "Карта 4: Second"}));
        QVERIFY(chosen);
        QCOMPARE(std::string(chosen->name), std::string("Second"));

        auto cancelled =
            SelectWith([](SelectChartDialog& d) { d.findChild<QPushButton*>("2")->click(); });
        QVERIFY(!cancelled);
    }

    void selectChartWithoutChartsGivesNone() {
        QStringList titles{"not run"};
        auto chosen = SelectWith([&](SelectChartDialog& d) {
            titles = Listed(d);
            d.findChild<QPushButton*>("1")->click();
        });
        QVERIFY(titles.isEmpty());
        QVERIFY(!chosen);
    }

    void popupMenuComesFromTheUiTexts() {
        SetUiTexts({"K0t1 Первый [5]/разделитель/Третий [7]"_cp});
        FakeChartWindow w(0, Chart("A"));
        QMenu menu;
        w.FillPopupMenu(menu);
        auto actions = menu.actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QString("Первый"));  // the number is the command only
        QCOMPARE(actions[0]->objectName(), QString("5"));
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->objectName(), QString("7"));
        actions[2]->trigger();
        QCOMPARE(w.commands, std::vector<int>{7});
    }

    void copyPutsThePictureOnTheClipboard() {
        FakeChartWindow w(0, Chart("A"));
        w.resize(123, 45);
        QApplication::clipboard()->setText("old");
        w.OnCommand(kCmdCopyPicture);
        QImage image = QApplication::clipboard()->image();
        QCOMPARE(image.size(), QSize(123, 45));
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    void childWindowsInTheFrame() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        app.Frame()->Client()->closeAllSubWindows();  // the chart window of start-up
        QTRY_VERIFY(App().charts.All().empty());
        app.Frame()->activateWindow();
        App().settings.maxW = 0;
        auto* small = new FakeChartWindow(0, Chart("B"));
        QMdiSubWindow* sub2 = small->ShowInFrame("B");
        QVERIFY(sub2 && !sub2->isMaximized());
        QSize area = app.Frame()->Client()->viewport()->size();
        QVERIFY(sub2->width() >= area.width() / 2 && sub2->height() >= area.height() / 2);
        App().settings.maxW = 1;
        auto* big = new FakeChartWindow(0, Chart("A"));
        QMdiSubWindow* sub = big->ShowInFrame("Карта: A");
        QVERIFY(sub && sub->isMaximized());
        QCOMPARE(sub->windowTitle(), QString("Карта: A"));
        sub->showNormal();

        // Focus makes the window the active child; losing it disarms the next click,
        // which then only brings the window back.
        app.Frame()->Client()->setActiveSubWindow(sub2);
        QTRY_COMPARE(App().activeChild, static_cast<ChildWindow*>(small));
        app.Frame()->Client()->setActiveSubWindow(sub);
        QTRY_VERIFY(!small->clickArmed);
        QVERIFY(!small->TakeClick());
        QVERIFY(small->TakeClick());
        small->clickArmed = false;
        sub2->resize(300, 200);
        QVERIFY(small->clickArmed);  // a resize arms the window

        // A destroyed window is no longer the active child.
        app.Frame()->Client()->closeAllSubWindows();
        QTRY_VERIFY(App().charts.All().empty());
        QVERIFY(App().activeChild == nullptr);
    }
};

static RegisterTestClass<WindowsTest> registerWindows("windows");

}  // namespace orbeta::test

#include "windows_test.moc"
