#pragma once
// One 2048-byte node of the index: a 4-byte header (free bytes, leaf flag), then
//   leaf:  {int16 L, L key bytes, int16 page}...
//   inner: int16 child0, {int16 L, L key bytes, int16 page, int16 child}...
// A node is checked once when it is read (Problem), so that walking its entries
// afterwards needs no further bounds checks.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/binary_file.h"
#include "data/store_layout.h"

namespace orbeta {

struct NodeEntry {
    int offset = 0;  // of the key length
    int end = 0;     // past the page number (leaf) or the child (inner)
    std::string_view key;
    int page = 0;
    int child = 0;  // inner nodes: the child holding the greater keys
};

struct IndexNode {
    std::array<uint8_t, kNodeSize> bytes{};

    static IndexNode Empty(bool leaf);

    int Free() const { return GetI16(&bytes[0]); }
    void SetFree(int free) { PutI16(&bytes[0], free); }
    bool IsLeaf() const { return GetI16(&bytes[2]) == 1; }
    int UsedEnd() const { return kNodeSize - Free(); }
    int FirstEntry() const { return IsLeaf() ? kNodeHeaderSize : kNodeHeaderSize + 2; }
    int EntrySize(size_t keyLength) const {
        return static_cast<int>(keyLength) + (IsLeaf() ? 4 : 6);
    }

    NodeEntry EntryAt(int offset) const;
    // Inner nodes: the child just before an entry offset (or before the used end).
    int ChildBefore(int offset) const { return GetI16(&bytes[offset - 2]); }
    void SetChildBefore(int offset, int child) { PutI16(&bytes[offset - 2], child); }
    void SetPage(const NodeEntry& e, int page) { PutI16(&bytes[e.end - (IsLeaf() ? 2 : 4)], page); }

    // Offset of the first entry whose key is not below the key (or the used end),
    // and whether that entry's key equals it.
    int Locate(std::string_view key, bool& equal) const;

    // Puts entry bytes in at an offset, moving what follows up; the caller made sure
    // they fit.
    void InsertBytes(int offset, const std::vector<uint8_t>& entry);
    void RemoveBytes(int offset, int count);

    // What is wrong with the node's structure, empty when nothing: free bytes in
    // range, a known leaf flag, entries that end exactly at the used end, children
    // that exist.
    std::string Problem(int nodeCount) const;
};

// Bytes of an entry: a leaf entry without a child, an inner one with it.
std::vector<uint8_t> EntryBytes(std::string_view key, int page, bool inner, int child = 0);

// Splits a full node at its median (the first entry whose page number ends at or
// beyond half the node): left keeps what precedes the median, right gets what follows
// the median's page number (in an inner node the median's child becomes right's
// child0). False when the node has no such entry.
struct SplitNodes {
    IndexNode left, right;
    std::string medianKey;
    int medianPage = 0;
};
bool SplitNode(const IndexNode& node, SplitNodes& out);

}  // namespace orbeta
