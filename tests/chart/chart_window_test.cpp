// The chart window itself: numbers, the click that only activates, the point popup,
// stepping in time and in time lists, the overlay's characters and swapping.
#include <QTest>

#include "chart_window_test_support.h"
#include "core/derived_charts.h"
#include "forecast/returns.h"
#include "gui/dial.h"
#include "platform/command_ids.h"
#include "test_classes.h"

namespace orbeta::test {

class ChartWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ChartWindowWorld> world;
  private slots:
    void init() { world = std::make_unique<ChartWindowWorld>(); }
    void cleanup() {
        world.reset();
        Dial::SetHelpOpener({});
    }

    void helpKeyFollowsTheWindow() {
        std::vector<std::string> keys;
        Dial::SetHelpOpener([&keys](const std::string& key) { keys.push_back(key); });
        ChartRecord c = NatalChart("A");
        QTest::keyClick(ShownWindow(kChartKindOne, c, c), Qt::Key_F1);
        QTest::keyClick(ShownWindow(kChartKindTwo, c, c), Qt::Key_F1);
        QCOMPARE(keys, (std::vector<std::string>{"K0t1", "K2"}));
    }

    void numbersAreNeverReused() {
        ChartRecord c = NatalChart("A");
        auto* a = new ChartWindow(kChartKindOne, c, c, "a");
        auto* b = new ChartWindow(kChartKindOne, c, c, "b");
        QVERIFY(a->Number() != b->Number());
        int bNumber = b->Number();
        delete a;
        QCOMPARE(b->Number(), bNumber);
        auto* d = new ChartWindow(kChartKindTwo, c, c, "d");
        QCOMPARE(d->Number(), bNumber + 1);
        // Overlays are listed, but not offered for chart selection.
        QCOMPARE(App().charts.All().size(), size_t(2));
        QCOMPARE(App().charts.Selectable().size(), size_t(1));
        QCOMPARE(App().charts.Selectable()[0].window, static_cast<ChartWindowBase*>(b));
        delete b;
        delete d;
        QVERIFY(App().charts.All().empty());
    }

