#pragma once
// A file of the record store, read and written at byte offsets. The store's integers
// are 16-bit little-endian and are put together byte by byte, never by dumping structs.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace orbeta {

class BinaryFile {
  public:
    BinaryFile() = default;
    ~BinaryFile() { Close(); }
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // An existing file, for reading and writing (or reading only).
    bool Open(const std::string& path, bool writable = true);
    // A new or emptied file, for reading and writing.
    bool Create(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    void Close();
    const std::string& Path() const { return path_; }

    // Exactly n bytes at an offset; false when the file holds fewer.
    bool ReadAt(int64_t offset, void* data, size_t n) const;
    // Up to n bytes at an offset; the count read.
    size_t ReadSome(int64_t offset, void* data, size_t n) const;
    // All n bytes or failure (a short write counts as failure).
    bool WriteAt(int64_t offset, const void* data, size_t n);
    int64_t Size() const;  // −1 when unknown
    // An advisory lock of the whole file against other programs (exclusive, or shared
    // for reading), waited for up to a time; released when the file is closed.
    bool Lock(bool exclusive, int waitMilliseconds);
    bool Truncate(int64_t size);
    bool Sync();

  private:
    int fd_ = -1;
    std::string path_;
};

inline int GetI16(const uint8_t* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}
inline void PutI16(uint8_t* p, int v) {
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

// For tests of interrupted writes: after n more successful writes, every write,
// truncation and sync of the store fails, as when the process dies or the disk is
// full at that moment. A negative n lifts the limit.
void SetStoreWriteLimit(long n);

// For tests of power loss: every change the store makes to its files, in order, with
// the syncs between them, so that a test can replay what a disk may have kept. While
// a recorder is set, syncs are recorded but not made (the files are the test's).
struct StoreWriteEvent {
    enum Kind { Create, Write, Truncate, Sync } kind = Write;
    std::string path;
    int64_t offset = 0;  // Write: where; Truncate: the new size
    std::string bytes;   // Write
};
void SetStoreWriteRecorder(std::function<void(const StoreWriteEvent&)> recorder);

// Syncs the folder that holds a path, so that a rename into it survives a power loss.
bool SyncFolderOf(const std::string& path);

}  // namespace orbeta
