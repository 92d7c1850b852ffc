#include "aspects/ui/orb_dialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>

#include "aspects/new_aspect.h"
#include "core/birth_data.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {

namespace {
const char* const kOrbLabels[kEditedOrbCount] = {"SUN", "MON", "MER", "VEN", "MRS", "JUP", "SAT",
                                                 "URN", "NEP", "PLT", "NDE", "SEL", "HIR", "PRZ",
                                                 "LIL", "ASC", "H.2", "H.3", "H.4", "H.5", "H.6"};
}  // namespace

namespace {

// The names of the list are the file system's (UTF-8), never CP1251.
std::filesystem::path PathOfListed(const QString& name) {
    return std::filesystem::path(name.toStdString());
}

// A name the profile cannot hold is refused before anything is written.
bool RefusedForProfile(const std::filesystem::path& path) {
    if (ProfileNameOfPath(path)) return false;
    Svc().Warning(
        Format("Имя файла %s нельзя записать в профиль: в нём есть знаки, "
               "которых нет в кодировке Windows-1251"_cp,
               PathForMessage(path).c_str()));
    return true;
}

}  // namespace

OrbEditorDialog::OrbEditorDialog(QWidget* parent, std::filesystem::path path, OrbTable table)
    : Dial(parent, 1064, "Orbis", false), path_(std::move(path)), table_(std::move(table)) {
    setWindowTitle(FromAnsi("Аспекты и Орбисы"_cp) + " - " +
                   QString::fromStdString(path_.string()));
    list_ = new QListWidget(this);
    list_->setObjectName("list");
    list_->setMinimumWidth(180);
    connect(list_, &QListWidget::currentRowChanged, this, &OrbEditorDialog::ShowOrbs);

    auto* orbGrid = new QGridLayout;
    angle_ = new QLabel(this);
    angle_->setObjectName("angle");
    orbGrid->addWidget(new QLabel(FromAnsi("Аспект"_cp), this), 0, 0);
    orbGrid->addWidget(angle_, 0, 1);
    for (int i = 0; i < kEditedOrbCount; ++i) {
        orbs_[i] = new QLineEdit(this);
        orbs_[i]->setObjectName(kOrbLabels[i]);
        orbs_[i]->setMaxLength(7);
        orbs_[i]->setMaximumWidth(70);
        int row = 1 + i % 7;
        int col = (i / 7) * 2;
        orbGrid->addWidget(new QLabel(kOrbLabels[i], this), row, col);
        orbGrid->addWidget(orbs_[i], row, col + 1);
    }

    auto* buttons = new QVBoxLayout;
    auto button = [&](const char* name, const char* text) {
        auto* b = new QPushButton(FromAnsi(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button("show", "Показать Орбисы"_cp), &QPushButton::clicked, this,
            &OrbEditorDialog::ShowOrbs);
    connect(button("store", "Запомнить Орбисы"_cp), &QPushButton::clicked, this,
            &OrbEditorDialog::StoreOrbs);
    connect(button("new", "Новый Аспект"_cp), &QPushButton::clicked, this, [this] {
        bool ok = false;
        QString text =
            QInputDialog::getText(this, FromAnsi("Новый Аспект"_cp), FromAnsi("Аспект (Орбис)"_cp),
                                  QLineEdit::Normal, QString(), &ok);
        if (ok) AddAspect(text.left(20));
    });
    connect(button("delete", "Удалить Аспект"_cp), &QPushButton::clicked, this,
            &OrbEditorDialog::DeleteAspect);
    connect(button("onoff", "Вкл/Откл"_cp), &QPushButton::clicked, this,
            &OrbEditorDialog::ToggleOff);
    connect(button("colour", "Цвет аспекта"_cp), &QPushButton::clicked, this, [this] {
        int row = Selected();
        if (row < 0) return;
        const AspectRecord& a = table_.aspects[row];
        QColor initial =
            a.colour < 0 ? QColor(Qt::black)
                         : QColor(a.colour & 0xFF, (a.colour >> 8) & 0xFF, (a.colour >> 16) & 0xFF);
        QColor c = QColorDialog::getColor(initial, this,
                                          FromAnsi(Format("Аспект %5.1f"_cp, double(a.angle))));
        if (c.isValid()) SetColour(c.red() | (c.green() << 8) | (c.blue() << 16));
    });
    auto* style = new QGroupBox(FromAnsi("Вид линии"_cp), this);
    auto* styleLayout = new QVBoxLayout(style);
    solid_ = new QRadioButton(FromAnsi("Сплошная"_cp), style);
    solid_->setObjectName("solid");
    dashed_ = new QRadioButton(FromAnsi("Пунктир"_cp), style);
    dashed_->setObjectName("dashed");
    styleLayout->addWidget(solid_);
    styleLayout->addWidget(dashed_);
    connect(solid_, &QRadioButton::clicked, this, [this] { SetLineStyle(kLineSolid); });
    connect(dashed_, &QRadioButton::clicked, this, [this] { SetLineStyle(kLineDashed); });
    buttons->addWidget(style);
    buttons->addStretch();

    auto* body = new QHBoxLayout;
    body->addWidget(list_);
    body->addLayout(orbGrid);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(StandardButtons());
    FillList();
    if (list_->count() > 0) list_->setCurrentRow(0);
}

QString OrbEditorDialog::EntryText(const AspectRecord& a) const {
    std::string text = Format("Аспект %6.1f "_cp, double(a.angle));
    if (a.IsOff()) text += "Откл"_cp;
    return FromAnsi(text);
}

void OrbEditorDialog::FillList() {
    int row = list_->currentRow();
    QSignalBlocker block(list_);
    list_->clear();
    for (const auto& a : table_.aspects) list_->addItem(EntryText(a));
    if (row >= list_->count()) row = list_->count() - 1;
    list_->setCurrentRow(row);
}

int OrbEditorDialog::Selected() const {
    int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(table_.aspects.size()) ? row : -1;
}

void OrbEditorDialog::Select(int row) {
    list_->setCurrentRow(row);
}

void OrbEditorDialog::ShowOrbs() {
    int row = Selected();
    if (row < 0) {
        angle_->clear();
        for (QLineEdit* e : orbs_) e->clear();
        return;
    }
    const AspectRecord& a = table_.aspects[row];
    angle_->setText(FromAnsi(Format("%6.1f", double(a.angle))));
    for (int i = 0; i < kEditedOrbCount; ++i)
        orbs_[i]->setText(FromAnsi(Format("%4.1f", double(a.orbs[i]))));
    solid_->setChecked(a.lineStyle != kLineDashed);
    dashed_->setChecked(a.lineStyle == kLineDashed);
}

bool OrbEditorDialog::StoreOrbs() {
    int row = Selected();
    if (row < 0) return false;
    float values[kEditedOrbCount];
    for (int i = 0; i < kEditedOrbCount; ++i) {
        std::string error;
        auto v = ReadNumberField(orbs_[i], kOrbLabels[i], error);
        if (!v) {
            Svc().Warning(error);
            return false;
        }
        values[i] = static_cast<float>(*v);
    }
    for (int i = 0; i < kEditedOrbCount; ++i) table_.aspects[row].orbs[i] = values[i];
    return true;
}

bool OrbEditorDialog::AddAspect(const QString& text) {
    auto a = NewAspectFromText(ToAnsi(text));
    if (!a) {
        Svc().Warning(Format("Не число: \"%s\""_cp, ToAnsi(text).c_str()));
        return false;
    }
    table_.aspects.push_back(*a);
    FillList();
    list_->setCurrentRow(list_->count() - 1);
    return true;
}

void OrbEditorDialog::DeleteAspect() {
    int row = Selected();
    if (row < 0) return;
    table_.aspects.erase(table_.aspects.begin() + row);
    FillList();
    ShowOrbs();
}

void OrbEditorDialog::ToggleOff() {
    int row = Selected();
    if (row < 0) return;
    table_.aspects[row].off = table_.aspects[row].IsOff() ? 0 : 1;
    list_->item(row)->setText(EntryText(table_.aspects[row]));
}

void OrbEditorDialog::SetColour(int32_t colour) {
    if (int row = Selected(); row >= 0) table_.aspects[row].colour = colour;
}

void OrbEditorDialog::SetLineStyle(int style) {
    if (int row = Selected(); row >= 0) table_.aspects[row].lineStyle = static_cast<uint8_t>(style);
}

void OrbEditorDialog::accept() {
    // A file that cannot be written stays as it was (reported by the writer).
    SaveOrbTable(path_, table_);
    Dial::accept();
}

void RunOrbEditor(QWidget* parent, const std::filesystem::path& path) {
    OrbEditorDialog dialog(
        parent, path,
        LoadOrbTable(path, PathOfProfileName(App().settings.orbFiles[kOrbSlotCurrent]), true));
    dialog.exec();
}

OrbFilesDialog::OrbFilesDialog(QWidget* parent) : Dial(parent, 1063, "Orbis", false) {
    setWindowTitle(FromAnsi("Блоки аспектов и орбисов"_cp));
    files_ = new QListWidget(this);
    files_->setObjectName("files");
    for (const QString& name : QDir(".").entryList({"*.ao"}, QDir::Files, QDir::Name))
        files_->addItem(name);
    if (files_->count() > 0) files_->setCurrentRow(0);

    auto* right = new QGridLayout;
    const char* slotTitles[kOrbSlotCount] = {"Текущий"_cp, "Транзиты"_cp, "Прогрессии"_cp,
                                             "Дирекции"_cp};
    const char* slotButtons[kOrbSlotCount] = {"Выбрать в качестве текущего"_cp, "Транзиты"_cp,
                                              "Прогрессии"_cp, "Дирекции"_cp};
    for (int slot = 0; slot < kOrbSlotCount; ++slot) {
        auto* b = new QPushButton(FromAnsi(slotButtons[slot]), this);
        b->setObjectName(QString("slot%1").arg(slot));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, slot] { AssignSlot(slot); });
        slots_[slot] = new QLabel(this);
        slots_[slot]->setObjectName(QString("slotName%1").arg(slot));
        slots_[slot]->setMinimumWidth(100);
        right->addWidget(new QLabel(FromAnsi(slotTitles[slot]), this), slot, 0);
        right->addWidget(slots_[slot], slot, 1);
        right->addWidget(b, slot, 2);
    }
    auto* actions = new QHBoxLayout;
    auto button = [&](const char* name, const char* text) {
        auto* b = new QPushButton(FromAnsi(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        actions->addWidget(b);
        return b;
    };
    connect(button("edit", "Корректировка"_cp), &QPushButton::clicked, this, [this] {
        if (!SelectedName().isEmpty()) RunOrbEditor(this, PathOfListed(SelectedName()));
    });
    connect(button("new", "Новый"_cp), &QPushButton::clicked, this, [this] {
        bool ok = false;
        QString text = QInputDialog::getText(this, FromAnsi("Файл орбисов"_cp),
                                             FromAnsi("Введи имя нового файла орбисов"_cp),
                                             QLineEdit::Normal, QString(), &ok);
        if (ok) CreateFile(text.left(20));
    });
    connect(button("delete", "Удаление"_cp), &QPushButton::clicked, this,
            &OrbFilesDialog::DeleteSelected);
    actions->addStretch();

    auto* body = new QHBoxLayout;
    body->addWidget(files_);
    body->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(actions);
    layout->addLayout(StandardButtons("Закрыть"_cp));
    if (auto* cancel = findChild<QPushButton*>("2")) cancel->hide();
    ShowSlots();
}

QString OrbFilesDialog::SelectedName() const {
    QListWidgetItem* item = files_->currentItem();
    return item ? item->text() : QString();
}

void OrbFilesDialog::ShowSlots() {
    for (int slot = 0; slot < kOrbSlotCount; ++slot)
        slots_[slot]->setText(FromAnsi(App().settings.orbFiles[slot]));
}

void OrbFilesDialog::AssignSlot(int slot) {
    if (SelectedName().isEmpty()) return;
    auto name = ProfileNameOfPath(PathOfListed(SelectedName()));
    if (!name) {
        RefusedForProfile(PathOfListed(SelectedName()));
        return;
    }
    App().settings.orbFiles[slot] = name->substr(0, 78);
    ShowSlots();
}

bool OrbFilesDialog::CreateFile(const QString& typed) {
    std::string name = NewOrbFileName(typed.toStdString());
    if (name.empty()) {
        Svc().Warning("Недопустимое имя файла"_cp);
        return false;
    }
    std::filesystem::path path(name);
    // A file the slots could never name is not made at all.
    if (RefusedForProfile(path)) return false;
    if (ReadFileBytes(path.string())) {
        Svc().Warning(Format("Файл %s уже существует"_cp, PathForMessage(path).c_str()));
        return false;
    }
    const std::string& current = App().settings.orbFiles[kOrbSlotCurrent];
    auto bytes =
        ReadFileBytes(PathOfProfileName(current.empty() ? kDefaultOrbFile : current).string());
    if (!WriteFileAtomically(path.string(), bytes.value_or(""))) {
        Svc().Warning(Format("Не записывается файл %s"_cp, PathForMessage(path).c_str()));
        return false;
    }
    files_->addItem(QString::fromStdString(name));
    files_->setCurrentRow(files_->count() - 1);
    return true;
}

void OrbFilesDialog::DeleteSelected() {
    QListWidgetItem* item = files_->currentItem();
    if (!item) return;
    std::error_code ec;
    std::filesystem::remove(PathOfListed(item->text()), ec);
    delete item;
}

void RunOrbFilesDialog(QWidget* parent) {
    {
        OrbFilesDialog dialog(parent);
        dialog.exec();
    }
    App().orbTable = LoadOrbSlot(App().settings.orbFiles, kOrbSlotCurrent);
}

}  // namespace orbeta
