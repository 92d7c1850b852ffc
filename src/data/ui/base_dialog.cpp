#include "data/ui/base_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/chart_compute.h"
#include "data/chart_base.h"
#include "data/chart_card.h"
#include "data/open_base.h"
#include "gui/app_state.h"
#include "gui/chart_opener.h"
#include "gui/date_place_dialogs.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_names.h"

namespace orbeta {

namespace {
constexpr int kCmdCorrect = 5031;
constexpr int kCmdDelete = 5032;
constexpr int kCmdCast = 5033;

const char* const kNoCard = "Карточка не читается из базы данных"_cp;
}  // namespace

std::optional<ChartRecord> ChartOfListedCard(const std::string& stem, int k) {
    auto card = ReadListedCard(stem, k);
    if (!card) return std::nullopt;
    return ChartOfCard(*card, App().currentChart, App().settings.houseSet);
}

ChartBaseDialog::ChartBaseDialog(QWidget* parent, std::string stem,
                                 const std::vector<std::string>& lines, Use use)
    : Dial(parent, 1012, use == Use::Manage ? "DBasa" : "DBasaL", false), stem_(std::move(stem)) {
    setWindowTitle(FromAnsi("Выбор карты из базы данных"_cp));
    list_ = new QListWidget(this);
    list_->setObjectName("list");
    for (const auto& line : lines) list_->addItem(FromAnsi(line));
    if (!lines.empty()) list_->setCurrentRow(0);
    list_->setMinimumSize(list_->fontMetrics().horizontalAdvance(QString(64, 'W')),
                          list_->fontMetrics().height() * 16);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            use == Use::Manage ? &ChartBaseDialog::CastChart : &QDialog::accept);

    auto* actions = new QHBoxLayout;
    connect(AddButton(actions, kCmdCorrect, "Корректировать"_cp), &QPushButton::clicked, this,
            &ChartBaseDialog::CorrectCard);
    connect(AddButton(actions, kCmdDelete, "Удалить"_cp), &QPushButton::clicked, this,
            &ChartBaseDialog::DeleteCard);
    if (use == Use::Manage)
        connect(AddButton(actions, kCmdCast, "Построить"_cp), &QPushButton::clicked, this,
                &ChartBaseDialog::CastChart);
    actions->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(actions);
    layout->addLayout(StandardButtons());
    list_->setFocus();
}

int ChartBaseDialog::Chosen() const {
    QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? list_->currentRow() : -1;
}

void ChartBaseDialog::CorrectCard() {
    int k = Chosen();
    if (k < 0) return;
    auto card = ReadListedCard(stem_, k);
    TellBaseMessages(card ? "" : kNoCard);
    if (!card) return;
    ChartCardDialog dialog(this, ChartOfCard(*card, App().currentChart, App().settings.houseSet));
    if (dialog.exec() != QDialog::Accepted) return;
    const BirthData& d = dialog.Data();
    CardInput input{d.name,
                    d.place,
                    d.comment,
                    d.local,
                    Format("%.2f", d.correctionHours),
                    Format("%.2f", d.latitude),
                    Format("%.2f", d.longitude)};
    auto line = RewriteListedCard(stem_, k, CardOfInput(input));
    TellBaseMessages(line ? std::string()
                          : Format("Карточка не записана в базу данных %s"_cp, stem_.c_str()));
    if (!line) return;
    list_->item(k)->setText(FromAnsi(*line));
}

void ChartBaseDialog::DeleteCard() {
    int k = Chosen();
    if (k < 0) return;
    // One click would lose the card for good: the store keeps no copy.
    std::string question =
        Format("Удалить карточку \"%s\"?"_cp, ToAnsi(list_->item(k)->text()).c_str());
    if (!Svc().AskYesNo("Удаление"_cp, question)) return;
    bool deleted = DeleteListedCard(stem_, k);
    TellBaseMessages(deleted ? std::string()
                             : Format("Карточка не удалена из базы данных %s"_cp, stem_.c_str()));
    if (!deleted) return;
    // basa.tmp keeps the line, marked; the list drops it, so the indexes still agree.
    delete list_->takeItem(k);
}

void ChartBaseDialog::CastChart() {
    int k = Chosen();
    if (k < 0) return;
    auto chart = ChartOfListedCard(stem_, k);
    TellBaseMessages(chart ? "" : kNoCard);
    if (!chart) return;
    AppState& app = App();
    app.inputChart = *chart;
    Computation c(ProfileContext());
    ComputeChart(c, app.inputChart, app.inputChart, kNatal, app.settings.ov[kOptArcBody]);
    TellDiagnostics(c.diagnostics);
    std::string text = Format("%-10.10s (%-.20s)", app.inputChart.name, MethodName(kNatal).c_str());
    if (!OpenChart(app.inputChart, text)) {
        Svc().Warning("Окно карты недоступно"_cp);
        return;
    }
    accept();
}

}  // namespace orbeta
