#pragma once
// The editing of one block of a text base's sources (main command 314) without its
// windows: the key from the editor's choices, the block written in CP1251 to a file
// for the editor, and the source rewritten from that file when the editor closes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "interp/text_source.h"

namespace orbeta {

// What the editing dialog offers of a base: its sources and the kinds of texts of its
// CTL section. Invalid CTL lines are skipped and journalled. False when the .csr
// cannot be read.
struct EditDescription {
    std::vector<std::filesystem::path> sources;
    std::vector<CtlLine> kinds;
};
bool ReadEditDescription(const std::filesystem::path& csr, EditDescription& out);

// The value of a chosen entry of a list: its position + 1; for the list "AAA" of
// aspect angles the number the entry holds.
int ChoiceValue(std::string_view list, int position, std::string_view entry);

// A block in a source: the bytes from its "@" line up to the next line beginning
// with "@" (or the end), and the state of the file when it was found.
struct BlockSpan {
    std::filesystem::path file;
    size_t begin = 0;
    size_t end = 0;
    uintmax_t size = 0;
    std::filesystem::file_time_type time;
};

// The last block of the sources naming the key (the one the compiled base holds).
bool FindBlockToEdit(const std::vector<std::filesystem::path>& sources, std::string_view key,
                     BlockSpan& span);

// Appends "@key" to a source as a line of its own (a last line without a line end is
// ended first).
bool AppendKeyLine(const std::filesystem::path& source, std::string_view key);

// CP1251 text back to the OEM code page. Dashes become "-", typographic quotes '"',
// the ellipsis "..."; false with the first character OEM lacks (CP1251) otherwise.
bool AnsiToOemForSource(std::string_view ansi, std::string& oem, std::string& lacking);

struct EditSession {
    BlockSpan span;
    std::string key;
    std::filesystem::path tmp;
    std::string written;  // what the editor's file held at first
};

enum class EditStart { Opened, NoSuchKey, Failed };
// Writes the block of the key in CP1251 to `tmp`.
EditStart StartEdit(const std::vector<std::filesystem::path>& sources, std::string_view key,
                    const std::filesystem::path& tmp, EditSession& session, std::string& error);

enum class EditEnd { Unchanged, Written, Kept };
// After the editor closed: when the file changed, the source is rewritten (the bytes
// before the block, the file in OEM, the bytes after). The editor's file is deleted,
// except when the source changed meanwhile, a character cannot be written or the
// source cannot be written (Kept, with the message in CP1251).
EditEnd FinishEdit(const EditSession& session, std::string& message);

}  // namespace orbeta
