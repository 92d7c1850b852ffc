#include "rectify/ui/event_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/calendar.h"
#include "data/settings.h"
#include "gui/notepad_window.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr int kNameLength = 20;

QPushButton* Button(QWidget* parent, int id, const char* text) {
    auto* b = new QPushButton(FromAnsi(text), parent);
    b->setObjectName(QString::number(id));
    b->setAutoDefault(false);
    return b;
}

// The *.sb files of the working directory, by name (CP1251).
QStringList EventFileNames() {
    QStringList names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
        if (!entry.is_regular_file(ec) || entry.path().extension() != ".sb") continue;
        if (auto name = ProfileNameOfPath(entry.path().filename())) names << FromAnsi(*name);
    }
    names.sort();
    return names;
}

// A readable date with a possible day: as the event reader will read it.
bool ReadableEventDate(const std::string& text) {
    DateParts parts;
    return !text.empty() && JulianDayOfDateTimeText(text) >= 0 &&
           DatePartsOfDateTimeText(text, parts) && ImpossibleDateText(parts).empty();
}

}  // namespace

std::string NewEventFileName(const std::string& typed) {
    std::string name = typed.substr(0, typed.find('.'));
    name = name.substr(0, kNameLength);
    while (!name.empty() && (name.back() == ' ')) name.pop_back();
    while (!name.empty() && (name.front() == ' ')) name.erase(name.begin());
    if (name.empty()) return {};
    for (unsigned char ch : name)
        if (ch < 0x20 || ch == 0x7f || ch == '/' || ch == '\\') return {};
    return name + ".sb";
}

bool AppendEvent(const std::filesystem::path& file, const EventType& type,
                 const std::string& date) {
    auto bytes = ReadFileBytes(file.string());
    if (!bytes) return false;
    std::string text = *bytes;
    if (!text.empty() && text.back() != '\n') text += "\n";
    text += EventEntryText(type, date);
    return WriteFileAtomically(file.string(), text);
}

EventFilesDialog::EventFilesDialog(QWidget* parent, Settings& settings)
    : Dial(parent, 1073, "RectSB", false), settings_(settings) {
    setWindowTitle(FromAnsi("Файлы событий"_cp));
    files_ = new QListWidget(this);
    files_->setObjectName("5000");
    auto* row = new QHBoxLayout;
    QPushButton* assign = Button(this, 5001, "Назначить"_cp);
    QPushButton* edit = Button(this, 5002, "Редактирование"_cp);
    QPushButton* create = Button(this, 5003, "Новый"_cp);
    QPushButton* remove = Button(this, 5004, "Удаление"_cp);
    for (QPushButton* b : {assign, edit, create, remove}) row->addWidget(b);
    connect(assign, &QPushButton::clicked, this, &EventFilesDialog::Assign);
    connect(edit, &QPushButton::clicked, this, &EventFilesDialog::Edit);
    connect(create, &QPushButton::clicked, this, &EventFilesDialog::AskAndCreate);
    connect(remove, &QPushButton::clicked, this, &EventFilesDialog::Delete);
    connect(files_, &QListWidget::itemDoubleClicked, this, &EventFilesDialog::Assign);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(FromAnsi("Файлы событий"_cp), this));
    layout->addWidget(files_);
    layout->addLayout(row);
    layout->addLayout(StandardButtons());
    Refill();
}

void EventFilesDialog::Refill() {
    files_->clear();
    files_->addItems(EventFileNames());
    auto current = files_->findItems(FromAnsi(settings_.sbName), Qt::MatchExactly);
    files_->setCurrentRow(current.isEmpty() ? 0 : files_->row(current.front()));
}

QString EventFilesDialog::Selected() const {
    QListWidgetItem* item = files_->currentItem();
    return item ? item->text() : QString();
}

void EventFilesDialog::Assign() {
    if (Selected().isEmpty()) return;
    settings_.sbName = ToAnsi(Selected());
}

void EventFilesDialog::Edit() {
    if (Selected().isEmpty()) return;
    OpenNotepad(PathOfProfileName(ToAnsi(Selected())).string());
}

void EventFilesDialog::AskAndCreate() {
    QInputDialog box(this);
    box.setWindowTitle(FromAnsi("Файл событий"_cp));
    box.setLabelText(FromAnsi("Введи имя нового файла событий"_cp));
    if (auto* edit = box.findChild<QLineEdit*>()) edit->setMaxLength(kNameLength);
    if (box.exec() == QDialog::Accepted) Create(ToAnsi(box.textValue()));
}

