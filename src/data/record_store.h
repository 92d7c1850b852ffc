#pragma once
// The keyed record store: an index file (stem.btr), a page file (stem.bod) and a
// free-space file (stem.bcr). A record is up to 255 numbered text fields stored under
// a key of 1..20 bytes (trailing blanks are not part of a key).
//
// After a crash: every write reaches the files in an order that a killed process
// cannot break (a new record is stored before the index refers to it, and the old one
// goes only afterwards; index changes switch over in one write), so every card stays
// readable with its old or its new contents. Syncs at the same points (the record
// before the index entry, the index before an old copy goes, new index nodes before
// the switch to them) keep that order on the disk through a power loss. Before the
// first change of a session a flag is set in the index header and synced to disk; a
// store found with the flag set is checked in full when opened and refused when it is
// damaged (db repair rebuilds its index from the pages).
//
// The store tells nobody: failures give a failure result, and what the user should
// read is kept as messages for the caller to show once.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/base_record.h"
#include "data/index_file.h"
#include "data/page_file.h"
#include "data/store_check.h"

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
    // Writes the free-space table and closes the files; false (with a message) when
    // the last writes failed.
    bool Close();

    // What the user should be told since the last call: distinct texts (CP1251).
    std::vector<std::string> TakeMessages();

    // Bulk work (a town refresh, an import): the syncs inside each change are left out
    // and one sync is made every `batch` changes and at the end of the bulk. A power
    // loss inside a batch can leave the store to be repaired; callers keep a copy.
    void SetBulk(bool on, int batch = 1000);

    // Checks the store in full; when it is sound, the nodes no entry leads to join the
    // spare list (written at once). The report says which they were.
    StoreReport CheckAndReclaim();

    const std::string& Stem() const { return stem_; }
    int PageSize() const { return index_.Header().pageSize; }

    // Failures inside these give the failure result and a message.
    bool FindKey(std::string_view key);
    bool ReadRecord(std::string_view key, BaseRecord& record);
    // Replaces whatever is stored under the key; a refused write changes nothing.
    int WriteRecord(std::string_view key, const BaseRecord& record);
    // 1 when the key was removed, 0 when it was not there.
    int DeleteRecord(std::string_view key);
    // The prefix and a decimal counter, not yet in use; empty (with a message) when
    // none is left or the index cannot be read.
    std::string NewKey(std::string_view prefix);
    // Live keys that begin with the prefix, ascending, without those holding "@";
    // nullopt (with a message) when the index is damaged.
    std::optional<std::vector<std::string>> ListKeys(std::string_view prefix);

    IndexFile& Index() { return index_; }
    PageFile& Pages() { return pages_; }

  private:
    explicit RecordStore(std::string stem) : stem_(std::move(stem)) {}
    void BeginChanges();
    void Counted();  // one change done: the bulk's sync when a batch is full
    void Barrier();  // pages and index durable
    // These throw StoreError.
    bool Holds(std::string_view key);
    bool Read(std::string_view key, BaseRecord& record);
    void Report(const std::string& what);
    void Tell(const std::string& text);

    std::string stem_;
    IndexFile index_;
    PageFile pages_;
    bool open_ = false;
    bool changed_ = false;
    bool bulk_ = false;
    int batch_ = 0, inBatch_ = 0;
    std::vector<std::string> messages_;
};

// Creates the three files of a new, empty store with pages of P bytes: 0, or 1 when
// a file cannot be created (none of the three is left behind then).
int CreateBase(const std::string& stem, int pageSize = kDefaultPageSize);

// The next candidate of NewKey: the run of digits at the end (after trailing blanks)
// plus one, with at least as many digits.
std::string IncrementKeyCounter(std::string_view key);

}  // namespace orbeta
