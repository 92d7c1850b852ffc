#include "platform/services.h"

#include "platform/console_services.h"
#include "platform/journal.h"

namespace orbeta {
namespace {
Services* installed = nullptr;
}

Services& Svc() {
    if (installed) return *installed;
    static ConsoleServices console;
    return console;
}

void InstallServices(Services* services) { installed = services; }

void Journal(const std::string& line) { TheJournal().Write(line); }
void DebugJournal(const std::string& line) { TheJournal().WriteDebug(line); }

}  // namespace orbeta
