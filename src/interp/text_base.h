#pragma once
// The compiled interpretation text base stem.cta and its compiler. Little-endian:
// int32 0; int32 12 (offset of the key table); int16 N keys; int16 K = longest key
// + 1; N entries of K + 6 bytes (the key zero-terminated in K bytes, int32 offset of
// the block's first text line, int16 line count), sorted by key as unsigned bytes;
// then the texts: each block's lines in CP1251, each followed by "\n", in source order.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interp/text_source.h"

namespace orbeta {

inline constexpr size_t kMaxTextKeys = 32767;
inline constexpr size_t kMaxKeyBytes = 255;

struct CompileStats {
    int keys = 0;
    int slot = 0;
    int blocks = 0;
    int lines = 0;
    size_t bytes = 0;
};

// The bytes of the compiled file of a source set; none (with the reason, CP1251,
// naming the file and line) when the set breaks the file's limits. Each distinct key
// has one entry, filled by the last block naming it.
std::optional<std::string> CompileTextBase(const SourceSet& set, CompileStats& stats,
                                           std::string& error);

// Compiles stem.csr into stem.cta (a temporary file renamed over it: a failed compile
// leaves the old file). False with the reason (CP1251) when nothing was written.
bool CompileTextBaseFile(const std::filesystem::path& stem, CompileStats& stats,
                         std::string& error);

// The recompile rule: a .csr exists, and the .cta is missing or older than one of the
// existing sources.
bool TextBaseNeedsCompile(const std::filesystem::path& stem);

std::filesystem::path WithExtension(const std::filesystem::path& stem, const char* extension);

// The printed form of a block's lines: up to the last non-blank line, without "=" and
// "#" lines, each ended by "\n", then one empty line; nothing when no printed line
// holds text. The value is the text after "=" of the block's last "=" line.
struct PrintedBlock {
    std::string text;
    std::optional<std::string> value;
};
PrintedBlock PrintBlock(const std::vector<std::string>& lines);

// A compiled base opened for lookups; the key table is held in memory and each block
// is read with one seek.
class CompiledTextBase {
  public:
    CompiledTextBase() = default;
    ~CompiledTextBase();
    CompiledTextBase(const CompiledTextBase&) = delete;
    CompiledTextBase& operator=(const CompiledTextBase&) = delete;

    // False with the reason (English, for the journal) when the file is not a base.
    bool Open(const std::filesystem::path& cta, std::string& reason);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Looks a key up and loads its lines; true when the block has lines.
    bool Find(std::string_view key);
    bool Found() const { return found_; }
    const std::vector<std::string>& Lines() const { return lines_; }

    int KeyCount() const { return count_; }
    int Slot() const { return slot_; }
    std::vector<std::string> Keys() const;

  private:
    std::string_view KeyAt(int index) const;
    void ReadBlock(int64_t offset, int count);

    std::FILE* file_ = nullptr;
    int64_t size_ = 0;
    int count_ = 0;
    int slot_ = 0;
    std::string table_;  // whole entries, K + 6 bytes each
    std::vector<std::string> lines_;
    bool found_ = false;
};

}  // namespace orbeta