    void theFirstClickOnlyActivates() {
        ChartRecord c = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindOne, c, c);
        QPoint sun = GlyphCentre(*w, 0, SUN);
        w->clickArmed = false;  // the window has just lost the focus to another
        QTest::mouseClick(w, Qt::LeftButton, {}, sun);
        QVERIFY(Popups(w).empty());
        QTest::mouseClick(w, Qt::LeftButton, {}, sun);
        auto popups = Popups(w);
        QCOMPARE(popups.size(), qsizetype(1));
        QCOMPARE(popups[0]->size(), QSize(240, 400));
        QCOMPARE(popups[0]->Info().caption, PointName(SUN));
        QVERIFY(!(popups[0]->windowFlags() & Qt::WindowMinMaxButtonsHint));
        popups[0]->grab();  // paints without trouble
        // One popup a window: each click on a point replaces the one shown.
        for (int body : {MON, MER, VEN}) {
            QTest::mouseClick(w, Qt::LeftButton, {}, GlyphCentre(*w, 0, body));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(Popups(w).size(), qsizetype(1));
            QCOMPARE(w->PointInfo()->Info().caption, PointName(body));
        }
        // Esc closes it, and so does a click outside it (beside the wheel: no new one).
        QTest::keyClick(w, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Popups(w).empty());
        QTest::mouseClick(w, Qt::LeftButton, {}, GlyphCentre(*w, 0, SUN));
        QCOMPARE(Popups(w).size(), qsizetype(1));
        QTest::keyClick(w->PointInfo(), Qt::Key_Escape);  // the popup itself has the keys
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Popups(w).empty());
        QTest::mouseClick(w, Qt::LeftButton, {}, GlyphCentre(*w, 0, SUN));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Popups(w).empty());
    }

    void theInnerRingOfAnOverlayAnswersForTheInnerChart() {
        ChartRecord outer = NatalChart("Outer", "01.01.2000 12:00:00");
        ChartRecord inner = NatalChart("Inner");
        inner.houseSystem = 8;  // no houses: the inner ring is all glyphs
        ChartWindow* w = ShownWindow(kChartKindTwo, outer, inner);
        QTest::mouseClick(w, Qt::LeftButton, {}, GlyphCentre(*w, 1, JUP));
        auto popups = Popups(w);
        QCOMPARE(popups.size(), qsizetype(1));
        QCOMPARE(popups[0]->Info().caption, PointName(JUP) + " (внутр.)"_cp);
        QTest::mouseClick(w, Qt::LeftButton, {}, GlyphCentre(*w, 0, JUP));
        QCOMPARE(Popups(w).back()->Info().caption, PointName(JUP) + " (внеш.)"_cp);
    }

    void arrowsStepByTheProfileStepsAndRecompute() {
        App().settings.delT = {1, 0, 0, 0, 0, 12, 0, 0};
        ChartRecord c = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindOne, c, c);
        QTest::keyClick(w, Qt::Key_Up);  // back by a day
        QCOMPARE(w->Chart1().jdUT, c.jdUT - 1);
        QCOMPARE(w->Chart1().jdLocal, c.jdLocal - 1);
        QVERIFY(std::fabs(w->Chart1().lon[MON] - BodyLongitude(test::Scratch(), c.jdUT - 1, MON)) <
                1e-6);
        double moonDay = Difference(c.lon[MON], w->Chart1().lon[MON]);
        QVERIFY2(moonDay > 11 && moonDay < 16, qPrintable(QString::number(moonDay)));
        // The aspects follow the moved chart.
        AspectMatrix fresh = ComputeAspectMatrix(w->Chart1(), App().orbTable);
        for (int p = 1; p <= kPointCount; ++p)
            for (int q = 1; q <= kPointCount; ++q) QCOMPARE(w->Aspects().At(p, q), fresh.At(p, q));
        QTest::keyClick(w, Qt::Key_Down);
        QTest::keyClick(w, Qt::Key_Down);
        QVERIFY(std::fabs(w->Chart1().jdUT - (c.jdUT + 1)) < 1e-9);
        // Left and Right move nothing in a window of one chart.
        QTest::keyClick(w, Qt::Key_Left);
        QVERIFY(std::fabs(w->Chart1().jdUT - (c.jdUT + 1)) < 1e-9);
        QCOMPARE(w->Chart2().jdUT, c.jdUT);

        // The inner chart of an overlay by the inner step; the outer one follows it.
        ChartRecord transits = NatalChart("T", "01.01.2000 12:00:00");
        ChartWindow* o = ShownWindow(kChartKindTwo, transits, c);
        QTest::keyClick(o, Qt::Key_Right);
        QVERIFY(std::fabs(o->Chart2().jdUT - (c.jdUT + 0.5)) < 1e-9);
        QCOMPARE(o->Chart1().jdUT, transits.jdUT);
        QTest::keyClick(o, Qt::Key_Left);
        QVERIFY(std::fabs(o->Chart2().jdUT - c.jdUT) < 1e-9);
    }

    void timeListsStopAtTheirEndsAndKeepLocalTime() {
        ChartRecord c = NatalChart("A");
        ChartWindow* w = ShownWindow(kChartKindOne, c, c);
        std::vector<double> moments = {JulianDayOfDateTimeText("01.01.2000 00:00:00"),
                                       JulianDayOfDateTimeText("02.01.2000 06:00:00"),
                                       JulianDayOfDateTimeText("03.01.2000 12:00:00")};
        w->TimeListOf(0) = TimeList{moments};
        for (int i = 0; i < 4; ++i) QTest::keyClick(w, Qt::Key_Up);
        QCOMPARE(w->TimeListOf(0).position, 2);
        QCOMPARE(w->Chart1().jdLocal, moments[2]);
        // The moment is local time: the chart's correction gives universal time.
        QCOMPARE(w->Chart1().jdUT, moments[2] + c.gmtCorr);
        QVERIFY(std::fabs(w->Chart1().lon[SUN] -
                          BodyLongitude(test::Scratch(), moments[2] + c.gmtCorr, SUN)) < 1e-6);
        QTest::keyClick(w, Qt::Key_Down);
        QCOMPARE(w->Chart1().jdLocal, moments[1]);

        // The inner chart's list recomputes it by its own method: progressed from the
        // current chart, which is the 1945 chart here.
        App().currentChart = c;
        ChartRecord progressed = c;
        progressed.calcMethod = kSecondary;
        ComputeChart(test::Scratch(), progressed, App().currentChart, kSecondary);
        ChartWindow* o = ShownWindow(kChartKindTwo, c, progressed);
        o->TimeListOf(1) = TimeList{moments};
        QTest::keyClick(o, Qt::Key_Left);
        QCOMPARE(o->Chart2().calcMethod, int16_t(kSecondary));
        QCOMPARE(o->Chart2().jdLocal, moments[0]);
        double expected = CalculationMoment(kSecondary, moments[0] + c.gmtCorr, App().currentChart);
        QVERIFY(std::fabs(o->Chart2().jdCalc - expected) < 1e-9);
        QVERIFY(std::fabs(o->Chart2().jdCalc - o->Chart2().jdUT) > 1);
    }

    void overlayCharactersRecomputeTheOuterChartAndSwapExchanges() {
        ChartRecord natal = NatalChart("Natal");
        ChartRecord now = NatalChart("Now", "01.01.2000 12:00:00");
        ChartWindow* w = ShownWindow(kChartKindTwo, now, natal);
        QTest::keyClicks(w, "p");
        QCOMPARE(w->Chart1().calcMethod, int16_t(kSecondary));
        QVERIFY(std::fabs(w->Chart1().jdCalc - CalculationMoment(kSecondary, now.jdUT, natal)) <
                1e-9);
        QTest::keyClicks(w, "D");
        QCOMPARE(w->Chart1().calcMethod, int16_t(kDegreeDirections));
        QTest::keyClicks(w, "t");
        QCOMPARE(w->Chart1().calcMethod, int16_t(kNatal));
        QVERIFY(std::fabs(w->Chart1().lon[SUN] - now.lon[SUN]) < 1e-9);

        // Swapping recomputes the cross aspects the other way round.
        AspectMatrix before = w->Aspects();
        w->OnCommand(cmd::chart::kSwap);
        QCOMPARE(QString(w->Chart1().name), QString("Natal"));
        QCOMPARE(QString(w->Chart2().name), QString("Now"));
        AspectMatrix swapped = ComputeAspectMatrix(w->Chart2(), w->Chart1(), 2, App().orbTable);
        bool differs = false;
        for (int p = 1; p <= kPointCount; ++p)
            for (int q = 1; q <= kPointCount; ++q) {
                QCOMPARE(w->Aspects().At(p, q), swapped.At(p, q));
                differs = differs || before.At(p, q) != swapped.At(p, q);
            }
        QVERIFY(differs);

        // The characters mean nothing to a window of one chart.
        ChartWindow* one = ShownWindow(kChartKindOne, natal, natal);
        QTest::keyClicks(one, "p");
        QCOMPARE(one->Chart1().calcMethod, int16_t(kNatal));
    }

    void pageKeysStepReturnChartsOnly() {
        ChartRecord natal = NatalChart("A");
        ReturnPlace place{"", "", natal.latitude, natal.longitude, natal.gmtCorr, 3};
        auto lunar = SolarLunarReturn(test::Scratch(), natal, 2, 2025, 3, place);
        QVERIFY(lunar.has_value());
        ChartWindow* w = ShownWindow(kChartKindOne, *lunar, *lunar);
        QTest::keyClick(w, Qt::Key_PageDown);
        double month = w->Chart1().jdUT - lunar->jdUT;
        QVERIFY2(month > 27 && month < 28, qPrintable(QString::number(month)));
        QCOMPARE(w->Chart1().calcMethod, int16_t(kLunarReturn));
        QVERIFY(w->Title().find(ReturnChartText(w->Chart1())) != std::string::npos);
        QTest::keyClick(w, Qt::Key_PageUp);
        QVERIFY(std::fabs(w->Chart1().jdUT - lunar->jdUT) < 1e-5);
        // A relocation chart has no target: the keys leave it alone.
        ChartRecord moved = RelocationChart(test::Scratch(), natal, "", 50.0, 30.0, 3);
        ChartWindow* r = ShownWindow(kChartKindOne, moved, moved);
        QTest::keyClick(r, Qt::Key_PageDown);
        QCOMPARE(r->Chart1().jdUT, moved.jdUT);
        QCOMPARE(r->Chart1().calcMethod, int16_t(kRelocationMethod));
    }
};

static RegisterTestClass<ChartWindowTest> registerChartWindow("chart_window");

}  // namespace orbeta::test

#include "../support/scratch_computation.h"
#include "chart_window_test.moc"
