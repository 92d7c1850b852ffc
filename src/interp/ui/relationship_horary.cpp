#include "interp/ui/relationship_horary.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "core/calendar.h"
#include "core/computation.h"
#include "core/dated_line.h"
#include "forecast/horary_search.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "interp/relationship.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/report.h"
#include "platform/services.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr int kFirstBoxId = 201;

std::string NameOf(const ChartRecord& r) {
    return std::string(r.name, strnlen(r.name, sizeof r.name));
}

}  // namespace

unsigned& RelationshipFlags() {
    static unsigned flags = kDefaultRelationshipFlags;
    static const StateReset reset{[] { flags = kDefaultRelationshipFlags; }};
    return flags;
}

RelationshipDialog::RelationshipDialog(QWidget* parent) : Dial(parent, 1051, "Partn", false) {
    setWindowTitle(FromAnsi("Партнерство, совместимость"_cp));
    static const char* const labels[kRelationshipBoxes] = {
        "Отношения"_cp, "Ваши ожидания"_cp, "Ожидания партнера"_cp,
        "Введение"_cp,  "Ваши дома"_cp,     "Дома партнера"_cp};
    auto* layout = new QVBoxLayout(this);
    auto* contents = new QGroupBox(FromAnsi("Состав выдачи"_cp), this);
    auto* column = new QVBoxLayout(contents);
    for (int bit = 0; bit < kRelationshipBoxes; ++bit) {
        boxes_[bit] = new QCheckBox(FromAnsi(labels[bit]), contents);
        boxes_[bit]->setObjectName(QString::number(kFirstBoxId + bit));
        boxes_[bit]->setChecked((RelationshipFlags() >> bit) & 1u);
        column->addWidget(boxes_[bit]);
    }
    layout->addWidget(contents);
    layout->addWidget(new QLabel(FromAnsi("Ваша карта - внутренняя, карта партнера - внешняя"_cp)));
    layout->addLayout(StandardButtons());
}

unsigned RelationshipDialog::Flags() const {
    unsigned flags = 0;
    for (int bit = 0; bit < kRelationshipBoxes; ++bit)
        if (boxes_[bit]->isChecked()) flags |= 1u << bit;
    return flags;
}

void RelationshipDialog::accept() {
    RelationshipFlags() = Flags();
    Dial::accept();
}

HoraryDialog::HoraryDialog(QWidget* parent, const std::vector<HoraryChoice>& subjects,
                           const std::vector<HoraryChoice>& objects)
    : Dial(parent, 1064, "Chorar", false), subjects_(subjects), objects_(objects) {
    setWindowTitle(FromAnsi("Хорарная Астрология"_cp));
    subjectList_ = new QListWidget(this);
    subjectList_->setObjectName("subject");
    objectList_ = new QListWidget(this);
    objectList_->setObjectName("object");
    for (const auto& c : subjects_) subjectList_->addItem(FromAnsi(c.label));
    for (const auto& c : objects_) objectList_->addItem(FromAnsi(c.label));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(FromAnsi("Субъект вопроса"_cp), this), 0, 0);
    grid->addWidget(new QLabel(FromAnsi("Предмет вопроса"_cp), this), 0, 1);
    grid->addWidget(subjectList_, 1, 0);
    grid->addWidget(objectList_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
    connect(subjectList_, &QListWidget::itemSelectionChanged, this, [this] { UpdateOk(); });
    connect(objectList_, &QListWidget::itemSelectionChanged, this, [this] { UpdateOk(); });
    resize(520, 320);
    UpdateOk();
}

std::optional<std::pair<int, int>> HoraryDialog::Chosen() const {
    int s = subjectList_->currentRow(), b = objectList_->currentRow();
    if (s < 0 || b < 0 || s >= static_cast<int>(subjects_.size()) ||
        b >= static_cast<int>(objects_.size()) || subjectList_->selectedItems().isEmpty() ||
        objectList_->selectedItems().isEmpty())
        return std::nullopt;
    return std::pair{subjects_[s].number, objects_[b].number};
}

void HoraryDialog::UpdateOk() {
    bool both = Chosen().has_value();
    for (auto* button : findChildren<QPushButton*>())
        if (button->objectName() == "1") button->setEnabled(both);
}

std::optional<std::pair<int, int>> AskHoraryQuestion(QWidget* parent) {
    std::vector<HoraryChoice> subjects = HoraryChoices(LookupText("sub"));
    std::vector<HoraryChoice> objects = HoraryChoices(LookupText("qst"));
    if (subjects.empty() || objects.empty()) {
        Svc().Warning("Нет вариантов вопроса в текстах программы (\"sub\", \"qst\")"_cp);
        return std::nullopt;
    }
    HoraryDialog dialog(parent, subjects, objects);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

bool WriteRelationshipReport(const ChartRecord& yours, const ChartRecord& partner, unsigned flags) {
    RelationshipInput in{flags, yours, partner, App().orbTable};
    if (!OpenTextBase("wzaim")) return false;
    ReportSink sink;
    WriteRelationship(in, sink);
    CloseTextBase();
    std::string title = LookupText("PartS");
    if (!BeginReport(title)) return false;
    ReportWrite(Format(" Ваши данные:     %s %s\n"_cp, NameOf(yours).c_str(),
                       DateTimeText(yours.jdLocal).c_str()));
    ReportWrite(Format(" Данные партнера: %s %s\n"_cp, NameOf(partner).c_str(),
                       DateTimeText(partner.jdLocal).c_str()));
    ReportWrite(sink.Body());
    ShowReport(title, "Partn", ReportOriginOf(yours));
    return true;
}

void RunRelationshipReport(QWidget* parent, const RelationshipCharts& charts) {
    unsigned flags = 0;
    {
        RelationshipDialog dialog(parent);
        if (dialog.exec() != QDialog::Accepted) return;
        flags = dialog.Flags();
    }
    auto pair = charts();
    if (pair) WriteRelationshipReport(pair->first, pair->second, flags);
}

bool WriteHoraryReport(const ChartRecord& chart, int subject, int object) {
    HoraryInput in;
    in.subject = subject;
    in.object = object;
    in.chart = chart;
    if (!HoraryMomentChart(chart.calcMethod)) {
        Svc().Warning(HoraryMomentRefusal());
        return false;
    }
    {
        ReportSink probe;
        HoraryFindings refused = WriteHorary(in, probe);
        if (!refused.refusal.empty()) {
            Svc().Warning(refused.refusal);
            return false;
        }
    }
    Computation c(ProfileContext());
    NextAspectMatrix m =
        ComputeNextAspects(c, chart.jdCalc, App().settings.Option(kOptElectionalTurn));
    TellDiagnostics(c.diagnostics);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            bool usable = BodyAvailable(chart, i + 1) && BodyAvailable(chart, j + 1);
            in.next.aspect[i][j] = usable ? m.aspect[i][j] : -1;
            in.next.time[i][j] = m.time[i][j];
        }
    if (!OpenTextBase("chorar")) return false;
    ReportSink sink;
    WriteHorary(in, sink);
    CloseTextBase();
    std::string title = InterpretationTitle(3);
    if (!BeginReport(title)) return false;
    ReportWrite(Format(" %s %s\n", NameOf(chart).c_str(), DateTimeText(chart.jdLocal).c_str()));
    ReportWrite(sink.Body());
    ShowReport(title, "Chorar", ReportOriginOf(chart));
    return true;
}

void RunHoraryAnswer(QWidget* parent, const ChartRecord& chart) {
    auto question = AskHoraryQuestion(parent);
    if (question) WriteHoraryReport(chart, question->first, question->second);
}

}  // namespace orbeta
