#include "interp/ui/interpretation_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/computation.h"
#include "core/dated_line.h"
#include "core/derived_charts.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "gui/select_chart.h"
#include "interp/analysis_table.h"
#include "interp/interpretation.h"
#include "interp/text_report.h"
#include "interp/ui/star_commands.h"
#include "interp/ui/relationship_horary.h"
#include "platform/codepage.h"
#include "platform/program_state.h"
#include "platform/report.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

NewPlaceAsker& Asker() {
    static NewPlaceAsker asker;
    return asker;
}

constexpr int kFirstKindId = 301;
constexpr int kFirstBoxId = 311;

std::vector<int> SwitchedOnAngles(const OrbTable& table) {
    std::vector<int> angles;
    for (const auto& aspect : table.aspects) {
        int angle = static_cast<int>(std::lround(aspect.angle));
        if (std::find(angles.begin(), angles.end(), angle) == angles.end()) angles.push_back(angle);
    }
    return angles;
}

}  // namespace

unsigned& InterpretationOptions() {
    static unsigned options = kAllInterpretationOptions;
    static const StateReset reset{[] { options = kAllInterpretationOptions; }};
    return options;
}

InterpretationDialog::InterpretationDialog(QWidget* parent, int kind)
    : Dial(parent, 1050, "Tolk", false), kinds_(new QButtonGroup(this)) {
    setWindowTitle(FromAnsi("Интерпретация"_cp));
    auto* layout = new QVBoxLayout(this);
    auto* kindBox = new QGroupBox(FromAnsi("Вид Интерпретации"_cp), this);
    auto* kindColumn = new QVBoxLayout(kindBox);
    for (int k = 0; k < kInterpretationKinds; ++k) {
        auto* b = new QRadioButton(FromAnsi(InterpretationTitle(k)), kindBox);
        b->setObjectName(QString::number(kFirstKindId + k));
        b->setEnabled(k <= kHoraryInterpretationKind || k == kFixedStarsKind);
        kinds_->addButton(b, k);
        kindColumn->addWidget(b);
    }
    bool offered = (kind >= 0 && kind <= kHoraryInterpretationKind) || kind == kFixedStarsKind;
    kinds_->button(offered ? kind : 0)->setChecked(true);
    static const char* const labels[kInterpretationBoxes] = {"Введение"_cp,
                                                             "Стихии"_cp,
                                                             "Кресты"_cp,
                                                             "Уровни"_cp,
                                                             "Фигура Джонса"_cp,
                                                             "Цепочки мотивации"_cp,
                                                             "Планеты и аспекты"_cp,
                                                             "Квадраты"_cp,
                                                             "Аспектные конфигурации"_cp,
                                                             "Энергетика планет"_cp,
                                                             "Дома в знаках"_cp};
    auto* contents = new QGroupBox(FromAnsi("Состав выдачи"_cp), this);
    auto* boxColumn = new QVBoxLayout(contents);
    for (int bit = 0; bit < kInterpretationBoxes; ++bit) {
        boxes_[bit] = new QCheckBox(FromAnsi(labels[bit]), contents);
        boxes_[bit]->setObjectName(QString::number(kFirstBoxId + bit));
        boxes_[bit]->setChecked((InterpretationOptions() >> bit) & 1u);
        boxColumn->addWidget(boxes_[bit]);
    }
    auto* row = new QHBoxLayout;
    row->addWidget(kindBox);
    row->addWidget(contents);
    // The fixed-star report has contents of its own: the boxes do not apply to it.
    contents->setEnabled(Kind() != kFixedStarsKind);
    connect(kinds_, &QButtonGroup::idToggled, contents,
            [this, contents](int, bool) { contents->setEnabled(Kind() != kFixedStarsKind); });
    layout->addLayout(row);
    layout->addLayout(StandardButtons());
}

unsigned InterpretationDialog::Options() const {
    unsigned word = 0;
    for (int bit = 0; bit < kInterpretationBoxes; ++bit)
        if (boxes_[bit]->isChecked()) word |= 1u << bit;
    return word;
}

void InterpretationDialog::accept() {
    InterpretationOptions() = Options();
    Dial::accept();
}

void SetNewPlaceAsker(NewPlaceAsker asker) {
    Asker() = std::move(asker);
}

bool WriteInterpretationReport(const ChartRecord& chart, int kind, unsigned options) {
    if (kind == kFixedStarsKind) return WriteFixedStarReport(chart);
    const OrbTable& table = App().orbTable;
    InterpretationInput in{kind, chart, ComputeAspectMatrix(chart, table), SwitchedOnAngles(table),
                           options};
    if (!OpenTextBase(InterpretationBase(kind))) return false;
    ReportSink sink;
    WriteInterpretation(in, sink);
    CloseTextBase();
    std::string title = InterpretationTitle(kind);
    if (!BeginReport(title)) return false;
    ReportWrite(sink.Body());
    ShowReport(title, "Tolk", ReportOriginOf(chart));
    return true;
}

void RunInterpretation(QWidget* parent, const ChartRecord& chart, int kind) {
    unsigned options = 0;
    {
        // Gone before the report opens: a closing dialog hands the focus back to the
        // window that was active, which would cover the new report.
        InterpretationDialog dialog(parent, kind);
        if (dialog.exec() != QDialog::Accepted) return;
        kind = dialog.Kind();
        options = dialog.Options();
    }
    if (kind == kHoraryInterpretationKind) {
        RunHoraryAnswer(parent, chart);
        return;
    }
    ChartRecord subject = chart;
    if (kind == kRelocationInterpretation) {
        std::optional<NewPlace> place = Asker() ? Asker()(parent, chart) : std::nullopt;
        if (!place) return;
        Computation c(ProfileContext());
        subject = RelocationChart(c, chart, place->town, place->latitude, place->longitude,
                                  App().settings.houseSet);
        TellDiagnostics(c.diagnostics);
    }
    WriteInterpretationReport(subject, kind, options);
}

void RunInterpretationCommand(int kind) {
    std::optional<ChartRecord> chart = SelectChart(App().frame.data());
    if (chart) RunInterpretation(App().frame.data(), *chart, kind);
}

void RunAnalysisTable(const ChartRecord& chart) {
    std::string title = ReportTitle(2003);
    if (!BeginReport(title)) return;
    ReportWrite(AnalysisTableText(chart, ComputeAspectMatrix(chart, App().orbTable)));
    ShowReport(title, "AstroS", ReportOriginOf(chart));
}

}  // namespace orbeta
