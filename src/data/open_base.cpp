#include "data/open_base.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "data/store_texts.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {
std::unique_ptr<RecordStore> current;
std::vector<std::string> waiting;

void Wait(const std::string& text) {
    if (std::find(waiting.begin(), waiting.end(), text) == waiting.end()) waiting.push_back(text);
}

// Moves what the store has to say to the waiting messages; passes a result through.
template <class T>
T Collected(T result) {
    if (current)
        for (const auto& m : current->TakeMessages()) Wait(m);
    return result;
}

}  // namespace

int OpenBase(const std::string& stem) {
    if (current) {
        Wait(StoreText("2OpBd"));
        return -1;
    }
    StoreOpenError error;
    current = RecordStore::Open(stem, error);
    if (!current) {
        if (error.damaged || error.busy) Wait(error.text);
        return -1;
    }
    return 0;
}

void CloseBase() {
    if (current) Collected(current->Close());
    current.reset();
}

std::vector<std::string> TakeBaseMessages() {
    return std::exchange(waiting, {});
}

bool TellBaseMessages(const std::string& fallback) {
    auto messages = TakeBaseMessages();
    if (messages.empty() && !fallback.empty()) messages.push_back(fallback);
    for (const auto& m : messages) Svc().Warning(m);
    return !messages.empty();
}

bool IsBaseOpen() {
    return current != nullptr;
}
RecordStore* OpenedBase() {
    return current.get();
}

bool FindKey(std::string_view key) {
    return current && Collected(current->FindKey(key));
}

bool ReadRecord(std::string_view key, BaseRecord& record) {
    if (current) return Collected(current->ReadRecord(key, record));
    record.Clear();
    return false;
}

int WriteRecord(std::string_view key, const BaseRecord& record) {
    return current ? Collected(current->WriteRecord(key, record)) : kWriteFailed;
}

int DeleteRecord(std::string_view key) {
    return current ? Collected(current->DeleteRecord(key)) : 0;
}

std::string NewKey(std::string_view prefix) {
    return current ? Collected(current->NewKey(prefix)) : "";
}

std::optional<std::vector<std::string>> KeysWithPrefix(std::string_view prefix) {
    if (!current) return std::nullopt;
    return Collected(current->ListKeys(prefix));
}

std::string ListKeys(const std::string& listFile, std::string_view prefix) {
    std::optional<std::vector<std::string>> keys;
    if (current) keys = Collected(current->ListKeys(prefix));
    std::string text;
    // A failed listing still replaces the old list, so that no stale line is picked.
    if (keys)
        for (const auto& k : *keys) text += " " + k + "\n";
    if (!WriteFileAtomically(listFile, text)) {
        Wait(Format("Не записывается файл %s"_cp, listFile.c_str()));
        return {};
    }
    return keys && !keys->empty() ? keys->front() : std::string();
}

namespace {

// Calls back with the start and the key of each line that begins with a blank; the
// callback returns false to stop.
template <class F>
void ForEachListed(const std::string& bytes, F&& f) {
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        if (bytes[start] == ' ') {
            std::string key = bytes.substr(start + 1, end - start - 1);
            if (!key.empty() && key.back() == '\r') key.pop_back();
            if (!f(start, std::move(key))) return;
        }
        start = end + 1;
    }
}

}  // namespace

std::optional<std::string> PickListed(const std::string& listFile, int k, bool mark) {
    auto bytes = ReadFileBytes(listFile);
    if (!bytes || k < 0) return std::nullopt;
    std::optional<std::string> found;
    size_t lineStart = 0;
    int count = 0;
    ForEachListed(*bytes, [&](size_t start, std::string key) {
        if (count++ < k) return true;
        found = std::move(key);
        lineStart = start;
        return false;
    });
    if (found && mark) {
        (*bytes)[lineStart] = '-';
        if (!WriteFileAtomically(listFile, *bytes)) return std::nullopt;
    }
    return found;
}

std::vector<std::string> ListedKeys(const std::string& listFile) {
    std::vector<std::string> keys;
    if (auto bytes = ReadFileBytes(listFile))
        ForEachListed(*bytes, [&](size_t, std::string key) {
            keys.push_back(std::move(key));
            return true;
        });
    return keys;
}

}  // namespace orbeta
