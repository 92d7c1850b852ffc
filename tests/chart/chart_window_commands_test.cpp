// The commands of chart windows: which the menus offer, the windows that open charts,
// the current chart, house systems, help, printing.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <cstring>

#include "chart_window_test_support.h"
#include "dialog_test_support.h"
#include "gui/chart_opener.h"
#include "gui/qt_text.h"
#include "platform/command_ids.h"
#include "platform/format.h"
#include "platform/journal.h"
#include "platform/text_file.h"
#include "shell/application.h"
#include "shell/main_frame.h"
#include "test_classes.h"

namespace orbeta::test {
namespace {

using namespace cmd::chart;

QString TitleOf(const ChartWindow* w) {
    return FromAnsi(w->Title());
}

ChartWindow* NewestWindow() {
    ChartWindow* newest = nullptr;
    for (const auto& e : App().charts.All())
        if (auto* w = dynamic_cast<ChartWindow*>(e.window)) newest = w;
    return newest;
}

}  // namespace

class ChartWindowCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ChartWindowWorld> world;
  private slots:
    void init() { world = std::make_unique<ChartWindowWorld>(); }
    void cleanup() {
        world.reset();
        SetChartOpener({});
    }

    void menusOfferOnlyWhatIsBuilt() {
        App().printer = std::make_unique<QPrinter>();
        ChartRecord c = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindOne, c, c);
        QCOMPARE(w->PopupKey(), std::string("K0t1"));
        QMenu menu;
        w->FillPopupMenu(menu);
        auto items = Enabled(menu);
        for (int id : {kInterpretation, kForecast, kReturnsTable, kStoreInBase})
            QVERIFY2(!items.at(id), qPrintable(QString::number(id)));
        for (int id :
             {kOverlayCurrent, kMakeCurrent, kHousesOuter, kTimeSteps, kChangeAscendant,
              kDerivedMenu, kPrint, kPrintWithTables, kCopyPicture, kAspects, kArcs, kReportsMenu})
            QVERIFY2(items.at(id), qPrintable(QString::number(id)));
        // A disabled command does nothing even when sent.
        w->OnCommand(kInterpretation);

        ChartWindow* o = ShownWindow(kChartKindTwo, c, c);
        QCOMPARE(o->PopupKey(), std::string("K2"));
        QMenu overlay;
        o->FillPopupMenu(overlay);
        items = Enabled(overlay);
        QVERIFY(!items.at(kRelationship));
        for (int id : {kHousesOuter, kHousesInner, kSwap, kComposite, kMidChart, kOuterMethod})
            QVERIFY(items.at(id));
        QMenu derivedCharts;
        w->FillButtonMenu(derivedCharts, kDerivedMenu);
        items = Enabled(derivedCharts);
        QVERIFY(!items.at(kSolarLunar) && !items.at(kHoraryChart));
        for (int id : {kHarmonic, kRelocation, kThematicChart}) QVERIFY(items.at(id));

        ChartRecord derived = c;
        derived.calcMethod = kSecondary;
        QCOMPARE(ShownWindow(kChartKindOne, derived, derived)->PopupKey(), std::string("K0"));

        // A feature that arrives later adds its command to the button menu.
        int ran = 0;
        QVERIFY(w->OffersCommand(kReportsMenu));  // the Bindhu table
        ChartWindow::SetCommand(kRiseSet, [&ran](ChartWindow&) { ++ran; });
        QMenu reports;
        w->FillButtonMenu(reports, kReportsMenu);
        items = Enabled(reports);
        QVERIFY(items.at(kRiseSet));
        QVERIFY(items.at(kBinduTable));
        QVERIFY(!items.at(kAgePoints) && !items.at(kProgressedMoon));
        for (QAction* a : reports.actions())
            if (a->objectName().toInt() == kRiseSet) a->trigger();
        QCOMPARE(ran, 1);
        ChartWindow::SetCommand(kRiseSet, nullptr);
        QVERIFY(!ChartWindow::HasCommand(kRiseSet));

