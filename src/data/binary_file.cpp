#include "data/binary_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace orbeta {
namespace {

long writeLimit = -1;
std::function<void(const StoreWriteEvent&)> recorder;

void Record(StoreWriteEvent::Kind kind, const std::string& path, int64_t offset = 0,
            const void* data = nullptr, size_t n = 0) {
    if (!recorder) return;
    StoreWriteEvent e;
    e.kind = kind;
    e.path = path;
    e.offset = offset;
    if (data) e.bytes.assign(static_cast<const char*>(data), n);
    recorder(e);
}

// Counts one write against the test limit; false once the limit is used up.
bool WriteAllowed() {
    if (writeLimit < 0) return true;
    if (writeLimit == 0) return false;
    --writeLimit;
    return true;
}

}  // namespace

void SetStoreWriteLimit(long n) {
    writeLimit = n;
}

void SetStoreWriteRecorder(std::function<void(const StoreWriteEvent&)> r) {
    recorder = std::move(r);
}

bool SyncFolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "."
                         : slash == 0               ? "/"
                                                    : path.substr(0, slash);
    int fd;
    do fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool BinaryFile::Open(const std::string& path, bool writable) {
    Close();
    // O_NONBLOCK: a FIFO in the file's place must not hang the open (refused below).
    do fd_ = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return false;
    }
    path_ = path;
    return true;
}

bool BinaryFile::Create(const std::string& path) {
    Close();
    if (!WriteAllowed()) return false;
    do fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) return false;
    path_ = path;
    Record(StoreWriteEvent::Create, path);
    return true;
}

void BinaryFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

size_t BinaryFile::ReadSome(int64_t offset, void* data, size_t n) const {
    if (fd_ < 0 || offset < 0) return 0;
    auto* p = static_cast<char*>(data);
    size_t done = 0;
    while (done < n) {
        ssize_t r = ::pread(fd_, p + done, n - done, offset + static_cast<int64_t>(done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += static_cast<size_t>(r);
    }
    return done;
}

bool BinaryFile::ReadAt(int64_t offset, void* data, size_t n) const {
    return ReadSome(offset, data, n) == n;
}

bool BinaryFile::WriteAt(int64_t offset, const void* data, size_t n) {
    if (fd_ < 0 || offset < 0 || !WriteAllowed()) return false;
    // One call for the whole block: a process that is killed leaves either all of
    // it or none of it in the file.
    auto* p = static_cast<const char*>(data);
    size_t done = 0;
    while (done < n) {
        ssize_t r = ::pwrite(fd_, p + done, n - done, offset + static_cast<int64_t>(done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        done += static_cast<size_t>(r);
    }
    Record(StoreWriteEvent::Write, path_, offset, data, n);
    return true;
}

int64_t BinaryFile::Size() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
    return st.st_size;
}

bool BinaryFile::Lock(bool exclusive, int waitMilliseconds) {
    if (fd_ < 0) return false;
    for (int waited = 0;; waited += 10) {
        if (::flock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return true;
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMilliseconds) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool BinaryFile::Truncate(int64_t size) {
    if (fd_ < 0 || !WriteAllowed() || ::ftruncate(fd_, size) != 0) return false;
    Record(StoreWriteEvent::Truncate, path_, size);
    return true;
}

bool BinaryFile::Sync() {
    if (fd_ < 0 || !WriteAllowed()) return false;
    if (recorder) {
        Record(StoreWriteEvent::Sync, path_);
        return true;
    }
    return ::fsync(fd_) == 0;
}

}  // namespace orbeta
