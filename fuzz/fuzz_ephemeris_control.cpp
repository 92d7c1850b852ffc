// dirswe.ctl and swurn.ctl: any bytes are read without a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/ephemeris_files.h"
#include "core/hypothetical.h"
#include "platform/services.h"

namespace {
class QuietServices : public orbeta::Services {
  public:
    void Warning(const std::string&) override {}
    [[noreturn]] void Fatal(const std::string&) override { std::abort(); }
    orbeta::ContinueOrQuit AskMissingEphemerisFile(const std::string&) override {
        return orbeta::ContinueOrQuit::Continue;
    }
    [[noreturn]] void Quit() override { std::abort(); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietServices services;
    orbeta::InstallServices(&services);
    std::string text(reinterpret_cast<const char*>(data), size);
    orbeta::Diagnostics noted;
    orbeta::ParseHypotheticalElements(text, noted);
    std::string prefix;
    orbeta::DirectoryOfControlText(text, prefix);
    return 0;
}
