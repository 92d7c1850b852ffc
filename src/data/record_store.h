#pragma once
// The keyed record store: an index file (stem.btr), a page file (stem.bod) and a
// free-space file (stem.bcr). A record is up to 255 numbered text fields stored under
// a key of 1..20 bytes (trailing blanks are not part of a key).
//
// After a crash: every write reaches the files in an order that a killed process
// cannot break (a new record is stored before the index refers to it, and the old one
// goes only afterwards; index changes switch over in one write), so every card stays
// readable with its old or its new contents. Before the first change of a session a
// flag is set in the index header and synced to disk; a store found with the flag set
// is checked in full when opened and refused when it is damaged.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/base_record.h"
#include "data/index_file.h"
#include "data/page_file.h"

namespace orbeta {

// WriteRecord results.
constexpr int kWriteDone = 0;
constexpr int kWriteTooLarge = -1;  // the fields do not fit a page
constexpr int kWriteBadKey = -2;    // empty, or longer than 20 characters
constexpr int kWriteFailed = -3;    // the files could not be read or written

struct StoreOpenError {
    bool damaged = false;  // the files are there but are not a sound store
    bool busy = false;     // another program has the store open
    std::string text;      // CP1251, for the user
};

class RecordStore {
  public:
    static std::unique_ptr<RecordStore> Open(const std::string& stem, StoreOpenError& error);
    ~RecordStore() { Close(); }
    // Writes the free-space table and closes the files; false after a warning when
    // the last writes failed.
    bool Close();

    const std::string& Stem() const { return stem_; }
    int PageSize() const { return index_.Header().pageSize; }

    // Failures inside these are shown as warnings and give the failure result.
    bool FindKey(std::string_view key);
    bool ReadRecord(std::string_view key, BaseRecord& record);
    // Replaces whatever is stored under the key; a refused write changes nothing.
    int WriteRecord(std::string_view key, const BaseRecord& record);
    // 1 when the key was removed, 0 when it was not there.
    int DeleteRecord(std::string_view key);
    // The prefix and a decimal counter, not yet in use; empty after a warning.
    std::string NewKey(std::string_view prefix);
    // Live keys that begin with the prefix, ascending, without those holding "@";
    // nullopt after a warning when the index is damaged.
    std::optional<std::vector<std::string>> ListKeys(std::string_view prefix);

    IndexFile& Index() { return index_; }
    PageFile& Pages() { return pages_; }

  private:
    explicit RecordStore(std::string stem) : stem_(std::move(stem)) {}
    void BeginChanges();
    // These throw StoreError.
    bool Holds(std::string_view key);
    bool Read(std::string_view key, BaseRecord& record);
    void Report(const std::string& what) const;

    std::string stem_;
    IndexFile index_;
    PageFile pages_;
    bool open_ = false;
    bool changed_ = false;
};

// Creates the three files of a new, empty store with pages of P bytes: 0, or 1 when
// a file cannot be created (none of the three is left behind then).
int CreateBase(const std::string& stem, int pageSize = kDefaultPageSize);

// The next candidate of NewKey: the run of digits at the end (after trailing blanks)
// plus one, with at least as many digits.
std::string IncrementKeyCounter(std::string_view key);

}  // namespace orbeta
