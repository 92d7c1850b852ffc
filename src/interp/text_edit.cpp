#include "interp/text_edit.h"

#include <cstdlib>
#include <system_error>

#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

bool StateOf(const std::filesystem::path& file, uintmax_t& size,
             std::filesystem::file_time_type& time) {
    std::error_code ec;
    size = std::filesystem::file_size(file, ec);
    if (ec) return false;
    time = std::filesystem::last_write_time(file, ec);
    return !ec;
}

bool NamesKey(std::string_view line, std::string_view key) {
    if (!OpensBlock(line)) return false;
    for (const auto& k : KeysOfLine(line))
        if (k == key) return true;
    return false;
}

std::string_view LineAt(std::string_view bytes, size_t start, size_t& next) {
    size_t end = bytes.find('\n', start);
    next = end == std::string_view::npos ? bytes.size() : end + 1;
    std::string_view line =
        bytes.substr(start, (end == std::string_view::npos ? bytes.size() : end) - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

bool ReadEditDescription(const std::filesystem::path& csr, EditDescription& out) {
    auto bytes = ReadFileBytes(csr.string());
    if (!bytes) return false;
    out.sources = SourceFiles(csr);
    SourceSet set;
    ParseSource(*bytes, csr, set);
    out.kinds = set.ctl;
    for (const auto& problem : set.ctlProblems)
        Journal(PathForMessage(problem.place.file) + ":" + std::to_string(problem.place.line) +
                ": " + problem.text);
    return true;
}

int ChoiceValue(std::string_view list, int position, std::string_view entry) {
    if (list == "AAA") return std::atoi(std::string(entry).c_str());
    return position + 1;
}

bool FindBlockToEdit(const std::vector<std::filesystem::path>& sources, std::string_view key,
                     BlockSpan& span) {
    bool found = false;
    for (const auto& source : sources) {
        auto bytes = ReadFileBytes(source.string());
        if (!bytes) continue;  // a source that is gone is skipped
        std::string_view text = *bytes;
        size_t start = 0, next = 0;
        while (start < text.size()) {
            std::string_view line = LineAt(text, start, next);
            if (NamesKey(line, key)) {
                BlockSpan here{source, start, text.size(), 0, {}};
                size_t at = next;
                while (at < text.size()) {
                    size_t after = 0;
                    std::string_view following = LineAt(text, at, after);
                    if (!following.empty() && following[0] == '@') {
                        here.end = at;
                        break;
                    }
                    at = after;
                }
                here.size = bytes->size();
                std::error_code ec;
                here.time = std::filesystem::last_write_time(source, ec);
                span = here;
                found = true;
            }
            start = next;
        }
    }
    return found;
}

bool AppendKeyLine(const std::filesystem::path& source, std::string_view key) {
    auto bytes = ReadFileBytes(source.string());
    if (!bytes) return false;
    std::string text = *bytes;
    bool crlf = text.find("\r\n") != std::string::npos;
    if (!text.empty() && text.back() != '\n') text += crlf ? "\r\n" : "\n";
    text += "@";
    text += key;
    text += crlf ? "\r\n" : "\n";
    return WriteFileAtomically(source.string(), text);
}

bool AnsiToOemForSource(std::string_view ansi, std::string& oem, std::string& lacking) {
    oem.clear();
    std::string plain;
    for (unsigned char c : ansi) {
        switch (c) {
            case 0x96:  // –
            case 0x97:  // —
                plain += '-';
                continue;
            case 0xAB:  // «
            case 0xBB:  // »
            case 0x84:  // „
            case 0x93:  // “
            case 0x94:  // ”
                plain += '"';
                continue;
            case 0x85:  // …
                plain += "...";
                continue;
            default:
                break;
        }
        if (c >= 0x80 && AnsiToOem(std::string(1, static_cast<char>(c))) == "?") {
            lacking = std::string(1, static_cast<char>(c));
            return false;
        }
        plain += static_cast<char>(c);
    }
    oem = AnsiToOem(plain);
    return true;
}

EditStart StartEdit(const std::vector<std::filesystem::path>& sources, std::string_view key,
                    const std::filesystem::path& tmp, EditSession& session, std::string& error) {
    BlockSpan span;
    if (!FindBlockToEdit(sources, key, span)) return EditStart::NoSuchKey;
    auto bytes = ReadFileBytes(span.file.string());
    if (!bytes || bytes->size() != span.size) {
        error = Format("Не открывается файл %s"_cp, PathForMessage(span.file).c_str());
        return EditStart::Failed;
    }
    std::string block =
        OemToAnsi(std::string_view(*bytes).substr(span.begin, span.end - span.begin));
    if (!WriteFileAtomically(tmp.string(), block)) {
        error = Format("Не записывается файл %s"_cp, PathForMessage(tmp).c_str());
        return EditStart::Failed;
    }
    session = {span, std::string(key), tmp, block};
    return EditStart::Opened;
}

EditEnd FinishEdit(const EditSession& session, std::string& message) {
    std::error_code ec;
    auto edited = ReadFileBytes(session.tmp.string());
    if (!edited || *edited == session.written) {
        std::filesystem::remove(session.tmp, ec);
        return EditEnd::Unchanged;
    }
    const auto& span = session.span;
    std::string keptIn = PathForMessage(session.tmp);
    uintmax_t size = 0;
    std::filesystem::file_time_type time;
    auto source = ReadFileBytes(span.file.string());
    if (!StateOf(span.file, size, time) || !source || size != span.size || time != span.time ||
        source->size() != span.size) {
        message = Format("Файл %s изменился во время правки, правка осталась в файле %s"_cp,
                         PathForMessage(span.file).c_str(), keptIn.c_str());
        return EditEnd::Kept;
    }
    std::string oem, lacking;
    if (!AnsiToOemForSource(*edited, oem, lacking)) {
        message =
            Format("Знак \"%s\" нельзя сохранить в файле текстов, правка осталась в файле %s"_cp,
                   lacking.c_str(), keptIn.c_str());
        return EditEnd::Kept;
    }
    std::string after = source->substr(span.end);
    // The lines after the block must not join the edited text's last line.
    if (!oem.empty() && oem.back() != '\n' && !after.empty()) {
        bool crlf = span.end >= 2 && (*source)[span.end - 2] == '\r';
        oem += crlf ? "\r\n" : "\n";
    }
    std::string text = source->substr(0, span.begin) + oem + after;
    if (!WriteFileAtomically(span.file.string(), text)) {
        message = Format("Не записывается файл %s, правка осталась в файле %s"_cp,
                         PathForMessage(span.file).c_str(), keptIn.c_str());
        return EditEnd::Kept;
    }
    std::filesystem::remove(session.tmp, ec);
    return EditEnd::Written;
}

}  // namespace orbeta
