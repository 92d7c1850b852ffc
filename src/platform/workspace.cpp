#include "platform/workspace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cinttypes>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>

#include "platform/format.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace orbeta {

#ifndef ORBETA_TEMPLATE_DIR
#define ORBETA_TEMPLATE_DIR ""
#endif

namespace {

constexpr const char* kManifestHeader = "orbeta-manifest 1";
constexpr const char* kNone = "-";

// FNV-1a: a stable fingerprint of a file's bytes, the same in every build.
std::string Fingerprint(const std::string& bytes) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return Format("%016" PRIx64, h);
}

bool IsFingerprint(const std::string& s) {
    return s.size() == 16 && s.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::optional<int64_t> ParseCount(const std::string& s) {
    int64_t value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value < 0)
        return std::nullopt;
    return value;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// A relative name inside the workspace: no way out of it, nothing hidden.
bool IsSafeName(const std::string& name) {
    if (name.empty() || name.front() == '/') return false;
    for (const auto& part : fs::path(name))
        if (part.empty() || part.string().front() == '.') return false;
    return true;
}

// Size and modification time of a file, as recorded; unset when it does not exist.
struct FileStamp {
    int64_t size = -1;
    int64_t mtime = 0;  // nanoseconds
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const fs::path& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileStamp{static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// A file changed within the last seconds may change again within the same tick of the
// file system's clock, unseen by its stamp: such a stamp is not trusted later.
bool TrustworthyStamp(const FileStamp& stamp) {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    int64_t nowNs = static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    return stamp.mtime < nowNs - 2000000000ll;
}

// Per file of the workspace: the fingerprint of what was installed ("-" when the file
// was there before us), and the fingerprint of its bytes when it had `stamp`.
struct Entry {
    std::string installed = kNone;
    std::string present;
    std::optional<FileStamp> stamp;
    bool operator==(const Entry&) const = default;
};
using ShippedRecord = std::map<std::string, Entry>;

// Lines "installed\tpresent\tsize\tmtime\tname"; the older "installed\tname" lines
// carry no stamp. Lines of any other shape are skipped: a file they named counts as
// one whose origin is unknown, which keeps it from being overwritten.
ShippedRecord ReadShipped(const fs::path& file) {
    ShippedRecord record;
    auto bytes = ReadFileBytes(file.string());
    if (!bytes) return record;
    for (const auto& line : SplitLines(*bytes)) {
        auto f = SplitTabs(line);
        if (f.size() == 2 && IsFingerprint(f[0]) && IsSafeName(f[1])) {
            record[f[1]].installed = f[0];
        } else if (f.size() == 5 && (IsFingerprint(f[0]) || f[0] == kNone) && IsFingerprint(f[1]) &&
                   IsSafeName(f[4])) {
            Entry& e = record[f[4]];
            e.installed = f[0];
            e.present = f[1];
            auto size = ParseCount(f[2]), mtime = ParseCount(f[3]);
            if (size && mtime) e.stamp = FileStamp{*size, *mtime};
        }
    }
    return record;
}

bool WriteShipped(const fs::path& file, const ShippedRecord& record) {
    std::string text;
    for (const auto& [name, e] : record) {
        if (e.present.empty()) {
            if (e.installed != kNone) text += e.installed + '\t' + name + '\n';
            continue;
        }
        std::string size = kNone, mtime = kNone;
        if (e.stamp) {
            size = std::to_string(e.stamp->size);
            mtime = std::to_string(e.stamp->mtime);
        }
        text += e.installed + '\t' + e.present + '\t' + size + '\t' + mtime + '\t' + name + '\n';
    }
    return WriteFileAtomically(file.string(), text);
}

using Manifest = std::map<std::string, std::string>;  // name → fingerprint

// The manifest, when it is whole: its header, one line per file, and an end line that
// counts them (a cut-short manifest is not taken for a shorter one).
std::optional<Manifest> ReadManifest(const fs::path& templateDir) {
    auto bytes = ReadFileBytes((templateDir / kWorkspaceManifest).string());
    if (!bytes) return std::nullopt;
    auto lines = SplitLines(*bytes);
    if (lines.size() < 2 || lines.front() != kManifestHeader) return std::nullopt;
    Manifest manifest;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        auto f = SplitTabs(lines[i]);
        if (f.size() != 2 || !IsFingerprint(f[0]) || !IsSafeName(f[1])) return std::nullopt;
        manifest[f[1]] = f[0];
    }
    if (lines.back() != "end " + std::to_string(lines.size() - 2) ||
        manifest.size() != lines.size() - 2)
        return std::nullopt;
    return manifest;
}

// Every file of the template directory, by reading it: the way without a manifest.
Manifest ScanTemplate(const fs::path& templateDir, int& filesRead) {
    Manifest manifest;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(templateDir, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = fs::relative(it->path(), templateDir, ec).generic_string();
        if (ec || !IsSafeName(name)) continue;  // the manifest itself among them
        auto bytes = ReadFileBytes(it->path().string());
        if (!bytes) continue;
        ++filesRead;
        manifest[name] = Fingerprint(*bytes);
    }
    return manifest;
}

}  // namespace

std::string DefaultWorkspaceDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/orbeta";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/orbeta";
}

