#pragma once
// Helpers of the chart window tests: a workspace with the ephemeris, UI texts and orb
// table loaded, computed charts, and the window's glyph positions.
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <map>
#include <memory>

#include "../core/chart_fixture.h"
#include "../support/scratch_computation.h"
#include "aspects/orb_file.h"
#include "chart/ui/chart_window.h"
#include "chart/ui/point_info_popup.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "gui/app_state.h"
#include "platform/codepage.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"
#include "shell_test_support.h"

namespace orbeta::test {

inline ChartRecord NatalChart(const char* name, const char* moment = "16.05.1945 08:00:00") {
    ChartRecord c = ChartAt(moment, -3, 55.45, 37.37);
    CopyText(c.name, name);
    ComputeChart(test::Scratch(), c, c, kNatal);
    return c;
}

// The workspace, ephemeris, texts and orb table of the program; every chart window
// is closed when it goes.
class ChartWindowWorld {
  public:
    ChartWindowWorld() {
        OpenEphemeris();
        LoadUiTexts("orbtw.t");
        App().orbTable = LoadOrbSlot(App().settings.orbFiles, kOrbSlotCurrent);
        App().currentChart = NatalChart("Current", "01.01.2000 12:00:00");
    }
    ~ChartWindowWorld() {
        // Popups go with their windows, so the windows are gathered first.
        std::vector<QPointer<ChartWindow>> windows;
        for (const auto& entry : App().charts.All())
            if (auto* w = qobject_cast<ChartWindow*>(entry.window)) windows.emplace_back(w);
        for (auto& w : windows) delete w.data();
        ResetProgramState();
    }

  private:
    TestWorkspace ws_;
};

inline ChartWindow* ShownWindow(int kind, const ChartRecord& a, const ChartRecord& b) {
    auto* w = new ChartWindow(kind, a, b, "test");
    w->resize(900, 700);
    w->show();
    w->grab();  // paints, so that the layout is known
    return w;
}

inline QPoint GlyphCentre(const ChartWindow& w, int ring, int body) {
    const WheelLayout& l = w.Layout();
    ScreenPoint p = l.geometry.ToScreen(l.rings[ring].lon[body], l.rings[ring].radius[body]);
    return {p.x, p.y};
}

inline QList<PointInfoPopup*> Popups(QWidget* owner) {
    return owner->findChildren<PointInfoPopup*>();
}

// Items of a menu by command id: whether each is enabled.
inline std::map<int, bool> Enabled(QMenu& menu) {
    std::map<int, bool> items;
    for (QAction* a : menu.actions())
        if (!a->isSeparator()) items[a->objectName().toInt()] = a->isEnabled();
    return items;
}

}  // namespace orbeta::test
