#include "platform/report.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>

#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

struct OpenReport {
    FILE* file = nullptr;
    std::string path;
};

OpenReport& Current() {
    static OpenReport report;
    return report;
}

// Exclusive creation: a name taken meanwhile by another report is never reused.
FILE* CreateNumberedFile(std::string& path) {
    for (int n = 1; n <= 9999; ++n) {
        std::string name = Format("r%04d.tmp", n);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        FILE* f = ::fdopen(fd, "w");
        if (!f) {
            ::close(fd);
            std::remove(name.c_str());
            return nullptr;
        }
        path = name;
        return f;
    }
    return nullptr;
}

}  // namespace

bool BeginReport(const std::string& titleLine) {
    auto& r = Current();
    if (r.file) {  // a report left unfinished is dropped
        std::fclose(r.file);
        std::remove(r.path.c_str());
        r = {};
        Svc().SetBusy(false);
    }
    r.file = CreateNumberedFile(r.path);
    if (!r.file) {
        r.path.clear();
        Svc().Warning(LookupText("tmp"));
        return false;
    }
    std::fprintf(r.file, " %s\n %s\n", titleLine.c_str(), LookupText("Mark").c_str());
    Svc().SetBusy(true);
    return true;
}

void ReportWrite(std::string_view text) {
    if (auto& r = Current(); r.file) std::fwrite(text.data(), 1, text.size(), r.file);
}

void ReportPrint(const char* fmt, ...) {
    auto& r = Current();
    if (!r.file) return;
    va_list args;
    va_start(args, fmt);
    std::vfprintf(r.file, fmt, args);
    va_end(args);
}

void ShowReport(const std::string& title, const std::string& helpKey, const ReportOrigin& origin) {
    auto& r = Current();
    if (!r.file) return;
    std::fclose(r.file);
    std::string path = r.path;
    r = {};
    Svc().SetBusy(false);
    Svc().ShowReportFile(path, title, helpKey.substr(0, 9), origin);
}

void DiscardReport() {
    auto& r = Current();
    if (!r.file) return;
    std::fclose(r.file);
    std::remove(r.path.c_str());
    r = {};
    Svc().SetBusy(false);
}

const std::string& ReportPath() {
    return Current().path;
}

}  // namespace orbeta
