#include "gui/birth_data_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/chart_compute.h"
#include "gui/app_state.h"
#include "gui/method_list.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"

namespace orbeta {

namespace {
std::function<std::optional<ChartRecord>()>& ChartSource() {
    static std::function<std::optional<ChartRecord>()> f;
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = f] { f = initial; }};
    return f;
}
const char* const kPartNames[6] = {"День"_cp, "Месяц"_cp,  "Год"_cp,
                                   "Часы"_cp, "Минуты"_cp, "Секунды"_cp};
}  // namespace

void BirthDataDialog::SetChartSource(std::function<std::optional<ChartRecord>()> source) {
    ChartSource() = std::move(source);
}

BirthDataDialog::BirthDataDialog(QWidget* parent, const ChartRecord& prefill)
    : Dial(parent, 1001, "VV", true) {
    setWindowTitle(FromAnsi("Данные пользователя"_cp));
    auto* grid = new QGridLayout;
    auto label = [this](const char* text) { return new QLabel(FromAnsi(text), this); };

    kind_ = new QComboBox(this);
    kind_->setObjectName("5022");
    FillMethodList(kind_);
    grid->addWidget(label("Вид карты"_cp), 0, 0);
    grid->addWidget(kind_, 0, 1, 1, 4);

    name_ = new QLineEdit(this);
    name_->setObjectName("5000");
    name_->setMaxLength(29);
    grid->addWidget(label("Имя"_cp), 1, 0);
    grid->addWidget(name_, 1, 1, 1, 4);

    for (int i = 0; i < 6; ++i) {
        auto* part = new NotifyingEdit(this);
        parts_[i] = part;
        parts_[i]->setObjectName(QString::number(5001 + i));
        parts_[i]->setMaxLength(4);
        parts_[i]->setToolTip(FromAnsi(Format("%s", kPartNames[i])));
        connect(part, &NotifyingEdit::changedAndLeft, this, &BirthDataDialog::UpdateGmt);
    }
    gmtDate_ = new QLabel(this);
    gmtDate_->setObjectName("5018");
    gmtTime_ = new QLabel(this);
    gmtTime_->setObjectName("5019");
    auto partRow = [&](int row, const char* text, int first, QLabel* gmt) {
        grid->addWidget(label(text), row, 0);
        auto* h = new QHBoxLayout;
        for (int i = first; i < first + 3; ++i) {
            parts_[i]->setFixedWidth(FieldWidth(parts_[i], 4));
            h->addWidget(parts_[i]);
        }
        h->addSpacing(24);
        h->addWidget(label("GMT"));
        gmt->setMinimumWidth(FieldWidth(parts_[first], 10));
        h->addWidget(gmt);
        h->addStretch();
        grid->addLayout(h, row, 1, 1, 4);
    };
    partRow(2, "Дата (Д М Г)"_cp, 0, gmtDate_);
    partRow(3, "Время (Ч М С)"_cp, 3, gmtTime_);

    correction_ = new NotifyingEdit(this);
    correction_->setObjectName("5010");
    correction_->setMaxLength(9);
    connect(correction_, &NotifyingEdit::changedAndLeft, this, &BirthDataDialog::UpdateGmt);
    grid->addWidget(label("Поправка (час)"_cp), 4, 0);
    correction_->setFixedWidth(FieldWidth(correction_, 9));
    auto* corrRow = new QHBoxLayout;
    corrRow->addWidget(correction_);
    corrRow->addWidget(label("(GMT)"));
    corrRow->addStretch();
    grid->addLayout(corrRow, 4, 1, 1, 4);

    int row = AddTownBlock(grid, 5);
    comment_ = new QLineEdit(this);
    comment_->setObjectName("5014");
    comment_->setMaxLength(29);
    grid->addWidget(label("Комментарий"_cp), row, 0);
    grid->addWidget(comment_, row, 1, 1, 4);

    auto* extra = new QHBoxLayout;
    QPushButton* base = AddButton(extra, 5021, "Из Базы..."_cp);
    base->setEnabled(static_cast<bool>(ChartSource()));
    connect(base, &QPushButton::clicked, this, [this] {
        if (auto chart = ChartSource()()) FillFrom(*chart);
    });
    connect(AddButton(extra, 5023, "Сегодня"_cp), &QPushButton::clicked, this,
            &BirthDataDialog::FillToday);
    extra->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(extra);
    layout->addLayout(StandardButtons());

    WatchMoment(parts_, 6, correction_);
    setTabOrder(kind_, name_);
    setTabOrder(name_, parts_[0]);
    for (int i = 0; i < 5; ++i) setTabOrder(parts_[i], parts_[i + 1]);
    setTabOrder(parts_[5], correction_);
    setTabOrder(correction_, town_);
    setTabOrder(town_, latitude_);
    setTabOrder(latitude_, longitude_);
    setTabOrder(longitude_, comment_);
    FillFrom(prefill);
    name_->setFocus();
}

