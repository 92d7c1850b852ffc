// Command 211 over the self-check subject: the parameters dialog refuses bad input and
// stays, a run opens the score window at the true birth time and the report; the
// event file dialogs create, refuse, delete and append.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTest>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../shell/dialog_test_support.h"
#include "../shell/shell_test_support.h"
#include "../shell/test_classes.h"
#include "aspects/orb_file.h"
#include "core/angles.h"
#include "gui/app_state.h"
#include "gui/progress_dialog.h"
#include "gui/text_window.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/text_file.h"
#include "rectify/ui/event_dialogs.h"
#include "rectify/ui/rectify_window.h"
#include "shell/application.h"
#include "shell/main_frame.h"

namespace orbeta::test {
namespace {

std::string Fixture(const char* name) {
    std::ifstream in(std::string(ORBETA_SOURCE_DIR) + "/tests/fixtures/rectify/" + name,
                     std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct DialogInput {
    const char* start;
    const char* end;
    const char* step;
    const char* threshold;
};

// Runs 211 with the dialog filled in and OK pressed; true when the dialog went.
// With `abort`, "Прервать" is pressed as soon as the progress dialog lets events in.
bool Run211(Application& app, const DialogInput& in, bool report, bool abort = false) {
    bool closed = false;
    WhenDialogOpens([&](QDialog* d) {
        Retype(d->findChild<QLineEdit*>("5001"), in.start);
        Retype(d->findChild<QLineEdit*>("5002"), in.end);
        Retype(d->findChild<QLineEdit*>("5003"), in.step);
        Retype(d->findChild<QLineEdit*>("5004"), in.threshold);
        d->findChild<QCheckBox*>("210")->setChecked(report);
        Click(d, "1");
        closed = !d->isVisible();
        if (!closed) d->reject();
        if (abort)
            QTimer::singleShot(0, [] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* p = qobject_cast<ProgressDialog*>(w); p && p->isVisible())
                        static_cast<QDialog*>(p)->reject();  // "Прервать"
            });
    });
    app.Commands().Run(cmd::menu::kRectification);
    return closed;
}

template <class W>
std::vector<W*> Windows(Application& app) {
    std::vector<W*> found;
    for (QMdiSubWindow* sub : app.Frame()->Client()->subWindowList())
        if (auto* w = qobject_cast<W*>(sub->widget())) found.push_back(w);
    return found;
}

}  // namespace

class RectifyWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void runFromTheMenu() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        app.Frame()->Client()->closeAllSubWindows();
        ws.Write("subject.sb", Fixture("subject.sb"));
        App().settings.sbName = "subject.sb";
        App().settings.houseSet = 3;
        // The default orbs: the peak of the subject is then a minute either side.
        ws.Write("none.ao", "* no aspects\n");
        for (int slot = kOrbSlotTransits; slot <= kOrbSlotDirections; ++slot)
            App().settings.orbFiles[slot] = "none.ao";
        ChartRecord& current = App().currentChart;
        current.gmtCorr = -3.0 / 24;
        current.latitude = 55.45;
        current.longitude = StoredLongitude(37.37);

        const struct {
            DialogInput in;
            const char* message;  // part of the warning
        } bad[] = {
            {{"16.05.1985 5:20", "erdt", "60", "3"}, nullptr},
            {{"16.05.1985 5:20", "16.05.1985 5:20", "60", "3"}, nullptr},
            {{"16.05.1985 5:20", "17.05.1985 5:21", "60", "3"}, nullptr},
            {{"16.05.1985 5:20", "16.05.1985 5:40", "0", "3"}, "Шаг"},
            {{"16.05.1985 5:20", "16.05.1985 5:40", "60", "2.5"}, "Порог"},
        };
        for (const auto& b : bad) {
            size_t before = boxes.seen.size();
            QVERIFY(!Run211(app, b.in, false));
            QCOMPARE(boxes.seen.size(), before + 1);
            if (b.message) QVERIFY(boxes.seen.back().text.contains(QString::fromUtf8(b.message)));
        }
        QVERIFY(Windows<RectifyWindow>(app).empty());

        App().settings.sbName = "nofile.sb";
        QVERIFY(Run211(app, {"16.05.1985 5:20", "16.05.1985 5:40", "60", "3"}, false));
        QVERIFY(boxes.seen.back().text.contains("nofile.sb"));
        QVERIFY(Windows<RectifyWindow>(app).empty());

