// Texts the chart database reads: card CSV files, list files and the profile's BASA
// line; any bytes are read without a crash or a hang.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../cli/profile_stem.h"
#include "data/card_csv.h"
#include "data/open_base.h"
#include "platform/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    orbeta::ParseCardsCsv(text);
    orbeta::cli::BaseStemOfProfileText(text);
    // In memory where the system has it: marking a line rewrites the file safely,
    // which syncs it.
    static const struct ListFile {
        std::string path = (std::filesystem::exists("/dev/shm") ? "/dev/shm/" : "/tmp/") +
                           std::string("orbeta-fuzz-list-") + std::to_string(::getpid());
        ~ListFile() { std::remove(path.c_str()); }
    } file;
    const std::string& list = file.path;
    std::ofstream(list, std::ios::binary | std::ios::trunc) << text;
    orbeta::ListedKeys(list);
    orbeta::PickListed(list, size % 7, size % 2 == 0);
    return 0;
}
