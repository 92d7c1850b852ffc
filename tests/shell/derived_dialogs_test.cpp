// The dialogs of a chart window's derived charts and time steps: what they show, what
// OK gives back, and the numbers they refuse.
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QRadioButton>

#include "chart/ui/derived_dialogs.h"
#include "dialog_test_support.h"
#include "gui/dial.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {
QLineEdit* Edit(QWidget* d, const char* id) {
    return d->findChild<QLineEdit*>(id);
}
QAbstractButton* Button(QWidget* d, const char* id) {
    return d->findChild<QAbstractButton*>(id);
}
std::string HelpOf(QDialog* d) {
    return static_cast<Dial*>(d)->HelpKey();
}
}  // namespace

class DerivedDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        SetTimeFileChooser(nullptr);
        ResetProgramState();
    }

    void timeStepsAndTimeFiles() {
        TestWorkspace ws;
        UseQtServices qtServices;
        LoadUiTexts("orbtw.t");
        BoxAnswerer boxes;
        ws.Write("outer.txt", "01.01.2000 12:00\nnonsense\n02.01.2000 12:00\n");
        ws.Write("inner.txt", "no moment here\n");
        std::vector<std::string> captions;
        SetTimeFileChooser([&](const std::string& caption) {
            captions.push_back(caption);
            return captions.size() == 1 ? std::string("outer.txt") : std::string("inner.txt");
        });
        TimeStepInput in;
        in.delT = {1, 2, 3, 4, 5, 6, 7, 8};
        in.twoCharts = true;
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(HelpOf(d), std::string("ModTime"));
            QCOMPARE(Edit(d, "302")->text(), QString("2"));
            QCOMPARE(Edit(d, "308")->text(), QString("8"));
            QCOMPARE(Edit(d, "301")->maxLength(), 9);
            Retype(Edit(d, "301"), "0");
            Retype(Edit(d, "307"), "x");
            Click(d, "1");  // refused: minutes of the inner step are no number
            QVERIFY(d->isVisible());
            Retype(Edit(d, "307"), "30");
            Button(d, "400")->click();
            Button(d, "401")->click();
            Click(d, "1");
        });
        auto r = RunTimeStepDialog(nullptr, in);
        QVERIFY(r.has_value());
        QCOMPARE(r->delT, (std::array<long, 8>{0, 2, 3, 4, 5, 6, 30, 8}));
        QVERIFY(r->lists[0].has_value());
        QCOMPARE(int(r->lists[0]->moments.size()), 2);
        QCOMPARE(r->lists[0]->position, -1);
        QVERIFY(!r->lists[1].has_value());  // the inner file held no moment
        QCOMPARE(int(captions.size()), 2);
        QCOMPARE(captions[0], LookupText("FtK").substr(0, captions[0].size()));
        QCOMPARE(int(boxes.seen.size()), 2);
        QVERIFY(boxes.seen[0].text.contains(QString("Мин (внутренняя карта)")));
        QVERIFY(boxes.seen[1].text.contains(QString("inner.txt")));

        // a one-chart window offers no inner file
        captions.clear();
        in.twoCharts = false;
        WhenDialogOpens([](QDialog* d) {
            QVERIFY(!Button(d, "401")->isEnabled());
            Click(d, "1");
        });
        r = RunTimeStepDialog(nullptr, in);
        QVERIFY(r && !r->lists[0] && !r->lists[1]);
        QVERIFY(captions.empty());
        WhenDialogOpens([](QDialog* d) { Click(d, "2"); });
        QVERIFY(!RunTimeStepDialog(nullptr, in));
    }

    void ascendantTarget() {
        TestWorkspace ws;
        UseQtServices qtServices;
        LoadUiTexts("orbtw.t");
        BoxAnswerer boxes;
        AscendantInput in;
        in.ascendant = 132.51;  // 12°30'36" Leo
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(HelpOf(d), std::string("SmAsc"));
            QVERIFY(Button(d, "555")->isChecked());
            QCOMPARE(Button(d, "555")->text(), QString("Лев"));
            QCOMPARE(Edit(d, "301")->text(), QString("12"));
            QCOMPARE(Edit(d, "302")->text(), QString("30"));
            QCOMPARE(Edit(d, "303")->text(), QString("36"));
            QVERIFY(!Button(d, "204")->isEnabled());
            Retype(Edit(d, "301"), "30");
            Click(d, "1");  // refused: a sign has 30 degrees
            QVERIFY(d->isVisible());
            Retype(Edit(d, "301"), "5");
            Button(d, "562")->click();
            Click(d, "1");
        });
        auto r = RunAscendantDialog(nullptr, in);
        QVERIFY(r.has_value());
        QCOMPARE(r->sign, 11);
        QCOMPARE(r->target, 335 + 30 / 60.0 + 36 / 3600.0);
        QVERIFY(!r->inner);
        QCOMPARE(int(boxes.seen.size()), 1);
        QVERIFY(boxes.seen[0].text.contains(QString("Град")));

        in.twoCharts = true;
        WhenDialogOpens([](QDialog* d) {
            Button(d, "204")->click();
            Click(d, "1");
        });
        r = RunAscendantDialog(nullptr, in);
        QVERIFY(r && r->inner);
    }

    void contactAndRelocationPlaces() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        ChartRecord chart;
        CopyText(chart.place, "Moscow");
        chart.latitude = 55.45;
        chart.longitude = 37.37;
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(HelpOf(d), std::string("DVKomp"));
            QVERIFY(Button(d, "203")->isChecked());
            QVERIFY(!Edit(d, "5012")->isEnabled());
            Click(d, "1");
        });
        auto averaged = RunContactPlaceDialog(nullptr, chart);
        QVERIFY(averaged && averaged->averaged);

        WhenDialogOpens([](QDialog* d) {
            Button(d, "204")->click();
            QVERIFY(Edit(d, "5012")->isEnabled());
            QCOMPARE(Edit(d, "5011")->text(), QString("Moscow"));
            QLineEdit* lat = Edit(d, "5012");
            Retype(lat, "north");
            Click(d, "1");  // refused
            QVERIFY(d->isVisible());
            Retype(lat, "48.52");
            Click(d, "1");
        });
        auto given = RunContactPlaceDialog(nullptr, chart);
        QVERIFY(given && !given->averaged);
        QCOMPARE(given->place, std::string("Moscow"));
        QCOMPARE(given->latitude, 48.52);
        QCOMPARE(given->longitude, 37.37);
        QCOMPARE(int(boxes.seen.size()), 1);
        QVERIFY(boxes.seen[0].text.contains(QString("Широта")));

        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(HelpOf(d), std::string("DVGeo"));
            QCOMPARE(d->windowTitle(), QString("Координаты места"));
            Click(d, "1");
        });
        auto place = RunRelocationDialog(nullptr, chart);
        QVERIFY(place);
        QCOMPARE(place->town, std::string("Moscow"));
        QCOMPARE(place->latitude, 55.45);
    }

    void thematicChoice() {
        TestWorkspace ws;
        UseQtServices qtServices;
        LoadUiTexts("orbtw.t");
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(HelpOf(d), std::string("TemaK"));
            auto* first = d->findChild<QComboBox*>("5021");
            auto* second = d->findChild<QComboBox*>("5022");
            QCOMPARE(first->count(), 15);
            QCOMPARE(first->currentText(), QString("Марс"));
            QCOMPARE(second->currentText(), QString("Венера"));
            Button(d, "203")->click();
            second->setCurrentIndex(6);
            Click(d, "1");
        });
        auto r = RunThematicDialog(nullptr, ThematicInput{4, 3});
        QVERIFY(r);
        QCOMPARE(r->type, 2);
        QCOMPARE(r->planet1, 4);
        QCOMPARE(r->planet2, 6);
        QCOMPARE(r->title, "Тематическая карта: Марс - Сатурн"_cp);

        WhenDialogOpens([](QDialog* d) { Click(d, "1"); });
        r = RunThematicDialog(nullptr, ThematicInput{99, 0});  // a stored value out of range
        QVERIFY(r);
        QCOMPARE(r->type, 0);
        QCOMPARE(r->planet1, 0);
        QCOMPARE(r->title, "Тематическая карта: Солнце"_cp);
    }

    void harmonicNumber() {
        auto answer = [](const char* text) {
            WhenDialogOpens([text](QDialog* d) {
                auto* box = qobject_cast<QInputDialog*>(d);
                QVERIFY(box);
                QCOMPARE(box->windowTitle(), QString("Гармоника"));
                QCOMPARE(box->labelText(), QString("Номер Гармоники"));
                QCOMPARE(box->textValue(), QString("2"));
                auto* edit = d->findChild<QLineEdit*>();
                QCOMPARE(edit->maxLength(), 9);
                Retype(edit, text);
                box->accept();
            });
            return RunHarmonicDialog(nullptr);
        };
        QCOMPARE(answer("7"), std::optional<int>(7));
        QCOMPARE(answer("0"), std::optional<int>(2));
        QCOMPARE(answer("пять"), std::optional<int>(2));
        WhenDialogOpens([](QDialog* d) { d->reject(); });
        QVERIFY(!RunHarmonicDialog(nullptr));
    }

    void methodOfTheOuterChart() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(HelpOf(d), std::string("VMet"));
            auto* list = d->findChild<QComboBox*>("5022");
            QCOMPARE(list->currentData().toInt(), 6);
            list->setCurrentIndex(list->findData(17));
            Click(d, "1");
        });
        QCOMPARE(RunMethodDialog(nullptr, 6), std::optional<int>(17));
    }
};

static RegisterTestClass<DerivedDialogsTest> reg("derived_dialogs");

}  // namespace orbeta::test

#include "derived_dialogs_test.moc"
