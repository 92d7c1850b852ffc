#include "interp/report_sink.h"

#include <cstdarg>
#include <cstdio>

#include "interp/text_base.h"
#include "interp/text_report.h"

namespace orbeta {
namespace {

std::string VFormat(const char* format, va_list args) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

}  // namespace

std::vector<int> ReportSink::Values(int actual, int first, int last) const {
    if (!listing_) return {actual};
    std::vector<int> all;
    for (int v = first; v <= last; ++v) all.push_back(v);
    return all;
}

bool ReportSink::Look(const char* family, const char* key, bool optional,
                      const std::string* heading) {
    if (listing_) {
        if (seen_.insert(key).second) listed_.push_back({key, family, optional});
        return false;
    }
    bool found = FindText(key);
    if (found) body_ += (heading ? *heading : std::string()) + PrintBlock(FoundTextLines()).text;
    keys_.push_back({key, found});
    return found;
}

bool ReportSink::Text(const char* family, ...) {
    va_list args;
    va_start(args, family);
    std::string key = VFormat(family, args);
    va_end(args);
    return Look(family, key.c_str(), false);
}

bool ReportSink::TextIfPresent(const char* family, ...) {
    va_list args;
    va_start(args, family);
    std::string key = VFormat(family, args);
    va_end(args);
    return Look(family, key.c_str(), true);
}

bool ReportSink::TextUnder(const std::string& heading, const char* family, ...) {
    va_list args;
    va_start(args, family);
    std::string key = VFormat(family, args);
    va_end(args);
    return Look(family, key.c_str(), false, &heading);
}

void ReportSink::Heading(const char* format, ...) {
    if (listing_) return;
    va_list args;
    va_start(args, format);
    body_ += " " + VFormat(format, args) + "\n";
    va_end(args);
}

void ReportSink::Line(const std::string& text) {
    if (!listing_) body_ += text + "\n";
}

}  // namespace orbeta