bool WriteWorkspaceManifest(const std::string& templateDir, std::string& error) {
    int read = 0;
    Manifest manifest = ScanTemplate(templateDir, read);
    std::string text = std::string(kManifestHeader) + '\n';
    for (const auto& [name, print] : manifest) text += print + '\t' + name + '\n';
    text += "end " + std::to_string(manifest.size()) + '\n';
    if (WriteFileAtomically((fs::path(templateDir) / kWorkspaceManifest).string(), text))
        return true;
    error = "cannot write the manifest of " + templateDir;
    return false;
}

std::string ManifestFingerprint(const std::string& templateDir, const std::string& name) {
    auto manifest = ReadManifest(templateDir);
    if (!manifest) return "";
    auto it = manifest->find(name);
    return it == manifest->end() ? "" : it->second;
}

bool PrepareWorkspace(const std::string& dir, const std::string& templateDir, std::string& error,
                      std::vector<std::string>* fresh, int* filesRead) {
    int read = 0;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
        error = "cannot create workspace " + dir;
        return false;
    }
    if (templateDir.empty() || !fs::is_directory(templateDir, ec)) return true;
    const fs::path recordFile = fs::path(dir) / kShippedRecord;
    ShippedRecord record = ReadShipped(recordFile);
    const ShippedRecord before = record;
    std::optional<Manifest> manifest = ReadManifest(templateDir);
    if (!manifest) manifest = ScanTemplate(templateDir, read);

    for (const auto& [name, shippedPrint] : *manifest) {
        const fs::path target = fs::path(dir) / name;
        const fs::path source = fs::path(templateDir) / name;
        std::optional<FileStamp> stamp = StampOf(target);
        if (!stamp && fs::exists(target, ec)) continue;  // not a plain file: not ours
        Entry& e = record[name];
        if (stamp) {
            // What the file holds now: known from the record while its stamp is the same.
            std::string present;
            if (e.stamp && !e.present.empty() && *e.stamp == *stamp) {
                present = e.present;
            } else {
                auto bytes = ReadFileBytes(target.string());
                if (!bytes) continue;
                ++read;
                present = Fingerprint(*bytes);
            }
            e.present = present;
            e.stamp = TrustworthyStamp(*stamp) ? stamp : std::nullopt;
            if (present == shippedPrint) {
                e.installed = shippedPrint;
                continue;
            }
            // Changed since it was installed, or never installed by us: the user's.
            if (e.installed != present) continue;
        }
        auto bytes = ReadFileBytes(source.string());
        if (!bytes) continue;  // named by a manifest older than the template
        ++read;
        fs::create_directories(target.parent_path(), ec);
        if (!WriteFileAtomically(target.string(), *bytes)) {
            error = "cannot install " + target.string();
            return false;
        }
        e.installed = e.present = Fingerprint(*bytes);
        e.stamp = StampOf(target);
        if (e.stamp && !TrustworthyStamp(*e.stamp)) e.stamp.reset();
        if (!stamp && fresh) fresh->push_back(name);
    }
    if (filesRead) *filesRead = read;
    if (record != before && !WriteShipped(recordFile, record)) {
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
