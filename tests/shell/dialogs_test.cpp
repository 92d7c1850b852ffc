// The birth-data dialog: the fields from a chart, the GMT display, "Сегодня", the
// chart kind, refused input, and command 200 up to the chart window.
#include <QComboBox>
#include <QDate>
#include <QLabel>

#include <cmath>
#include <cstring>

#include "core/chart_compute.h"
#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "gui/birth_data_dialog.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"
#include "shell/application.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

ChartRecord SampleChart() {
    ChartRecord c = DefaultProfileChart();
    CopyText(c.name, "Иванов"_cp);
    CopyText(c.place, "Москва"_cp);
    CopyText(c.comment, "тест"_cp);
    c.jdLocal = 2451545.0 + 0.25 / 24;  // 01.01.2000 12:15:00
    c.gmtCorr = -5.75 / 24;             // 5 h 45 min east
    c.latitude = 55.45;
    c.longitude = 37.35;
    return c;
}
}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void fieldsFromTheChartKeepTheCorrectionWhole() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        BirthDataDialog d(nullptr, SampleChart());
        QCOMPARE(d.objectName(), QString("1001"));
        QCOMPARE(d.HelpKey(), std::string("VV"));
        QCOMPARE(Text(&d, "5000"), QString("Иванов"));
        QStringList parts;
        for (int id = 5001; id <= 5006; ++id) parts << Text(&d, QByteArray::number(id).constData());
        QCOMPARE(parts, (QStringList{"01", "01", "2000", "12", "15", "00"}));
        QCOMPARE(Text(&d, "5010"), QString("-5.75"));  // "%4.1f" would lose 3 minutes
        QCOMPARE(Text(&d, "5011"), QString("Москва"));
        QCOMPARE(Text(&d, "5012"), QString(" 55.45"));
        QCOMPARE(Text(&d, "5014"), QString("тест"));
        QCOMPARE(Text(&d, "5018"), QString("01.01.2000"));
        QCOMPARE(Text(&d, "5019"), QString("06:30:00"));

        ChartRecord lmt = SampleChart();
        lmt.gmtCorr = -2.5047 / 24;
        BirthDataDialog d2(nullptr, lmt);
        QCOMPARE(Text(&d2, "5010"), QString("-2.5047"));
    }

    void gmtFollowsAFieldOnlyWhenItWasChangedAndLeft() {
        TestWorkspace ws;
        BirthDataDialog d(nullptr, SampleChart());
        ShowActive(&d);
        auto* corr = d.findChild<QLineEdit*>("5010");
        auto* hours = d.findChild<QLineEdit*>("5004");
        auto* gmtTime = d.findChild<QLabel*>("5019");
        // Text set behind the field's back (not typed) is not a change by the user.
        corr->setFocus();
        gmtTime->setText("x");
        hours->setFocus();
        QCOMPARE(gmtTime->text(), QString("x"));

        Retype(corr, "-3");
        QCOMPARE(gmtTime->text(), QString("x"));  // not yet left
        hours->setFocus();
        QCOMPARE(gmtTime->text(), QString("09:15:00"));

        // Month 13 is no month: no moment is shown rather than a folded one.
        Retype(d.findChild<QLineEdit*>("5002"), "13");
        hours->setFocus();
        QCOMPARE(Text(&d, "5018"), QString());
        Retype(d.findChild<QLineEdit*>("5002"), "01");
        hours->setFocus();
        QCOMPARE(Text(&d, "5018"), QString("01.01.2000"));
        // Half-typed text shows no moment rather than a wrong one.
        Retype(hours, "1x");
        corr->setFocus();
        QCOMPARE(gmtTime->text(), QString());
    }

    void todayKeepsCorrectionAndPlace() {
        TestWorkspace ws;
        BirthDataDialog d(nullptr, SampleChart());
        // Present UT 20:00: local time of the place, 5 h 45 min east, is past midnight.
        Dial::SetPresentMoment([] { return JulianDay({9, 12, 2026, 20, 0, 0}); });
        Click(&d, "5023");
        Dial::SetPresentMoment({});
        QCOMPARE(Text(&d, "5000"), QString("Сегодня"));
        QStringList shown;
        for (const char* id : {"5001", "5002", "5003", "5004", "5005", "5006"})
            shown << Text(&d, id);
        QCOMPARE(shown.join(' '), QString("10 12 2026 01 45 00"));
        QCOMPARE(Text(&d, "5019"), QString("20:00:00"));
        QCOMPARE(Text(&d, "5010"), QString("-5.75"));
        QCOMPARE(Text(&d, "5011"), QString("Москва"));
        QCOMPARE(Text(&d, "5013"), QString(" 37.35"));
        QVERIFY(!Text(&d, "5018").isEmpty());
    }

    void townsDirectoryFillsPlaceAndCorrectionOfTheTypedDate() {
        TestWorkspace ws;
        double askedFor = 0;
        Dial::SetTownDirectory([&askedFor](TownQuery& q) {
            askedFor = q.jdLocal;
            q.town = "Тверь"_cp;
            q.latitude = 56.52;
            q.longitude = 35.55;
            q.correctionHours = -2.3833;
            return true;
        });
        BirthDataDialog d(nullptr, SampleChart());
        Click(&d, "5020");
        Dial::SetTownDirectory({});
        QVERIFY(std::fabs(askedFor - (2451545.0 + 0.25 / 24)) < 1e-8);  // local, uncorrected
        QCOMPARE(Text(&d, "5011"), QString("Тверь"));
        QCOMPARE(Text(&d, "5012"), QString(" 56.52"));
        QCOMPARE(Text(&d, "5010"), QString("-2.3833"));
        QCOMPARE(Text(&d, "5019"), QString("09:52:00"));
        BirthDataDialog without(nullptr, SampleChart());
        QVERIFY(!without.findChild<QPushButton*>("5020")->isEnabled());
    }

    void chosenMethodIsTheNumberInBrackets() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        BirthDataDialog d(nullptr, SampleChart());
        auto* kind = d.findChild<QComboBox*>("5022");
        QVERIFY(kind->count() > 10);
        QCOMPARE(kind->currentIndex(), 0);
        QCOMPARE(d.ChosenMethod(), 1);
        int secondary = kind->findText("Вторичные прогрессии");
        QVERIFY(secondary > 0);
        kind->setCurrentIndex(secondary);
        QCOMPARE(d.ChosenMethod(), 6);
        kind->addItem("Без кода");
        kind->setCurrentIndex(kind->count() - 1);
        QCOMPARE(d.ChosenMethod(), 1);
    }

    void wrongNumbersAreRefusedWithTheFieldNamed() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        BirthDataDialog d(nullptr, SampleChart());
        d.show();
        d.findChild<QLineEdit*>("5012")->setText("север");
        Click(&d, "1");
        QVERIFY(d.isVisible());
        QCOMPARE(int(boxes.seen.size()), 1);
        QVERIFY(boxes.seen[0].text.contains("Широта"));
        d.findChild<QLineEdit*>("5012")->setText("91");
        Click(&d, "1");
        QVERIFY(d.isVisible());
        QVERIFY(boxes.seen.back().text.contains("-90"));
        d.findChild<QLineEdit*>("5012")->setText("45.75");  // 75 minutes
        Click(&d, "1");
        QVERIFY(d.isVisible());
        QVERIFY(boxes.seen.back().text.contains("\"Широта\" минут должно быть меньше 60"));
        d.findChild<QLineEdit*>("5012")->setText("55.45");
        d.findChild<QLineEdit*>("5013")->setText("400");
        Click(&d, "1");
        QVERIFY(d.isVisible());
        d.findChild<QLineEdit*>("5013")->setText("-37.35");
        d.findChild<QLineEdit*>("5006")->setText("");
        Click(&d, "1");
        QVERIFY(boxes.seen.back().text.contains("Секунды"));
        QCOMPARE(int(boxes.seen.size()), 5);
        d.findChild<QLineEdit*>("5006")->setText("7");
        Click(&d, "1");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.Data().longitude, -37.35);
        QCOMPARE(d.Data().local.second, 7);
    }

    void enteredChartIsComputedAndCancelChangesNothing() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        App().settings.houseSet = 1;
        ChartRecord before = App().inputChart;
        WhenDialogOpens([](QDialog* d) { Click(d, "2"); });
        QVERIFY(!EnterAndComputeChart(nullptr));
        QVERIFY(std::memcmp(&before, &App().inputChart, sizeof before) == 0);

        WhenDialogOpens([](QDialog* d) {
            const char* values[][2] = {{"5001", "1"},  {"5002", "1"},    {"5003", "2000"},
                                       {"5004", "15"}, {"5005", "0"},    {"5006", "0"},
                                       {"5010", "-3"}, {"5000", "J2000"}};
            for (auto& [id, text] : values) d->findChild<QLineEdit*>(id)->setText(text);
            Click(d, "1");
        });
        QVERIFY(EnterAndComputeChart(nullptr));
        const ChartRecord& c = App().inputChart;
        QCOMPARE(QString(c.name), QString("J2000"));
        QCOMPARE(c.jdUT, 2451545.0);
        QCOMPARE(c.gmtCorr, -3.0 / 24);
        QCOMPARE(c.calcMethod, int16_t(1));
        QCOMPARE(c.houseSystem, int16_t(1));
        // The Sun at J2000.0: apparent longitude 280.37° (astronomical almanac).
        QVERIFY2(std::fabs(c.lon[1] - 280.37) < 0.01, qPrintable(QString::number(c.lon[1])));
    }
};

static RegisterTestClass<DialogsTest> reg("dialogs");

}  // namespace orbeta::test

#include "dialogs_test.moc"
