#include "interp/text_base.h"

#include <algorithm>
#include <array>
#include <map>
#include <system_error>

#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

constexpr int64_t kTableOffset = 12;

// One table for the conversion of every line (iconv per line would cost more than
// the rest of the compile).
const std::array<std::string, 256>& OemToAnsiTable() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        for (int b = 0; b < 256; ++b) t[b] = OemToAnsi(std::string(1, static_cast<char>(b)));
        return t;
    }();
    return table;
}

void PutInt(std::string& out, size_t at, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

int64_t GetInt(std::string_view in, size_t at, int width) {
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return width == 2 ? static_cast<int16_t>(value) : static_cast<int32_t>(value);
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::string MessageName(const SourcePlace& place) {
    return PathForMessage(place.file);
}

}  // namespace

std::filesystem::path WithExtension(const std::filesystem::path& stem, const char* extension) {
    std::filesystem::path path = stem;
    path += extension;
    return path;
}

std::optional<std::string> CompileTextBase(const SourceSet& set, CompileStats& stats,
                                           std::string& error) {
    // The last block naming a key gives its entry.
    std::map<std::string, size_t> blockOfKey;
    size_t slot = 1;
    for (size_t b = 0; b < set.blocks.size(); ++b) {
        for (const auto& key : set.blocks[b].keys) {
            if (key.size() > kMaxKeyBytes) {
                error = Format("Файл %s, строка %d: ключ длиннее %d байт"_cp,
                               MessageName(set.blocks[b].place).c_str(), set.blocks[b].place.line,
                               static_cast<int>(kMaxKeyBytes));
                return std::nullopt;
            }
            if (blockOfKey.count(key) == 0 && blockOfKey.size() == kMaxTextKeys) {
                error = Format("Файл %s, строка %d: в базе больше %d ключей"_cp,
                               MessageName(set.blocks[b].place).c_str(), set.blocks[b].place.line,
                               static_cast<int>(kMaxTextKeys));
                return std::nullopt;
            }
            blockOfKey[key] = b;
            slot = std::max(slot, key.size() + 1);
        }
    }
    const size_t entry = slot + 6;
    std::string out(kTableOffset + blockOfKey.size() * entry, '\0');
    PutInt(out, 4, kTableOffset, 4);
    PutInt(out, 8, static_cast<uint32_t>(blockOfKey.size()), 2);
    PutInt(out, 10, static_cast<uint32_t>(slot), 2);

    const auto& table = OemToAnsiTable();
    std::vector<size_t> offsets(set.blocks.size());
    stats = {};
    for (size_t b = 0; b < set.blocks.size(); ++b) {
        offsets[b] = out.size();
        for (const auto& line : set.blocks[b].lines) {
            for (unsigned char c : line) out += table[c];
            out += '\n';
            ++stats.lines;
        }
        if (out.size() > INT32_MAX) {
            error = Format("Файл %s, строка %d: тексты базы больше 2 ГБ"_cp,
                           MessageName(set.blocks[b].place).c_str(), set.blocks[b].place.line);
            return std::nullopt;
        }
    }
    size_t at = kTableOffset;
    for (const auto& [key, b] : blockOfKey) {
        std::copy(key.begin(), key.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
        PutInt(out, at + slot, static_cast<uint32_t>(offsets[b]), 4);
        PutInt(out, at + slot + 4, static_cast<uint32_t>(set.blocks[b].lines.size()), 2);
        at += entry;
    }
    stats.keys = static_cast<int>(blockOfKey.size());
    stats.slot = static_cast<int>(slot);
    stats.blocks = static_cast<int>(set.blocks.size());
    stats.bytes = out.size();
    return out;
}

bool CompileTextBaseFile(const std::filesystem::path& stem, CompileStats& stats,
                         std::string& error) {
    auto csr = WithExtension(stem, ".csr");
    SourceSet set;
    if (!ReadSourceSet(csr, set)) {
        error = Format("Не открывается файл %s"_cp, PathForMessage(csr).c_str());
        return false;
    }
    auto bytes = CompileTextBase(set, stats, error);
    if (!bytes) return false;
    auto cta = WithExtension(stem, ".cta");
    if (!WriteFileAtomically(cta.string(), *bytes)) {
        error = Format("Не записывается файл %s"_cp, PathForMessage(cta).c_str());
        return false;
    }
    return true;
}

bool TextBaseNeedsCompile(const std::filesystem::path& stem) {
    std::error_code ec;
    auto csr = WithExtension(stem, ".csr");
    if (!std::filesystem::exists(csr, ec)) return false;
    auto cta = WithExtension(stem, ".cta");
    auto compiled = std::filesystem::last_write_time(cta, ec);
    if (ec) return true;
    for (const auto& source : NamedSourceFiles(csr)) {
        auto written = std::filesystem::last_write_time(source, ec);
        if (!ec && written > compiled) return true;
    }
    return false;
}

PrintedBlock PrintBlock(const std::vector<std::string>& lines) {
    PrintedBlock out;
    size_t last = lines.size();
    while (last > 0 && IsBlankLine(lines[last - 1])) --last;
    bool text = false;
    for (size_t i = 0; i < last; ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line[0] == '=') {
            out.value = line.substr(1);
            continue;
        }
        if (!line.empty() && line[0] == '#') continue;
        out.text += line;
        out.text += '\n';
        text = text || !IsBlankLine(line);
    }
    if (text)
        out.text += '\n';
    else
        out.text.clear();
    return out;
}

CompiledTextBase::~CompiledTextBase() {
    Close();
}

void CompiledTextBase::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    table_.clear();
    lines_.clear();
    count_ = slot_ = 0;
    found_ = false;
}

