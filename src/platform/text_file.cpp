#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace orbeta {

std::optional<std::string> ReadFileBytes(const std::string& path) {
    // Plain descriptors, not streams: a stream opened on a directory throws from its
    // first read. Only a regular file is read; O_NONBLOCK keeps a FIFO from hanging
    // the open.
    int fd;
    do fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::string> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        bytes.emplace();
        if (st.st_size > 0) bytes->reserve(static_cast<size_t>(st.st_size));
        char buffer[1 << 16];
        for (;;) {
            ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                bytes.reset();
                break;
            }
            if (n == 0) break;
            bytes->append(buffer, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return bytes;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

bool IsMeaningfulLine(std::string_view line) {
    if (line.empty() || line[0] == '*') return false;
    return line.find_first_not_of(" \t\r\n\f\v") != std::string_view::npos;
}

std::optional<std::vector<std::string>> ReadMeaningfulLines(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    std::vector<std::string> out;
    for (auto& line : SplitLines(*bytes))
        if (IsMeaningfulLine(line)) out.push_back(std::move(line));
    return out;
}

std::vector<std::string> SplitTokens(std::string_view line) {
    std::vector<std::string> tokens;
    size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (i < line.size()) {
        while (i < line.size() && blank(line[i])) ++i;
        if (i >= line.size()) break;
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos) end = line.size();
            tokens.emplace_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            size_t start = i;
            while (i < line.size() && !blank(line[i])) ++i;
            tokens.emplace_back(line.substr(start, i - start));
        }
    }
    return tokens;
}

namespace {

// The file a path names after following its symbolic links (a dangling link names
// the file it would create); the path itself when it is no link.
std::string FollowLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) break;
        fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p.string();
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    // Through a link the new file replaces the link's target, in the target's directory,
    // and the link stays; the replaced file's mode and owner pass to the new one.
    const std::string target = FollowLinks(path);
    struct stat old {};
    bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::string tmp = target + ".tmp" + std::to_string(::getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    if (ok && replacing) {
        // Only the owner or root may give the file away: elsewhere it stays the writer's.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] int given = ::fchown(fileno(f), old.st_uid, old.st_gid);
        }
        ok = ::fchmod(fileno(f), old.st_mode & 07777) == 0;
    }
    ok = (::fsync(fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = std::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace orbeta
