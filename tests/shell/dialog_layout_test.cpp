// Every dialog laid out as a user sees it: no two controls overlap, no field is
// narrower than its content needs, the documented ids are present. With ORBETA_SHOTS
// set to a directory, a picture of each dialog is written there for a look by eye.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "aspects/ui/orb_dialogs.h"
#include "dialog_test_support.h"
#include "forecast/search_tables.h"
#include "forecast/ui/table_dialog.h"
#include "gui/app_state.h"
#include "gui/birth_data_dialog.h"
#include "gui/choice_dialogs.h"
#include "gui/date_place_dialogs.h"
#include "gui/interval_dialog.h"
#include "gui/pair_selection.h"
#include "platform/codepage.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

// Controls that are shown, in window coordinates.
QList<QRect> ControlRects(QWidget* dialog) {
    QList<QRect> rects;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->objectName().isEmpty() || w->parentWidget() != dialog) continue;
        rects << QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
    }
    return rects;
}

void CheckLayout(QWidget* dialog, const char* shot) {
    dialog->adjustSize();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const QList<QRect> rects = ControlRects(dialog);
    QVERIFY(rects.size() > 3);
    for (int i = 0; i < rects.size(); ++i)
        for (int j = i + 1; j < rects.size(); ++j) QVERIFY2(!rects[i].intersects(rects[j]), shot);
    for (QLineEdit* e : dialog->findChildren<QLineEdit*>()) {
        if (!e->isVisible()) continue;
        int needed = e->fontMetrics().horizontalAdvance(e->text()) + 8;
        QVERIFY2(e->width() >= needed, qPrintable(QString(shot) + " " + e->objectName()));
    }
    QVERIFY(dialog->findChild<QPushButton*>("9"));
    QByteArray dir = qgetenv("ORBETA_SHOTS");
    if (!dir.isEmpty()) dialog->grab().save(QDir(dir).filePath(QString(shot) + ".png"));
}

}  // namespace

class DialogLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void dialogsAreLaidOutCleanly() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        ChartRecord c = DefaultProfileChart();
        CopyText(c.place, "Санкт-Петербург"_cp);
        c.gmtCorr = -2.5047 / 24;
        {
            BirthDataDialog d(nullptr, c);
            CheckLayout(&d, "1001-birth-data");
        }
        {
            IntervalDialog d(nullptr, App().settings.interV);
            CheckLayout(&d, "1006-interval");
        }
        {
            ChartCardDialog d(nullptr, c);
            CheckLayout(&d, "1061-card");
        }
        {
            ElectionalDayDialog d(nullptr, c);
            CheckLayout(&d, "1067-electional");
        }
        {
            LunationDialog d(nullptr, c);
            CheckLayout(&d, "1060-lunation");
        }
        {
            MethodsDialog d(nullptr, App().settings);
            CheckLayout(&d, "1005-methods");
        }
        {
            CheckBoxDialog d(nullptr, 1002, "InsP", "Выбор активных планет"_cp,
                             {"Солнце"_cp, "Луна"_cp, "Меркурий"_cp}, 5);
            CheckLayout(&d, "1002-bodies");
        }
        {
            std::vector<std::string> names;
            for (int code = 1; code <= 11; ++code) names.push_back(HouseSystemName(code));
            RadioDialog d(nullptr, 1004, "Hous", "Система Домов"_cp, names, 201, 2);
            CheckLayout(&d, "1004-houses");
        }
        {
            OrbFilesDialog d(nullptr);
            CheckLayout(&d, "1063-orb-files");
        }
        {
            OrbEditorDialog d(nullptr, "0.ao", LoadOrbTable("0.ao", "0.ao", true));
            CheckLayout(&d, "orb-editor");
        }
        for (int kind = 0; kind < kTableKindCount; ++kind) {
            TableDialog d(nullptr, kind, App().settings, &App().orbTable);
            CheckLayout(&d, std::to_string(1020 + kind).append("-table").c_str());
        }
    }
};

static RegisterTestClass<DialogLayoutTest> reg("dialog_layout");

}  // namespace orbeta::test

#include "dialog_layout_test.moc"
