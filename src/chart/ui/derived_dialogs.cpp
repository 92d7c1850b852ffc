#include "chart/ui/derived_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/angles.h"
#include "gui/dial.h"
#include "gui/method_list.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

std::function<std::string(const std::string&)>& TimeFileChooser() {
    static std::function<std::string(const std::string&)> f;
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = f] { f = initial; }};
    return f;
}

std::string ChooseTimeFile(const std::string& caption) {
    if (TimeFileChooser()) return TimeFileChooser()(caption);
    QString path = QFileDialog::getOpenFileName(nullptr, FromAnsi(caption), QString(),
                                                FromAnsi("Текстовые (*.txt);;Все файлы (*)"_cp));
    return path.isEmpty() ? std::string() : QFile::encodeName(path).toStdString();
}

QLineEdit* NumberEdit(QWidget* owner, int id, const QString& text) {
    auto* e = new QLineEdit(text, owner);
    e->setObjectName(QString::number(id));
    e->setMaxLength(9);
    e->setFixedWidth(FieldWidth(e, 9));
    return e;
}

QRadioButton* Radio(QWidget* owner, QButtonGroup* group, int id, const char* cp1251) {
    auto* b = new QRadioButton(FromAnsi(cp1251), owner);
    b->setObjectName(QString::number(id));
    group->addButton(b, id);
    return b;
}

QLabel* Label(QWidget* owner, const char* cp1251) {
    return new QLabel(FromAnsi(cp1251), owner);
}

// A field read as a number in [0, limit); false with a message naming it otherwise.
bool ReadPart(const QLineEdit* edit, const char* name, int limit, double& value,
              std::string& error) {
    auto v = ReadNumberField(edit, name, error);
    if (!v) return false;
    if (!(*v >= 0 && *v < limit)) {
        error = Format("Значение в поле \"%s\" должно быть от 0 до %d"_cp, name, limit);
        return false;
    }
    value = *v;
    return true;
}

const char* const kStepNames[4] = {"Дней"_cp, "Час"_cp, "Мин"_cp, "Сек"_cp};

class TimeStepDialog : public Dial {
  public:
    TimeStepDialog(QWidget* parent, const TimeStepInput& in)
        : Dial(parent, 1014, "ModTime", false) {
        setWindowTitle(FromAnsi("Шаг Модификации Времени"_cp));
        auto* layout = new QVBoxLayout(this);
        auto* grid = new QGridLayout;
        for (int c = 0; c < 4; ++c) grid->addWidget(Label(this, kStepNames[c]), 0, c + 1);
        const char* rows[2] = {"Внешняя карта"_cp, "Внутренняя карта"_cp};
        for (int r = 0; r < 2; ++r) {
            grid->addWidget(Label(this, rows[r]), r + 1, 0);
            for (int c = 0; c < 4; ++c) {
                int i = r * 4 + c;
                fields_[i] = NumberEdit(this, 301 + i, QString::number(in.delT[i]));
                grid->addWidget(fields_[i], r + 1, c + 1);
            }
            files_[r] = new QCheckBox(FromAnsi("Время из файла"_cp), this);
            files_[r]->setObjectName(QString::number(400 + r));
            grid->addWidget(files_[r], r + 1, 5);
        }
        files_[1]->setEnabled(in.twoCharts);
        layout->addLayout(grid);
        layout->addLayout(StandardButtons());
    }
    void accept() override {
        std::string error;
        for (int i = 0; i < 8 && error.empty(); ++i) {
            std::string name = Format("%s (%s)", kStepNames[i % 4],
                                      i < 4 ? "внешняя карта"_cp : "внутренняя карта"_cp);
            if (auto v = ReadWholeField(fields_[i], name.c_str(), error)) delT_[i] = *v;
        }
        if (!error.empty()) {
            Svc().Warning(error);
            return;
        }
        Dial::accept();
    }
    const std::array<long, 8>& Steps() const { return delT_; }
    bool FileWanted(int chart) const {
        return files_[chart]->isEnabled() && files_[chart]->isChecked();
    }

  private:
    QLineEdit* fields_[8] = {};
    QCheckBox* files_[2] = {};
    std::array<long, 8> delT_{};
};

