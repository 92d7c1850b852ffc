#pragma once
// What the text window computes without drawing: its scroll ranges, the page geometry
// of a printout, the file handed to the external editor, and the text that leaves the
// program (saved file, clipboard) in the platform's UTF-8.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// Calls back with every line of a text file (LF or CRLF ends, the last line may lack
// its end); false when the file cannot be opened. The file is read, never kept.
bool ForEachFileLine(const std::string& path, const std::function<void(std::string_view)>& line);

// Scroll range in units: (screen + content − client + slack) / unit; a positive range
// smaller than one unit is one unit, and a text that fits needs none.
int ScrollRange(int screen, int content, int client, int slack, int unit);

// One printed page: line height V·40/2900 and character width H·18/2000 of the
// printable height V and width H, the left margin of three characters, and the lines
// that fit whole on the page.
struct PrintPage {
    int lineHeight = 1;
    int charWidth = 1;
    int left = 3;
    int linesPerPage = 1;
};
PrintPage PrintPageGeometry(int printableHeight, int printableWidth);

// A file a printout may go to without replacing one: "<name>.pdf" in the folder, else
// "<name> (2).pdf", "<name> (3).pdf", … The name (UTF-8) loses the characters a file
// name cannot hold; an empty one becomes the fallback.
std::filesystem::path FreshPrintFile(const std::filesystem::path& folder, std::string_view name,
                                     std::string_view fallback);

// The external editor is a word processor when its file name (after the last '\' or
// '/') is "winword.exe" in any case.
bool IsWordProcessor(std::string_view editorPath);
// The report's path with its extension replaced by "txt".
std::string EditorFilePath(const std::string& reportPath);
// The editor's text from the report's CP1251 lines, as UTF-8: every line followed by
// one blank; a line beginning with a blank starts on a new line. Outside word-processor
// mode every line ends with a line feed; in it the lines of a paragraph run together
// and an empty or blank line starts a new paragraph.
std::string EditorText(const std::vector<std::string>& lines, bool wordProcessor);

// The report as a saved file (every line and a line feed) and as clipboard text
// (every line and CR LF), both UTF-8.
std::string SavedText(const std::vector<std::string>& lines);
std::string ClipboardText(const std::vector<std::string>& lines);

}  // namespace orbeta
