// The table windows of a chart window: the aspect table opened by 2001 (scrolling,
// bars, saving), the arcs of 2053, and the Bindhu table of 2002 as a window.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include "chart/ui/aspect_table_window.h"
#include "chart/ui/bindhu_window.h"
#include "chart_window_test_support.h"
#include "dialog_test_support.h"
#include "gui/qt_text.h"
#include "gui/text_window.h"
#include "platform/command_ids.h"
#include "platform/text_file.h"
#include "test_classes.h"

namespace orbeta::test {
namespace {

// The window of a type that a command opened.
template <class T>
T* OpenedBy(ChartWindow* chart, int command) {
    QSet<QWidget*> before;
    for (QWidget* w : QApplication::allWidgets()) before.insert(w);
    chart->OnCommand(command);
    for (QWidget* w : QApplication::allWidgets())
        if (auto* t = qobject_cast<T*>(w); t && !before.contains(w)) return t;
    return nullptr;
}

void Key(QWidget* w, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(w, key);
}

// Pixels of a colour in a band of the picture.
int CountPixels(const QImage& image, QRect band, QRgb colour) {
    int count = 0;
    for (int y = band.top(); y <= band.bottom() && y < image.height(); ++y)
        for (int x = band.left(); x <= band.right() && x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

// With ORBETA_SHOTS set, the pictures go there to be looked at.
void Keep(QWidget* w, const char* name) {
    const char* dir = std::getenv("ORBETA_SHOTS");
    if (!dir) return;
    static bool fonts = [] {
        for (const char* file : {"/data/fonts/sigilum.ttf", "/data/fonts/tabmono.ttf"})
            QFontDatabase::addApplicationFont(QString(ORBETA_SOURCE_DIR) + file);
        return true;
    }();
    (void)fonts;
    w->grab().save(QString("%1/%2.png").arg(dir, name));
}

}  // namespace

class TableWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ChartWindowWorld> world;
  private slots:
    void init() { world = std::make_unique<ChartWindowWorld>(); }
    void cleanup() {
        for (QWidget* w : QApplication::allWidgets())
            if (qobject_cast<AspectTableWindow*>(w) || qobject_cast<BindhuWindow*>(w))
                w->deleteLater();
        QApplication::processEvents();
        world.reset();
    }

    void aspectTableScrollsAndSaves() {
        ChartRecord c = NatalChart("Anna");
        ChartWindow* chart = ShownWindow(kChartKindOne, c, c);
        auto* t = OpenedBy<AspectTableWindow>(chart, cmd::chart::kAspects);
        QVERIFY(t);
        QCOMPARE(t->windowTitle(), QString(" Аспекты %1").arg(chart->Number()));
        int n = static_cast<int>(t->Table().Points().size());
        QVERIFY(n > 6);
        QCOMPARE(t->Table().Points().back(), 21);  // the cusps 1..6 end the list
        QCOMPARE(t->Table().matrix.At(1, 2), chart->Aspects().At(1, 2));

        // Large: everything fits, no bars, the keys change nothing.
        t->resize(2400, 2000);
        QVERIFY(t->Maxima().vertical < 1 && t->Maxima().horizontal < 1);
        QVERIFY(t->VerticalBar()->isHidden() && t->HorizontalBar()->isHidden());
        Key(t, Qt::Key_Down, 3);
        QCOMPARE(t->FirstRow(), 0);
        QImage big = t->grab().toImage();
        // The blue header and the black cells are there.
        QVERIFY(CountPixels(big, QRect(0, 0, big.width(), t->LineHeight()), qRgb(0, 0, 255)) > 50);
        QVERIFY(CountPixels(
                    big,
                    QRect(3 * t->CellWidth(), t->LineHeight(), big.width(), n * t->LineHeight()),
                    qRgb(0, 0, 0)) > 200);
        Keep(t, "aspects_large");

        // Small: both bars; the keys move and stop at the maxima and at 0.
        t->resize(300, 200);
        TableScrollMaxima m = t->Maxima();
        QVERIFY(m.vertical > 5 && m.horizontal > 5);
        QVERIFY(!t->VerticalBar()->isHidden() && !t->HorizontalBar()->isHidden());
        Key(t, Qt::Key_Down, 2);
        Key(t, Qt::Key_Right);
        QCOMPARE(t->FirstRow(), 2);
        QCOMPARE(t->FirstColumn(), std::min(5, m.horizontal));
        Key(t, Qt::Key_PageDown, 40);
        Key(t, Qt::Key_End, 20);
        QCOMPARE(t->FirstRow(), m.vertical);
        QCOMPARE(t->FirstColumn(), m.horizontal);
        QCOMPARE(t->VerticalBar()->value(), m.vertical);
        Keep(t, "aspects_scrolled");
        Key(t, Qt::Key_Up, 200);
        Key(t, Qt::Key_Home, 20);
        QCOMPARE(t->FirstRow(), 0);
        QCOMPARE(t->FirstColumn(), 0);
        // Growing again past the table resets the positions.
        Key(t, Qt::Key_Down, 4);
        t->resize(2400, 2000);
        QCOMPARE(t->FirstRow(), 0);

        // Saving: the text of the table in UTF-8; an unwritable place keeps nothing.
        AspectTableWindow::SetSaveNameChooser([](QWidget*) { return QString("aspects.txt"); });
        t->OnCommand(cmd::text::kSave);
        QCOMPARE(ReadFileBytes("aspects.txt").value_or(""),
                 AnsiToUtf8(AspectTableText(t->Table())));
        QVERIFY(!t->SaveTo("no/such/folder/aspects.txt"));

        // Printed whole whatever the scroll position, into a file of its own.
        App().settings.ov[kOptPrintDialog] = 0;
        App().printer = std::make_unique<QPrinter>();
        App().printer->setOutputFormat(QPrinter::PdfFormat);
        QVERIFY(t->Print());
        QCOMPARE(App().printer->docName(), QString("Аспекты"));
        QString printed = App().printer->outputFileName();
        QVERIFY(QFileInfo(printed).size() > 2000);
        if (const char* dir = std::getenv("ORBETA_SHOTS"))
            QFile::copy(printed, QString(dir) + "/aspects_printed.pdf");

        // The arcs of an overlay: the separations of the two charts' points.
        ChartRecord b = NatalChart("Boris", "01.01.1990 12:00:00");
        ChartWindow* overlay = ShownWindow(kChartKindTwo, c, b);
        auto* arcs = OpenedBy<AspectTableWindow>(overlay, cmd::chart::kArcs);
        QVERIFY(arcs);
        QCOMPARE(arcs->windowTitle(), QString("Дуги Anna - Boris"));
        QCOMPARE(arcs->Table().kind, kTableArcs);
        QCOMPARE(arcs->Table().matrix.At(1, 2), static_cast<float>(Separation(c.lon[1], b.lon[2])));
        arcs->resize(1200, 900);
        Keep(arcs, "arcs");
        auto* two = OpenedBy<AspectTableWindow>(overlay, cmd::chart::kAspects);
        QCOMPARE(two->windowTitle(), QString("Аспекты Anna - Boris"));
        QCOMPARE(two->Table().kind, kTableTwoCharts);
        two->resize(1200, 900);
        Keep(two, "aspects_two");
    }

    // 2101: the grid under the wheel; on a landscape page the wheel fills the height
    // and the grid takes a second page.
    void wheelPrintedWithItsGrid() {
        App().settings.ov[kOptPrintDialog] = 0;
        ChartRecord c = NatalChart("Anna");
        ChartWindow* chart = ShownWindow(kChartKindOne, c, c);
        for (auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
            App().printer = std::make_unique<QPrinter>();
            App().printer->setOutputFormat(QPrinter::PdfFormat);
            App().printer->setPageOrientation(orientation);
            chart->OnCommand(cmd::chart::kPrintWithTables);
            QVERIFY(chart->PrintTable());
            std::string pdf =
                ReadFileBytes(App().printer->outputFileName().toStdString()).value_or("");
            int pages = 0;
            for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
                 at = pdf.find("/Type /Page", at + 1))
                pages += pdf.compare(at, 12, "/Type /Pages") != 0;
            QCOMPARE(pages, orientation == QPageLayout::Portrait ? 1 : 2);
            if (const char* dir = std::getenv("ORBETA_SHOTS"))
                QFile::copy(App().printer->outputFileName(),
                            QString("%1/wheel_%2.pdf").arg(dir).arg(int(orientation)));
        }
    }

