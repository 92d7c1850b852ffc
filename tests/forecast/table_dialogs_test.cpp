// The table dialogs as a user meets them: input that cannot be searched is refused
// with a message and the dialog stays; OK runs the search and shows the report.
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../shell/dialog_test_support.h"
#include "../shell/shell_test_support.h"
#include "../shell/test_classes.h"
#include "data/settings.h"
#include "forecast/search_tables.h"
#include "forecast/ui/table_dialog.h"
#include "gui/app_state.h"
#include "gui/text_window.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/ui_text.h"
#include "shell/application.h"
#include "shell/main_frame.h"

namespace orbeta::test {

namespace {

QLineEdit* Edit(QWidget* d, int id) {
    return d->findChild<QLineEdit*>(QString::number(id));
}
QAbstractButton* Button(QWidget* d, int id) {
    return d->findChild<QAbstractButton*>(QString::number(id));
}

}  // namespace

class TableDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    // Menu 704 over 2025 for Saturn: every refusal first, then the table.
    void ingressesRefuseBadInputThenShowTheTable() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        App().settings.interV = "01.01.2025-31.12.2025";
        using namespace table_ids;
        WhenDialogOpens([&boxes](QDialog* d) {
            QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("AIngr"));
            QCOMPARE(d->objectName(), QString("1023"));
            QCOMPARE(Edit(d, kStart)->text(), QString("01.01.2025"));
            QCOMPARE(Edit(d, kEnd)->text(), QString("31.12.2025"));
            QVERIFY(!Edit(d, kAspects) && !Button(d, kExact));  // one angle, exact moments
            QVERIFY(!Button(d, kMoving + 6)->isChecked());      // ingresses start empty
            struct Row {
                int field;
                const char* text;
                const char* message;
            };
            const Row rows[] = {
                {kStep, "0", "Шаг должен быть больше нуля"},
                {kStep, "-1", "Шаг должен быть больше нуля"},
                {kStep, "шаг", "В поле \"Шаг (дней)\" должно быть число"},
                {kStep, "0.00000001", "Слишком много шагов"},
                {kStart, "erdt", "Начало: \"erdt\" не дата"},
                {kStart, "31.02.2025", "день 31"},
                {kEnd, "31.12.2024 23:00", "Конец периода раньше его начала"},
                {kEnd, "31.12.2025 24:00", "часы 24"},
                {0, "", "\"Транзиты\""},                 // no moving point
                {kMoving + 6, "", "\"Знаки Зодиака\""},  // Saturn, but no sign
            };
            size_t seen = boxes.seen.size();
            for (const Row& row : rows) {
                Retype(Edit(d, kStep), "1");
                Retype(Edit(d, kStart), "01.01.2025");
                Retype(Edit(d, kEnd), "31.12.2025");
                if (row.field == kMoving + 6)
                    Button(d, row.field)->setChecked(true);
                else if (row.field)
                    Retype(Edit(d, row.field), QString::fromUtf8(row.text));
                Click(d, "1");
                QVERIFY2(d->isVisible(), row.message);
                QCOMPARE(boxes.seen.size(), ++seen);
                QVERIFY2(boxes.seen.back().text.contains(QString::fromUtf8(row.message)),
                         qPrintable(boxes.seen.back().text));
            }
            QVERIFY(!std::filesystem::exists("allob.tmp"));  // nothing was searched
            Retype(Edit(d, kStep), "0.5");
            Retype(Edit(d, kStart), "01.01.2025");
            Retype(Edit(d, kEnd), "31.12.2025");
            Click(d, "3000");  // every sign
            Click(d, "1");
            if (d->isVisible()) d->reject();
        });
        app.Frame()->Action(cmd::menu::kIngresses)->trigger();
        QCOMPARE(App().settings.interV, std::string("01.01.2025-31.12.2025"));
        QCOMPARE(App().settings.stepA, std::string("0.5"));
        TextWindow* report = nullptr;
        for (QMdiSubWindow* s : App().client->subWindowList())
            if (auto* t = qobject_cast<TextWindow*>(s->widget())) report = t;
        QVERIFY(report);
        std::string text = ReportFileText(report->Path());
        QVERIFY2(text.find("Ингрессии  01.01.2025 - 31.12.2025") != std::string::npos,
                 text.c_str());
        // Saturn into Aries in May, back into Pisces on 01.09.2025 and into Aries again
        // in February 2026, beyond the year.
        QVERIFY2(text.find(" 25.05.2025 ") != std::string::npos, text.c_str());
        size_t back = text.find(" 01.09.2025 ");
        QVERIFY2(back != std::string::npos, text.c_str());
        QVERIFY(text.substr(back, text.find('\n', back) - back).find("Рыбы") != std::string::npos);
        int lines = 0;
        for (size_t at = text.find("Сат"); at != std::string::npos; at = text.find("Сат", at + 1))
            ++lines;
        QCOMPARE(lines, 2);
    }

    // 1024: angles and points must be numbers; more than 20 points are cut; orb mode
    // takes the orb table's angles.
    void pointsDialogReadsNumbers() {
        TestWorkspace ws;
        UseQtServices qtServices;
        LoadUiTexts("orbtw.t");
        BoxAnswerer boxes;
        Settings settings;
        settings.interV = "01.01.2025 12:00-01.02.2025";
        OrbTable orbs;
        orbs.aspects.resize(3);
        orbs.aspects[1].angle = 90;
        using namespace table_ids;
        QString points;
        for (int i = 0; i < 25; ++i) points += QString::number(i * 10) + " ";
        WhenDialogOpens([&](QDialog* d) {
            QCOMPARE(Edit(d, kStart)->text(), QString("01.01.2025 12:00"));
            QCOMPARE(Edit(d, kAspects)->maxLength(), 58);
            Retype(Edit(d, kAspects), "60 x");
            Retype(Edit(d, kPoints), "10");
            Click(d, "1");
            Retype(Edit(d, kAspects), "60");
            Retype(Edit(d, kPoints), "10 1O");
            Click(d, "1");
            QVERIFY(d->isVisible());
            Retype(Edit(d, kAspects), "0 45 90");
            Retype(Edit(d, kPoints), points);
            Click(d, "1");
            if (d->isVisible()) d->reject();
        });
        auto r = RunTableDialog(nullptr, kTablePoints, settings, &orbs);
        QCOMPARE(int(boxes.seen.size()), 2);
        QVERIFY(boxes.seen[0].text.contains("Аспект \"x\" не число"));
        QVERIFY(boxes.seen[1].text.contains("Точка \"1O\" не число"));
        QVERIFY(r.has_value());
        QCOMPARE(r->aspects, (std::vector<double>{0, 45, 90}));
        QCOMPARE(int(r->points.size()), 20);
        QCOMPARE(r->planet, 20);
        QCOMPARE(r->start, JulianDay({1, 1, 2025, 12, 0, 0}));
        QCOMPARE(settings.aspAll, std::string("0 45 90"));
        QCOMPARE(settings.interV, std::string("01.01.2025 12:00-01.02.2025"));

        WhenDialogOpens([](QDialog* d) {
            static_cast<QRadioButton*>(Button(d, kOrbs))->setChecked(true);
            QCOMPARE(Edit(d, kPoints)->text(), QString());  // points are not kept
            Retype(Edit(d, kPoints), "10");
            Click(d, "1");
            if (d->isVisible()) d->reject();
        });
        r = RunTableDialog(nullptr, kTablePoints, settings, &orbs);
        QVERIFY(r.has_value());
        QCOMPARE(int(r->exactMode), 0);
        QCOMPARE(r->aspects, (std::vector<double>{0, 90, 0}));
    }
};

static RegisterTestClass<TableDialogsTest> reg("table_dialogs");

}  // namespace orbeta::test

#include "table_dialogs_test.moc"