        // Without a printer nothing is printed.
        App().printer.reset();
        QVERIFY(!w->OffersCommand(kPrint));
    }

    void windowsOpenWithTheirTitles() {
        ChartRecord a = NatalChart("Anna Karenina");
        a.calcMethod = kSecondary;
        ChartWindow* w = OpenChartWindow(a, NewChartText(a));
        QCOMPARE(TitleOf(w), QString("Карта %1: Anna Karen (%2)")
                                 .arg(w->Number())
                                 .arg(FromAnsi(MethodName(kSecondary))));
        QCOMPARE(w->Chart2().calcMethod, int16_t(kSecondary));

        ChartRecord b = NatalChart("Boris");
        ChartWindow* o = OpenOverlayWindow(a, b);
        QCOMPARE(TitleOf(o), QString("Наложение Anna Karenina - Boris"));
        QCOMPARE(o->Kind(), kChartKindTwo);

        w->OnCommand(kOverlayCurrent);  // with the current chart inside
        ChartWindow* current = NewestWindow();
        QCOMPARE(TitleOf(current), QString("Наложение Anna Karenina - Current"));
        QCOMPARE(QString(current->Chart2().name), QString("Current"));

        o->OnCommand(kMakeCurrent);
        QCOMPARE(QString(App().currentChart.name), QString("Anna Karenina"));
    }

    void enteredChartsOpenAWindowAndPairsAnOverlay() {
        Application app;
        BoxAnswerer boxes;
        app.Start();
        // Start-up opens the current chart.
        ChartWindow* first = NewestWindow();
        QVERIFY(first);
        QVERIFY(TitleOf(first).startsWith(QString("Карта %1: ").arg(first->Number())));
        QVERIFY(app.Frame()->Action(cmd::menu::kHoroscope)->isEnabled());
        QVERIFY(app.Frame()->Action(cmd::menu::kOverlay)->isEnabled());

        WhenDialogOpens([](QDialog* d) {
            const char* values[][2] = {{"5001", "1"},  {"5002", "1"},    {"5003", "2000"},
                                       {"5004", "15"}, {"5005", "0"},    {"5006", "0"},
                                       {"5010", "-3"}, {"5000", "J2000"}};
            for (auto& [id, text] : values) d->findChild<QLineEdit*>(id)->setText(text);
            Click(d, "1");
        });
        app.Frame()->Action(cmd::menu::kHoroscope)->trigger();
        ChartWindow* entered = NewestWindow();
        QVERIFY(entered != first);
        QCOMPARE(TitleOf(entered), QString("Карта %1: J2000      (%2)")
                                       .arg(entered->Number())
                                       .arg(FromAnsi(MethodName(kNatal))));
        QCOMPARE(entered->Chart1().jdUT, 2451545.0);
        QVERIFY(app.Frame()->Client()->subWindowList().size() >= 2);

        // The overlay of the entered chart (outer) around the first (inner).
        WhenDialogOpens([](QDialog* d) {
            auto* outer = d->findChild<QListWidget*>("1501");
            outer->setCurrentRow(outer->count() - 1);
            d->findChild<QListWidget*>("1502")->setCurrentRow(0);
            Click(d, "1");
        });
        app.Frame()->Action(cmd::menu::kOverlay)->trigger();
        ChartWindow* overlay = NewestWindow();
        QCOMPARE(overlay->Kind(), kChartKindTwo);
        QVERIFY(TitleOf(overlay).startsWith("Наложение J2000 - "));
        app.Frame()->Client()->closeAllSubWindows();
        QTRY_VERIFY(App().charts.All().empty());
    }

    void harmonicAndCompositeOpenTheirWindows() {
        ChartRecord c = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindOne, c, c);
        for (const char* typed : {"0", "abc"}) {
            WhenDialogOpens([typed](QDialog* d) {
                d->findChild<QLineEdit*>()->setText(typed);
                d->accept();
            });
            w->OnCommand(kHarmonic);
            ChartWindow* h = NewestWindow();
            QCOMPARE(TitleOf(h), QString("Карта %1: Гармоника 2").arg(h->Number()));
            QCOMPARE(h->Chart1().calcMethod, int16_t(16));
            QCOMPARE(h->Chart1().harmonic, int16_t(2));
            QCOMPARE(h->PopupKey(), std::string("K0"));
            QVERIFY(std::fabs(h->Chart1().lon[MON] - 2 * std::fmod(c.lon[MON], 180.0)) < 1e-9);
        }

        // A composite of an overlay keeps the overlay's inner chart as its second.
        ChartRecord b = NatalChart("B", "01.01.2000 12:00:00");
        ChartWindow* o = ShownWindow(kChartKindTwo, c, b);
        WhenDialogOpens([](QDialog* d) { Click(d, "1"); });  // averaged place
        o->OnCommand(kComposite);
        ChartWindow* composite = NewestWindow();
        QVERIFY(composite != o);
        QCOMPARE(composite->Chart1().calcMethod, int16_t(13));
        QCOMPARE(QString(composite->Chart2().name), QString("B"));
        QCOMPARE(TitleOf(composite), QString("Карта %1:A").arg(composite->Number()));
        QVERIFY(std::fabs(composite->Chart1().lon[SUN] - Midpoint(c.lon[SUN], b.lon[SUN])) < 1e-9);
        // A composite has no moment to step.
        double sun = composite->Chart1().lon[SUN];
        QTest::keyClick(composite, Qt::Key_Up);
        QCOMPARE(composite->Chart1().lon[SUN], sun);
    }

    void ascendantChangeMovesNatalChartsAndRefusesProgressedOnes() {
        UseQtServices qtServices;
        BoxAnswerer boxes;
        ChartRecord natal = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindOne, natal, natal);
        WhenDialogOpens([](QDialog* d) {
            d->findChild<QRadioButton*>("551")->setChecked(true);  // 15° Aries
            d->findChild<QLineEdit*>("301")->setText("15");
            d->findChild<QLineEdit*>("302")->setText("0");
            d->findChild<QLineEdit*>("303")->setText("0");
            Click(d, "1");
        });
        w->OnCommand(kChangeAscendant);
        QVERIFY2(Separation(w->Chart1().cusp[1], 15.0) < 0.01,
                 qPrintable(QString::number(w->Chart1().cusp[1])));
        QVERIFY(w->Chart1().jdUT != natal.jdUT);
        QVERIFY(std::fabs(w->Chart1().lon[MON] -
                          BodyLongitude(test::Scratch(), w->Chart1().jdUT, MON)) < 1e-6);
        QVERIFY(boxes.seen.empty());

        // A progressed chart's houses do not follow its moment: refused, left as it was.
        ChartRecord progressed = natal;
        progressed.calcMethod = kSecondary;
        progressed.jdUT += 3652.421;
        progressed.jdLocal += 3652.421;
        ComputeChart(test::Scratch(), progressed, natal, kSecondary);
        App().currentChart = natal;
        ChartWindow* p = ShownWindow(kChartKindOne, progressed, progressed);
        WhenDialogOpens([](QDialog* d) { Click(d, "1"); });
        p->OnCommand(kChangeAscendant);
        QCOMPARE(boxes.seen.size(), size_t(1));
        QCOMPARE(p->Chart1().jdUT, progressed.jdUT);
        QCOMPARE(p->Chart1().cusp[1], progressed.cusp[1]);
    }

    void houseSystemsThroughTheRadioDialog() {
        ChartRecord c = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindTwo, c, c);
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1004"));
            QVERIFY(d->findChild<QRadioButton*>("203")->isChecked());  // Placidus
            d->findChild<QRadioButton*>("206")->setChecked(true);      // equal houses
            Click(d, "1");
        });
        w->OnCommand(kHousesInner);
        QCOMPARE(w->Chart2().houseSystem, int16_t(6));
        QCOMPARE(w->Chart1().houseSystem, int16_t(3));
        for (int k = 1; k < 12; ++k)
            QVERIFY(std::fabs(Difference(w->Chart2().cusp[k + 1], w->Chart2().cusp[k]) - 30) <
                    1e-9);
        QVERIFY(std::fabs(w->Chart2().cusp[1] - c.cusp[1]) < 1e-9);

        WhenDialogOpens([](QDialog* d) { Click(d, "2"); });
        w->OnCommand(kHousesOuter);
        QCOMPARE(w->Chart1().houseSystem, int16_t(3));
    }

    void printingGoesToThePrinter() {
        App().printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QPrinter& printer = *App().printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        QString path = QDir::current().absoluteFilePath("chart.pdf");
        printer.setOutputFileName(path);
        ChartRecord c = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindTwo, c, NatalChart("B", "01.01.2000 12:00:00"));

        // With "Диалог перед печатью" on, a cancelled dialog prints nothing.
        App().settings.ov[kOptPrintDialog] = 1;
        WhenDialogOpens([](QDialog* d) {
            QVERIFY(qobject_cast<QPrintDialog*>(d));
            d->reject();
        });
        w->OnCommand(kPrint);
        QVERIFY(!QFile::exists(path));

        App().settings.ov[kOptPrintDialog] = 0;
        w->OnCommand(kPrintWithTables);
        QCOMPARE(printer.docName(), QString("Карта с Аспектами"));
        QVERIFY(w->PrintTable());
        QCOMPARE(int(w->PrintState()), int(kNotPrinting));
        // The file is named after the chart, in the folder printed to before.
        QString first = QDir::current().absoluteFilePath("A.pdf");
        QCOMPARE(printer.outputFileName(), first);
        QFile pdf(first);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.size() > 2000);
        pdf.close();

        // A second print goes to a new file; the first stays as it was.
        w->OnCommand(kPrint);
        QCOMPARE(printer.docName(), QString("Карта"));
        QVERIFY(!w->PrintTable());
        QCOMPARE(printer.outputFileName(), QDir::current().absoluteFilePath("A (2).pdf"));
        QVERIFY(QFileInfo(printer.outputFileName()).size() > 2000);
        QCOMPARE(QFileInfo(first).size(), qint64(bytes.size()));
        QVERIFY(!QFile::exists(path));
    }

    void debugJournalLines() {
        App().settings.ov[kOptDebugJournal] = 1;
        TheJournal().SetDebug(true);
        ChartRecord c = NatalChart("A");
        auto* w = new ChartWindow(kChartKindTwo, c, c, "x");
        int number = w->Number();
        delete w;
        TheJournal().SetDebug(false, false);
        std::string journal = ReadFileBytes("jur.jur").value_or("");
        QVERIFY(journal.find(Format("DKart: NGS=%d kg=2", number)) != std::string::npos);
        QVERIFY(journal.find(Format("~DKart: NGS=%d", number)) != std::string::npos);
    }
};

static RegisterTestClass<ChartWindowCommandsTest> registerCommands("chart_window_commands");

}  // namespace orbeta::test

#include "../support/scratch_computation.h"
#include "chart_window_commands_test.moc"
