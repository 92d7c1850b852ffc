// The services of the desktop program: message boxes and the journal, the progress
// dialog with its abort flag, the report hand-over, fonts.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "chart/make_font.h"
#include "gui/app_state.h"
#include "gui/progress_dialog.h"
#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/ui_text.h"
#include "shell/application.h"
#include "shell/main_frame.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

class ServicesTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void warningShowsABoxAndJournals() {
        TestWorkspace ws;
        QtServices services;
        InstallServices(&services);
        BoxAnswerer boxes;
        Svc().Warning("Текст предупреждения"_cp);
        InstallServices(nullptr);
        QCOMPARE(int(boxes.seen.size()), 1);
        QCOMPARE(boxes.seen[0].title, QString("Предупреждение"));
        QCOMPARE(boxes.seen[0].text, QString("Текст предупреждения"));
        QCOMPARE(boxes.seen[0].icon, QMessageBox::Warning);
        QVERIFY(ws.Read("jur.jur").find("Текст предупреждения"_cp) != std::string::npos);
    }

    void progressDialogAndItsAbortButton() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        StartProgress(10);
        ProgressDialog* dialog = app.Services().Progress();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName(), QString("1013"));
        QCOMPARE(dialog->windowTitle(), QString("Расчет"));
        QCOMPARE(dialog->parent(), static_cast<QObject*>(app.Frame()));
        auto* gauge = dialog->findChild<QProgressBar*>();
        QCOMPARE(gauge->geometry(), QRect(10, 10, 540, 20));
        QCOMPARE(gauge->maximum(), 10);
        QVERIFY(!app.Frame()->menuBar()->isEnabled());  // no second command meanwhile

        StartProgress(99);  // one at a time
        QCOMPARE(app.Services().Progress(), dialog);
        StepProgress(3);
        QCOMPARE(gauge->value(), 3);
        QVERIFY(!ProgressAborted());
        auto* abort = dialog->findChild<QPushButton*>("2000");
        QCOMPARE(abort->text(), QString("Прервать"));
        abort->click();
        QVERIFY(ProgressAborted());
        EndProgress();
        QVERIFY(app.Services().Progress() == nullptr);
        QVERIFY(app.Frame()->menuBar()->isEnabled());

        StartProgress(1);  // a new search starts without the old abort
        QVERIFY(!ProgressAborted());
        EndProgress();
    }

    void reportsGoToTheirWindow() {
        TestWorkspace ws;
        SetUiTexts({"Mark Метка"_cp});
        QtServices services;
        InstallServices(&services);
        std::string shownPath, shownTitle;
        services.SetReportViewer([&](const std::string& path, const std::string& title,
                                     const std::string&, const ReportOrigin&) {
            shownPath = path;
            shownTitle = title;
        });
        QVERIFY(BeginReport("Отчет"_cp));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ReportWrite("строка\n"_cp);
        ShowReport("Окно"_cp, "Help");
        InstallServices(nullptr);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(shownPath, std::string("r0001.tmp"));
        QCOMPARE(shownTitle, std::string("Окно"_cp));
        QCOMPARE(ws.Read("r0001.tmp"), std::string(" Отчет\n Метка\nстрока\n"_cp));
    }

    void makeFont() {
        TestWorkspace ws;
        auto font = MakeFont("Tabula Mono", 14, 0);
        QVERIFY(font);
        QCOMPARE(font->pixelSize(), 14);
        QCOMPARE(font->weight(), QFont::Normal);
        QVERIFY(!font->italic() && !font->underline() && !font->strikeOut());
        auto narrow = MakeFont("Tabula Mono", 14, 4);
        QVERIFY(narrow && narrow->stretch() < 100);
        QVERIFY(!MakeFont("Sigilum", 0, 0));
        QVERIFY(ws.Read("jur.jur").find("Sigilum, 0 =NULL\n") != std::string::npos);
        QCOMPARE(ToQColor(RgbColour(255, 127, 0)), QColor(255, 127, 0));
    }
};

static RegisterTestClass<ServicesTest> registerServices("services");

}  // namespace orbeta::test

#include "services_test.moc"
