#include "platform/console_services.h"

#include <cstdio>
#include <cstdlib>

#include "platform/codepage.h"
#include "platform/journal.h"

namespace orbeta {

void ConsoleServices::Warning(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", AnsiToUtf8("Предупреждение"_cp).c_str(),
                 AnsiToUtf8(text).c_str());
    Journal(text);
}

void ConsoleServices::Fatal(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", AnsiToUtf8("Аварийное завершение"_cp).c_str(),
                 AnsiToUtf8(text).c_str());
    Journal(text);
    std::exit(1);
}

ContinueOrQuit ConsoleServices::AskMissingEphemerisFile(const std::string& fileName) {
    std::fprintf(stderr, "%s: %s\n", AnsiToUtf8("Не открывается файл эфемерид"_cp).c_str(),
                 AnsiToUtf8(fileName).c_str());
    return missingFileAnswer_;
}

void ConsoleServices::Quit() { std::exit(1); }

}  // namespace orbeta
