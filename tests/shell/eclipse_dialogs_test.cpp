// The eclipse parameters (1076), and the year, month and degree checks of the return
// dialogs (1017, 1018): bad fields are refused and the dialog stays.
#include <QTableWidget>

#include "data/settings.h"
#include "dialog_test_support.h"
#include "forecast/ui/return_dialogs.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

class EclipseDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void parametersRoundTripAndRefusal() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        Settings s;
        s.orbEclS[PointOfCusp(3) - 1] = 4.5;
        {
            EclipseParametersDialog d(nullptr, s);
            d.show();
            auto* orbs = d.Orbs();
            QCOMPARE(orbs->rowCount(), 21);
            QCOMPARE(orbs->verticalHeaderItem(15)->text(), QString("ASC"));
            QCOMPARE(orbs->verticalHeaderItem(20)->text(), QString("H.6"));
            QCOMPARE(orbs->item(17, 0)->text(), QString(" 4.5"));
            QCOMPARE(Text(&d, "5001"), QString("180"));
            Retype(d.findChild<QLineEdit*>("5004"), "45.5");
            orbs->item(0, 1)->setText("7");
            orbs->item(16, 0)->setText("2.5");  // cusp 2: cusp 8 follows
            Click(&d, "1");
            QVERIFY(!d.isVisible());
        }
        QCOMPARE(s.vEcl[3], std::string("45.5"));
        QCOMPARE(s.orbEclM[0], 7.0);
        QCOMPARE(s.orbEclS[PointOfCusp(2) - 1], 2.5);
        QCOMPARE(s.orbEclS[PointOfCusp(8) - 1], 2.5);
        QCOMPARE(s.orbEclS[PointOfCusp(9) - 1], 4.5);

        const struct {
            const char* days;
            const char* orb;
        } bad[] = {{"-1", "3"}, {"abc", "3"}, {"10", "31"}, {"10", "x"}};
        for (const auto& b : bad) {
            Settings before = s;
            EclipseParametersDialog d(nullptr, s);
            d.show();
            Retype(d.findChild<QLineEdit*>("5001"), b.days);
            d.Orbs()->item(3, 0)->setText(b.orb);
            size_t boxesBefore = boxes.seen.size();
            Click(&d, "1");
            QVERIFY(d.isVisible());
            QCOMPARE(boxes.seen.size(), boxesBefore + 1);
            QCOMPARE(s.vEcl, before.vEcl);
            QCOMPARE(s.orbEclS, before.orbEclS);
        }
    }

    void returnDialogsRefuseBadFields() {
        TestWorkspace ws;
        UseQtServices qtServices;
        BoxAnswerer boxes;
        ChartRecord base;
        base.latitude = 55.45;
        base.longitude = 37.37;
        const struct {
            const char* year;
            const char* month;
            bool accepted;
        } solarLunar[] = {{"6000", "5", false},
                          {"2025", "13", false},
                          {"2025", "0", false},
                          {"20x5", "5", false},
                          {"2025", "5", true}};
        for (const auto& c : solarLunar) {
            SolarLunarDialog d(nullptr, base, 2025, 1);
            d.show();
            Retype(d.findChild<QLineEdit*>("5001"), c.year);
            Retype(d.findChild<QLineEdit*>("5002"), c.month);
            Click(&d, "1");
            QCOMPARE(d.isVisible(), !c.accepted);
            if (c.accepted) QCOMPARE(d.Data().month, 5);
        }
        const struct {
            const char* degree;
            bool accepted;
        } ingress[] = {{"360", false}, {"10.60", false}, {"-1", false}, {"285.00", true}};
        for (const auto& c : ingress) {
            SunIngressDialog d(nullptr, base, 2025);
            d.show();
            Retype(d.findChild<QLineEdit*>("5002"), c.degree);
            Click(&d, "1");
            QCOMPARE(d.isVisible(), !c.accepted);
            if (c.accepted) QCOMPARE(d.Data().degree, 285.0);
        }
        QCOMPARE(int(boxes.seen.size()), 7);
    }
};

static RegisterTestClass<EclipseDialogsTest> reg("eclipse_dialogs");

}  // namespace orbeta::test

#include "eclipse_dialogs_test.moc"
