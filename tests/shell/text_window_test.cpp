// Report text windows: the file they own, saving and copying as UTF-8, the chart of a
// dated line, keys, printing to PDF, the external editor, and the printer settings.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <cmath>

#include "../support/scratch_computation.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/dated_line.h"
#include "core/ephemeris.h"
#include "data/settings.h"
#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "gui/chart_opener.h"
#include "gui/printer_settings_dialog.h"
#include "gui/text_window.h"
#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/text_file.h"
#include "platform/text_view.h"
#include "platform/ui_text.h"
#include "shell/application.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
}

int PdfPages(const std::string& path) {
    QString pdf = QString::fromLatin1(ReadFileBytes(path).value_or(""));
    return static_cast<int>(pdf.count(QRegularExpression("/Type\\s*/Page[^s]")));
}

struct Opened {
    ChartRecord chart;
    std::string text;
};

}  // namespace

class TextWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        ResetProgramState();
        SetChartOpener({});
        TextWindow::SetProcessLauncher({});
    }

    void reportWindowDeletesItsFileAndSavedCopyStays() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        App().client->closeAllSubWindows();  // the chart window of start-up
        SetUiTexts({"Mark Метка"_cp});
        QVERIFY(BeginReport("Отчет"_cp));
        ReportWrite("Солнце в Тельце\n"_cp);
        ShowReport("Окно"_cp, "ATeka");
        QCOMPARE(App().client->subWindowList().size(), 1);
        auto* window = qobject_cast<TextWindow*>(App().client->subWindowList()[0]->widget());
        QVERIFY(window);
        QCOMPARE(window->LineCount(), 3);
        QCOMPARE(window->HelpKey(), std::string("ATeka"));
        QVERIFY(window->WidestLine() >= 10);
        QVERIFY(FileExists("r0001.tmp"));

        TextWindow::SetSaveNameChooser(
            [&ws](QWidget*) { return QString::fromStdString(ws.Path() + "/copy.txt"); });
        window->OnCommand(kCmdSaveText);
        window->OnCommand(kCmdCopyText);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString(" Отчет\r\n Метка\r\nСолнце в Тельце\r\n"));
        App().client->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!FileExists("r0001.tmp"));
        QCOMPARE(ws.Read("copy.txt"), std::string(" Отчет\n Метка\nСолнце в Тельце\n"));
        // The report file itself stays in the program's code page until then.
        TextWindow::SetSaveNameChooser({});
    }

    void datedLineOpensTheChartOfItsMoment() {
        TestWorkspace ws;
        OpenEphemeris();
        std::vector<Opened> opened;
        SetChartOpener([&](const ChartRecord& c, const std::string& text) {
            opened.push_back({c, text});
        });
        CopyText(App().currentChart.name, "Base");
        ws.Write("r0001.tmp", " Transits\n16.05.1945 05:30  SUN trine SAT\n  no date here\n");
        ReportOrigin noChart;
        noChart.correction = 0.25;
        auto* window = new TextWindow("r0001.tmp", "ATeka", noChart);
        int h = window->LineHeight();
        window->ClickAt(2 * h + 1);
        window->ClickAt(0);
        QCOMPARE(opened.size(), size_t(0));
        window->ClickAt(h + h / 2);
        QCOMPARE(opened.size(), size_t(1));
        const ChartRecord& c = opened[0].chart;
        QCOMPARE(opened[0].text, std::string("16.05.1945 05:30"));
        QCOMPARE(c.jdLocal, JulianDay({16, 5, 1945, 5, 30, 0}));
        QCOMPARE(c.jdUT, c.jdLocal + 0.25);
        QCOMPARE(QString(c.name), QString());
        QCOMPARE(c.calcMethod, int16_t(1));
        // Computed at that moment: swetest gives the Sun at 55.2202° for 11:30 UT.
        QVERIFY2(std::fabs(c.lon[1] - 55.2202) < 0.01, qPrintable(QString::number(c.lon[1])));
        delete window;
        QVERIFY(!FileExists("r0001.tmp"));

        // A report of a chart born in Novosibirsk, the current chart in Moscow: the
        // clicked line's chart stands in Novosibirsk with its correction, house system
        // and name.
        ChartRecord moscow = App().currentChart;
        moscow.latitude = 55.45;
        moscow.longitude = 37.37;
        moscow.gmtCorr = -3.0 / 24;
        moscow.houseSystem = 1;
        App().currentChart = moscow;
        ChartRecord novosibirsk = moscow;
        CopyText(novosibirsk.name, "Ольга Сибирякова-Новоселова"_cp);
        CopyText(novosibirsk.place, "Новосибирск"_cp);
        novosibirsk.latitude = 55.02;
        novosibirsk.longitude = 82.55;
        novosibirsk.gmtCorr = -7.0 / 24;
        novosibirsk.houseSystem = 4;
        ws.Write("r0002.tmp", " Age points\n21.03.2030 14:00:00  MC conjunction SUN\n");
        window = new TextWindow("r0002.tmp", "TZS", ReportOriginOf(novosibirsk));
        window->ClickAt(h + h / 2);
        QCOMPARE(opened.size(), size_t(2));
        const ChartRecord& n = opened[1].chart;
        QCOMPARE(opened[1].text, std::string("21.03.2030 14:00:00"));
        QCOMPARE(n.jdLocal, JulianDay({21, 3, 2030, 14, 0, 0}));
        QCOMPARE(n.jdUT, n.jdLocal - 7.0 / 24);
        QCOMPARE(n.gmtCorr, -7.0 / 24);
        QCOMPARE(n.latitude, 55.02);
        QCOMPARE(n.longitude, 82.55);
        QCOMPARE(n.houseSystem, int16_t(4));
        QCOMPARE(std::string(n.place), std::string("Новосибирск"_cp));
        // The name cut so that the whole date follows it within 29 characters.
        QCOMPARE(std::string(n.name), std::string("Ольга Сибирякова-Н 21.03.2030"_cp));
        // Houses of Novosibirsk at that moment, not those of Moscow.
        ChartRecord there = n;
        there.latitude = moscow.latitude;
        there.longitude = moscow.longitude;
        ComputeChart(test::Scratch(), there, moscow, 1);
        QVERIFY(std::fabs(n.cusp[1] - there.cusp[1]) > 10);
        delete window;
        CloseEphemeris();
    }

    void keysScrollWithinTheText() {
        TestWorkspace ws;
        ws.Write("r0001.tmp", NumberedLines(300));
        TextWindow window("r0001.tmp", "ATeka");
        window.resize(400, 300);
        window.show();
        QScrollBar* v = window.VerticalBar();
        QScrollBar* hbar = window.HorizontalBar();
        QVERIFY(v->maximum() >= 300 - 300 / window.LineHeight());
        QTest::keyClick(&window, Qt::Key_Down);
        QTest::keyClick(&window, Qt::Key_Down);
        QCOMPARE(v->value(), 2);
        QTest::keyClick(&window, Qt::Key_Up);
        QCOMPARE(v->value(), 1);
        QTest::keyClick(&window, Qt::Key_PageDown);
        QCOMPARE(v->value(), 1 + v->pageStep());
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(hbar->value(), 1);
        QTest::keyClick(&window, Qt::Key_End);
        QCOMPARE(hbar->value(), 0);
        // The last line at the bottom: one more line down shows nothing new.
        QCOMPARE(v->value() + v->pageStep(), 300);
        QTest::keyClick(&window, Qt::Key_Home);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(&window, Qt::Key_Up);
        QCOMPARE(v->value(), 0);
    }

    void printingGivesWholePagesOfPdf() {
        TestWorkspace ws;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        PrintPage page = PrintPageGeometry(printer.height(), printer.width());
        QCOMPARE(page.linesPerPage, 72);
        for (auto [lines, pages] : {std::pair{200, 3}, std::pair{144, 2}, std::pair{1, 1}}) {
            ws.Write("r.tmp", NumberedLines(lines));
            std::string pdf = ws.Path() + "/out" + std::to_string(lines) + ".pdf";
            printer.setOutputFileName(QString::fromStdString(pdf));
            QCOMPARE(PrintTextFile(printer, "r.tmp", "Tabula Mono"), pages);
            QCOMPARE(PdfPages(pdf), pages);
        }
        QCOMPARE(PrintTextFile(printer, "missing.tmp", "Tabula Mono"), 0);
    }

    void editorGetsTheFileAsOneArgument() {
        TestWorkspace ws;
        QString program;
        QStringList args;
        TextWindow::SetProcessLauncher([&](const QString& p, const QStringList& a) {
            program = p;
            args = a;
            return true;
        });
        ws.Write("r0002.tmp", "Солнце\nв Тельце\n\n продолжение\n"_cp);
        TextWindow window("r0002.tmp", "");
        // Blanks and quotes in the path reach the program untouched: no shell between.
        App().settings.namRed = "/opt/my editor/ed \"x\"; rm -rf y";
        window.OnCommand(kCmdExternalEditor);
        QCOMPARE(program, QString("/opt/my editor/ed \"x\"; rm -rf y"));
        QCOMPARE(args, QStringList{
                           QDir(QString::fromStdString(ws.Path())).absoluteFilePath("r0002.txt")});
        QCOMPARE(ws.Read("r0002.txt"), std::string("Солнце \nв Тельце \n \n\n продолжение \n"));
        // The profile holds the name in CP1251; the program gets it as a Unicode path.
        App().settings.namRed = "/opt/Редактор/ed"_cp;
        window.OnCommand(kCmdExternalEditor);
        QCOMPARE(program, QString("/opt/Редактор/ed"));

        App().settings.namRed = "C:\\Office\\WinWord.exe";
        window.OnCommand(kCmdExternalEditor);
        QCOMPARE(ws.Read("r0002.txt"), std::string("Солнце в Тельце \n \n продолжение "));
        QVERIFY(FileExists("r0002.tmp"));
    }

    void printerSettingsStoredOnOkKeptOnCancel() {
        Settings& s = App().settings;
        s.ov[kOptPrintDialog] = 1;
        s.ov[kOptPrinterFill] = 2;
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1080"));
            QVERIFY(d->findChild<QCheckBox*>("201")->isChecked());
            QVERIFY(d->findChild<QRadioButton*>("212")->isChecked());
            d->findChild<QCheckBox*>("201")->setChecked(false);
            d->findChild<QCheckBox*>("202")->setChecked(true);
            d->findChild<QCheckBox*>("203")->setChecked(true);
            d->findChild<QRadioButton*>("214")->setChecked(true);
            Click(d, "1");
        });
        EditPrinterSettings(nullptr);
        QCOMPARE(int(s.ov[kOptPrintDialog]), 0);
        QCOMPARE(int(s.ov[kOptPrinterBlackWhite]), 1);
        QCOMPARE(int(s.ov[kOptPrinterLowMemory]), 1);
        QCOMPARE(int(s.ov[kOptPrinterFill]), 4);
        WhenDialogOpens([](QDialog* d) {
            d->findChild<QCheckBox*>("202")->setChecked(false);
            d->findChild<QRadioButton*>("210")->setChecked(true);
            Click(d, "2");
        });
        EditPrinterSettings(nullptr);
        QCOMPARE(int(s.ov[kOptPrinterBlackWhite]), 1);
        QCOMPARE(int(s.ov[kOptPrinterFill]), 4);
    }
};

static RegisterTestClass<TextWindowTest> reg("text_windows");

}  // namespace orbeta::test

#include "text_window_test.moc"
