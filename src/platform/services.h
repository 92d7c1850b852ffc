#pragma once
// What the engine asks of the user interface: warnings, fatal errors, the journal,
// and the few questions the engine must put to the user. The console set writes to
// the terminal; the desktop program installs its own with message boxes.
#include <string>

namespace orbeta {

enum class ContinueOrQuit { Continue, Quit };

class Services {
public:
    virtual ~Services() = default;
    // Caption "Предупреждение"; the text is also journalled.
    virtual void Warning(const std::string& text) = 0;
    // Caption "Аварийное завершение"; ends the process with exit code 1.
    [[noreturn]] virtual void Fatal(const std::string& text) = 0;
    // The ephemeris question "Не открывается файл эфемерид" with the file name and
    // the buttons "Продолжить" / "Завершить".
    virtual ContinueOrQuit AskMissingEphemerisFile(const std::string& fileName) = 0;
    // Ends the program at the user's wish (after "Завершить").
    [[noreturn]] virtual void Quit() = 0;
};

// The services in force; a console set until another is installed.
Services& Svc();
void InstallServices(Services* services);

// Journal lines go to the journal of the working directory (see journal.h).
void Journal(const std::string& line);
// Debug traces: written only while the debug journal option is on.
void DebugJournal(const std::string& line);

}  // namespace orbeta
