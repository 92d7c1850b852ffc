// The relationship report from 907 and from 2050 on the same pair, dialog 1051's boxes,
// dialog 1064's lists and its OK, and the horary answer of 1004.
#include <QAbstractButton>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <fstream>
#include <sstream>

#include "../core/chart_fixture.h"
#include "../support/scratch_computation.h"
#include "chart/ui/chart_window.h"
#include "core/chart_compute.h"
#include "core/derived_charts.h"
#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "gui/text_window.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/ui_names.h"
#include "shell/application.h"
#include "shell/main_frame.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

QAbstractButton* Button(QWidget* d, const char* id) {
    return d->findChild<QAbstractButton*>(id);
}

ChartRecord Natal(const char* name, const char* moment) {
    ChartRecord c = ChartAt(moment, -3, 55.45, 37.37);
    CopyText(c.name, name);
    ComputeChart(Scratch(), c, c, kNatal);
    return c;
}

void SelectRow(QListWidget* list, const QString& title) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == title) list->setCurrentRow(i);
}

}  // namespace

class RelationshipHoraryTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void pairAndOverlayGiveTheSameReport() {
        TestWorkspace ws;
        ws.Write("wzaim.csr", Utf8ToOem("@0\nО паре.\n@012\nАспекты.\n"));
        Application app;
        BoxAnswerer boxes;
        app.Start();
        ChartRecord you = Natal("Ivan", "16.05.1945 08:00:00");
        ChartRecord partner = Natal("Maria", "03.11.1950 14:30:00");
        ChartWindow* yours = OpenChartWindow(you, "you");
        ChartWindow* theirs = OpenChartWindow(partner, "partner");
        // An overlay as 201 makes it: the partner outside, you inside.
        ChartWindow* overlay = OpenOverlayWindow(partner, you);

        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1051"));
            for (int id = 201; id <= 206; ++id)
                QCOMPARE(Button(d, std::to_string(id).c_str())->isChecked(), id <= 204);
            Button(d, "201")->click();  // without the relations ...
            Click(d, "1");
        });
        overlay->OnCommand(cmd::chart::kRelationship);
        std::string without = LastReportText();
        QVERIFY2(without.find("Аспекты.") == std::string::npos, without.c_str());
        QVERIFY2(without.find(" Ваши данные:     Ivan ") != std::string::npos, without.c_str());

        WhenDialogOpens([](QDialog* d) {
            QVERIFY(!Button(d, "201")->isChecked());  // kept from the last time
            Button(d, "201")->click();
            Click(d, "1");
        });
        overlay->OnCommand(cmd::chart::kRelationship);
        std::string fromOverlay = LastReportText();
        QVERIFY2(fromOverlay.find("Аспекты.") != std::string::npos, fromOverlay.c_str());

        WhenDialogOpens([yours, theirs](QDialog* pair) {
            QCOMPARE(pair->objectName(), QString("1010"));
            SelectRow(pair->findChild<QListWidget*>("1501"), theirs->windowTitle());
            SelectRow(pair->findChild<QListWidget*>("1502"), yours->windowTitle());
            WhenDialogOpens([](QDialog* d) { Click(d, "1"); });
            Click(pair, "1");
        });
        app.Frame()->Action(cmd::menu::kRelationshipInterpretation)->trigger();
        QCOMPARE(LastReportText(), fromOverlay);
        QCOMPARE(Reports().back()->HelpKey(), std::string("Partn"));

        // The overlay closed while its dialog is open: no report.
        size_t reports = Reports().size();
        WhenDialogOpens([overlay](QDialog* d) {
            delete overlay->parentWidget();
            Click(d, "1");
        });
        overlay->OnCommand(cmd::chart::kRelationship);
        QCOMPARE(Reports().size(), reports);
    }

    void horaryWindowOfAChartWindow() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        ChartRecord chart = Natal("Question", "09.12.2026 23:40:00");
        ChartWindow* w = OpenChartWindow(chart, "question");
        size_t before = App().client->subWindowList().size();
        w->OnCommand(cmd::chart::kHoraryChart);
        QCOMPARE(App().client->subWindowList().size(), before + 1);
        auto* horary = qobject_cast<ChartWindow*>(App().client->activeSubWindow()->widget());
        QVERIFY(horary && horary->IsHorary());
        QVERIFY2(horary->windowTitle().endsWith(":Question   (Хорарная)"),
                 qPrintable(horary->windowTitle()));
        const HoraryList& list = horary->HoraryLines();
        QVERIFY(list.firstPart > 0 && list.firstPart <= static_cast<int>(list.lines.size()));
        QVERIFY2(list.lines[0].rfind(" " + PointShortName(MON) + " - ", 0) == 0,
                 list.lines[0].c_str());

        // Positions that are not the sky of the chart's moment get no list.
        ChartRecord harmonic = chart;
        harmonic.calcMethod = kHarmonicMethod;
        ChartWindow* h = OpenChartWindow(harmonic, "harmonic");
        before = App().client->subWindowList().size();
        h->OnCommand(cmd::chart::kHoraryChart);
        QCOMPARE(App().client->subWindowList().size(), before);
        QVERIFY(!boxes.seen.empty());
    }

    void horaryQuestionNeedsBothChoices() {
        TestWorkspace ws;
        ws.Write("chorar.csr", Utf8ToOem("@S07\nСупруг.\n@P02\nЕго деньги.\n"));
        Application app;
        BoxAnswerer boxes;
        app.Start();
        WhenDialogOpens([](QDialog* chooser) {
            QCOMPARE(chooser->objectName(), QString("1009"));
            WhenDialogOpens([](QDialog* d) {
                QCOMPARE(d->objectName(), QString("1064"));
                auto* subjects = d->findChild<QListWidget*>("subject");
                auto* objects = d->findChild<QListWidget*>("object");
                QVERIFY(!Button(d, "1")->isEnabled());
                SelectRow(subjects, "Супруг или партнер");
                QVERIFY(!Button(d, "1")->isEnabled());
                SelectRow(objects, "Деньги, имущество");
                QVERIFY(Button(d, "1")->isEnabled());
                Click(d, "1");
            });
            Click(chooser, "1");
        });
        app.Frame()->Action(cmd::menu::kHoraryAnswer)->trigger();
        std::string text = LastReportText();
        QVERIFY2(text.rfind(" Хорарная астрология\n", 0) == 0, text.c_str());
        QVERIFY2(text.find("Супруг.\n") != std::string::npos, text.c_str());
        QVERIFY2(text.find("(дом 8)\nЕго деньги.") != std::string::npos, text.c_str());
        QCOMPARE(Reports().back()->HelpKey(), std::string("Chorar"));
    }
};

static RegisterTestClass<RelationshipHoraryTest> reg("relationship_horary");

}  // namespace orbeta::test

#include "relationship_horary_test.moc"
