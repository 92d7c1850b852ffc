// Dialog 1050 and its reports: the chart window's 2016 writes the report with the boxes
// kept, relocation asks the place first, main 903 chooses the chart, and a base that
// cannot be opened leaves neither window nor file.
#include <QAbstractButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "chart/ui/chart_window.h"
#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "gui/text_window.h"
#include "interp/ui/interpretation_dialog.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "shell/application.h"
#include "shell/main_frame.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

QAbstractButton* Button(QWidget* d, const char* id) {
    return d->findChild<QAbstractButton*>(id);
}

ChartWindow* FirstChartWindow() {
    for (QMdiSubWindow* s : App().client->subWindowList())
        if (auto* w = qobject_cast<ChartWindow*>(s->widget())) return w;
    return nullptr;
}

int TemporaryReports() {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator("."))
        n += e.path().extension() == ".tmp" && e.path().filename().string()[0] == 'r';
    return n;
}

}  // namespace

class InterpretationDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void chartWindowReportsKeepTheBoxesAndRelocationAsksThePlace() {
        TestWorkspace ws;
        ws.Write("natal.csr", Utf8ToOem("@0\nВступление.\n@000\nВведение.\n@IP01\nСолнце.\n"));
        ws.Write("geograf.csr", Utf8ToOem("@0\nО переезде.\n"));
        Application app;
        BoxAnswerer boxes;
        app.Start();
        ChartWindow* w = FirstChartWindow();
        QVERIFY(w);
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1050"));
            QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("Tolk"));
            QVERIFY(Button(d, "301")->isChecked());
            QVERIFY(Button(d, "303")->isEnabled());
            QVERIFY(Button(d, "304")->isEnabled() && Button(d, "305")->isEnabled());
            for (int id = 311; id <= 321; ++id)
                QVERIFY(Button(d, std::to_string(id).c_str())->isChecked());
            Button(d, "311")->click();  // no introduction
            Click(d, "1");
        });
        w->OnCommand(cmd::chart::kInterpretation);
        std::string text = LastReportText();
        QVERIFY2(text.rfind(" Интерпретация натальной карты\n", 0) == 0, text.c_str());
        QVERIFY2(text.find("Вступление.\n\n") != std::string::npos, text.c_str());
        QVERIFY2(text.find("Введение.") == std::string::npos, text.c_str());
        QVERIFY2(text.find("Солнце.\n\n Солнце в") != std::string::npos, text.c_str());
        QCOMPARE(Reports().back()->HelpKey(), std::string("Tolk"));
        QCOMPARE(InterpretationOptions(), 2046u);

        std::string prefilled;
        WhenDialogOpens([&prefilled](QDialog* d) {
            QVERIFY(!Button(d, "311")->isChecked());  // kept from the last time
            Button(d, "303")->click();
            WhenDialogOpens([&prefilled](QDialog* place) {
                QCOMPARE(place->objectName(), QString("1019"));
                prefilled = Text(place, "5011").toStdString();
                Retype(place->findChild<QLineEdit*>("5011"), "Владивосток");
                Retype(place->findChild<QLineEdit*>("5012"), "43.07");
                Retype(place->findChild<QLineEdit*>("5013"), "131.54");
                Click(place, "1");
            });
            Click(d, "1");
        });
        w->OnCommand(cmd::chart::kInterpretation);
        QCOMPARE(prefilled, AnsiToUtf8(w->Chart1().place));
        QCOMPARE(App().client->activeSubWindow()->widget(), Reports().back());
        text = LastReportText();
        QVERIFY2(text.rfind(" Переезд\n", 0) == 0, text.c_str());
        QVERIFY2(
            text.find("О переезде.\n\n Карта переезда в Владивосток (LAT=43.07, LONG=131.54):") !=
                std::string::npos,
            text.c_str());

        // Without its base: the warning, no window and no file.
        std::filesystem::remove("natal.csr");
        std::filesystem::remove("natal.cta");
        size_t windows = Reports().size();
        int files = TemporaryReports();
        WhenDialogOpens([](QDialog* d) {
            Button(d, "301")->click();
            Click(d, "1");
        });
        w->OnCommand(cmd::chart::kInterpretation);
        QCOMPARE(Reports().size(), windows);
        QCOMPARE(TemporaryReports(), files);
        QVERIFY(!boxes.seen.empty());
        QCOMPARE(boxes.seen.back().text, QString("Не открывается файл natal.cta"));
    }

    void mainCommandChoosesTheChartThenTheKind() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        bool askedPlace = false;
        WhenDialogOpens([&askedPlace](QDialog* chooser) {
            QCOMPARE(chooser->objectName(), QString("1009"));
            WhenDialogOpens([&askedPlace](QDialog* d) {
                QVERIFY(Button(d, "303")->isChecked());
                WhenDialogOpens([&askedPlace](QDialog* place) {
                    askedPlace = place->objectName() == "1019";
                    place->reject();
                });
                Click(d, "1");
            });
            Click(chooser, "1");
        });
        size_t windows = Reports().size();
        app.Frame()->Action(cmd::menu::kRelocationInterpretation)->trigger();
        QVERIFY(askedPlace);
        QCOMPARE(Reports().size(), windows);  // no place, no report
    }

    void analysisTableOfTheChartWindow() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        FirstChartWindow()->OnCommand(cmd::chart::kChartAnalysis);
        std::string text = LastReportText();
        QVERIFY2(text.rfind(" Анализ карты\n", 0) == 0, text.c_str());
        QVERIFY2(text.find(" --- Учитываем  10 планет: ----") != std::string::npos, text.c_str());
        QCOMPARE(Reports().back()->HelpKey(), std::string("AstroS"));
    }

    // Main 906: the chart, then the dialog on the fixed stars; their base's texts by
    // star number; without the base no report at all.
    void fixedStarReportOfTheMainCommand() {
        TestWorkspace ws;
        ws.Write("starbb.csr", Utf8ToOem("@0\nО звездах.\n@000\nВведение.\n"));
        Application app;
        BoxAnswerer boxes;
        app.Start();
        auto run = [&app] {
            WhenDialogOpens([](QDialog* chooser) {
                WhenDialogOpens([](QDialog* d) {
                    QVERIFY(Button(d, "305")->isChecked());
                    QVERIFY(!Button(d, "311")->isEnabled());  // the boxes are not its own
                    Button(d, "301")->click();
                    QVERIFY(Button(d, "311")->isEnabled());
                    Button(d, "305")->click();
                    Click(d, "1");
                });
                Click(chooser, "1");
            });
            app.Frame()->Action(cmd::menu::kFixedStarsInterpretation)->trigger();
        };
        run();
        std::string text = LastReportText();
        QVERIFY2(text.rfind(" Неподвижные звезды\n", 0) == 0, text.c_str());
        QVERIFY2(text.find("О звездах.") != std::string::npos, text.c_str());
        QVERIFY2(text.find("Введение.\n\n LAT=") != std::string::npos, text.c_str());
        QVERIFY2(text.find(" Регул ") != std::string::npos, text.c_str());
        QVERIFY2(text.find(" Конец списка звезд") != std::string::npos, text.c_str());

        std::filesystem::remove("starbb.csr");
        std::filesystem::remove("starbb.cta");
        size_t windows = Reports().size();
        int files = TemporaryReports();
        run();
        QCOMPARE(Reports().size(), windows);
        QCOMPARE(TemporaryReports(), files);
        QCOMPARE(boxes.seen.back().text, QString("Не открывается файл starbb.cta"));
    }
};

static RegisterTestClass<InterpretationDialogTest> reg("interpretation_dialog");

}  // namespace orbeta::test

#include "interpretation_dialog_test.moc"
