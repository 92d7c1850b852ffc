#pragma once
// A chart window as the registry and chart selection see it: a chart and its flags.
#include <vector>

#include "gui/chart_window_registry.h"

namespace orbeta::test {

class FakeChartWindow : public ChartWindowBase {
  public:
    FakeChartWindow(int kind, const ChartRecord& chart, bool horary = false)
        : ChartWindowBase(kind, chart.calcMethod == 1 ? "K0t1" : "K0", "K0t1"),
          chart_(chart),
          horary_(horary) {}
    const ChartRecord& Chart1() const override { return chart_; }
    bool IsHorary() const override { return horary_; }
    void OnCommand(int id) override {
        commands.push_back(id);
        ChildWindow::OnCommand(id);
    }
    std::vector<int> commands;

  private:
    ChartRecord chart_;
    bool horary_;
};

}  // namespace orbeta::test
