// Start-up and closing of the program, in their documented order.
#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <cstring>

#include "data/settings.h"
#include "gui/app_state.h"
#include "platform/command_ids.h"
#include "platform/journal.h"
#include "platform/services.h"
#include "shell/application.h"
#include "shell/main_frame.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {
namespace {

constexpr const char* kFrameTitle = "Orbeta - астрологическая рабочая станция";

struct ChildRun {
    int exitCode = -1;
    QString out;
};

ChildRun RunChildStartup(const std::string& dir) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(),
            {"--child-startup", QString::fromStdString(dir)});
    ChildRun run;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    return run;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void missingProfileWarnsAndKeepsTheDefaults() {
        TestWorkspace ws;
        ws.Remove("orbt.ini");
        BoxAnswerer boxes;
        bool frameAtWarning = true;
        QStringList familiesAtWarning;
        Application app;
        boxes.onBox = [&](const SeenBox&) {
            frameAtWarning = App().frame != nullptr;
            familiesAtWarning = app.RegisteredFamilies();
        };
        app.Start();
        QCOMPARE(int(boxes.seen.size()), 1);
        QCOMPARE(boxes.seen[0].title, QString("Предупреждение"));
        QCOMPARE(boxes.seen[0].text, QString("Не открывается файл orbt.ini"));
        QCOMPARE(boxes.seen[0].owner, nullptr);
        QVERIFY(!frameAtWarning);  // the profile comes before the frame
        // ... and after the fonts of the working directory
        QCOMPARE(familiesAtWarning, (QStringList{"Sigilum", "Tabula Mono"}));
        QVERIFY(ws.Read("jur.jur").find("orbt.ini") != std::string::npos);

        const AppState& state = App();
        QCOMPARE(state.settings.maskP, 1023L);
        QCOMPARE(state.currentChart.jdLocal, 2451545.0);
        // The default chart is computed: the Sun of 1 January 2000, 12:00 UT.
        QVERIFY(std::abs(state.currentChart.lon[1] - 280.3689) < 0.01);
        QCOMPARE(std::memcmp(&state.inputChart, &state.currentChart, sizeof(ChartRecord)), 0);
        QVERIFY(state.printer != nullptr);
        QVERIFY(state.orbTable.Find(90.0f) != nullptr);  // the current table of 0.ao
    }

    void frameFollowsTheProfileAndTheScreen() {
        TestWorkspace ws;
        ws.Write("orbt.ini",
                 "JD=16.05.1945 05:30:00\nGMTPOP=-0.125\nLAT=55.45\nLONG=37.37\nMaskP=5\nMaxW=0\n");
        BoxAnswerer boxes;
        Application app;
        app.Start();
        QVERIFY(boxes.seen.empty());
        MainFrame* frame = app.Frame();
        QCOMPARE(frame->windowTitle(), QString(kFrameTitle));
        QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(frame->frameGeometry().topLeft(), QPoint(0, 0));
        QCOMPARE(frame->width(), screen.width() - 10);
        QCOMPARE(frame->height(), screen.height() - 25);
        QVERIFY(frame->isVisible());
        const AppState& state = App();
        QCOMPARE(state.settings.maskP, 5L);
        QCOMPARE(state.currentChart.calcMethod, int16_t(1));
        QCOMPARE(state.currentChart.jdUT, state.currentChart.jdLocal - 0.125);
        QVERIFY(state.currentChart.lon[1] > 50 && state.currentChart.lon[1] < 60);  // Taurus
        QCOMPARE(std::memcmp(&state.inputChart, &state.currentChart, sizeof(ChartRecord)), 0);
    }

    // The fatal box of a missing ephemeris comes after the profile and the frame, before
    // the charts and the printer, and ends the process with exit code 1.
    void missingEphemerisIsFatal() {
        TestWorkspace ws;
        ws.Remove("dirswe.ctl");
        ws.Write("orbt.ini", "MaskP=7\n");
        ChildRun run = RunChildStartup(ws.Path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(!run.out.contains("STARTED"), qPrintable(run.out));
        QStringList boxes = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(boxes.size(), 1);
        QStringList f = boxes[0].mid(4).split('|');
        QCOMPARE(f.value(0), QString("Аварийное завершение"));
        QCOMPARE(f.value(1), QString("Директория Эфемерид не найдена"));
        QCOMPARE(f.value(2), QString("frame=1"));
        QCOMPARE(f.value(3), QString("visible=1"));
        QCOMPARE(f.value(4), QString("title=") + kFrameTitle);
        QCOMPARE(f.value(5), QString("families=Sigilum,Tabula Mono"));
        QCOMPARE(f.value(6), QString("maskP=7"));
        QCOMPARE(f.value(7), QString("sun=0.000"));
        QCOMPARE(f.value(8), QString("printer=0"));
    }

    void closingWritesTheProfileEvenWhenTheAnswerIsNo() {
        TestWorkspace ws;
        Application app;
        {
            BoxAnswerer none;
            app.Start();
        }
        ws.Remove("orbt.ini");
        App().settings.maskA = 77;
        {
            BoxAnswerer boxes({QMessageBox::No});
            QVERIFY(!app.Frame()->close());
            QCOMPARE(int(boxes.seen.size()), 1);
            QCOMPARE(boxes.seen[0].title, QString("Orbeta"));
            QCOMPARE(boxes.seen[0].text, QString("Закончить Работу?"));
            QCOMPARE(boxes.seen[0].icon, QMessageBox::Question);
            QCOMPARE(boxes.seen[0].buttons, (QStringList{"Да", "Нет"}));
            QCOMPARE(boxes.seen[0].owner, static_cast<QObject*>(app.Frame()->Client()));
        }
        QVERIFY(app.Frame()->isVisible());
        QVERIFY(App().printer != nullptr);
        std::string written = ws.Read("orbt.ini");
        QCOMPARE(written, ProfileText(App().settings, App().currentChart));
        QVERIFY(written.find("\nMaskA=77\n") != std::string::npos);

        // "Выход" asks the same question; Yes ends the program's resources.
        BoxAnswerer yes({QMessageBox::Yes});
        app.Frame()->Action(cmd::menu::kExit)->trigger();
        QCOMPARE(int(yes.seen.size()), 1);
        QVERIFY(!app.Frame()->isVisible());
        QVERIFY(App().printer == nullptr);
        QVERIFY(app.RegisteredFamilies().isEmpty());
    }

    void closingWaitsForARunningSearch() {
        TestWorkspace ws;
        Application app;
        {
            BoxAnswerer none;
            app.Start();
        }
        ws.Remove("orbt.ini");
        BoxAnswerer boxes({QMessageBox::Yes});
        StartProgress(3);
        QVERIFY(!app.Frame()->close());
        QVERIFY(boxes.seen.empty());
        EndProgress();
        QVERIFY(app.Frame()->close());
        QCOMPARE(int(boxes.seen.size()), 1);
    }
};

static RegisterTestClass<StartupTest> registerStartup("startup");

}  // namespace orbeta::test

#include "startup_test.moc"
