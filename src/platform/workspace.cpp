#include "platform/workspace.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/format.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace orbeta {

#ifndef ORBETA_TEMPLATE_DIR
#define ORBETA_TEMPLATE_DIR ""
#endif

namespace {

// FNV-1a: a stable fingerprint of a file's bytes, the same in every build.
std::string Fingerprint(const std::string& bytes) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return Format("%016" PRIx64, h);
}

using ShippedRecord = std::map<std::string, std::string>;  // name → fingerprint

ShippedRecord ReadShipped(const fs::path& file) {
    ShippedRecord record;
    auto bytes = ReadFileBytes(file.string());
    if (!bytes) return record;
    for (const auto& line : SplitLines(*bytes)) {
        size_t tab = line.find('\t');
        if (tab == 16) record[line.substr(tab + 1)] = line.substr(0, tab);
    }
    return record;
}

bool WriteShipped(const fs::path& file, const ShippedRecord& record) {
    std::string text;
    for (const auto& [name, print] : record) text += print + '\t' + name + '\n';
    return WriteFileAtomically(file.string(), text);
}

}  // namespace

std::string DefaultWorkspaceDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/orbeta";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/orbeta";
}

bool PrepareWorkspace(const std::string& dir, const std::string& templateDir, std::string& error,
                      std::vector<std::string>* fresh) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
        error = "cannot create workspace " + dir;
        return false;
    }
    if (templateDir.empty() || !fs::is_directory(templateDir, ec)) return true;
    const fs::path recordFile = fs::path(dir) / kShippedRecord;
    ShippedRecord shipped = ReadShipped(recordFile);
    const ShippedRecord before = shipped;
    for (const auto& entry : fs::recursive_directory_iterator(templateDir, ec)) {
        fs::path rel = fs::relative(entry.path(), templateDir, ec);
        fs::path target = fs::path(dir) / rel;
        if (entry.is_directory()) {
            fs::create_directories(target, ec);
            continue;
        }
        auto newBytes = ReadFileBytes(entry.path().string());
        if (!newBytes) continue;
        const std::string name = rel.generic_string();
        const std::string newPrint = Fingerprint(*newBytes);
        bool missing = !fs::exists(target, ec);
        if (!missing) {
            auto oldBytes = ReadFileBytes(target.string());
            std::string present = oldBytes ? Fingerprint(*oldBytes) : "";
            if (present == newPrint) {
                shipped[name] = newPrint;
                continue;
            }
            auto it = shipped.find(name);
            // Changed since it was installed, or never installed by us: the user's.
            if (it == shipped.end() || it->second != present) continue;
        }
        if (!WriteFileAtomically(target.string(), *newBytes)) {
            error = "cannot install " + target.string();
            return false;
        }
        shipped[name] = newPrint;
        if (missing && fresh) fresh->push_back(name);
    }
    if (shipped != before && !WriteShipped(recordFile, shipped)) {
        error = "cannot write " + recordFile.string();
        return false;
    }
    return true;
}

std::string TemplateDir() {
    const char* env = std::getenv("ORBETA_TEMPLATE_DIR");
    return env && *env ? env : ORBETA_TEMPLATE_DIR;
}

bool EnterWorkspace(const std::string& requested, std::string& error,
                    std::vector<std::string>* fresh) {
    std::string dir = requested.empty() ? DefaultWorkspaceDir() : requested;
    if (!PrepareWorkspace(dir, TemplateDir(), error, fresh)) return false;
    if (::chdir(dir.c_str()) != 0) {
        error = "cannot enter workspace " + dir;
        return false;
    }
    return true;
}

}  // namespace orbeta
