// The graphic windows as a user meets them: the dialogs refuse what cannot be drawn
// and keep their strings, the forecast's search file becomes the window's own and goes
// with it, the cursor moves the positions, Enter opens the day's chart.
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <filesystem>

#include "../shell/dialog_test_support.h"
#include "../shell/shell_test_support.h"
#include "../shell/test_classes.h"
#include "chart/ui/chart_window.h"
#include "forecast/ui/graph_dialogs.h"
#include "forecast/ui/graph_windows.h"
#include "gui/app_state.h"
#include "platform/command_ids.h"
#include "shell/application.h"
#include "shell/main_frame.h"

namespace orbeta::test {

namespace {

QLineEdit* Edit(QWidget* d, int id) {
    return d->findChild<QLineEdit*>(QString::number(id));
}

template <class W>
W* Window() {
    for (QMdiSubWindow* s : App().client->subWindowList())
        if (auto* w = qobject_cast<W*>(s->widget())) return w;
    return nullptr;
}

int ChartWindows() {
    int n = 0;
    for (QMdiSubWindow* s : App().client->subWindowList())
        n += qobject_cast<ChartWindow*>(s->widget()) != nullptr;
    return n;
}

void Press(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

}  // namespace

class GraphWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void forecastRefusesAMonthOf13ThenDrawsAndCleansUp() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        // Two bodies to three natal points, March 2025; the old string form.
        App().settings.gnz = "01.01.2006 12:00 01.03.2006 0 0 1 0 6 7 2 2025 13";
        using namespace graph_ids;
        WhenDialogOpens([&boxes](QDialog* d) {
            QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("GRGN"));
            QCOMPARE(Edit(d, kStart)->text(), QString("01.01.2006 12:00"));
            QCOMPARE(Edit(d, kMonth)->text(), QString("13"));
            Click(d, "1");
            QVERIFY(d->isVisible());
            QVERIFY(boxes.seen.back().text.contains("Неверно задана дата"));
            Retype(Edit(d, kMonth), "3");
            Click(d, "1");
            if (d->isVisible()) d->reject();
        });
        int charts = ChartWindows();
        app.Frame()->Action(cmd::menu::kGraphicForecast)->trigger();
        QCOMPARE(App().settings.gnz,
                 std::string("\"01.01.2006 12:00\" \"01.03.2006\" 0 0 1 0 6 7 2 \"2025\" \"3\""));
        auto* w = Window<GraphForecastWindow>();
        QVERIFY(w);
        QVERIFY(!std::filesystem::exists("allob.tmp"));
        std::filesystem::path file = w->HitFile();
        QCOMPARE(QString::fromStdString(file.filename().string()), QString("a0001.tmp"));
        QVERIFY(std::filesystem::exists(file));
        QImage before = w->Picture();
        QCOMPARE(int(w->Model().bands.size()), 2);  // the Moon and Mercury
        double moon = w->Model().bands[0].label.lon;
        Press(w, Qt::Key_Right);
        QCOMPARE(w->CursorSteps(), 1);
        QVERIFY(w->Model().bands[0].label.lon != moon);
        QVERIFY(w->Picture() != before);
        Press(w, Qt::Key_Return);
        QCOMPARE(ChartWindows(), charts + 1);
        w->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!std::filesystem::exists(file));
    }

    void ephemerisAsksForAModulus() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        App().settings.gef = "7 2 \"\" \"\" \"2025\" \"3\"  3 1";
        using namespace graph_ids;
        WhenDialogOpens([&boxes](QDialog* d) {
            QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("GREF"));
            Click(d, "1");
            QVERIFY(d->isVisible());
            QVERIFY(boxes.seen.back().text.contains("модуль"));
            d->findChild<QRadioButton*>(QString::number(kModulus))->setChecked(true);  // 360
            Click(d, "1");
            if (d->isVisible()) d->reject();
        });
        app.Frame()->Action(cmd::menu::kGraphicEphemeris)->trigger();
        auto* w = Window<GraphEphemerisWindow>();
        QVERIFY(w);
        QCOMPARE(w->Model().modulus, 360);
        QCOMPARE(int(w->Model().jd.size()), 32);
        QCOMPARE(App().settings.gef.substr(0, 6), std::string("360 2 "));
        QImage before = w->Picture();
        Press(w, Qt::Key_Right);
        QVERIFY(w->Picture() != before);
    }
};

static RegisterTestClass<GraphWindowsTest> reg("graph_windows");

}  // namespace orbeta::test

#include "graph_windows_test.moc"
