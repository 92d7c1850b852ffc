#pragma once
// Chart windows known to the program: each gets the next number of the run (numbers
// are never reused), every one is listed, and ordinary charts (kind 0) are also
// offered for chart selection.
#include <cstdint>
#include <vector>

#include "core/chart_record.h"
#include "gui/child_window.h"

namespace orbeta {

class ChartWindowBase;

struct ChartWindowEntry {
    int16_t number = 0;
    ChartWindowBase* window = nullptr;
};

class ChartWindowRegistry {
  public:
    // Counts the window and lists it; returns its number.
    int Register(ChartWindowBase* window, int kind);
    void Unregister(ChartWindowBase* window);
    int32_t Counter() const { return windowCounter_; }
    const std::vector<ChartWindowEntry>& All() const { return all_; }
    const std::vector<ChartWindowEntry>& Selectable() const { return selectable_; }

  private:
    int32_t windowCounter_ = 0;
    std::vector<ChartWindowEntry> all_;
    std::vector<ChartWindowEntry> selectable_;
};

// What every chart window offers to the rest of the program. The window registers
// itself when made and leaves the registry when destroyed.
class ChartWindowBase : public ChildWindow {
    Q_OBJECT
  public:
    ChartWindowBase(int kind, const std::string& popupKey, const std::string& helpKey,
                    QWidget* parent = nullptr);
    ~ChartWindowBase() override;
    int Number() const { return number_; }
    int Kind() const { return kind_; }
    // The window's first (inner) chart.
    virtual const ChartRecord& Chart1() const = 0;
    virtual bool IsHorary() const { return false; }

  private:
    int kind_;
    int number_;
};

}  // namespace orbeta
