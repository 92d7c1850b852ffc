// Compiled text bases of any bytes: opened or refused without a crash; every key of
// an opened base is found, and its lines never run past the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "interp/text_base.h"
#include "platform/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // One file per process, removed when it ends.
    static const struct Scratch {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("fuzz_text_file_" + std::to_string(getpid()) + ".cta");
        ~Scratch() {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    } scratch;
    const std::filesystem::path& cta = scratch.path;
    if (!orbeta::WriteFileAtomically(cta.string(), input)) std::abort();
    orbeta::CompiledTextBase base;
    std::string reason;
    if (!base.Open(cta, reason)) return 0;
    for (const auto& key : base.Keys()) {
        base.Find(key);
        if (!base.Found()) std::abort();
        size_t bytes = 0;
        for (const auto& line : base.Lines()) bytes += line.size() + 1;
        if (bytes > size + 1) std::abort();
        orbeta::PrintBlock(base.Lines());
    }
    base.Find("");
    base.Find("p01p02a090");
    return 0;
}
