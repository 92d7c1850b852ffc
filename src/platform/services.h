#pragma once
// What the engine asks of the user interface: warnings, fatal errors, the journal,
// and the few questions the engine must put to the user. The console set writes to
// the terminal; the desktop program installs its own with message boxes.
#include <string>

namespace orbeta {

enum class ContinueOrQuit { Continue, Quit };

// The chart a report was written for. A click on a dated line of the report opens the
// chart of the line's moment at this place, under this name, with this house system.
struct ReportOrigin {
    bool known = false;     // false: a report of no one chart (the current chart's place)
    double correction = 0;  // days added to the report's local moments to give UT
    std::string name;       // CP1251
    std::string place;      // CP1251
    double latitude = 0;    // packed d.mm
    double longitude = 0;   // packed d.mm
    int houseSystem = 0;
};

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
    // A question with the buttons Yes and No; true for Yes. Without a user: No.
    virtual bool AskYesNo(const std::string& caption, const std::string& text);
    // The progress of a long search: one progress display at a time; the user may ask
    // for the search to stop (see ProgressAborted).
    virtual void ProgressStarted(int total);
    virtual void ProgressStepped(int delta);
    virtual void ProgressEnded();
    // The hourglass while a report is being written.
    virtual void SetBusy(bool busy);
    // A short notice of what was done (the frame's status line); journalled as well.
    virtual void Notice(const std::string& text);
    // A finished report file goes to its reader, which owns (and deletes) it.
    virtual void ShowReportFile(const std::string& path, const std::string& title,
                                const std::string& helpKey, const ReportOrigin& origin);
};

// The services in force; a console set until another is installed.
Services& Svc();
void InstallServices(Services* services);

// The progress of a long search (Svc() shows it). Start does nothing while a progress
// display is open; it clears the abort flag.
void StartProgress(int total);
void StepProgress(int delta);
void EndProgress();
bool ProgressActive();
// Set when the user asks the running search to stop; the search tests it after each step.
bool ProgressAborted();
void AbortProgress();

// Journal lines go to the journal of the working directory (see journal.h).
void Journal(const std::string& line);
// Debug traces: written only while the debug journal option is on.
void DebugJournal(const std::string& line);

}  // namespace orbeta
