#pragma once
// Dialog 1050 "Интерпретация" and the commands that write the natal, child and
// relocation interpretations (main 901..903, chart window 2016) and the chart analysis
// table (chart window 2003).
#include <QButtonGroup>
#include <functional>
#include <optional>
#include <string>

#include "aspects/aspect_matrix.h"
#include "core/chart_record.h"
#include "gui/dial.h"

class QCheckBox;

namespace orbeta {

constexpr int kInterpretationKinds = 5;
constexpr int kInterpretationBoxes = 11;
constexpr int kHoraryInterpretationKind = 3;
// The fixed-star report (its options are its own: the boxes do not apply).
constexpr int kFixedStarsKind = 4;

// The option word of "Состав выдачи", kept while the program runs (all on at start).
unsigned& InterpretationOptions();

class InterpretationDialog : public Dial {
    Q_OBJECT
  public:
    // Every kind can be chosen: 3 goes on to the horary question, 4 is the fixed-star
    // report with options of its own.
    InterpretationDialog(QWidget* parent, int kind);
    int Kind() const { return kinds_->checkedId(); }
    unsigned Options() const;
    void accept() override;

  private:
    QButtonGroup* kinds_;
    QCheckBox* boxes_[kInterpretationBoxes];
};

// Where relocation asks for the new place: dialog 1019 "Координаты места", prefilled
// with the chart's place (installed by the application; none, no relocation).
struct NewPlace {
    std::string town;      // CP1251
    double latitude = 0;   // packed d.mm
    double longitude = 0;  // packed d.mm as entered
};
using NewPlaceAsker = std::function<std::optional<NewPlace>(QWidget*, const ChartRecord&)>;
void SetNewPlaceAsker(NewPlaceAsker asker);

// The dialog on a chart with a kind chosen, then the report. Relocation first asks the
// new place; horary asks the question (dialog 1064). A base that cannot be opened gives its warning
// and no report.
void RunInterpretation(QWidget* parent, const ChartRecord& chart, int kind);
// Main commands 901..903: the chart from the open chart windows, then the dialog.
void RunInterpretationCommand(int kind);
// Writes the report of a kind on the chart as it stands; false when the base cannot be
// opened (no report file is made then).
bool WriteInterpretationReport(const ChartRecord& chart, int kind, unsigned options);
// Command 2003.
void RunAnalysisTable(const ChartRecord& chart);

}  // namespace orbeta
