#pragma once
// Dialog 1051 "Партнерство, совместимость" and the relationship report; dialog 1064
// "Хорарная Астрология" and the horary answer.
#include <QCheckBox>
#include <QListWidget>
#include <functional>
#include <optional>
#include <utility>

#include "core/chart_record.h"
#include "gui/dial.h"
#include "interp/horary.h"

namespace orbeta {

constexpr int kRelationshipBoxes = 6;

// The flags of "Состав выдачи", kept while the program runs (201..204 on at start).
unsigned& RelationshipFlags();

class RelationshipDialog : public Dial {
    Q_OBJECT
  public:
    explicit RelationshipDialog(QWidget* parent);
    unsigned Flags() const;
    void accept() override;

  private:
    QCheckBox* boxes_[kRelationshipBoxes];
};

class HoraryDialog : public Dial {
    Q_OBJECT
  public:
    HoraryDialog(QWidget* parent, const std::vector<HoraryChoice>& subjects,
                 const std::vector<HoraryChoice>& objects);
    // (s, b), or none while a list has no selection.
    std::optional<std::pair<int, int>> Chosen() const;

  private:
    void UpdateOk();
    std::vector<HoraryChoice> subjects_, objects_;
    QListWidget* subjectList_;
    QListWidget* objectList_;
};

// (s, b) from dialog 1064; none when cancelled, when a list has no selection, or when
// a UI text list has no usable entry (after a message).
std::optional<std::pair<int, int>> AskHoraryQuestion(QWidget* parent);

// Your chart and the partner's, fetched after the dialog: none when a window they come
// from was closed meanwhile.
using RelationshipCharts = std::function<std::optional<std::pair<ChartRecord, ChartRecord>>()>;
// Dialog 1051, then the report.
void RunRelationshipReport(QWidget* parent, const RelationshipCharts& charts);
// Writes and shows the report; false when the base cannot be opened (no report then).
bool WriteRelationshipReport(const ChartRecord& yours, const ChartRecord& partner, unsigned flags);

// Writes and shows the horary answer; false (after a message) when the chart cannot be
// judged or the base cannot be opened.
bool WriteHoraryReport(const ChartRecord& chart, int subject, int object);
// Dialog 1064 on a chart, then the answer.
void RunHoraryAnswer(QWidget* parent, const ChartRecord& chart);

}  // namespace orbeta
