#include "data/index_node.h"

#include <cstring>

#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {

IndexNode IndexNode::Empty(bool leaf) {
    IndexNode n;
    n.SetFree(kNodeSize - kNodeHeaderSize);
    PutI16(&n.bytes[2], leaf ? 1 : 0);
    return n;
}

NodeEntry IndexNode::EntryAt(int offset) const {
    NodeEntry e;
    e.offset = offset;
    int length = GetI16(&bytes[offset]);
    e.key = std::string_view(reinterpret_cast<const char*>(&bytes[offset + 2]),
                             static_cast<size_t>(length));
    e.page = GetI16(&bytes[offset + 2 + length]);
    e.end = offset + 4 + length;
    if (!IsLeaf()) {
        e.child = GetI16(&bytes[e.end]);
        e.end += 2;
    }
    return e;
}

int IndexNode::Locate(std::string_view key, bool& equal) const {
    equal = false;
    int off = FirstEntry(), end = UsedEnd();
    while (off < end) {
        NodeEntry e = EntryAt(off);
        int c = CompareKeys(key, e.key);
        if (c <= 0) {
            equal = c == 0;
            return off;
        }
        off = e.end;
    }
    return off;
}

void IndexNode::InsertBytes(int offset, const std::vector<uint8_t>& entry) {
    int end = UsedEnd(), n = static_cast<int>(entry.size());
    std::memmove(&bytes[offset + n], &bytes[offset], static_cast<size_t>(end - offset));
    std::memcpy(&bytes[offset], entry.data(), entry.size());
    SetFree(Free() - n);
}

void IndexNode::RemoveBytes(int offset, int count) {
    int end = UsedEnd();
    std::memmove(&bytes[offset], &bytes[offset + count], static_cast<size_t>(end - offset - count));
    std::memset(&bytes[end - count], 0, static_cast<size_t>(count));
    SetFree(Free() + count);
}

std::string IndexNode::Problem(int nodeCount) const {
    int free = Free(), leaf = GetI16(&bytes[2]);
    if (leaf != 0 && leaf != 1) return Format("признак листа %d"_cp, leaf);
    int minUsed = leaf ? kNodeHeaderSize : kNodeHeaderSize + 2;
    if (free < 0 || kNodeSize - free < minUsed) return Format("свободных байтов %d"_cp, free);
    int end = kNodeSize - free;
    auto badChild = [&](int child) { return child < 1 || child > nodeCount; };
    if (!leaf && badChild(ChildBefore(kNodeHeaderSize + 2)))
        return Format("ссылка на узел %d"_cp, ChildBefore(kNodeHeaderSize + 2));
    int off = minUsed;
    int tail = leaf ? 4 : 6;
    while (off < end) {
        if (off + 2 > end) return "обрыв записи ключа"_cp;
        int length = GetI16(&bytes[off]);
        if (length < 0 || off + length + tail > end)
            return Format("длина ключа %d по смещению %d"_cp, length, off);
        NodeEntry e = EntryAt(off);
        if (!leaf && badChild(e.child)) return Format("ссылка на узел %d"_cp, e.child);
        off = e.end;
    }
    return {};
}

std::vector<uint8_t> EntryBytes(std::string_view key, int page, bool inner, int child) {
    std::vector<uint8_t> out(key.size() + (inner ? 6 : 4));
    PutI16(&out[0], static_cast<int>(key.size()));
    std::memcpy(&out[2], key.data(), key.size());
    PutI16(&out[2 + key.size()], page);
    if (inner) PutI16(&out[4 + key.size()], child);
    return out;
}

bool SplitNode(const IndexNode& node, SplitNodes& out) {
    int end = node.UsedEnd();
    for (int off = node.FirstEntry(); off < end;) {
        NodeEntry e = node.EntryAt(off);
        int pageEnd = off + 4 + static_cast<int>(e.key.size());
        if (pageEnd < kHalfNode) {
            off = e.end;
            continue;
        }
        out.medianKey.assign(e.key);
        out.medianPage = e.page;
        out.left = node;
        std::memset(&out.left.bytes[off], 0, static_cast<size_t>(kNodeSize - off));
        out.left.SetFree(kNodeSize - off);
        out.right = IndexNode::Empty(node.IsLeaf());
        int moved = end - pageEnd;
        std::memcpy(&out.right.bytes[kNodeHeaderSize], &node.bytes[pageEnd],
                    static_cast<size_t>(moved));
        out.right.SetFree(kNodeSize - kNodeHeaderSize - moved);
        return true;
    }
    return false;
}

}  // namespace orbeta
