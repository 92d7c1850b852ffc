// The interval dialog, the pair selection, and the short date-and-place dialogs.
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

#include "dialog_test_support.h"
#include "fake_chart_window.h"
#include "gui/app_state.h"
#include "gui/date_place_dialogs.h"
#include "gui/interval_dialog.h"
#include "gui/pair_selection.h"
#include "platform/codepage.h"
#include "platform/journal.h"
#include "platform/ui_text.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {
QString Field(QWidget* d, const char* id) {
    auto* e = d->findChild<QLineEdit*>(id);
    return e ? e->text() : "<none>";
}
}  // namespace

class SmallDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void intervalFromTheSettingsText() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        std::string interval = "01.01.2005-31.12.2005";
        double start = -1, end = -1;
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(Field(d, "1401"), QString("01.01.2005"));
            QCOMPARE(Field(d, "1402"), QString("31.12.2005"));
            d->findChild<QLineEdit*>("1402")->setText("02.01.2005");
            Click(d, "1");
        });
        QVERIFY(RunIntervalDialog(nullptr, interval, start, end));
        QCOMPARE(start, 2453371.5);
        QCOMPARE(end, 2453372.5);
        QCOMPARE(interval, std::string("01.01.2005-02.01.2005"));

        interval = "15.03.2010";
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(Field(d, "1401"), QString("15.03.2010"));
            QCOMPARE(Field(d, "1402"), QString());
            Click(d, "1");  // refused: the end is no date
            QVERIFY(d->isVisible());
            Click(d, "2");
        });
        QVERIFY(!RunIntervalDialog(nullptr, interval, start, end));
        QCOMPARE(interval, std::string("15.03.2010"));
        QCOMPARE(start, 2453371.5);
        QCOMPARE(int(boxes.seen.size()), 1);

        // An end before the start is refused and the dialog stays open.
        interval = "02.01.2005-01.01.2005";
        WhenDialogOpens([](QDialog* d) {
            Click(d, "1");
            QVERIFY(d->isVisible());
            Click(d, "2");
        });
        QVERIFY(!RunIntervalDialog(nullptr, interval, start, end));
        QCOMPARE(int(boxes.seen.size()), 2);
        QCOMPARE(boxes.seen.at(1).text, QString("Конец интервала раньше начала"));
    }

    void pairSelection() {
        TestWorkspace ws;
        UseQtServices qtServices;
        LoadUiTexts("orbtw.t");
        BoxAnswerer boxes;
        QVERIFY(!SelectChartPair(nullptr, false));
        QCOMPARE(boxes.seen.at(0).text, QString("Нет открытых карт"));

        FakeChartWindow a(0, DefaultProfileChart()), b(0, DefaultProfileChart());
        FakeChartWindow derived(1, DefaultProfileChart());
        a.setWindowTitle("A");
        b.setWindowTitle("B");
        WhenDialogOpens([](QDialog* d) {
            auto* dial = static_cast<Dial*>(d);
            QCOMPARE(dial->HelpKey(), std::string("TwoKS"));
            auto* outer = d->findChild<QListWidget*>("1501");
            QCOMPARE(outer->count(), 2);  // ordinary charts only
            outer->setCurrentRow(1);
            d->findChild<QListWidget*>("1502")->setCurrentRow(0);
            Click(d, "1");
        });
        auto pair = SelectChartPair(nullptr, true);
        QVERIFY(pair);
        QCOMPARE(pair->first, static_cast<ChartWindowBase*>(&b));
        QCOMPARE(pair->second, static_cast<ChartWindowBase*>(&a));

        WhenDialogOpens([](QDialog* d) {
            d->findChild<QListWidget*>("1501")->setCurrentRow(0);
            Click(d, "1");  // no inner chart chosen
        });
        QVERIFY(!SelectChartPair(nullptr, false));
    }

    void dateAndPlaceDialogs() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        ChartRecord c = DefaultProfileChart();
        c.gmtCorr = -2.5047 / 24;
        c.latitude = 55.45;
        LunationDialog moon(nullptr, c);
        QCOMPARE(Field(&moon, "5010"), QString("-2.5047"));
        QCOMPARE(Field(&moon, "5003"), QString("2000"));
        QVERIFY(moon.findChild<QRadioButton*>("201")->isChecked());
        moon.findChild<QRadioButton*>("202")->setChecked(true);
        Click(&moon, "1");
        QVERIFY(!moon.FullMoon());
        QCOMPARE(moon.Data().correctionHours, -2.5047);
        QCOMPARE(moon.Data().latitude, 55.45);

        ElectionalDayDialog elect(nullptr, c);
        QCOMPARE(Field(&elect, "5004"), QString("-2.5047"));
        elect.findChild<QLineEdit*>("5001")->setText("3l");
        Click(&elect, "1");
        QCOMPARE(elect.result(), int(QDialog::Rejected));
        QVERIFY(boxes.seen.back().text.contains("День"));
        Click(&elect, "5023");
        QCOMPARE(Field(&elect, "5003").size(), 4);

        // The card dialog keeps the focus where it was; others give it to the active child.
        FakeChartWindow child(0, c);
        App().activeChild = &child;
        child.clickArmed = false;
        { ChartCardDialog card(nullptr, c); }
        QVERIFY(!child.clickArmed);
        { LunationDialog other(nullptr, c); }
        QVERIFY(child.clickArmed);
    }

    void debugJournalTracesTheDialogResult() {
        TestWorkspace ws;
        TheJournal().SetDebug(true);
        {
            IntervalDialog d(nullptr, "01.01.2005-31.12.2005");
            Click(&d, "1");
        }
        TheJournal().SetDebug(false);
        std::string journal = ws.Read("jur.jur");
        QVERIFY(journal.find("Dial::Destroy retV=1\n") != std::string::npos);
        QVERIFY(journal.find("~Dial\n") != std::string::npos);
    }
};

static RegisterTestClass<SmallDialogsTest> reg("small_dialogs");

}  // namespace orbeta::test

#include "small_dialogs_test.moc"
