#include "interp/text_report.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "interp/text_base.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/report.h"
#include "platform/services.h"

namespace orbeta {
namespace {

CompiledTextBase& Base() {
    static CompiledTextBase base;
    static const StateReset reset{[] { base.Close(); }};
    return base;
}

std::string PointKey(int point) {
    char text[16];
    if (point >= 16 && point <= 27)
        std::snprintf(text, sizeof text, "h%02d", point - 15);
    else
        std::snprintf(text, sizeof text, "p%02d", point);
    return text;
}

}  // namespace

bool OpenTextBase(const std::filesystem::path& stem) {
    CloseTextBase();
    if (TextBaseNeedsCompile(stem)) {
        CompileStats stats;
        std::string error;
        // A failed compile leaves the old file, which is used when there is one.
        if (!CompileTextBaseFile(stem, stats, error)) Svc().Warning(error);
    }
    auto cta = WithExtension(stem, ".cta");
    std::string reason;
    if (!Base().Open(cta, reason)) {
        Journal(PathForMessage(cta) + ": " + reason);
        Svc().Warning(Format("Не открывается файл %s"_cp, PathForMessage(cta).c_str()));
        return false;
    }
    return true;
}

void CloseTextBase() {
    Base().Close();
}

bool TextBaseOpen() {
    return Base().IsOpen();
}

bool FindText(std::string_view key) {
    return Base().Find(key);
}

bool FoundTextKey() {
    return Base().Found();
}

const std::vector<std::string>& FoundTextLines() {
    return Base().Lines();
}

std::optional<std::string> PrintText(std::string_view key) {
    if (!FindText(key)) return std::nullopt;
    PrintedBlock printed = PrintBlock(FoundTextLines());
    ReportWrite(printed.text);
    return printed.value;
}

std::optional<std::string> PrintTextF(const char* format, ...) {
    char key[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(key, sizeof key, format, args);
    va_end(args);
    return PrintText(key);
}

bool BeginTextReport(const std::filesystem::path& stem) {
    if (!OpenTextBase(stem)) return false;
    PrintText("0");
    return true;
}

bool BeginTextReport(ChartAnalysis* analysis, const std::filesystem::path& stem,
                     const ChartRecord& chart) {
    if (!BeginTextReport(stem)) return false;
    if (analysis) *analysis = AnalyseChart(chart);
    return true;
}

std::string AspectKey(int point1, int point2, double angle) {
    char text[16];
    std::snprintf(text, sizeof text, "a%03ld", std::lround(angle));
    return PointKey(point1) + PointKey(point2) + text;
}

}  // namespace orbeta
