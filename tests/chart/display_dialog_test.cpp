// Dialog 1003: what it shows of the settings, what OK stores, the element colours,
// and the repaint of the chart windows.
#include "chart/ui/display_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTimer>
#include <cstdlib>

#include "../support/test_support.h"
#include "gui/app_state.h"
#include "gui/chart_window_registry.h"
#include "platform/ui_text.h"

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus\n";
}

namespace orbeta {
namespace {

void EnsureApplication() {
    static QApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "display_dialog_test";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
}

template <class T>
T* Control(QWidget& dialog, const char* id) {
    T* w = dialog.findChild<T*>(id);
    EXPECT_NE(w, nullptr) << id;
    return w;
}
bool Checked(QWidget& d, const char* id) {
    return Control<QAbstractButton>(d, id)->isChecked();
}
void Click(QWidget& d, const char* id) {
    Control<QAbstractButton>(d, id)->click();
}

class DisplaySettings : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApplication();
        s.beginCoord = 0;
        s.obhodZod = -1;
        s.egalHous = 0;
        s.maxW = 0;
        s.ov[kOptSignFill] = 2;
        s.ov[kOptCuspAspects] = 1;
        s.ov[kOptAspectarium] = 1;
        s.ov[kOptBindhuTable] = 0;
        s.ov[kOptCourierFont] = 1;
        s.colGor[3] = RgbColour(9, 8, 7);
        s.colGor[13] = RgbColour(1, 1, 1);  // beyond the twelve elements: kept
    }
    void TearDown() override { DisplayDialog::SetColourChooser(nullptr); }
    Settings s;
};

TEST_F(DisplaySettings, ShowsTheSettingsAndStoresThemBack) {
    ASSERT_TRUE(LoadUiTexts(test::WorkspaceTemplate() + "/orbtw.t"));
    DisplayDialog d(nullptr, s);
    EXPECT_EQ(d.objectName(), "1003");
    EXPECT_EQ(d.HelpKey(), "Varg");
    EXPECT_TRUE(Checked(d, "202") && Checked(d, "203") && Checked(d, "205") && Checked(d, "212"));
    EXPECT_TRUE(Checked(d, "250") && Checked(d, "253"));
    EXPECT_FALSE(Checked(d, "252") || Checked(d, "254"));
    EXPECT_EQ(Control<QComboBox>(d, "1502")->currentText(), "Courier New");
    auto* elements = Control<QListWidget>(d, "1501");
    ASSERT_EQ(elements->count(), 12);
    EXPECT_EQ(elements->item(0)->text(), "Линии");
    EXPECT_EQ(elements->item(11)->text(), "Фон таблицы Биндху");
    Settings out;
    d.StoreInto(out);
    EXPECT_EQ(out.beginCoord, 0);
    EXPECT_EQ(out.obhodZod, -1);
    EXPECT_EQ(out.egalHous, 0);
    EXPECT_EQ(out.maxW, 0);
    EXPECT_EQ(out.ov, s.ov);
    EXPECT_EQ(out.monoFont, "Courier New");
    EXPECT_EQ(out.colGor[3], RgbColour(9, 8, 7));
}

TEST_F(DisplaySettings, TheHouseWheelStartsAtTheAscendant) {
    DisplayDialog d(nullptr, s);
    Click(d, "206");
    EXPECT_TRUE(Checked(d, "201"));
    Click(d, "202");  // chosen back by hand: the house wheel still starts at the Ascendant
    Click(d, "204");
    Click(d, "213");
    Click(d, "250");
    Click(d, "252");
    Click(d, "254");
    Control<QComboBox>(d, "1502")->setCurrentIndex(0);
    d.StoreInto(s);
    EXPECT_EQ(s.egalHous, 1);
    EXPECT_EQ(s.beginCoord, 1);
    EXPECT_EQ(s.obhodZod, 1);
    EXPECT_EQ(s.ov[kOptSignFill], 3);
    EXPECT_EQ(s.ov[kOptCuspAspects], 0);
    EXPECT_EQ(s.maxW, 1);
    EXPECT_EQ(s.ov[kOptBindhuTable], 1);
    EXPECT_EQ(s.ov[kOptCourierFont], 0);
    EXPECT_EQ(s.monoFont, "Tabula Mono");
}

TEST_F(DisplaySettings, ElementColoursAreChosenAndRestored) {
    QColor offered;
    std::optional<QColor> answer = QColor(10, 20, 30);
    DisplayDialog::SetColourChooser([&](QWidget*, QColor initial) {
        offered = initial;
        return answer;
    });
    DisplayDialog d(nullptr, s);
    auto* list = Control<QListWidget>(d, "1501");
    list->setCurrentRow(5);
    Click(d, "1000");
    EXPECT_EQ(offered, QColor(255, 0, 0));  // the fire signs' standard red
    list->setCurrentRow(3);
    answer.reset();  // cancelled
    Click(d, "1000");
    EXPECT_EQ(offered, QColor(9, 8, 7));
    Settings out = s;
    d.StoreInto(out);
    EXPECT_EQ(out.colGor[5], RgbColour(10, 20, 30));
    EXPECT_EQ(out.colGor[3], RgbColour(9, 8, 7));

    Click(d, "1002");  // element 3 back to standard
    d.StoreInto(out);
    EXPECT_EQ(out.colGor[3], kStandardColour);
    EXPECT_EQ(out.colGor[5], RgbColour(10, 20, 30));
    Click(d, "1001");
    d.StoreInto(out);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(out.colGor[i], kStandardColour) << i;
    EXPECT_EQ(out.colGor[13], RgbColour(1, 1, 1));
}

// Counts the paints that already see the house wheel stored.
class CountingChartWindow : public ChartWindowBase {
  public:
    CountingChartWindow() : ChartWindowBase(0, "K0", "K0") { resize(100, 100); }
    const ChartRecord& Chart1() const override { return chart_; }
    int paintsWithNewSettings = 0;

  protected:
    void paintEvent(QPaintEvent*) override { paintsWithNewSettings += App().settings.egalHous; }

  private:
    ChartRecord chart_;
};

// Answers the dialog that command 305 opens: the house wheel, then OK or Cancel.
void AnswerWith(const char* button) {
    QTimer::singleShot(0, [button] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "1003" && w->isVisible()) {
                w->findChild<QAbstractButton*>("206")->click();
                w->findChild<QAbstractButton*>(button)->click();
            }
    });
}

TEST_F(DisplaySettings, OkStoresAndRepaintsEveryChartWindowCancelChangesNothing) {
    AppState& app = App();
    app.settings = s;
    CountingChartWindow window;
    window.show();
    QApplication::processEvents();

    AnswerWith("2");
    EditDisplaySettings(nullptr);
    EXPECT_EQ(app.settings.egalHous, 0);

    AnswerWith("1");
    EditDisplaySettings(nullptr);
    EXPECT_EQ(app.settings.egalHous, 1);
    EXPECT_EQ(app.settings.beginCoord, 1);
    // Repainted before the command returned, with what OK stored.
    EXPECT_EQ(window.paintsWithNewSettings, 1);
    app.settings = Settings();
}

}  // namespace
}  // namespace orbeta
