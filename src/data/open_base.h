#pragma once
// The program's one open database. Every command opens it, does its work and closes
// it again, so that the files are consistent between commands.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/base_record.h"
#include "data/record_store.h"

namespace orbeta {

// 0, or −1 when a file of the set cannot be opened. A database already open stays
// open ("2OpBd"); a damaged one, or one another program holds, is refused. What went
// wrong waits, with the messages of the operations below, for the command that
// started the work to tell the user (TellBaseMessages), so that one fault is told once.
int OpenBase(const std::string& stem);
void CloseBase();
bool IsBaseOpen();
// The open database, nullptr when none is.
RecordStore* OpenedBase();

// Operations on the open database; with none open they fail.
bool FindKey(std::string_view key);
bool ReadRecord(std::string_view key, BaseRecord& record);
int WriteRecord(std::string_view key, const BaseRecord& record);
int DeleteRecord(std::string_view key);
std::string NewKey(std::string_view prefix);

// Writes the list file: one line " key" per live key with the prefix, ascending,
// keys holding "@" left out. Returns the first key written, or an empty text.
std::string ListKeys(const std::string& listFile, std::string_view prefix);

// The key on the k-th (from 0) line of a list file that begins with a blank; with
// mark, that blank becomes "-" so that the line no longer counts. nullopt when there
// is no such line.
std::optional<std::string> PickListed(const std::string& listFile, int k, bool mark);

// The keys of all lines that PickListed counts, in order (the list file read once).
std::vector<std::string> ListedKeys(const std::string& listFile);

// Live keys with a prefix, ascending, without those holding "@"; nullopt when the
// index cannot be read or nothing is open.
std::optional<std::vector<std::string>> KeysWithPrefix(std::string_view prefix);

// The messages waiting, taken (distinct texts, CP1251).
std::vector<std::string> TakeBaseMessages();
// Shows the waiting messages as warnings, or the fallback (when not empty) when none
// waits; true when something was shown.
bool TellBaseMessages(const std::string& fallback = {});

// Opens a database for the life of the object.
class BaseSession {
  public:
    explicit BaseSession(const std::string& stem) : open_(OpenBase(stem) == 0) {}
    ~BaseSession() {
        if (open_) CloseBase();
    }
    BaseSession(const BaseSession&) = delete;
    BaseSession& operator=(const BaseSession&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_;
};

}  // namespace orbeta
