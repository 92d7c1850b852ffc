#pragma once
// The report pipeline: a report is written into a numbered temporary file of the
// working directory and then handed to a text window, which owns the file from then on.
#include <string>
#include <string_view>

#include "platform/services.h"

namespace orbeta {

// Creates the first free "r0001.tmp" … "r9999.tmp" and writes the header " %s\n %s\n"
// (the title line, then the UI text "Mark"); the hourglass shows until ShowReport.
// When no file can be made: the warning of the UI text "tmp" and false.
bool BeginReport(const std::string& titleLine);

// Appends to the report being written (nothing when none is open).
void ReportWrite(std::string_view text);
void ReportPrint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Closes the report and opens its text window with the title and help key (at most
// 9 characters). The origin is the chart the report was written for: its correction
// turns the local moments of the report's dated lines into UT when a line is clicked
// (none for reports written in UT), and the chart then opened stands at its place.
void ShowReport(const std::string& title, const std::string& helpKey,
                const ReportOrigin& origin = {});

// Drops the report being written: its file is removed, nothing is shown.
void DiscardReport();

// Path of the report being written; empty when none is open.
const std::string& ReportPath();

}  // namespace orbeta
