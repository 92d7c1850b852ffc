#include "platform/services.h"

#include <cstdio>

#include "platform/console_services.h"
#include "platform/journal.h"
#include "platform/program_state.h"

namespace orbeta {
namespace {
Services* installed = nullptr;
bool progressActive = false;
bool progressAborted = false;
const StateReset kResetProgress{[] { progressActive = progressAborted = false; }};
}  // namespace

bool Services::AskYesNo(const std::string&, const std::string&) {
    return false;
}
void Services::ProgressStarted(int) {}
void Services::ProgressStepped(int) {}
void Services::ProgressEnded() {}
void Services::SetBusy(bool) {}
void Services::Notice(const std::string& text) {
    Journal(text);
}
void Services::ShowReportFile(const std::string& path, const std::string&, const std::string&,
                              const ReportOrigin&) {
    std::remove(path.c_str());
}

Services& Svc() {
    if (installed) return *installed;
    static ConsoleServices console;
    return console;
}

void InstallServices(Services* services) {
    installed = services;
}

void StartProgress(int total) {
    if (progressActive) return;
    progressActive = true;
    progressAborted = false;
    Svc().ProgressStarted(total);
}

void StepProgress(int delta) {
    if (progressActive) Svc().ProgressStepped(delta);
}

void EndProgress() {
    if (!progressActive) return;
    progressActive = false;
    Svc().ProgressEnded();
}

bool ProgressActive() {
    return progressActive;
}
bool ProgressAborted() {
    return progressAborted;
}
void AbortProgress() {
    progressAborted = true;
}

void Journal(const std::string& line) {
    TheJournal().Write(line);
}
void DebugJournal(const std::string& line) {
    TheJournal().WriteDebug(line);
}

}  // namespace orbeta