    void bindhuWindowShowsTheDegrees() {
        App().settings.ov[kOptBindhuTable] = 1;
        ChartRecord c = NatalChart("Anna");
        ChartWindow* chart = ShownWindow(kChartKindOne, c, c);
        auto* b = OpenedBy<BindhuWindow>(chart, cmd::chart::kBinduTable);
        QVERIFY(b);
        QCOMPARE(b->windowTitle(), QString("Таблица Биндху"));
        QCOMPARE(b->HelpKey(), std::string("HBnd"));
        QVERIFY(b->Rows().size() >= 30u);
        Key(b, Qt::Key_Up);
        QCOMPARE(b->FirstRow(), 0);
        Key(b, Qt::Key_Down, 2);
        QCOMPARE(b->FirstRow(), 2);
        Key(b, Qt::Key_Up, 2);
        b->resize(1500, 900);
        QImage image = b->grab().toImage();
        // Something is written into the sign columns below the heading.
        QColor background = image.pixelColor(image.width() - 2, image.height() - 2);
        int written = 0;
        for (int y = image.height() / 4; y < image.height() / 2; ++y)
            for (int x = 0; x < image.width(); ++x) written += image.pixelColor(x, y) != background;
        QVERIFY(written > 500);
        Keep(b, "bindhu");

        // With the table form off, and from an aspect table: the report.
        UseQtServices qt;
        qt.services.SetReportViewer(
            [](const std::string& path, const std::string& title, const std::string& helpKey,
               const ReportOrigin& origin) { TextWindow::Show(path, title, helpKey, origin); });
        App().settings.ov[kOptBindhuTable] = 0;
        auto* report = OpenedBy<TextWindow>(chart, cmd::chart::kBinduTable);
        QVERIFY(report);
        QCOMPARE(report->windowTitle(), QString("Таблица Биндху"));
        QCOMPARE(report->HelpKey(), std::string("HBnd"));
        std::string text = ReadFileBytes(report->Path()).value_or("");
        std::string body = BindhuReportText(BindhuEntries(c, App().orbTable, App().settings.maskP));
        QVERIFY(text.size() > body.size() &&
                text.compare(text.size() - body.size(), body.size(), body) == 0);
        auto* table = OpenedBy<AspectTableWindow>(chart, cmd::chart::kAspects);
        QSet<QWidget*> before;
        for (QWidget* w : QApplication::allWidgets()) before.insert(w);
        table->OnCommand(cmd::text::kBinduTable);
        int reports = 0;
        for (QWidget* w : QApplication::allWidgets())
            reports += qobject_cast<TextWindow*>(w) && !before.contains(w);
        QCOMPARE(reports, 1);
    }
};

static RegisterTestClass<TableWindowsTest> registerTables("chart_tables");

}  // namespace orbeta::test

#include "table_windows_test.moc"
