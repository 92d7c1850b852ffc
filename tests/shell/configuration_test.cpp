// The configuration commands and their dialogs: check-box masks, the radio dialogs
// of the house system and the planetary-arc body, calculation methods, orb files.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

#include <QFile>
#include "aspects/ui/orb_dialogs.h"

#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "gui/choice_dialogs.h"
#include "platform/codepage.h"
#include "platform/journal.h"
#include "platform/ui_text.h"
#include "shell/ui/configuration_commands.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {
QCheckBox* Box(QWidget* d, int id) {
    return d->findChild<QCheckBox*>(QString::number(id));
}
QRadioButton* Radio(QWidget* d, int id) {
    return d->findChild<QRadioButton*>(QString::number(id));
}
}  // namespace

class ConfigurationTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void activeBodiesFollowTheBoxes() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        App().settings.maskP = 0b101 | (1L << 20);  // a bit beyond the boxes stays
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1002"));
            QVERIFY(Box(d, 501)->isChecked());
            QVERIFY(!Box(d, 502)->isChecked());
            QVERIFY(Box(d, 503)->isChecked());
            QVERIFY(Box(d, 515) && !Box(d, 516));
            Box(d, 501)->setChecked(false);
            Box(d, 515)->setChecked(true);
            Click(d, "1");
        });
        ChooseActiveBodies(nullptr);
        QCOMPARE(App().settings.maskP, 0b100L | (1L << 14) | (1L << 20));

        WhenDialogOpens([](QDialog* d) {
            Click(d, "3000");
            QVERIFY(Box(d, 508)->isChecked());
            Click(d, "2");
        });
        ChooseActiveBodies(nullptr);
        QCOMPARE(App().settings.maskP, 0b100L | (1L << 14) | (1L << 20));

        App().settings.maskA = 0;
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QString("Выбор планет для аспектов"));
            Click(d, "3000");
            Click(d, "1");
        });
        ChooseAspectBodies(nullptr);
        QCOMPARE(App().settings.maskA, (1L << 15) - 1);
    }

    void houseSystemStoresTheChosenSystem() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        App().settings.houseSet = 2;  // Campanus
        WhenDialogOpens([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1004"));
            QVERIFY(Radio(d, 202)->isChecked());
            QCOMPARE(Radio(d, 203)->text(), QString("Плацидус"));
            Radio(d, 203)->setChecked(true);
            Click(d, "1");
        });
        ChooseHouseSystem(nullptr);
        QCOMPARE(App().settings.houseSet, 3);  // Placidus, not the index

        WhenDialogOpens([](QDialog* d) {
            Radio(d, 201)->setChecked(true);
            Click(d, "2");
        });
        ChooseHouseSystem(nullptr);
        QCOMPARE(App().settings.houseSet, 3);
    }

    void arcBodyAndCalculationMethods() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        App().settings.ov[kOptArcBody] = 40;  // out of range: shown as the Sun
        WhenDialogOpens([](QDialog* d) {
            QVERIFY(Radio(d, 501)->isChecked());
            Radio(d, 510)->setChecked(true);
            Click(d, "1");
        });
        ChooseArcBody(nullptr);
        QCOMPARE(int(App().settings.ov[kOptArcBody]), 9);

        App().settings.ov[kOptTrueLilith] = 1;
        WhenDialogOpens([](QDialog* d) {
            QVERIFY(Radio(d, 201)->isChecked());
            QVERIFY(Radio(d, 204)->isChecked());
            Radio(d, 202)->setChecked(true);
            Radio(d, 203)->setChecked(true);
            Radio(d, 207)->setChecked(true);
            d->findChild<QCheckBox*>("205")->setChecked(true);
            Click(d, "1");
        });
        ChooseCalculationMethods(nullptr);
        const Settings& s = App().settings;
        QCOMPARE(int(s.ov[kOptTrueNode]), 1);
        QCOMPARE(int(s.ov[kOptTrueLilith]), 0);
        QCOMPARE(int(s.ov[kOptDebugJournal]), 1);
        QCOMPARE(int(s.ov[kOptElectionalTurn]), 1);
        TheJournal().SetDebug(false);
    }

    void orbEditorRoundTripToTheFile() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        ws.Write("my.ao",
                 "  90.0" + std::string(21 * 5, ' ').replace(0, 5, "  5.0") + " S 1 7 255 2\n");
        OrbTable table = LoadOrbTable("my.ao", "0.ao", true);
        QCOMPARE(int(table.aspects.size()), 1);
        OrbEditorDialog d(nullptr, "my.ao", table);
        auto* list = d.findChild<QListWidget*>("list");
        QCOMPARE(list->item(0)->text(), QString("Аспект   90.0 Откл"));
        QCOMPARE(d.findChild<QLineEdit*>("SUN")->text(), QString(" 5.0"));

        QVERIFY(d.AddAspect("45 (3)"));
        QVERIFY(d.AddAspect("30"));
        QVERIFY(!d.AddAspect("полтора"));
        QCOMPARE(list->count(), 3);
        d.Select(1);
        QCOMPARE(d.findChild<QLabel*>("angle")->text(), QString("  45.0"));
        QCOMPARE(d.findChild<QLineEdit*>("H.6")->text(), QString(" 3.0"));
        d.findChild<QLineEdit*>("MON")->setText("7.5");
        QVERIFY(d.StoreOrbs());
        d.findChild<QLineEdit*>("MON")->setText("x");
        QVERIFY(!d.StoreOrbs());
        d.SetLineStyle(kLineDashed);
        d.SetColour(0x00FF00);
        d.Select(0);
        d.ToggleOff();
        QCOMPARE(list->item(0)->text(), QString("Аспект   90.0 "));
        d.Select(2);
        d.DeleteAspect();
        Click(&d, "1");

        OrbTable saved = LoadOrbTable("my.ao", "0.ao", true);
        QCOMPARE(int(saved.aspects.size()), 2);
        QCOMPARE(saved.aspects[0].off, uint8_t(0));
        QCOMPARE(saved.aspects[0].reserved, uint8_t(7));  // kept as read
        QCOMPARE(saved.aspects[0].lineStyle, uint8_t(2));
        const AspectRecord& a = saved.aspects[1];
        QCOMPARE(a.angle, 45.0f);
        QCOMPARE(a.Orb(1), 3.0f);
        QCOMPARE(a.Orb(2), 7.5f);
        QCOMPARE(a.Orb(27), 3.0f);
        QCOMPARE(a.colour, 0x00FF00);
        QCOMPARE(a.lineStyle, uint8_t(kLineDashed));

        // Cancel leaves the file as it is.
        std::string bytes = ws.Read("my.ao");
        OrbEditorDialog d2(nullptr, "my.ao", saved);
        d2.DeleteAspect();
        Click(&d2, "2");
        QCOMPARE(ws.Read("my.ao"), bytes);
    }

    void orbFilesAreCreatedAssignedAndDeleted() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        OrbFilesDialog d(nullptr);
        QVERIFY(!d.Files()->findItems("0.ao", Qt::MatchExactly).isEmpty());
        QVERIFY(d.CreateFile("my.file"));
        QCOMPARE(ws.Read("my.ao"), ws.Read("0.ao"));
        QVERIFY(!d.CreateFile("my"));
        QCOMPARE(boxes.seen.back().text, QString("Файл my.ao уже существует"));
        QVERIFY(!d.CreateFile("../outside"));
        QCOMPARE(d.Files()->currentItem()->text(), QString("my.ao"));
        d.AssignSlot(kOrbSlotTransits);
        QCOMPARE(App().settings.orbFiles[kOrbSlotTransits], std::string("my.ao"));
        QCOMPARE(d.findChild<QLabel*>("slotName1")->text(), QString("my.ao"));
        d.DeleteSelected();
        QVERIFY(!QFile::exists("my.ao"));
        QCOMPARE(App().settings.orbFiles[kOrbSlotTransits], std::string("my.ao"));
    }

    // File names are Unicode: the list, the editor, the slots and deletion all reach
    // the same file; the profile holds the name in its own code page.
    void cyrillicOrbFileRoundTrip() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        const QString name = QString::fromUtf8("Мои орбисы.ao");
        {
            OrbFilesDialog d(nullptr);
            QVERIFY(d.CreateFile(QString::fromUtf8("Мои орбисы")));
            QVERIFY(QFile::exists(name));
            QCOMPARE(d.Files()->currentItem()->text(), name);
            d.AssignSlot(kOrbSlotCurrent);
            QCOMPARE(App().settings.orbFiles[kOrbSlotCurrent], std::string("Мои орбисы.ao"_cp));
            QCOMPARE(d.findChild<QLabel*>("slotName0")->text(), name);
        }
        {
            OrbFilesDialog again(nullptr);
            auto items = again.Files()->findItems(name, Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            again.Files()->setCurrentItem(items[0]);
            QString title;
            WhenDialogOpens([&](QDialog* editor) {
                title = editor->windowTitle();
                auto* e = qobject_cast<OrbEditorDialog*>(editor);
                QVERIFY(e);
                while (!e->Table().aspects.empty()) {
                    e->Select(0);
                    e->DeleteAspect();
                }
                e->AddAspect("33 (2)");
                Click(editor, "1");
            });
            Click(&again, "edit");
            QVERIFY(title.endsWith(name));
            // The slot's profile name opens the file the editor wrote.
            OrbTable current = LoadOrbSlot(App().settings.orbFiles, kOrbSlotCurrent);
            QCOMPARE(int(current.aspects.size()), 1);
            QCOMPARE(current.aspects[0].angle, 33.0f);
            again.DeleteSelected();
        }
        QVERIFY(!QFile::exists(name));
        QVERIFY(boxes.seen.empty());

        // A name the profile cannot hold is refused when made or chosen, never cut.
        OrbFilesDialog d(nullptr);
        QVERIFY(!d.CreateFile(QString::fromUtf8("星図")));
        QVERIFY(!QFile::exists(QString::fromUtf8("星図.ao")));
        QCOMPARE(int(boxes.seen.size()), 1);
        QVERIFY(boxes.seen.back().text.startsWith(QString::fromUtf8("Имя файла ??.ao нельзя")));
        ws.Write("星図.ao", ws.Read("0.ao"));
        OrbFilesDialog listed(nullptr);
        auto items = listed.Files()->findItems(QString::fromUtf8("星図.ao"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        listed.Files()->setCurrentItem(items[0]);
        listed.AssignSlot(kOrbSlotTransits);
        QCOMPARE(App().settings.orbFiles[kOrbSlotTransits], std::string());
        QCOMPARE(int(boxes.seen.size()), 2);
    }

    void closingTheOrbFilesReloadsTheCurrentTable() {
        TestWorkspace ws;
        ws.Write("one.ao", "  60.0   2.0\n 120.0   4.0 S 1 0 -1 0\n");
        App().settings.orbFiles[kOrbSlotCurrent] = "one.ao";
        WhenDialogOpens([](QDialog* d) { Click(d, "1"); });
        RunOrbFilesDialog(nullptr);
        QCOMPARE(int(App().orbTable.aspects.size()), 1);  // switched-off left out
        QCOMPARE(App().orbTable.aspects[0].angle, 60.0f);
    }
};

static RegisterTestClass<ConfigurationTest> reg("configuration");

}  // namespace orbeta::test

#include "configuration_test.moc"