        App().settings.sbName = "subject.sb";
        size_t before = boxes.seen.size();
        QVERIFY(Run211(app, {"16.05.1985 5:20", "16.05.1985 5:40", "60", "3"}, true));
        QCOMPARE(boxes.seen.size(), before);
        QCOMPARE(App().settings.begRect, std::string("16.05.1985 5:20"));
        auto windows = Windows<RectifyWindow>(app);
        QCOMPARE(int(windows.size()), 1);
        RectifyWindow* w = windows.front();
        // 21 candidates from 5:20; the best lies within a minute of 5:30, and the window
        // opens on the middle of the best ones.
        QVERIFY2(w->Selected() == 10, qPrintable(w->SelectionText()));
        QVERIFY(w->SelectionText().startsWith("16.05.1985 05:"));
        QVERIFY(w->SelectionText().contains(" S="));
        int best = w->Selected();
        QTest::keyClick(w, Qt::Key_Right);
        QCOMPARE(w->Selected(), best + 1);
        for (int i = 0; i < 30; ++i) QTest::keyClick(w, Qt::Key_Right);
        QCOMPARE(w->Selected(), 20);
        ChartRecord last = w->CandidateChart(20);
        QCOMPARE(std::lround((last.jdLocal - w->CandidateChart(0).jdLocal) * 86400), 1200L);
        QCOMPARE(std::lround((last.jdUT - last.jdLocal) * 24), -3L);
        // The popup's print goes to a PDF named after the window.
        App().printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        App().printer->setOutputFormat(QPrinter::PdfFormat);
        App().printer->setOutputFileName(QDir::current().absoluteFilePath("out.pdf"));
        App().settings.ov[kOptPrintDialog] = 0;
        w->OnCommand(cmd::picture::kPrint);
        QString pdf = App().printer->outputFileName();
        QVERIFY(pdf.endsWith("Ректификация.pdf"));
        QVERIFY(QFileInfo(pdf).size() > 1000);
        auto reports = Windows<TextWindow>(app);
        QCOMPARE(int(reports.size()), 1);
        auto text = ReadFileBytes(reports.front()->Path());
        QVERIFY(text && text->find(" --------------") != std::string::npos);
        std::filesystem::path results = "rs0001.tmp";
        QVERIFY(std::filesystem::exists(results));
        app.Frame()->Client()->closeAllSubWindows();
        QTRY_VERIFY(!std::filesystem::exists(results));

        // "Прервать" keeps the candidates scored so far: the window shows them.
        QVERIFY(Run211(app, {"16.05.1985 5:20", "16.05.1985 5:40", "60", "3"}, false, true));
        windows = Windows<RectifyWindow>(app);
        QCOMPARE(int(windows.size()), 1);
        windows.front()->Select(100);
        QVERIFY(windows.front()->Selected() < 20);
        QVERIFY(windows.front()->SelectionText().startsWith("16.05.1985 05:2"));
    }

    void eventFiles() {
        TestWorkspace ws;
        UseQtServices qtServices;
        // Three warnings, the question of adding and of deleting.
        BoxAnswerer boxes({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok,
                           QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Yes});
        const struct {
            const char* typed;
            const char* name;
        } names[] = {{"Иванов.txt", "Иванов.sb"},
                     {" a/b", ""},
                     {"", ""},
                     {".sb", ""},
                     {"123456789012345678901234", "12345678901234567890.sb"}};
        for (const auto& n : names)
            QCOMPARE(NewEventFileName(Utf8ToAnsi(n.typed)), Utf8ToAnsi(n.name));

        Settings s;
        EventFilesDialog files(nullptr, s);
        QVERIFY(files.Create(Utf8ToAnsi("Иванов")));
        QCOMPARE(*ReadFileBytes(PathOfProfileName(Utf8ToAnsi("Иванов.sb")).string()),
                 Utf8ToAnsi("Файл событий Иванов.sb\n"));
        QVERIFY(!files.Create(Utf8ToAnsi("Иванов")));
        QVERIFY(boxes.seen.back().text.contains("Иванов.sb"));
        QVERIFY(!files.Create("a/b"));
        files.Assign();
        QCOMPARE(s.sbName, Utf8ToAnsi("Иванов.sb"));

        AddEventsDialog add(nullptr, s);
        QVERIFY(add.Types()->count() >= 30);
        add.Types()->setCurrentRow(0);
        size_t before = boxes.seen.size();
        for (const char* date : {"", "31.02.2001", "erdt"}) {
            Retype(add.findChild<QLineEdit*>("5002"), date);
            add.Add();
        }
        QCOMPARE(boxes.seen.size(), before + 3);
        QCOMPARE(add.Events()->count(), 0);
        Retype(add.findChild<QLineEdit*>("5002"), "01.02.2001 10:30");
        add.Add();  // asked, Yes
        QCOMPARE(add.Events()->count(), 1);
        auto file = ReadEventFile(PathOfProfileName(s.sbName));
        QVERIFY(file && file->events.size() == 1);
        QCOMPARE(file->events[0].dateText, std::string("01.02.2001 10:30"));
        QVERIFY(!file->events[0].rules.empty());

        files.Delete();  // asked, Yes: the current file goes and is no longer named
        QVERIFY(s.sbName.empty());
        QVERIFY(!std::filesystem::exists(PathOfProfileName(Utf8ToAnsi("Иванов.sb"))));
    }
};

static RegisterTestClass<RectifyWindowTest> reg("rectify_window");

}  // namespace orbeta::test

#include "rectify_window_test.moc"
