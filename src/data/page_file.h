#pragma once
// The page file (.bod): pages of P bytes, each {int16 used bytes U, records packed end
// to end: int16 key length, key, int16 data length, data}; and the free-space file
// (.bcr): one int16 per page, the free bytes P − 2 − U, a hint checked against the
// page before it is trusted.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/binary_file.h"

namespace orbeta {

struct PageRecord {
    int offset = 0;  // of the key length, in the page
    int size = 0;    // 4 + key + data
    std::string_view key;
    const uint8_t* data = nullptr;
    int dataLength = 0;
};

// The records of a page image as the format reads them: U clamped to 0..P − 2, and
// the scan ends at a key length outside 0..20, a data length outside 0..P, or a
// record that runs past U. `complete` says whether the records fill U exactly.
std::vector<PageRecord> PageRecords(const std::vector<uint8_t>& page, bool* complete = nullptr);
int PageUsed(const std::vector<uint8_t>& page);

class PageFile {
  public:
    // Opens the page file and loads the free-space table. A missing free-space file is
    // created empty: every page then counts as empty until it is checked. Opened for
    // reading only, nothing is created.
    bool Open(const std::string& pagePath, const std::string& freePath, int pageSize,
              std::string& problem, bool writable = true);
    void Close();
    int PageSize() const { return pageSize_; }
    int PageCount() const { return pageCount_; }
    const std::vector<int>& FreeTable() const { return free_; }
    void SetFreeTable(std::vector<int> table) { free_ = std::move(table); }

    // The rest throw StoreError when a page cannot be read or written.
    // Appends a record (4 + key + data ≤ P − 2, checked by the caller) to the first
    // page with room, or a new page; its page and offset.
    struct Placed {
        int page = -1;
        int offset = 0;
    };
    Placed Append(std::string_view key, const std::vector<uint8_t>& data);
    // Data of the last record with the key in a page (there is one unless a write was
    // cut short, and then the last is the newest).
    std::optional<std::vector<uint8_t>> Find(int page, std::string_view key);
    // Removes every record with the key from a page except the one at keepOffset.
    void Remove(int page, std::string_view key, int keepOffset = -1);
    // Removes the one record at an offset (undoing an Append).
    void RemoveAt(int page, int offset);
    // A page image as it is in the file.
    const std::vector<uint8_t>& Load(int page);
    // Writes the table: page count × 2 bytes at the start of the free-space file.
    void SaveFreeTable();
    void Sync();       // both files
    void SyncPages();  // the page file only: the free-space file is a checked hint

  private:
    void Store(int page);
    void Drop(int page, std::vector<int> offsets);

    BinaryFile pages_, freeFile_;
    int pageSize_ = 0;
    int pageCount_ = 0;
    std::vector<int> free_;
    std::vector<uint8_t> buffer_;
    int bufferPage_ = -1;
};

}  // namespace orbeta