class AscendantDialog : public Dial {
  public:
    AscendantDialog(QWidget* parent, const AscendantInput& in)
        : Dial(parent, 1015, "SmAsc", false) {
        setWindowTitle(FromAnsi("Смена Asc"_cp));
        auto* layout = new QVBoxLayout(this);
        auto* signBox = new QGroupBox(FromAnsi("Знак"_cp), this);
        signBox->setObjectName("100");
        signs_ = new QButtonGroup(this);
        auto* signGrid = new QGridLayout(signBox);
        for (int s = 0; s < 12; ++s) {
            auto* b = new QRadioButton(FromAnsi(SignName(s)), signBox);
            b->setObjectName(QString::number(551 + s));
            signs_->addButton(b, s);
            signGrid->addWidget(b, s % 6, s / 6);
        }
        layout->addWidget(signBox);
        auto* chartBox = new QGroupBox(FromAnsi("Карта"_cp), this);
        chartBox->setObjectName("101");
        auto* charts = new QButtonGroup(this);
        auto* chartRow = new QHBoxLayout(chartBox);
        chartRow->addWidget(Radio(this, charts, 203, "Внешняя"_cp));
        inner_ = Radio(this, charts, 204, "Внутренняя"_cp);
        chartRow->addWidget(inner_);
        charts->button(203)->setChecked(true);
        inner_->setEnabled(in.twoCharts);
        layout->addWidget(chartBox);

        // Prefilled with the current Ascendant, to the second.
        long total = std::lround(Normalize(in.ascendant) * 3600.0) % (360L * 3600L);
        signs_->button(static_cast<int>(total / (30 * 3600)))->setChecked(true);
        long inSign = total % (30 * 3600);
        const char* names[3] = {"Град"_cp, "Мин"_cp, "Сек"_cp};
        long values[3] = {inSign / 3600, inSign / 60 % 60, inSign % 60};
        auto* row = new QHBoxLayout;
        for (int i = 0; i < 3; ++i) {
            row->addWidget(Label(this, names[i]));
            parts_[i] = NumberEdit(this, 301 + i, QString::number(values[i]));
            row->addWidget(parts_[i]);
        }
        row->addStretch();
        layout->addLayout(row);
        layout->addLayout(StandardButtons());
    }
    void accept() override {
        std::string error;
        AscendantResult r;
        r.sign = signs_->checkedId();
        if (ReadPart(parts_[0], "Град"_cp, 30, r.degrees, error) &&
            ReadPart(parts_[1], "Мин"_cp, 60, r.minutes, error) &&
            ReadPart(parts_[2], "Сек"_cp, 60, r.seconds, error)) {
            r.inner = inner_->isEnabled() && inner_->isChecked();
            r.target = AscendantTarget(r.sign, r.degrees, r.minutes, r.seconds);
            result_ = r;
            Dial::accept();
            return;
        }
        Svc().Warning(error);
    }
    const AscendantResult& Result() const { return result_; }

  private:
    QButtonGroup* signs_;
    QRadioButton* inner_;
    QLineEdit* parts_[3] = {};
    AscendantResult result_;
};

// Dialogs of a place: the town block, read on OK.
class PlaceDialog : public Dial {
  public:
    PlaceDialog(QWidget* parent, int id, const char* helpKey, const char* caption)
        : Dial(parent, id, helpKey, true) {
        setWindowTitle(FromAnsi(caption));
    }
    void accept() override {
        std::string error;
        if (PlaceGiven() &&
            !ReadTownBlock(result_.town, result_.latitude, result_.longitude, error)) {
            Svc().Warning(error);
            return;
        }
        Dial::accept();
    }
    const PlaceResult& Result() const { return result_; }

  protected:
    virtual bool PlaceGiven() const { return true; }
    QGridLayout* grid_ = new QGridLayout;

  private:
    PlaceResult result_;
};

class ContactPlaceDialog : public PlaceDialog {
  public:
    ContactPlaceDialog(QWidget* parent, const ChartRecord& prefill)
        : PlaceDialog(parent, 1016, "DVKomp", "Место контакта"_cp) {
        auto* layout = new QVBoxLayout(this);
        auto* box = new QGroupBox(FromAnsi("Координаты"_cp), this);
        auto* group = new QButtonGroup(this);
        auto* row = new QHBoxLayout(box);
        row->addWidget(Radio(this, group, 203, "Усредненные"_cp));
        given_ = Radio(this, group, 204, "Заданные"_cp);
        row->addWidget(given_);
        group->button(203)->setChecked(true);
        layout->addWidget(box);
        AddTownBlock(grid_, 0);
        WriteTownBlock(prefill);
        // The place is typed only when it is given; the averaged one is computed.
        auto follow = [this] {
            for (QLineEdit* e : {town_, latitude_, longitude_}) e->setEnabled(given_->isChecked());
        };
        connect(given_, &QRadioButton::toggled, this, follow);
        follow();
        layout->addLayout(grid_);
        layout->addLayout(StandardButtons());
    }
    bool PlaceGiven() const override { return given_->isChecked(); }

  private:
    QRadioButton* given_;
};

class RelocationDialog : public PlaceDialog {
  public:
    RelocationDialog(QWidget* parent, const ChartRecord& chart1)
        : PlaceDialog(parent, 1019, "DVGeo", "Координаты места"_cp) {
        auto* layout = new QVBoxLayout(this);
        AddTownBlock(grid_, 0);
        WriteTownBlock(chart1);
        layout->addLayout(grid_);
        layout->addLayout(StandardButtons());
    }
};

