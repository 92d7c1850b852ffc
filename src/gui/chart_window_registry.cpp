#include "gui/chart_window_registry.h"

#include <algorithm>

#include "gui/app_state.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {

int ChartWindowRegistry::Register(ChartWindowBase* window, int kind) {
    ++windowCounter_;
    ChartWindowEntry entry{static_cast<int16_t>(windowCounter_), window};
    all_.push_back(entry);
    if (kind == 0) selectable_.push_back(entry);
    return windowCounter_;
}

void ChartWindowRegistry::Unregister(ChartWindowBase* window) {
    auto same = [window](const ChartWindowEntry& e) { return e.window == window; };
    std::erase_if(all_, same);
    std::erase_if(selectable_, same);
}

ChartWindowBase::ChartWindowBase(int kind, const std::string& popupKey, const std::string& helpKey,
                                 QWidget* parent)
    : ChildWindow(popupKey, helpKey, parent),
      kind_(kind),
      number_(App().charts.Register(this, kind)) {
    DebugJournal(Format("DKart: NGS=%d kg=%d", number_, kind_));
}

ChartWindowBase::~ChartWindowBase() {
    App().charts.Unregister(this);
    DebugJournal(Format("~DKart: NGS=%d", number_));
}

}  // namespace orbeta
