// Text base sources of any bytes: two sources (split at the first 0xFF byte) compile
// without a crash, and every key of the compiled file reads back the lines of the
// last block that names it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <system_error>

#include "interp/text_base.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\xFF');
    orbeta::SourceSet set;
    orbeta::ParseSource(input.substr(0, split), "a.csr", set);
    if (split != std::string_view::npos) orbeta::ParseSource(input.substr(split + 1), "b.csr", set);
    orbeta::CompileStats stats;
    std::string error;
    auto bytes = orbeta::CompileTextBase(set, stats, error);
    if (!bytes) return 0;
    // One file per process, removed when it ends.
    static const struct Scratch {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("fuzz_text_base_" + std::to_string(getpid()) + ".cta");
        ~Scratch() {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    } scratch;
    const std::filesystem::path& cta = scratch.path;
    if (!orbeta::WriteFileAtomically(cta.string(), *bytes)) std::abort();
    orbeta::CompiledTextBase base;
    std::string reason;
    if (!base.Open(cta, reason)) std::abort();
    std::map<std::string, size_t> last;
    for (size_t b = 0; b < set.blocks.size(); ++b)
        for (const auto& key : set.blocks[b].keys) last[key] = b;
    if (base.KeyCount() != static_cast<int>(last.size())) std::abort();
    for (const auto& [key, b] : last) {
        base.Find(key);
        if (!base.Found()) std::abort();
        const auto& lines = set.blocks[b].lines;
        if (base.Lines().size() != lines.size()) std::abort();
        for (size_t i = 0; i < lines.size(); ++i)
            if (base.Lines()[i] != orbeta::OemToAnsi(lines[i])) std::abort();
    }
    return 0;
}
