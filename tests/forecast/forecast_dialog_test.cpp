// The forecast from a chart window as a user meets it: dialog 1052 refuses what it
// cannot run and stays, OK keeps the choices, runs and shows the report, and the
// current chart is the one it was before.
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../core/chart_fixture.h"
#include "../shell/dialog_test_support.h"
#include "../shell/shell_test_support.h"
#include "../shell/test_classes.h"
#include "chart/ui/chart_window.h"
#include "core/chart_compute.h"
#include "data/settings.h"
#include "forecast/ui/forecast_dialog.h"
#include "gui/app_state.h"
#include "gui/text_window.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/format.h"
#include "shell/application.h"

namespace orbeta::test {

namespace {

QLineEdit* Edit(QWidget* d, int id) {
    return d->findChild<QLineEdit*>(QString::number(id));
}

// A chart window of the Moscow chart of 16.05.1945 named "Test".
ChartWindow* MoscowWindow() {
    ChartRecord natal = NatalAt("16.05.1945 05:00:00", -3, 55.45, 37.37);
    natal.calcMethod = 1;
    CopyText(natal.name, "Test");
    return OpenChartWindow(natal, "Test");
}

}  // namespace

class ForecastDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void refusesBadInputThenRunsFromTheChartWindow() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        App().settings.begG.clear();
        App().settings.endG.clear();
        ChartRecord before = App().currentChart;
        ChartWindow* w = MoscowWindow();
        using namespace forecast_ids;
        WhenDialogOpens([&boxes, &before](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1052"));
            QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("Gnoz"));
            QVERIFY(Edit(d, kStart)->text().endsWith(" 00:00"));  // today
            QCOMPARE(Edit(d, kCorrection)->text(),
                     QString::fromStdString(Format("%.3f", before.gmtCorr * 24)));
            struct Row {
                int field;
                const char* text;
                const char* message;
            };
            const Row rows[] = {
                {kStart, "erdt", "Неверно задана дата"},
                {kEnd, "31.02.2025", "Неверно задана дата"},
                {kEnd, "01.01.2025", "Конец интервала должен быть позже его начала"},
                {kEnd, "31.12.2024", "Конец интервала должен быть позже его начала"},
                {kCorrection, "три", "Поправка (час)"},
            };
            size_t seen = boxes.seen.size();
            for (const Row& row : rows) {
                Retype(Edit(d, kStart), "01.01.2025");
                Retype(Edit(d, kEnd), "01.02.2025");
                Retype(Edit(d, kCorrection), "-3");
                Retype(Edit(d, row.field), QString::fromUtf8(row.text));
                Click(d, "1");
                QVERIFY2(d->isVisible(), row.message);
                QCOMPARE(boxes.seen.size(), ++seen);
                QVERIFY2(boxes.seen.back().text.contains(QString::fromUtf8(row.message)),
                         qPrintable(boxes.seen.back().text));
            }
            Retype(Edit(d, kEnd), "01.02.2025");
            Retype(Edit(d, kCorrection), "-3");
            d->findChild<QCheckBox*>(QString::number(kWithTexts))->setChecked(false);
            d->findChild<QCheckBox*>(QString::number(kHouseLinks))->setChecked(true);
            Click(d, "1");
            if (d->isVisible()) d->reject();
        });
        w->OnCommand(cmd::chart::kForecast);
        QCOMPARE(App().settings.begG, std::string("01.01.2025"));
        QCOMPARE(App().settings.endG, std::string("01.02.2025"));
        QCOMPARE(int(App().settings.ov[kOptForecast]), int(kForecastHouseLinks));
        QVERIFY(std::memcmp(&App().currentChart, &before, sizeof before) == 0);
        TextWindow* report = nullptr;
        for (QMdiSubWindow* s : App().client->subWindowList())
            if (auto* t = qobject_cast<TextWindow*>(s->widget())) report = t;
        QVERIFY(report);
        std::string text = ReportFileText(report->Path());
        QVERIFY2(
            text.rfind("  Test 16.05.1945 05:00:00\n Прогноз  01.01.2025 - 01.02.2025\n", 0) == 0,
            text.c_str());
        QVERIFY2(text.find(" Транз.") != std::string::npos, text.c_str());
        QVERIFY2(text.find("затмение") != std::string::npos ||
                     text.find("Прогр.Луна в") != std::string::npos,
                 text.c_str());
    }

    // The three lists open their own dialogs from 1052: each shows its points with the
    // stored mask, OK keeps the new mask at once (also when the forecast is then
    // cancelled), Cancel keeps the old one.
    void listDialogsKeepTheirMasks() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        ChartWindow* w = MoscowWindow();
        using namespace forecast_ids;
        struct Row {
            int button;
            const char* dialog;
            const char* title;
            const char* help;
            int points;
            size_t setting;  // element of "LP"
        };
        const Row rows[] = {
            {kTransitList, "1002", "Транзиты для прогноза", "InsGT", kBodyCount, 2},
            {kProgressedList, "1100", "Прогрессивные планеты", "InsGP", kPointCount, 3},
            {kDirectedList, "1100", "Дирекционные", "InsGD", kPointCount, 4},
        };
        for (const Row& row : rows) {
            for (bool accept : {false, true}) {
                App().settings.lp[row.setting] = 0x5;  // first and third point
                uint32_t wanted = accept ? (1u << (row.points - 1)) | 0x2 : 0x5;
                bool seen = false;
                WhenDialogOpens([&](QDialog* d) {
                    WhenDialogOpens([&](QDialog* list) {
                        seen = true;
                        QCOMPARE(list->objectName(), QString(row.dialog));
                        QCOMPARE(list->windowTitle(), QString::fromUtf8(row.title));
                        QCOMPARE(static_cast<Dial*>(list)->HelpKey(), std::string(row.help));
                        auto points = list->findChildren<QCheckBox*>();
                        QCOMPARE(int(points.size()), row.points);
                        for (int i = 0; i < row.points; ++i) {
                            auto* b = list->findChild<QCheckBox*>(QString::number(kListPoints + i));
                            QVERIFY(b);
                            QCOMPARE(b->isChecked(), i == 0 || i == 2);
                            b->setChecked(i == 1 || i == row.points - 1);
                        }
                        if (accept)
                            Click(list, "1");
                        else
                            list->reject();
                    });
                    Click(d, QString::number(row.button).toUtf8().constData());
                    d->reject();  // the forecast itself is cancelled
                });
                w->OnCommand(cmd::chart::kForecast);
                QVERIFY2(seen, row.dialog);
                QCOMPARE(uint32_t(App().settings.lp[row.setting]), wanted);
            }
        }
    }
};

static RegisterTestClass<ForecastDialogTest> reg("forecast_dialog");

}  // namespace orbeta::test

#include "forecast_dialog_test.moc"
