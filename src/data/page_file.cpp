#include "data/page_file.h"

#include <algorithm>
#include <cstring>

#include "data/store_layout.h"
#include "data/store_texts.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"

namespace orbeta {

int PageUsed(const std::vector<uint8_t>& page) {
    int size = static_cast<int>(page.size());
    int used = GetI16(page.data());
    return std::clamp(used, 0, size - 2);
}

std::vector<PageRecord> PageRecords(const std::vector<uint8_t>& page, bool* complete) {
    std::vector<PageRecord> out;
    int size = static_cast<int>(page.size());
    int end = 2 + PageUsed(page);
    int off = 2;
    while (off + 2 <= end) {
        int keyLength = GetI16(&page[off]);
        if (keyLength < 0 || keyLength > kMaxKeyLength || off + 4 + keyLength > end) break;
        int dataLength = GetI16(&page[off + 2 + keyLength]);
        if (dataLength < 0 || dataLength > size || off + 4 + keyLength + dataLength > end) break;
        PageRecord r;
        r.offset = off;
        r.size = 4 + keyLength + dataLength;
        r.key = std::string_view(reinterpret_cast<const char*>(&page[off + 2]),
                                 static_cast<size_t>(keyLength));
        r.data = &page[off + 4 + keyLength];
        r.dataLength = dataLength;
        out.push_back(r);
        off += r.size;
    }
    if (complete) *complete = off == end;
    return out;
}

bool PageFile::Open(const std::string& pagePath, const std::string& freePath, int pageSize,
                    std::string& problem, bool writable) {
    Close();
    pageSize_ = pageSize;
    if (!pages_.Open(pagePath, writable)) {
        problem = Format("Файл %s не открывается"_cp, pagePath.c_str());
        return false;
    }
    if (!freeFile_.Open(freePath, writable) && writable &&
        (FileExists(freePath) || !freeFile_.Create(freePath))) {
        problem = Format("Файл %s не открывается"_cp, freePath.c_str());
        pages_.Close();
        return false;
    }
    pageCount_ = static_cast<int>(std::min<int64_t>(pages_.Size() / pageSize, kMaxPageCount));
    // Pages beyond the end of the free-space file count as empty until checked.
    free_.assign(static_cast<size_t>(pageCount_), pageSize - 2);
    std::vector<uint8_t> table(static_cast<size_t>(pageCount_) * 2);
    size_t got = freeFile_.ReadSome(0, table.data(), table.size()) / 2;
    for (size_t i = 0; i < got; ++i) free_[i] = GetI16(&table[i * 2]);
    buffer_.assign(static_cast<size_t>(pageSize), 0);
    bufferPage_ = -1;
    return true;
}

void PageFile::Close() {
    pages_.Close();
    freeFile_.Close();
    free_.clear();
    pageCount_ = 0;
    bufferPage_ = -1;
}

const std::vector<uint8_t>& PageFile::Load(int page) {
    if (page == bufferPage_) return buffer_;
    bufferPage_ = -1;
    if (page < 0 || page >= pageCount_ ||
        !pages_.ReadAt(int64_t{pageSize_} * page, buffer_.data(), buffer_.size()))
        throw StoreError(Format("%s (%s, страница %d)"_cp, StoreText("err-bod-read").c_str(),
                                pages_.Path().c_str(), page));
    bufferPage_ = page;
    return buffer_;
}

void PageFile::Store(int page) {
    if (!pages_.WriteAt(int64_t{pageSize_} * page, buffer_.data(), buffer_.size())) {
        bufferPage_ = -1;
        if (page >= pageCount_) pages_.Truncate(int64_t{pageSize_} * pageCount_);
        throw StoreError(Format("Не записывается файл %s"_cp, pages_.Path().c_str()));
    }
    bufferPage_ = page;
}

PageFile::Placed PageFile::Append(std::string_view key, const std::vector<uint8_t>& data) {
    int size = 4 + static_cast<int>(key.size() + data.size());
    for (;;) {
        int page = -1;
        if (bufferPage_ >= 0 && free_[bufferPage_] >= size)
            page = bufferPage_;
        else
            for (int p = 0; p < pageCount_ && page < 0; ++p)
                if (free_[p] >= size) page = p;
        bool fresh = page < 0;
        int used = 0;
        if (fresh) {
            if (pageCount_ >= kMaxPageCount) throw StoreError("файл страниц заполнен"_cp);
            page = pageCount_;
            bufferPage_ = -1;
            std::fill(buffer_.begin(), buffer_.end(), 0);
        } else {
            Load(page);
            used = PageUsed(buffer_);
            if (used + free_[page] + 2 != pageSize_) {
                free_[page] = pageSize_ - 2 - used;  // a stale count: correct it, choose again
                continue;
            }
        }
        int off = 2 + used;
        PutI16(&buffer_[off], static_cast<int>(key.size()));
        std::memcpy(&buffer_[off + 2], key.data(), key.size());
        PutI16(&buffer_[off + 2 + key.size()], static_cast<int>(data.size()));
        if (!data.empty()) std::memcpy(&buffer_[off + 4 + key.size()], data.data(), data.size());
        PutI16(buffer_.data(), used + size);
        Store(page);
        if (fresh) {
            ++pageCount_;
            free_.push_back(pageSize_ - 2 - size);
        } else {
            free_[page] -= size;
        }
        return {page, off};
    }
}

std::optional<std::vector<uint8_t>> PageFile::Find(int page, std::string_view key) {
    std::optional<std::vector<uint8_t>> found;
    for (const auto& r : PageRecords(Load(page)))
        if (r.key == key) found.emplace(r.data, r.data + r.dataLength);
    return found;
}

void PageFile::Remove(int page, std::string_view key, int keepOffset) {
    std::vector<int> offsets;
    for (const auto& r : PageRecords(Load(page)))
        if (r.key == key && r.offset != keepOffset) offsets.push_back(r.offset);
    if (!offsets.empty()) Drop(page, std::move(offsets));
}

void PageFile::RemoveAt(int page, int offset) {
    Drop(page, {offset});
}

void PageFile::Drop(int page, std::vector<int> offsets) {
    auto records = PageRecords(Load(page));
    int used = PageUsed(buffer_);
    // From the last to the first, so that the offsets still to do stay put.
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (std::find(offsets.begin(), offsets.end(), it->offset) == offsets.end()) continue;
        int end = 2 + used;
        std::memmove(&buffer_[it->offset], &buffer_[it->offset + it->size],
                     static_cast<size_t>(end - it->offset - it->size));
        std::memset(&buffer_[end - it->size], 0, static_cast<size_t>(it->size));
        used -= it->size;
    }
    PutI16(buffer_.data(), used);
    Store(page);
    free_[page] = pageSize_ - 2 - used;
}

void PageFile::SaveFreeTable() {
    std::vector<uint8_t> table(static_cast<size_t>(pageCount_) * 2);
    for (int i = 0; i < pageCount_; ++i) PutI16(&table[i * 2], free_[i]);
    if (!table.empty() && !freeFile_.WriteAt(0, table.data(), table.size()))
        throw StoreError(Format("Не записывается файл %s"_cp, freeFile_.Path().c_str()));
}

void PageFile::Sync() {
    if (!pages_.Sync() || !freeFile_.Sync())
        throw StoreError(Format("Не записывается файл %s"_cp, pages_.Path().c_str()));
}

void PageFile::SyncPages() {
    if (!pages_.Sync())
        throw StoreError(Format("Не записывается файл %s"_cp, pages_.Path().c_str()));
}

}  // namespace orbeta