void BirthDataDialog::OnTowns() {
    // The correction is the one in force on the typed local date.
    DateParts local;
    int* p[6] = {&local.day, &local.month, &local.year, &local.hour, &local.minute, &local.second};
    for (int i = 0; i < 6; ++i) *p[i] = ParseWhole(ToAnsi(parts_[i]->text())).value_or(0);
    double hours = 0;
    if (!RunTownDirectory(JulianDay(local), &hours)) return;
    correction_->setText(FromAnsi(CorrectionText(hours)));
    UpdateGmt();
}

void BirthDataDialog::FillFrom(const ChartRecord& chart) {
    BirthData d = BirthDataOf(chart);
    name_->setText(FromAnsi(d.name));
    comment_->setText(FromAnsi(d.comment));
    const int parts[6] = {d.local.day,  d.local.month,  d.local.year,
                          d.local.hour, d.local.minute, d.local.second};
    for (int i = 0; i < 6; ++i) parts_[i]->setText(FromAnsi(Format("%02d", parts[i])));
    correction_->setText(FromAnsi(CorrectionText(d.correctionHours)));
    WriteTownBlock(chart);
    ForgetDirectoryTown();
    UpdateGmt();
}

void BirthDataDialog::FillToday() {
    FillPresentMoment();
    name_->setText(FromAnsi("Сегодня"_cp));
    UpdateGmt();
}

bool BirthDataDialog::ReadFields(BirthData& d, std::string& error) const {
    auto local = ReadDateFields(parts_, 6, error);
    if (!local) return false;
    d.local = *local;
    auto corr = ReadNumberField(correction_, "Поправка (час)"_cp, error);
    if (!corr) return false;
    d.correctionHours = *corr;
    if (!ReadTownBlock(d.place, d.latitude, d.longitude, error)) return false;
    d.name = ToAnsi(name_->text()).substr(0, 29);
    d.comment = ToAnsi(comment_->text()).substr(0, 29);
    return true;
}

void BirthDataDialog::UpdateGmt() {
    BirthData d;
    std::string error;
    if (!ReadFields(d, error)) {
        gmtDate_->clear();
        gmtTime_->clear();
        return;
    }
    std::string text = DateTimeText(UtMomentOf(d));
    size_t blank = text.find(' ');
    gmtDate_->setText(FromAnsi(text.substr(0, blank)));
    gmtTime_->setText(blank == std::string::npos ? QString() : FromAnsi(text.substr(blank + 1)));
}

int BirthDataDialog::ChosenMethod() const {
    return ChosenMethodOf(kind_);
}

void BirthDataDialog::accept() {
    std::string error;
    BirthData d;
    if (!ReadFields(d, error)) {
        Svc().Warning(error);
        return;
    }
    data_ = d;
    Dial::accept();
}

bool EnterAndComputeChart(QWidget* parent) {
    AppState& app = App();
    BirthDataDialog dialog(parent, app.inputChart);
    int result = dialog.exec();
    DebugJournal(Format("DVvod k=%d", result));
    if (result != QDialog::Accepted) return false;
    ApplyBirthData(app.inputChart, dialog.Data());
    app.inputChart.houseSystem = static_cast<int16_t>(app.settings.houseSet);
    Computation c(ProfileContext());
    ComputeChart(c, app.inputChart, app.currentChart, dialog.ChosenMethod(),
                 app.settings.ov[kOptArcBody]);
    TellDiagnostics(c.diagnostics);
    return true;
}

}  // namespace orbeta
