#pragma once
// The event files of a person: dialog 1073 "Файлы событий" (choose, edit, create and
// delete the *.sb files of the working directory) and dialog 1074 "Добавление
// событий" (append an event of a type of events.ctl with its date).
#include <QStringList>
#include <filesystem>
#include <string>

#include "gui/dial.h"
#include "rectify/event_file.h"

class QListWidget;

namespace orbeta {

struct Settings;

// The standard event description file of the working directory.
inline constexpr const char* kEventControlFile = "events.ctl";

// The name a new event file gets from what was typed (CP1251): cut at the first ".",
// at most 20 characters, with ".sb"; empty when nothing is left or the name holds a
// character no file name may ("/", "\\", control characters).
std::string NewEventFileName(const std::string& typed);

// Appends an event to an event file through a temporary file; false when it could not
// be written (the file is then as it was).
bool AppendEvent(const std::filesystem::path& file, const EventType& type, const std::string& date);

class EventFilesDialog : public Dial {
    Q_OBJECT
  public:
    EventFilesDialog(QWidget* parent, Settings& settings);
    QListWidget* Files() const { return files_; }
    // The buttons: Назначить, Редактирование, Новый, Удаление.
    void Assign();
    void Edit();
    // "Новый" asks for the name in an input box, then creates the file; false when it
    // was refused or could not be written.
    void AskAndCreate();
    bool Create(const std::string& typed);
    void Delete();

  private:
    void Refill();
    QString Selected() const;

    Settings& settings_;
    QListWidget* files_;
};

class AddEventsDialog : public Dial {
    Q_OBJECT
  public:
    AddEventsDialog(QWidget* parent, Settings& settings);
    QListWidget* Types() const { return types_; }
    QListWidget* Events() const { return events_; }
    // "Добавить событие": asks first, then appends the chosen type with the typed date.
    void Add();

  private:
    Settings& settings_;
    EventFile control_;
    QListWidget* types_;
    QListWidget* events_;
    QLineEdit* date_;
};

void RunEventFilesDialog(QWidget* parent, Settings& settings);
void RunAddEventsDialog(QWidget* parent, Settings& settings);

}  // namespace orbeta