QComboBox* PlanetList(QWidget* owner, int id, int selected) {
    auto* box = new QComboBox(owner);
    box->setObjectName(QString::number(id));
    for (int b = SUN; b <= LIL; ++b) box->addItem(FromAnsi(PlanetName(b)));
    box->setCurrentIndex(selected >= 0 && selected < kBodyCount ? selected : 0);
    return box;
}

class ThematicDialog : public Dial {
  public:
    ThematicDialog(QWidget* parent, const ThematicInput& in) : Dial(parent, 1075, "TemaK", false) {
        setWindowTitle(FromAnsi("Тематическая карта"_cp));
        auto* layout = new QVBoxLayout(this);
        types_ = new QButtonGroup(this);
        layout->addWidget(Radio(this, types_, 201, "Для одной планеты"_cp));
        layout->addWidget(Radio(this, types_, 202, "Символическа (1 планета)"_cp));
        layout->addWidget(Radio(this, types_, 203, "Для двух планет"_cp));
        types_->button(201)->setChecked(true);
        auto* grid = new QGridLayout;
        first_ = PlanetList(this, 5021, in.planet1);
        second_ = PlanetList(this, 5022, in.planet2);
        grid->addWidget(Label(this, "1-я планета"_cp), 0, 0);
        grid->addWidget(first_, 0, 1);
        grid->addWidget(Label(this, "2-я планета"_cp), 1, 0);
        grid->addWidget(second_, 1, 1);
        layout->addLayout(grid);
        layout->addLayout(StandardButtons());
    }
    ThematicResult Result() const {
        ThematicResult r;
        r.type = types_->checkedId() - 201;
        r.planet1 = first_->currentIndex();
        r.planet2 = second_->currentIndex();
        r.title = Format("Тематическая карта: %s"_cp, PlanetName(r.planet1 + 1).c_str());
        if (r.type == 2) r.title += Format(" - %s", PlanetName(r.planet2 + 1).c_str());
        return r;
    }

  private:
    QButtonGroup* types_;
    QComboBox* first_;
    QComboBox* second_;
};

class MethodDialog : public Dial {
  public:
    MethodDialog(QWidget* parent, int currentMethod) : Dial(parent, 1068, "VMet", false) {
        setWindowTitle(FromAnsi("Метод внешней карты"_cp));
        auto* layout = new QVBoxLayout(this);
        list_ = new QComboBox(this);
        list_->setObjectName("5022");
        FillMethodList(list_);
        SelectMethod(list_, currentMethod);
        layout->addWidget(Label(this, "Вид карты"_cp));
        layout->addWidget(list_);
        layout->addLayout(StandardButtons());
    }
    int Chosen() const { return ChosenMethodOf(list_); }

  private:
    QComboBox* list_;
};

}  // namespace

void SetTimeFileChooser(std::function<std::string(const std::string& caption)> chooser) {
    TimeFileChooser() = std::move(chooser);
}

std::optional<TimeStepResult> RunTimeStepDialog(QWidget* parent, const TimeStepInput& in) {
    TimeStepDialog dialog(parent, in);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    TimeStepResult r;
    r.delT = dialog.Steps();
    for (int chart = 0; chart < 2; ++chart) {
        if (!dialog.FileWanted(chart)) continue;
        std::string path = ChooseTimeFile(TimeFileCaption(chart));
        if (path.empty()) continue;
        r.lists[chart] = ReadTimeListFile(path);
        if (!r.lists[chart])
            Svc().Warning(
                Format("В файле %s нет ни одной строки с датой и временем"_cp, path.c_str()));
    }
    return r;
}

std::optional<AscendantResult> RunAscendantDialog(QWidget* parent, const AscendantInput& in) {
    AscendantDialog dialog(parent, in);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

std::optional<ContactPlace> RunContactPlaceDialog(QWidget* parent, const ChartRecord& prefill) {
    ContactPlaceDialog dialog(parent, prefill);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    ContactPlace where;
    where.averaged = !dialog.PlaceGiven();
    if (!where.averaged) {
        where.place = dialog.Result().town;
        where.latitude = dialog.Result().latitude;
        where.longitude = dialog.Result().longitude;
    }
    return where;
}

std::optional<PlaceResult> RunRelocationDialog(QWidget* parent, const ChartRecord& chart1) {
    RelocationDialog dialog(parent, chart1);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

std::optional<ThematicResult> RunThematicDialog(QWidget* parent, const ThematicInput& in) {
    ThematicDialog dialog(parent, in);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

std::optional<int> RunHarmonicDialog(QWidget* parent) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(FromAnsi("Гармоника"_cp));
    dialog.setLabelText(FromAnsi("Номер Гармоники"_cp));
    dialog.setTextValue("2");
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(9);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ParseHarmonicNumber(ToAnsi(dialog.textValue()));
}

std::optional<int> RunMethodDialog(QWidget* parent, int currentMethod) {
    MethodDialog dialog(parent, currentMethod);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

}  // namespace orbeta
