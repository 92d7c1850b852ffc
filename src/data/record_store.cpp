#include "data/record_store.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "data/store_texts.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

// A UI text with "%s" in it gets the argument there; the text is data, so it is never
// handed to printf as a format.
std::string WithArgument(const std::string& text, std::string_view arg) {
    size_t at = text.find("%s");
    if (at == std::string::npos) return text + " " + std::string(arg);
    return text.substr(0, at) + std::string(arg) + text.substr(at + 2);
}

}  // namespace

std::unique_ptr<RecordStore> RecordStore::Open(const std::string& stem, StoreOpenError& error) {
    error = {};
    std::unique_ptr<RecordStore> s(new RecordStore(stem));
    std::string problem;
    OpenStatus status = s->index_.Open(stem + ".btr", problem);
    if (status == OpenStatus::Opened &&
        !s->pages_.Open(stem + ".bod", stem + ".bcr", s->PageSize(), problem))
        status = OpenStatus::CannotOpen;
    if (status == OpenStatus::Opened && s->index_.UnfinishedFlag()) {
        // The last session that changed the store did not close: check everything. Its
        // spare nodes were not saved; the check finds them again.
        StoreReport report = CheckFiles(s->index_, s->pages_);
        if (!report.Sound()) {
            status = OpenStatus::Damaged;
            problem = report.problems.front();
            if (report.problems.size() > 1)
                problem += Format(" (и еще %zu)"_cp, report.problems.size() - 1);
        } else {
            s->pages_.SetFreeTable(report.freeTable);
            s->index_.AddSpares(report.unreachable);
            try {
                s->index_.SetUnfinishedFlag(false);
            } catch (const StoreError& e) {
                status = OpenStatus::CannotOpen;
                problem = e.what();
            }
        }
    }
    if (status != OpenStatus::Opened) {
        error.damaged = status == OpenStatus::Damaged;
        error.busy = status == OpenStatus::Busy;
        error.text = error.damaged ? Format(
                                         "База данных %s повреждена: %s. Индекс восстанавливает "
                                         "команда orbeta-cli db repair"_cp,
                                         stem.c_str(), problem.c_str())
                                   : problem;
        return nullptr;
    }
    s->open_ = true;
    return s;
}

bool RecordStore::Close() {
    if (!open_) return true;
    open_ = false;
    bool ok = true;
    try {
        pages_.SaveFreeTable();
        if (changed_) {
            // Everything this session wrote reaches the disk before the flag goes.
            pages_.Sync();
            index_.Sync();
            index_.SetUnfinishedFlag(false);
        }
    } catch (const StoreError& e) {
        Report(e.what());
        ok = false;
    }
    index_.Close();
    pages_.Close();
    return ok;
}

std::vector<std::string> RecordStore::TakeMessages() {
    return std::exchange(messages_, {});
}

void RecordStore::Tell(const std::string& text) {
    if (std::find(messages_.begin(), messages_.end(), text) == messages_.end())
        messages_.push_back(text);
}

void RecordStore::Report(const std::string& what) {
    Tell(Format("База данных %s: %s"_cp, stem_.c_str(), what.c_str()));
}

void RecordStore::SetBulk(bool on, int batch) {
    if (bulk_ && !on && open_ && changed_) {
        try {
            Barrier();
        } catch (const StoreError& e) {
            Report(e.what());
        }
    }
    bulk_ = on;
    batch_ = batch > 0 ? batch : 1;
    inBatch_ = 0;
    index_.SetBarriers(!on);
}

void RecordStore::Barrier() {
    pages_.SyncPages();
    index_.Sync();
}

void RecordStore::Counted() {
    if (bulk_ && ++inBatch_ >= batch_) {
        inBatch_ = 0;
        Barrier();
    }
}

void RecordStore::BeginChanges() {
    if (!index_.UnfinishedFlag()) index_.SetUnfinishedFlag(true);
    changed_ = true;
}

StoreReport RecordStore::CheckAndReclaim() {
    StoreReport report = CheckFiles(index_, pages_);
    if (!report.Sound() || report.unreachable.empty()) return report;
    try {
        // The nodes go into the list of a closed session: the flag is off on the disk
        // after this, as it was before, unless this session changed something.
        index_.AddSpares(report.unreachable);
        report.spareNodes = static_cast<int>(index_.Spares().size());
        if (!changed_) {
            index_.SetUnfinishedFlag(false);
            index_.Sync();
        }
    } catch (const StoreError& e) {
        Report(e.what());
        report.problems.push_back(e.what());
    }
    return report;
}

bool RecordStore::Holds(std::string_view key) {
    IndexSearch at = index_.Search(key);
    return at.found && at.page >= 0;
}

bool RecordStore::Read(std::string_view key, BaseRecord& record) {
    record.Clear();
    IndexSearch at = index_.Search(key);
    if (!at.found || at.page < 0) return false;
    auto data = pages_.Find(at.page, key);
    if (!data)
        throw StoreError(
            Format("записи %s нет на странице %d"_cp, OemToAnsi(key).c_str(), at.page));
    record.SetField(1, key);
    size_t limit = static_cast<size_t>(PageSize() - 8);
    DecodeFields(data->data(), std::min(data->size(), limit), record);
    return true;
}

bool RecordStore::FindKey(std::string_view rawKey) {
    std::string_view key = KeyText(rawKey);
    if (!open_ || !IsValidKey(key)) return false;
    try {
        return Holds(key);
    } catch (const StoreError& e) {
        Report(e.what());
        return false;
    }
}

