#pragma once
// Interpretation texts in reports: one text base open at a time, texts printed into
// the report being written (report.h) by key.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interp/chart_analysis.h"

namespace orbeta {

// Compiles the base when needed (a .csr exists and the .cta is missing or older than
// a source), then opens stem.cta. A base that cannot be opened: the warning
// "Не открывается файл %s" with the .cta name (the reason journalled) and false.
bool OpenTextBase(const std::filesystem::path& stem);
void CloseTextBase();
bool TextBaseOpen();

// Looks a key up and loads its block; true when the block has lines.
bool FindText(std::string_view key);
// Whether the last key looked up is in the base (with or without lines).
bool FoundTextKey();
// Lines of the block found last (CP1251).
const std::vector<std::string>& FoundTextLines();

// Prints the block of a key into the report; the value of its "=" line, if any.
std::optional<std::string> PrintText(std::string_view key);
std::optional<std::string> PrintTextF(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

// Opens the base and prints its introduction "0"; false when the base cannot be opened.
bool BeginTextReport(const std::filesystem::path& stem);
// The same, filling the analysis of the chart when one is given.
bool BeginTextReport(ChartAnalysis* analysis, const std::filesystem::path& stem,
                     const ChartRecord& chart);

// Key of an aspect text: "p" and the body, or "h" and the house for points 16..27,
// for each point, then "a" and the angle in whole degrees: "p01h10a090".
std::string AspectKey(int point1, int point2, double angle);

}  // namespace orbeta
