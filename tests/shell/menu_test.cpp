// Menu 1000 against the command map: every popup, item, separator and id in order, and
// which commands are offered.
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <memory>
#include <set>
#include <vector>

#include "chart/ui/chart_window.h"
#include "core/chart_compute.h"
#include "gui/app_state.h"
#include "gui/child_window.h"
#include "gui/method_list.h"
#include "platform/command_ids.h"
#include "platform/ui_text.h"
#include "shell/application.h"
#include "shell/main_frame.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {
namespace {

// The command map as documented (the one place the tests spell the numbers out): "text [id]" for
// commands, "text >" opening a popup whose entries follow up to "<", and "-" for separators.
const QStringList kDocumentedMenu = {
    "Гороскоп [200]",
    "Интерпретация >",
    "Натальная карта [901]",
    "Гороскоп ребенка [902]",
    "Переезд [903]",
    "Хорарная астрология [904]",
    "Прогноз [905]",
    "Неподвижные звезды [906]",
    "Взаимоотношения [907]",
    "<",
    "Анализ >",
    "Наложение карт [201]",
    "Специальные карты >",
    "Вход Солнца в градус [801]",
    "Полно/Ново-луния [802]",
    "<",
    "Таблицы >",
    "Текущие аспекты [701]",
    "Текущие аспекты к выбранным [702]",
    "Аспекты к натальной карте [703]",
    "Ингрессии [704]",
    "Аспекты к заданным точкам [705]",
    "Петли [706]",
    "Петлевые аспекты [707]",
    "Возвращения [708]",
    "-",
    "Затмения [604]",
    "<",
    "Графические эфемериды [209]",
    "Хорарная астрология >",
    "Хорарные аспекты мгновенные [1001]",
    "Хорарные аспекты суточные [1002]",
    "Хорарная(Элективная) карта [1003]",
    "Ответ на вопрос [1004]",
    "<",
    "Графический прогноз [210]",
    "Ректификация [211]",
    "<",
    "Конфигурация >",
    "Планеты [301]",
    "Аспекты к планетам [302]",
    "Планетные дуги [303]",
    "-",
    "Орбисы [312]",
    "Дома [304]",
    "-",
    "Графическое представление и цвета [305]",
    "Методы вычислений [306]",
    "-",
    "Настройка принтера [310]",
    "Установка внешнего редактора [311]",
    "Редактирование текстов интерпретации [314]",
    "<",
    "  База  >",
    "База данных [401]",
    "Блокнот (Файлер) [402]",
    "Смена базы [404]",
    "Создание базы [405]",
    "<",
    "   Окна  >",
    "Каскад [24361]",
    "Мозаика [24362]",
    "Упорядочить Иконки [24364]",
    "-",
    "Закрыть все [24365]",
    "<",
    "Помощь [601]",
    "Выход [24310]",
};

void Describe(const QList<QAction*>& actions, QStringList& out) {
    for (QAction* a : actions) {
        if (a->isSeparator()) {
            out << "-";
        } else if (a->menu()) {
            out << a->text() + " >";
            Describe(a->menu()->actions(), out);
            out << "<";
        } else {
            out << a->text() + " [" + a->objectName() + "]";
        }
    }
}

}  // namespace

class MenuTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void menuMatchesTheCommandMap() {
        CommandMap commands;
        MainFrame frame(commands);
        QStringList actual;
        Describe(frame.menuBar()->actions(), actual);
        QCOMPARE(actual, kDocumentedMenu);
    }

    void onlyCommandsWithAHandlerAreEnabled() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        using namespace cmd::menu;
        const std::set<int> built = {kHoroscope,
                                     kOverlay,
                                     kActiveBodies,
                                     kAspectBodies,
                                     kArcBody,
                                     kHouseSystem,
                                     kDisplaySettings,
                                     kCalculationMethods,
                                     kPrinterSettings,
                                     kExternalEditor,
                                     kOrbFiles,
                                     kChartBase,
                                     kNotepad,
                                     kChangeBase,
                                     kNewBase,
                                     kHelp,
                                     kInterpretationTexts,
                                     kNatalInterpretation,
                                     kChildInterpretation,
                                     kRelocationInterpretation,
                                     kFixedStarsInterpretation,
                                     kExit,
                                     kCascade,
                                     kTile,
                                     kArrangeIcons,
                                     kCloseAll,
                                     kCurrentAspects,
                                     kCurrentAspectsToChosen,
                                     kAspectsToNatal,
                                     kIngresses,
                                     kAspectsToPoints,
                                     kLoops,
                                     kLoopAspects,
                                     kReturns,
                                     kEclipses,
                                     kRectification,
                                     kSunIngress,
                                     kLunations,
                                     kForecastInterpretation,
                                     kGraphicEphemeris,
                                     kGraphicForecast,
                                     kHoraryInterpretation,
                                     kRelationshipInterpretation,
                                     kHoraryAspectsInstant,
                                     kHoraryAspectsDaily,
                                     kHoraryAnswer,
                                     kHoraryChart};
        int commandsSeen = 0;
        for (QAction* a : app.Frame()->findChildren<QAction*>()) {
            bool ok = false;
            int id = a->objectName().toInt(&ok);
            if (!ok || a->menu()) continue;
            ++commandsSeen;
            QVERIFY2(a->isEnabled() == (built.count(id) > 0), qPrintable(a->text()));
        }
        QCOMPARE(commandsSeen, 47);

        // A feature that registers its handler makes its item live (every command of
        // the menu has one now, so on a frame of its own with an empty map).
        CommandMap commands;
        MainFrame frame(commands);
        frame.UpdateCommandStates();
        int called = 0;
        QVERIFY(!frame.Action(kFixedStarsInterpretation)->isEnabled());
        commands.Set(kFixedStarsInterpretation, [&called] { ++called; });
        frame.UpdateCommandStates();
        QVERIFY(frame.Action(kFixedStarsInterpretation)->isEnabled());
        frame.Action(kFixedStarsInterpretation)->trigger();
        QCOMPARE(called, 1);
    }

    // Every item a menu offers must reach a handler: the frame's menu against the
    // command map, the popup and button menus of each kind of chart window against the
    // chart window's commands. Lists the items that would not.
    void everyEnabledItemHasAHandler() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        QVERIFY(App().printer);  // the print items are offered
        QStringList missing;
        for (QAction* a : app.Frame()->findChildren<QAction*>()) {
            bool ok = false;
            int id = a->objectName().toInt(&ok);
            if (ok && !a->menu() && a->isEnabled() && !app.Commands().Has(id))
                missing << "menu 1000: " + a->text() + " [" + a->objectName() + "]";
        }

        ChartRecord natal = App().currentChart;
        ChartRecord derived = natal;
        derived.calcMethod = kSecondary;
        const std::vector<ChartWindow*> windows = {OpenChartWindow(natal, "natal"),
                                                   OpenChartWindow(derived, "derived"),
                                                   OpenOverlayWindow(natal, natal)};
        for (ChartWindow* w : windows) {
            QMenu popup;
            w->FillPopupMenu(popup);
            const QList<QAction*> popupItems = popup.actions();
            std::vector<QAction*> items(popupItems.begin(), popupItems.end());
            std::vector<std::unique_ptr<QMenu>> buttonMenus;
            for (size_t i = 0; i < items.size(); ++i) {
                QAction* a = items[i];
                int id = a->objectName().toInt();
                if (a->isSeparator() || !a->isEnabled()) continue;
                if (id == cmd::chart::kReportsMenu || id == cmd::chart::kDerivedMenu) {
                    buttonMenus.push_back(std::make_unique<QMenu>());
                    w->FillButtonMenu(*buttonMenus.back(), id);
                    for (QAction* b : buttonMenus.back()->actions()) items.push_back(b);
                } else if (!ChartWindow::HasCommand(id)) {
                    missing << QString::fromStdString(w->PopupKey()) + ": " + a->text();
                }
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join("\n")));
    }

    void windowCommandsAndTheWindowList() {
        TestWorkspace ws;
        Application app;
        BoxAnswerer boxes;
        app.Start();
        QMdiArea* client = app.Frame()->Client();
        client->closeAllSubWindows();  // the chart window of start-up
        QTRY_VERIFY(client->subWindowList().isEmpty());
        for (const char* title : {"Первое", "Второе"}) {
            auto* w = new QWidget;
            w->setWindowTitle(QString::fromUtf8(title));
            client->addSubWindow(w)->show();
        }
        app.Frame()->Action(cmd::menu::kTile)->trigger();  // tile: both fill the area side by side
        auto windows = client->subWindowList();
        const QSize area = client->viewport()->size();
        QVERIFY(!windows[0]->geometry().intersects(windows[1]->geometry()));
        for (QMdiSubWindow* w : windows) {
            QCOMPARE(w->height(), area.height());
            QVERIFY(std::abs(w->width() - area.width() / 2) <= 1);
        }
        app.Frame()
            ->Action(cmd::menu::kCascade)
            ->trigger();  // cascade: the second lies lower right
        QVERIFY(windows[1]->pos() != windows[0]->pos());
        for (QMdiSubWindow* w : windows) {
            // Two thirds of the area each, wholly inside it.
            QCOMPARE(w->size(), QSize(area.width() * 2 / 3, area.height() * 2 / 3));
            QVERIFY(QRect(QPoint(0, 0), area).contains(w->geometry()));
        }

        windows[0]->showMinimized();
        windows[1]->showMinimized();
        app.Frame()
            ->Action(cmd::menu::kArrangeIcons)
            ->trigger();  // icons in a row along the bottom
        QCOMPARE(windows[0]->geometry().bottom(), client->viewport()->height() - 1);
        QCOMPARE(windows[1]->x(), windows[0]->geometry().right() + 1);

        QMenu* windowsMenu =
            app.Frame()->Action(cmd::menu::kCascade)->associatedObjects().isEmpty()
                ? nullptr
                : qobject_cast<QMenu*>(
                      app.Frame()->Action(cmd::menu::kCascade)->associatedObjects().first());
        QVERIFY(windowsMenu);
        emit windowsMenu->aboutToShow();
        QStringList listed;
        for (QAction* a : windowsMenu->actions()) listed << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(listed.mid(5), (QStringList{"-", "1 Первое", "2 Второе"}));
        emit windowsMenu->aboutToShow();  // rebuilt, not appended
        QCOMPARE(windowsMenu->actions().size(), 8);

        app.Frame()->Action(cmd::menu::kCloseAll)->trigger();  // close all
        QTRY_VERIFY(client->subWindowList().isEmpty());
    }
};