bool CompiledTextBase::Open(const std::filesystem::path& cta, std::string& reason) {
    Close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(cta, ec)) {
        reason = "not a readable file";
        return false;
    }
    std::FILE* file = std::fopen(cta.c_str(), "rb");
    if (!file) {
        reason = "cannot be opened";
        return false;
    }
    std::string header(12, '\0');
    int64_t size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::rewind(file);
    if (size < 12 || std::fread(header.data(), 1, 12, file) != 12) {
        reason = "shorter than its header";
    } else if (GetInt(header, 0, 4) != 0 || GetInt(header, 4, 4) != kTableOffset) {
        reason = "header is not 0, 12";
    } else if (GetInt(header, 8, 2) < 0 || GetInt(header, 10, 2) < 1) {
        reason = "key count below 0 or key slot below 1";
    } else {
        int count = static_cast<int>(GetInt(header, 8, 2));
        int slot = static_cast<int>(GetInt(header, 10, 2));
        int64_t tableBytes = static_cast<int64_t>(count) * (slot + 6);
        if (kTableOffset + tableBytes > size) {
            reason = "key table runs past the end of the file";
        } else {
            table_.resize(static_cast<size_t>(tableBytes));
            if (std::fread(table_.data(), 1, table_.size(), file) != table_.size()) {
                reason = "key table cannot be read";
            } else {
                file_ = file;
                size_ = size;
                count_ = count;
                slot_ = slot;
                for (int i = 1; i < count_; ++i)
                    if (KeyAt(i - 1) > KeyAt(i)) {
                        reason = "keys are not in ascending order";
                        file_ = nullptr;
                        break;
                    }
                if (file_) return true;
            }
        }
    }
    std::fclose(file);
    table_.clear();
    count_ = slot_ = 0;
    return false;
}

std::string_view CompiledTextBase::KeyAt(int index) const {
    std::string_view slot(table_.data() + static_cast<size_t>(index) * (slot_ + 6),
                          static_cast<size_t>(slot_));
    return slot.substr(0, slot.find('\0'));
}

std::vector<std::string> CompiledTextBase::Keys() const {
    std::vector<std::string> keys;
    for (int i = 0; i < count_; ++i) keys.emplace_back(KeyAt(i));
    return keys;
}

bool CompiledTextBase::Find(std::string_view key) {
    lines_.clear();
    found_ = false;
    if (!file_) return false;
    int low = 0, high = count_ - 1;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        std::string_view here = KeyAt(middle);
        if (here == key) {
            size_t at = static_cast<size_t>(middle) * (slot_ + 6) + slot_;
            found_ = true;
            ReadBlock(GetInt(table_, at, 4), static_cast<int>(GetInt(table_, at + 4, 2)));
            return !lines_.empty();
        }
        if (here < key)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return false;
}

void CompiledTextBase::ReadBlock(int64_t offset, int count) {
    // Lines that lie outside the file are clamped away.
    if (count <= 0 || offset < 0 || offset >= size_) return;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return;
    std::string line;
    char buffer[4096];
    while (static_cast<int>(lines_.size()) < count) {
        size_t n = std::fread(buffer, 1, sizeof buffer, file_);
        if (n == 0) break;
        for (size_t i = 0; i < n && static_cast<int>(lines_.size()) < count; ++i) {
            if (buffer[i] == '\n') {
                lines_.push_back(std::move(line));
                line.clear();
            } else {
                line += buffer[i];
            }
        }
    }
    // A last line cut by the end of the file still counts.
    if (static_cast<int>(lines_.size()) < count && !line.empty()) lines_.push_back(line);
}

}  // namespace orbeta
