#pragma once
// Sizes and key rules shared by the index file, the page file and their check.
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orbeta {

constexpr int kNodeSize = 2048;     // index nodes and the index header block
constexpr int kNodeHeaderSize = 4;  // free bytes, leaf flag
constexpr int kHalfNode = kNodeSize / 2;
constexpr int kMaxKeyLength = 20;
constexpr int kMaxDepth = 20;  // levels the traversal cursor can hold
constexpr int kIndexHeaderFields = 16;
constexpr int kMaxNodeCount = 32767;  // node and page numbers are int16
constexpr int kMaxPageCount = 32767;
constexpr int kDefaultPageSize = 4096;
constexpr int kMinPageSize = 16;
constexpr int kMaxPageSize = 32767;

// Header block bytes 16.. carry no meaning for readers of the format; we keep one
// flag there: set (and synced) before the first change of a session, cleared when the
// session closes cleanly. Found set on open, it calls for a full check.
constexpr int kUnfinishedFlagOffset = 16;
// After it, the spare nodes: nodes inside the file that no entry leads to, to be used
// before the file grows. A count, a check word over the numbers, then the numbers. The
// list is written only when a session closes cleanly (and cleared when one starts
// changing the store), so it never names a node the tree uses.
constexpr int kSpareCountOffset = 18;
constexpr int kSpareCheckOffset = 20;
constexpr int kSpareListOffset = 22;
constexpr int kMaxSpareNodes = (kNodeSize - kSpareListOffset) / 2;

// A key without its trailing blanks.
inline std::string_view KeyText(std::string_view key) {
    size_t end = key.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : key.substr(0, end + 1);
}

inline bool IsValidKey(std::string_view key) {
    return !key.empty() && key.size() <= static_cast<size_t>(kMaxKeyLength);
}

// Unsigned bytes over the common length; of two keys where one begins the other,
// the shorter comes first.
inline int CompareKeys(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0) return c < 0 ? -1 : 1;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// A damaged file or a failed read or write inside the store; the store's public
// functions turn it into a warning and a failure result.
struct StoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace orbeta