static RegisterTestClass<MenuTest> registerMenu("menu");

class MenuLabelTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    // Every menu of the UI texts as a window builds it, and the lists of chart kinds:
    // the words only, the number after '[' stays the command.
    void labelsShowNoCommandNumbers() {
        TestWorkspace ws;
        QVERIFY(LoadUiTexts("orbtw.t"));
        int menus = 0, items = 0;
        for (const std::string& line : UiTexts()) {
            size_t blank = line.find(' ');
            if (blank == std::string::npos || blank > 8) continue;
            std::string key = line.substr(0, blank);
            if (line.find('[', blank) == std::string::npos) continue;
            ChildWindow window(key, "");
            QMenu menu;
            window.FillPopupMenu(menu);
            ++menus;
            for (QAction* a : menu.actions()) {
                if (a->isSeparator()) continue;
                ++items;
                QVERIFY2(!a->text().contains('['), qPrintable(a->text()));
                QVERIFY2(a->text() == a->text().trimmed(), qPrintable(a->text()));
                QVERIFY(a->objectName().toInt() != 0);
            }
        }
        QVERIFY(menus > 10 && items > 100);
        QMenu k0;
        ChildWindow natal("K0t1", "");
        natal.FillPopupMenu(k0);
        QCOMPARE(k0.actions()[2]->text(), QString("Отчеты..."));
        QCOMPARE(k0.actions()[2]->objectName(), QString("3001"));

        QComboBox kinds;
        FillMethodList(&kinds);
        QCOMPARE(kinds.itemText(0), QString("Натальная карта"));
        for (int i = 0; i < kinds.count(); ++i)
            QVERIFY2(!kinds.itemText(i).contains('['), qPrintable(kinds.itemText(i)));
        QVERIFY(SelectMethod(&kinds, 17));
        QCOMPARE(kinds.currentText(), QString("Конверсные транзиты"));
        QCOMPARE(ChosenMethodOf(&kinds), 17);
    }
};

static RegisterTestClass<MenuLabelTest> registerMenuLabels("menu_labels");

}  // namespace orbeta::test

#include "menu_test.moc"
