#include "platform/console_services.h"

#include <cstdio>
#include <cstdlib>

#include "platform/codepage.h"
#include "platform/journal.h"
#include "platform/text_file.h"

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

void ConsoleServices::Quit() {
    std::exit(1);
}

void ConsoleServices::ShowReportFile(const std::string& path, const std::string&,
                                     const std::string&, const ReportOrigin&) {
    if (auto text = ReadFileBytes(path)) std::fputs(AnsiToUtf8(*text).c_str(), stdout);
    std::remove(path.c_str());
}

}  // namespace orbeta