bool EventFilesDialog::Create(const std::string& typed) {
    std::string name = NewEventFileName(typed);
    if (name.empty()) {
        Svc().Warning("Имя файла событий не может быть пустым или содержать знаки / и \\"_cp);
        return false;
    }
    std::filesystem::path path = PathOfProfileName(name);
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        Svc().Warning(Format("Файл %s уже существует"_cp, name.c_str()));
        return false;
    }
    if (!WriteFileAtomically(path.string(), EventFileHeader(name))) {
        Svc().Warning(Format("Не записывается файл %s"_cp, name.c_str()));
        return false;
    }
    Refill();
    auto made = files_->findItems(FromAnsi(name), Qt::MatchExactly);
    if (!made.isEmpty()) files_->setCurrentItem(made.front());
    return true;
}

void EventFilesDialog::Delete() {
    std::string name = ToAnsi(Selected());
    if (name.empty()) return;
    if (!Svc().AskYesNo("Orbeta", Format("Удалить файл событий %s?"_cp, name.c_str()))) return;
    std::error_code ec;
    if (!std::filesystem::remove(PathOfProfileName(name), ec)) {
        Svc().Warning(Format("Не удаляется файл %s"_cp, name.c_str()));
        return;
    }
    if (settings_.sbName == name) settings_.sbName.clear();
    Refill();
}

AddEventsDialog::AddEventsDialog(QWidget* parent, Settings& settings)
    : Dial(parent, 1074, "RectDB", false), settings_(settings) {
    setWindowTitle(FromAnsi("Добавление событий"_cp));
    if (auto control = ReadEventFile(kEventControlFile)) control_ = std::move(*control);
    types_ = new QListWidget(this);
    types_->setObjectName("5000");
    for (const EventType& t : control_.types) types_->addItem(FromAnsi(t.name));
    types_->setCurrentRow(0);
    events_ = new QListWidget(this);
    events_->setObjectName("5001");
    if (auto own = ReadEventFile(PathOfProfileName(settings.sbName));
        own && !settings.sbName.empty())
        for (const EventType& t : own->types) events_->addItem(FromAnsi(t.name));
    date_ = new QLineEdit(this);
    date_->setObjectName("5002");
    date_->setMaxLength(20);
    QPushButton* add = Button(this, 5003, "Добавить событие"_cp);
    connect(add, &QPushButton::clicked, this, &AddEventsDialog::Add);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(FromAnsi("Список событий"_cp), this), 0, 0);
    grid->addWidget(new QLabel(FromAnsi("Выбранные события"_cp), this), 0, 1);
    grid->addWidget(types_, 1, 0);
    grid->addWidget(events_, 1, 1);
    grid->addWidget(new QLabel(FromAnsi("Дата события"_cp), this), 2, 0);
    grid->addWidget(date_, 2, 1);
    grid->addWidget(add, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
}

void AddEventsDialog::Add() {
    std::error_code ec;
    std::filesystem::path file = PathOfProfileName(settings_.sbName);
    if (settings_.sbName.empty() || !std::filesystem::is_regular_file(file, ec)) {
        Svc().Warning(Format("Нет файла описания событий '%s'"_cp, settings_.sbName.c_str()));
        return;
    }
    int row = types_->currentRow();
    if (row < 0 || row >= static_cast<int>(control_.types.size())) return;
    std::string date = ToAnsi(date_->text().trimmed());
    if (!ReadableEventDate(date)) {
        Svc().Warning(LookupText("erdt"));
        return;
    }
    const EventType& type = control_.types[row];
    if (!Svc().AskYesNo("Orbeta", Format("Событие '%s' дата '%s' Записать?"_cp, type.name.c_str(),
                                         date.c_str())))
        return;
    if (!AppendEvent(file, type, date)) {
        Svc().Warning(Format("Не записывается файл %s"_cp, settings_.sbName.c_str()));
        return;
    }
    events_->addItem(FromAnsi(type.name + " @" + date));
}

void RunEventFilesDialog(QWidget* parent, Settings& settings) {
    EventFilesDialog dialog(parent, settings);
    dialog.exec();
}

void RunAddEventsDialog(QWidget* parent, Settings& settings) {
    AddEventsDialog dialog(parent, settings);
    dialog.exec();
}

}  // namespace orbeta