bool RecordStore::ReadRecord(std::string_view rawKey, BaseRecord& record) {
    record.Clear();
    std::string_view key = KeyText(rawKey);
    if (!open_ || !IsValidKey(key)) return false;
    try {
        return Read(key, record);
    } catch (const StoreError& e) {
        Report(e.what());
        record.Clear();
        return false;
    }
}

int RecordStore::WriteRecord(std::string_view rawKey, const BaseRecord& record) {
    std::string_view key = KeyText(rawKey);
    if (!IsValidKey(key)) return kWriteBadKey;
    if (!open_) return kWriteFailed;
    // Every size is checked before anything changes, so a refused write leaves the
    // stored record as it was.
    std::vector<uint8_t> data = EncodeFields(record);
    size_t page = static_cast<size_t>(PageSize());
    if (data.size() > page - 8 || 4 + key.size() + data.size() > page - 2) return kWriteTooLarge;
    IndexSearch at;
    PageFile::Placed placed;
    try {
        at = index_.Search(key);
        BeginChanges();
        placed = pages_.Append(key, data);
        if (!bulk_) pages_.SyncPages();  // the record before the entry that leads to it
        try {
            if (at.found)
                index_.SetPage(at, placed.page);
            else
                index_.Insert(key, placed.page, at);
        } catch (const StoreError&) {
            try {
                pages_.RemoveAt(placed.page, placed.offset);
            } catch (const StoreError&) {
            }
            throw;
        }
    } catch (const StoreError& e) {
        Report(e.what());
        return kWriteFailed;
    }
    // The index now refers to the new record; only now may older copies go. A copy on
    // another page goes only once the index is on the disk.
    try {
        pages_.Remove(placed.page, key, placed.offset);
        if (at.found && at.page >= 0 && at.page != placed.page) {
            if (!bulk_) index_.Sync();
            pages_.Remove(at.page, key);
        }
        Counted();
    } catch (const StoreError& e) {
        Report(e.what());  // written; an old copy stays as unused bytes
    }
    return kWriteDone;
}

int RecordStore::DeleteRecord(std::string_view rawKey) {
    std::string_view key = KeyText(rawKey);
    if (!open_ || !IsValidKey(key)) return 0;
    IndexSearch at;
    try {
        at = index_.Search(key);
        if (!at.found || at.page < 0) return 0;
        BeginChanges();
        index_.Remove(at);
    } catch (const StoreError& e) {
        Report(e.what());
        return 0;
    }
    try {
        if (!bulk_) index_.Sync();  // the entry gone on the disk before its record
        pages_.Remove(at.page, key);
        Counted();
    } catch (const StoreError& e) {
        Report(e.what());  // the key is gone; its record stays as unused bytes
    }
    return 1;
}

std::string IncrementKeyCounter(std::string_view rawKey) {
    std::string key(KeyText(rawKey));
    size_t start = key.size();
    while (start > 0 && key[start - 1] >= '0' && key[start - 1] <= '9') --start;
    size_t i = key.size();
    while (i > start && key[i - 1] == '9') key[--i] = '0';
    if (i > start)
        ++key[i - 1];
    else
        key = key.substr(0, start) + "1" + key.substr(start);
    return key;
}

std::string RecordStore::NewKey(std::string_view prefix) {
    if (!open_) return {};
    std::string counterKey = std::string(prefix) + "@";
    std::string start, candidate;
    try {
        BaseRecord counter;
        bool counted = IsValidKey(counterKey) && Read(counterKey, counter) && counter.Has(2);
        candidate = counted ? counter.Field(2) : std::string(prefix) + "000000";
        // A damaged index must stop the search rather than pass a key that is in use.
        do {
            start = candidate;
            candidate = IncrementKeyCounter(candidate);
        } while (IsValidKey(candidate) && Holds(candidate));
    } catch (const StoreError& e) {
        Report(e.what());
        return {};
    }
    if (!IsValidKey(candidate)) {
        Tell(WithArgument(StoreText("errserv"), OemToAnsi(prefix)));
        return {};
    }
    BaseRecord next;
    next.SetField(2, start);
    WriteRecord(counterKey, next);  // a counter that is not saved only costs searching
    return candidate;
}

std::optional<std::vector<std::string>> RecordStore::ListKeys(std::string_view prefix) {
    std::vector<std::string> keys;
    if (!open_) return std::nullopt;
    try {
        index_.Walk(prefix, [&](const std::string& key, int) {
            if (key.compare(0, prefix.size(), prefix) != 0) return false;
            if (key.find('@') == std::string::npos) keys.push_back(key);
            return true;
        });
    } catch (const StoreError& e) {
        Report(e.what());
        return std::nullopt;
    }
    if (index_.TakeLongKeySeen()) Tell(StoreText("ErrLk"));
    return keys;
}

int CreateBase(const std::string& stem, int pageSize) {
    if (pageSize < kMinPageSize || pageSize > kMaxPageSize) return 1;
    IndexHeader h;
    h.pageSize = pageSize;
    auto block = IndexHeaderBlock(h);
    const std::string paths[3] = {stem + ".btr", stem + ".bod", stem + ".bcr"};
    BinaryFile files[3];
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) ok = files[i].Create(paths[i]);
    ok = ok && files[0].WriteAt(0, block.data(), block.size()) && files[0].Sync();
    if (!ok)
        for (int i = 0; i < 3; ++i)
            if (files[i].IsOpen()) {
                files[i].Close();
                std::remove(paths[i].c_str());
            }
    return ok ? 0 : 1;
}

}  // namespace orbeta
