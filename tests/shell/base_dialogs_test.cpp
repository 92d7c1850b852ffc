// The chart-database commands and the towns directory in the desktop program: the
// card list of 401 with its correction, deletion and casting, the change and creation
// of a database, "Из Базы..." and "Города..." of the birth-data dialogs.
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QTreeWidget>

#include <cmath>
#include <filesystem>
#include <memory>

#include "core/calendar.h"
#include "data/chart_base.h"
#include "data/chart_card.h"
#include "data/ui/base_commands.h"
#include "data/ui/town_dialogs.h"
#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "gui/birth_data_dialog.h"
#include "gui/chart_opener.h"
#include "gui/date_place_dialogs.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

QListWidget* List(QWidget* dialog) {
    return dialog->findChild<QListWidget*>("list");
}

// Runs `act` once the modal dialog of that object name is up: a dialog that follows
// another has to wait until the first one's loop has ended.
void WhenDialogNamed(const QString& name, std::function<void(QDialog*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, name, act] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d || d->objectName() != name) return;
        timer->stop();
        timer->deleteLater();
        act(d);
    });
    timer->start(10);
}

ChartRecord Card(const char* name, double jdLocal, double gmtHours, const char* place) {
    ChartRecord c = DefaultProfileChart();
    CopyText(c.name, name);
    CopyText(c.place, place);
    CopyText(c.comment, "");
    c.jdLocal = jdLocal;
    c.gmtCorr = gmtHours / 24;
    c.jdUT = jdLocal + c.gmtCorr;
    c.latitude = 59.57;
    c.longitude = 30.19;
    return c;
}

// A database "cards" with two cards, made the current one.
void MakeTwoCards() {
    QCOMPARE(CreateChartBase("cards"), CreateBaseResult::Created);
    QVERIFY(!StoreChart("cards", Card("Анна"_cp, 2447924.0, -3, "Ленинград"_cp)).empty());
    QVERIFY(!StoreChart("cards", Card("Борис"_cp, 2451545.25, -4, "Самара"_cp)).empty());
    App().settings.basa = "cards";
}

// The rows of the town list, their columns joined by "|".
QStringList TownRows(QDialog* list) {
    QStringList rows;
    auto* towns = list->findChild<QTreeWidget*>("list");
    for (int i = 0; towns && i < towns->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < towns->columnCount(); ++c) cells << towns->topLevelItem(i)->text(c);
        rows << cells.join('|');
    }
    return rows;
}

void ChooseTownNamed(QDialog* list, const QString& name) {
    auto* towns = list->findChild<QTreeWidget*>("list");
    for (int i = 0; i < towns->topLevelItemCount(); ++i)
        if (towns->topLevelItem(i)->text(0) == name) {
            towns->setCurrentItem(towns->topLevelItem(i));
            break;
        }
    Click(list, "1");
}

}  // namespace

class ChartBaseTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { LoadUiTexts("orbtw.t"); }
    void cleanup() {
        SetChartOpener({});
        ResetProgramState();
    }

    void listShowsTheCardsAndCorrectionRewritesTheLine() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        MakeTwoCards();
        QStringList shown;
        WhenDialogOpens([&shown](QDialog* d) {
            QCOMPARE(d->objectName(), QString("1012"));
            QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("DBasa"));
            for (int i = 0; i < List(d)->count(); ++i) shown << List(d)->item(i)->text();
            List(d)->setCurrentRow(1);
            WhenDialogNamed("1061", [](QDialog* card) {
                QCOMPARE(Text(card, "5000"), QString("Борис"));
                QCOMPARE(Text(card, "5001"), QString("01"));
                QCOMPARE(Text(card, "5004"), QString("18"));
                QCOMPARE(Text(card, "5010"), QString("-4.0"));
                Retype(card->findChild<QLineEdit*>("5000"), "Борис Петров");
                Retype(card->findChild<QLineEdit*>("5010"), "-3.5");
                Click(card, "1");
            });
            Click(d, "5031");
            shown << List(d)->item(1)->text();
            Click(d, "2");
        });
        ShowChartBase(nullptr);
        QCOMPARE(shown, (QStringList{"Анна  01.02.1990 12:00:00 Ленинград",
                                     "Борис  01.01.2000 18:00:00 Самара",
                                     "Борис Петров  01.01.2000 18:00:00 Самара"}));
        auto card = ReadListedCard("cards", 1);
        QVERIFY(card);
        QCOMPARE(CardText(*card, kCardName), std::string("Борис Петров"_cp));
        QCOMPARE(card->Field(kCardGmt), std::string("-3.50"));
        QCOMPARE(card->Field(kCardLatitude), std::string("59.57"));
    }

    void deletionAsksAndKeepsTheOtherLinesInStep() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        MakeTwoCards();
        BoxAnswerer boxes({QMessageBox::No, QMessageBox::Yes});
        QString corrected;
        WhenDialogOpens([&corrected](QDialog* d) {
            List(d)->setCurrentRow(0);
            Click(d, "5032");  // answered No
            QCOMPARE(List(d)->count(), 2);
            Click(d, "5032");  // answered Yes
            QCOMPARE(List(d)->count(), 1);
            // The remaining line is now row 0 of the list and still finds its card.
            List(d)->setCurrentRow(0);
            WhenDialogNamed("1061", [](QDialog* card) {
                QCOMPARE(Text(card, "5000"), QString("Борис"));
                Click(card, "2");
            });
            Click(d, "5031");
            corrected = List(d)->item(0)->text();
            Click(d, "2");
        });
        ShowChartBase(nullptr);
        QCOMPARE(boxes.seen.size(), size_t(2));
        QCOMPARE(corrected, QString("Борис  01.01.2000 18:00:00 Самара"));
        auto lines = ListCards("cards");
        QVERIFY(lines);
        QCOMPARE(*lines, std::vector<std::string>{"Борис  01.01.2000 18:00:00 Самара"_cp});
    }

    void castComputesTheCardAndOpensIt() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        MakeTwoCards();
        App().settings.houseSet = 3;
        std::vector<std::pair<ChartRecord, std::string>> opened;
        SetChartOpener([&opened](const ChartRecord& c, const std::string& text) {
            opened.emplace_back(c, text);
        });
        bool closed = false;
        WhenDialogOpens([&closed](QDialog* d) {
            List(d)->setCurrentRow(0);
            QObject::connect(d, &QDialog::finished, [&closed] { closed = true; });
            Click(d, "5033");
        });
        ShowChartBase(nullptr);
        QVERIFY(closed);
        QCOMPARE(opened.size(), size_t(1));
        const ChartRecord& c = opened[0].first;
        QCOMPARE(std::string(c.name), std::string("Анна"_cp));
        QCOMPARE(c.houseSystem, int16_t(3));
        QCOMPARE(c.jdLocal, 2447924.0);
        QVERIFY(std::fabs(c.jdUT - (2447924.0 - 3.0 / 24)) < 1e-9);
        // 1 February 1990, 09:00 UT: swetest gives the Sun at 312.2424150.
        QVERIFY2(std::fabs(c.lon[1] - 312.2424) < 0.001, qPrintable(QString::number(c.lon[1])));
        QVERIFY(opened[0].second.rfind("Анна       ("_cp, 0) == 0);
        QCOMPARE(std::string(App().inputChart.name), std::string("Анна"_cp));
    }

    void missingBaseIsWarnedAndNothingOpens() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        App().settings.basa = "nothing";
        BoxAnswerer boxes;
        ShowChartBase(nullptr);
        QCOMPARE(boxes.seen.size(), size_t(1));
        QCOMPARE(boxes.seen[0].text, QString("Не открывается база данных nothing"));
        ChartRecord c = Card("Вера"_cp, 2451545.0, -3, "Тверь"_cp);
        QVERIFY(!StoreChartInBase(nullptr, c));
        QCOMPARE(boxes.seen.size(), size_t(2));
    }

    void storedChartBecomesANewCard() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        MakeTwoCards();
        ChartRecord c = Card("Вера"_cp, 2451545.0 + 0.5 / 24, -3, "Тверь"_cp);
        QVERIFY(StoreChartInBase(nullptr, c));
        auto lines = ListCards("cards");
        QVERIFY(lines);
        QCOMPARE(lines->size(), size_t(3));
        QCOMPARE(lines->back(), std::string("Вера  01.01.2000 12:30:00 Тверь"_cp));
        QCOMPARE(ws.Read("basa.tmp"), std::string(" .000001\n .000002\n .000003\n"));
    }

    void fromBaseFillsTheBirthDataDialog() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        MakeTwoCards();
        InstallBaseDialogs();
        BirthDataDialog d(nullptr, DefaultProfileChart());
        WhenDialogOpens([](QDialog* list) {
            QCOMPARE(static_cast<Dial*>(list)->HelpKey(), std::string("DBasaL"));
            QVERIFY(!list->findChild<QPushButton*>("5033"));
            List(list)->setCurrentRow(1);
            Click(list, "1");
        });
        Click(&d, "5021");
        QCOMPARE(Text(&d, "5000"), QString("Борис"));
        QStringList parts;
        for (int id = 5001; id <= 5006; ++id) parts << Text(&d, QByteArray::number(id).constData());
        QCOMPARE(parts, (QStringList{"01", "01", "2000", "18", "00", "00"}));
        QCOMPARE(Text(&d, "5010"), QString("-4.0"));
        QCOMPARE(Text(&d, "5011"), QString("Самара"));
        QCOMPARE(Text(&d, "5012"), QString(" 59.57"));
        QCOMPARE(Text(&d, "5019"), QString("14:00:00"));

        // Cancel leaves the dialog as it was.
        WhenDialogOpens([](QDialog* list) {
            List(list)->setCurrentRow(0);
            Click(list, "2");
        });
        Click(&d, "5021");
        QCOMPARE(Text(&d, "5000"), QString("Борис"));
    }

    void changeOfBaseKeepsDotsOfTheFolder() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        std::filesystem::create_directory("my.bases");
        QCOMPARE(CreateChartBase("my.bases/second.v1"), CreateBaseResult::Created);
        QString file = QDir::current().absoluteFilePath("my.bases/second.v1.bod");
        WhenDialogOpens([](QDialog* d) { Click(d, "2"); });
        ChangeChartBase(nullptr);
        QCOMPARE(App().settings.basa, std::string("abasa"));

        WhenDialogOpens([file](QDialog* d) {
            QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("BasaCh"));
            d->findChild<QFileDialog*>()->selectFile(file);
            Click(d, "1");
        });
        ChangeChartBase(nullptr);
        QCOMPARE(App().settings.basa, std::string("my.bases/second.v1"));

        // A path handed over whole stays whole.
        QVERIFY(UseChosenBaseFile(file.toStdString()));
        QCOMPARE(App().settings.basa, file.chopped(4).toStdString());
    }

    void creationMakesTheBaseCurrentUnlessItExists() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        std::filesystem::create_directory("my.bases");
        auto create = [](const QString& typed, bool ok) {
            WhenDialogOpens([typed, ok](QDialog* d) {
                QCOMPARE(static_cast<Dial*>(d)->HelpKey(), std::string("BasaNew"));
                QVERIFY(d->findChild<QLabel*>()->text().contains("Имя новой базы данных"));
                Retype(d->findChild<QLineEdit*>("text"), typed);
                Click(d, ok ? "1" : "2");
            });
            CreateNewBase(nullptr);
        };
        BoxAnswerer boxes;
        create("my.bases/new", false);
        QVERIFY(!std::filesystem::exists("my.bases/new.bod"));
        QCOMPARE(App().settings.basa, std::string("abasa"));
        create("my.bases/new", true);
        QVERIFY(std::filesystem::exists("my.bases/new.bod"));
        QCOMPARE(App().settings.basa, std::string("my.bases/new"));
        QVERIFY(boxes.seen.empty());

        App().settings.basa = "abasa";
        create("my.bases/new", true);
        QCOMPARE(boxes.seen.size(), size_t(1));
        QCOMPARE(boxes.seen[0].text, QString("База данных с таким именем уже существует"));
        QCOMPARE(App().settings.basa, std::string("abasa"));

        // A Cyrillic name: the file has it in UTF-8, the profile in CP1251, and the
        // cards are found again through it.
        create("my.bases/Клиенты", true);
        QVERIFY(std::filesystem::exists(std::filesystem::path(u8"my.bases/Клиенты.bod")));
        QCOMPARE(App().settings.basa, std::string("my.bases/Клиенты"_cp));
        QVERIFY(StoreChartInBase(nullptr, Card("Вера"_cp, 2451545.0, -3, "Тверь"_cp)));
        QCOMPARE(ListCards(reinterpret_cast<const char*>(u8"my.bases/Клиенты"))->size(), size_t(1));

        // A name the profile's code page cannot hold is refused whole.
        std::filesystem::path foreign(u8"my.bases/日本.bod");
        QVERIFY(CreateChartBase(reinterpret_cast<const char*>(u8"my.bases/日本")) ==
                CreateBaseResult::Created);
        size_t told = boxes.seen.size();
        QVERIFY(UseChosenBaseFile(reinterpret_cast<const char*>(foreign.u8string().c_str())));
        QCOMPARE(App().settings.basa, std::string("my.bases/Клиенты"_cp));
        QCOMPARE(boxes.seen.size(), told + 1);
    }
};

class TownDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { InstallTownDirectory(); }
    void cleanup() {
        Dial::SetTownDirectory({});
        ResetProgramState();
    }

    void townsOfTheBirthDataDialogFillPlaceAndWinterCorrection() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        ChartRecord start = DefaultProfileChart();
        start.jdLocal = JulianDay(DateParts{15, 1, 2020, 12, 0, 0});
        BirthDataDialog d(nullptr, start);
        QStringList lines;
        WhenDialogNamed("InputBox", [&lines](QDialog* box) {
            QCOMPARE(static_cast<Dial*>(box)->HelpKey(), std::string("TownIn"));
            QCOMPARE(box->windowTitle(), QString("Справочник Городов"));
            Retype(box->findChild<QLineEdit*>("text"), "мос");
            WhenDialogNamed("1011", [&lines](QDialog* list) {
                QCOMPARE(list->windowTitle(), QString("Выбор города"));
                QCOMPARE(static_cast<Dial*>(list)->HelpKey(), std::string("Town"));
                lines = TownRows(list);
                ChooseTownNamed(list, "Москва");
            });
            Click(box, "1");
        });
        Click(&d, "5020");
        QVERIFY2(
            lines.filter(QRegularExpression("^Москва\\|Москва\\|Россия\\|55.45\\|37.37$")).size() ==
                1,
            qPrintable(lines.join('\n')));
        QCOMPARE(Text(&d, "5011"), QString("Москва"));
        QCOMPARE(Text(&d, "5012"), QString(" 55.45"));
        QCOMPARE(Text(&d, "5013"), QString(" 37.37"));
        QCOMPARE(Text(&d, "5010"), QString("-3.0"));
        QCOMPARE(Text(&d, "5019"), QString("09:00:00"));

        // Cancel in the input box changes nothing.
        Retype(d.findChild<QLineEdit*>("5011"), "Где-то");
        WhenDialogNamed("InputBox", [](QDialog* box) { Click(box, "2"); });
        Click(&d, "5020");
        QCOMPARE(Text(&d, "5011"), QString("Где-то"));
        QCOMPARE(Text(&d, "5010"), QString("-3.0"));
    }

    // In every dialog with a town block and a date: the correction of a town from the
    // directory follows the typed date unless typed by hand, "Сегодня" is the present
    // moment at that town, and impossible dates are refused with the part named.
    void momentsFollowTheTownAndImpossibleDatesAreRefused() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        BoxAnswerer boxes;
        Dial::SetPresentMoment([] { return JulianDay({9, 12, 2026, 8, 0, 0}); });
        ChartRecord summer = DefaultProfileChart();
        summer.jdLocal = JulianDay(DateParts{1, 7, 1985, 12, 0, 0});
        summer.gmtCorr = 0;
        struct Case {
            const char* dialog;
            std::function<Dial*()> make;
            const char* correction;
            bool hasTime;
        };
        const Case cases[] = {
            {"DVvod", [&] { return new BirthDataDialog(nullptr, summer); }, "5010", true},
            {"DCorr", [&] { return new ChartCardDialog(nullptr, summer); }, "5010", true},
            {"ElectD", [&] { return new ElectionalDayDialog(nullptr, summer); }, "5004", false},
            {"DVNPL", [&] { return new LunationDialog(nullptr, summer); }, "5010", false},
        };
        for (const Case& c : cases) {
            qInfo() << c.dialog;
            std::unique_ptr<Dial> d(c.make());
            d->show();
            auto field = [&d](const char* id) { return d->findChild<QLineEdit*>(id); };
            auto choose = [&d](const char* town) {
                WhenDialogNamed("InputBox", [town](QDialog* box) {
                    Retype(box->findChild<QLineEdit*>("text"), town);
                    WhenDialogNamed("1011", [town](QDialog* list) { ChooseTownNamed(list, town); });
                    Click(box, "1");
                });
                Click(d.get(), "5020");
            };
            choose("Москва");
            QCOMPARE(Text(d.get(), "5011"), QString("Москва"));
            QCOMPARE(Text(d.get(), c.correction), QString("-4.0"));  // summer time of 1985
            Retype(field("5003"), "2015");
            QCOMPARE(Text(d.get(), c.correction), QString("-3.0"));  // none in 2015
            Retype(field("5002"), "01");
            Retype(field("5003"), "1985");
            QCOMPARE(Text(d.get(), c.correction), QString("-3.0"));  // winter of 1985
            Retype(field(c.correction), "-5");
            Retype(field("5002"), "07");
            QCOMPARE(Text(d.get(), c.correction), QString("-5"));  // typed by hand: kept

            choose("Новосибирск");
            QCOMPARE(Text(d.get(), c.correction), QString("-8.0"));  // summer of 1985
            if (d->findChild<QPushButton*>("5023")) {
                // The present UT 08:00 is 15:00 in Novosibirsk.
                Click(d.get(), "5023");
                QStringList shown;
                for (const char* id : {"5001", "5002", "5003", "5004", "5005", "5006"})
                    if (c.hasTime || std::string(id) < "5004") shown << Text(d.get(), id);
                QCOMPARE(shown.join(' '),
                         QString(c.hasTime ? "09 12 2026 15 00 00" : "09 12 2026"));
                if (c.hasTime) QCOMPARE(Text(d.get(), "5019"), QString("08:00:00"));
                QCOMPARE(Text(d.get(), c.correction), QString("-7.0"));
            }

            struct Wrong {
                std::vector<std::pair<const char*, const char*>> typed;
                const char* named;
                bool timed;
            };
            const Wrong wrongs[] = {
                {{{"5001", "31"}, {"5002", "02"}}, "день 31", false},
                {{{"5001", "01"}, {"5002", "13"}}, "месяц 13", false},
                {{{"5002", "01"}, {"5004", "24"}}, "часы 24", true},
                {{{"5004", "12"}, {"5005", "60"}}, "минуты 60", true},
            };
            for (const Wrong& w : wrongs) {
                if (w.timed && !c.hasTime) continue;
                for (const auto& [id, text] : w.typed) field(id)->setText(text);
                size_t seen = boxes.seen.size();
                Click(d.get(), "1");
                QVERIFY(d->isVisible());
                QCOMPARE(boxes.seen.size(), seen + 1);
                QVERIFY2(boxes.seen.back().text.contains(w.named),
                         qPrintable(boxes.seen.back().text));
            }
            field("5002")->setText("01");
            if (c.hasTime) field("5005")->setText("30");
            Click(d.get(), "1");
            QCOMPARE(d->result(), int(QDialog::Accepted));
        }
        Dial::SetPresentMoment({});
    }

    void unknownTownIsWarnedAndNothingFilled() {
        TestWorkspace ws;
        LoadUiTexts("orbtw.t");
        UseQtServices qt;
        BoxAnswerer boxes;
        TownQuery q;
        q.town = "был";
        WhenDialogNamed("InputBox", [](QDialog* box) {
            Retype(box->findChild<QLineEdit*>("text"), "Щщщщ");
            Click(box, "1");
        });
        QVERIFY(!LookupTown(nullptr, q));
        QCOMPARE(q.town, std::string("был"));
        QCOMPARE(boxes.seen.size(), size_t(1));
        QCOMPARE(boxes.seen[0].text, QString("Город с таким началом не найден"));
    }
};

static RegisterTestClass<ChartBaseTest> reg("chart_base");
static RegisterTestClass<TownDialogsTest> regTowns("town_dialogs");

}  // namespace orbeta::test

#include "base_dialogs_test.moc"
