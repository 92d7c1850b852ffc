#include "data/index_file.h"

#include <algorithm>
#include <cstring>

#include "data/store_texts.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

[[noreturn]] void Damaged(const std::string& what) {
    throw StoreError(what);
}

[[noreturn]] void WriteFailed(const std::string& path) {
    throw StoreError(Format("Не записывается файл %s"_cp, path.c_str()));
}

int SpareCheck(const std::vector<int>& nodes) {
    unsigned check = 0x5A5A;
    for (int n : nodes) check = ((check << 1) | (check >> 15)) ^ static_cast<unsigned>(n);
    return static_cast<int16_t>(check & 0xFFFF);
}

// The spare list of a header block; empty unless every number is a distinct node other
// than the root and the check word fits (a header written by another program keeps
// zeros or anything there).
std::vector<int> ReadSpareList(const uint8_t* b, const IndexHeader& h) {
    int count = GetI16(&b[kSpareCountOffset]);
    if (count <= 0 || count > kMaxSpareNodes) return {};
    std::vector<int> nodes;
    std::vector<bool> seen(static_cast<size_t>(h.nodeCount) + 1, false);
    for (int i = 0; i < count; ++i) {
        int n = GetI16(&b[kSpareListOffset + 2 * i]);
        if (n < 1 || n > h.nodeCount || n == h.root || seen[static_cast<size_t>(n)]) return {};
        seen[static_cast<size_t>(n)] = true;
        nodes.push_back(n);
    }
    if (GetI16(&b[kSpareCheckOffset]) != SpareCheck(nodes)) return {};
    return nodes;
}

}  // namespace

std::array<uint8_t, kNodeSize> IndexHeaderBlock(const IndexHeader& h) {
    std::array<uint8_t, kNodeSize> b{};
    PutI16(&b[0], h.headerSize);
    PutI16(&b[2], h.nodeSize);
    PutI16(&b[4], h.maxKeyLength);
    PutI16(&b[6], h.depth);
    PutI16(&b[8], h.nodeCount);
    PutI16(&b[10], h.root);
    PutI16(&b[12], 0);  // reserved
    PutI16(&b[14], h.pageSize);
    return b;
}

OpenStatus IndexFile::Open(const std::string& path, std::string& problem, bool writable) {
    cache_ = {};
    if (!file_.Open(path, writable)) {
        problem = Format("Файл %s не открывается"_cp, path.c_str());
        return OpenStatus::CannotOpen;
    }
    // Every command holds the store for moments only; an import may take seconds.
    if (!file_.Lock(writable, 3000)) {
        problem = Format("База данных %s занята другой программой"_cp, path.c_str());
        file_.Close();
        return OpenStatus::Busy;
    }
    uint8_t b[kNodeSize] = {};
    int64_t size = file_.Size();
    // Files of other programs may end right after the header fields.
    if (file_.ReadSome(0, b, sizeof b) < kUnfinishedFlagOffset + 2) {
        problem = Format("в файле %s нет заголовка"_cp, path.c_str());
        file_.Close();
        return OpenStatus::Damaged;
    }
    IndexHeader h;
    h.headerSize = GetI16(&b[0]);
    h.nodeSize = GetI16(&b[2]);
    h.maxKeyLength = GetI16(&b[4]);
    h.depth = GetI16(&b[6]);
    h.nodeCount = GetI16(&b[8]);
    h.root = GetI16(&b[10]);
    h.pageSize = GetI16(&b[14]);
    if (h.headerSize != kNodeSize || h.nodeSize != kNodeSize || h.maxKeyLength != kMaxKeyLength)
        problem = Format("заголовок %d %d %d вместо 2048 2048 20"_cp, h.headerSize, h.nodeSize,
                         h.maxKeyLength);
    else if (h.pageSize < kMinPageSize || h.pageSize > kMaxPageSize)
        problem = Format("размер страницы %d"_cp, h.pageSize);
    else if (h.nodeCount < 0 || h.depth < 0 || h.depth > kMaxDepth)
        problem = Format("число узлов %d, глубина %d"_cp, h.nodeCount, h.depth);
    else if (h.depth > 0 && (h.root < 1 || h.root > h.nodeCount))
        problem = Format("корень %d при %d узлах"_cp, h.root, h.nodeCount);
    else if (size < int64_t{kNodeSize} * (h.nodeCount + 1))
        problem = Format("файл %s короче %d узлов"_cp, path.c_str(), h.nodeCount);
    if (!problem.empty()) {
        file_.Close();
        return OpenStatus::Damaged;
    }
    header_ = h;
    unfinished_ = GetI16(&b[kUnfinishedFlagOffset]) != 0;
    spare_ = ReadSpareList(b, h);
    released_.clear();
    barriers_ = true;
    return OpenStatus::Opened;
}

void IndexFile::SetUnfinishedFlag(bool on) {
    std::vector<int> list = on ? std::vector<int>{} : Spares();
    if (list.size() > static_cast<size_t>(kMaxSpareNodes)) list.resize(kMaxSpareNodes);
    std::vector<uint8_t> b(static_cast<size_t>(kSpareListOffset - kUnfinishedFlagOffset) +
                           2 * list.size());
    PutI16(&b[0], on ? 1 : 0);
    PutI16(&b[kSpareCountOffset - kUnfinishedFlagOffset], static_cast<int>(list.size()));
    PutI16(&b[kSpareCheckOffset - kUnfinishedFlagOffset], SpareCheck(list));
    for (size_t i = 0; i < list.size(); ++i)
        PutI16(&b[kSpareListOffset - kUnfinishedFlagOffset + 2 * i], list[i]);
    if (!file_.WriteAt(kUnfinishedFlagOffset, b.data(), b.size())) WriteFailed(file_.Path());
    // The flag (and the list gone from the disk) must be durable before any change
    // it announces, and before a spare node is written.
    if (on && !file_.Sync()) WriteFailed(file_.Path());
    unfinished_ = on;
}

void IndexFile::Sync() {
    if (!file_.Sync()) WriteFailed(file_.Path());
    spare_.insert(spare_.end(), released_.begin(), released_.end());
    released_.clear();
}

std::vector<int> IndexFile::Spares() const {
    std::vector<int> all = spare_;
    all.insert(all.end(), released_.begin(), released_.end());
    return all;
}

void IndexFile::AddSpares(const std::vector<int>& nodes) {
    for (int n : nodes)
        if (n >= 1 && n <= header_.nodeCount && n != header_.root &&
            std::find(spare_.begin(), spare_.end(), n) == spare_.end() &&
            std::find(released_.begin(), released_.end(), n) == released_.end())
            spare_.push_back(n);
}

const IndexNode& IndexFile::Fetch(int node) {
    if (node < 1 || node > header_.nodeCount) Damaged(Format("ссылка на узел %d"_cp, node));
    for (auto& b : cache_)
        if (b.node == node) {
            ++b.uses;
            return b.data;
        }
    Buffer* victim = &cache_[0];
    for (auto& b : cache_)
        if (b.uses < victim->uses) victim = &b;
    victim->node = 0;
    victim->uses = 0;
    if (!file_.ReadAt(int64_t{kNodeSize} * node, victim->data.bytes.data(), kNodeSize))
        Damaged(Format("узел %d не читается"_cp, node));
    std::string problem = victim->data.Problem(header_.nodeCount);
    if (!problem.empty()) Damaged(Format("узел %d: %s"_cp, node, problem.c_str()));
    victim->node = node;
    victim->uses = 1;
    return victim->data;
}

const IndexNode& IndexFile::FetchAtLevel(int node, int level) {
    const IndexNode& n = Fetch(node);
    if (n.IsLeaf() != (level == header_.depth - 1))
        Damaged(Format("узел %d на уровне %d из %d"_cp, node, level + 1, header_.depth));
    return n;
}

void IndexFile::WriteNode(int node, const IndexNode& data) {
    if (!file_.WriteAt(int64_t{kNodeSize} * node, data.bytes.data(), kNodeSize))
        WriteFailed(file_.Path());
    for (auto& b : cache_)
        if (b.node == node) b.data = data;
}

void IndexFile::WriteHeaderFields(const IndexHeader& h) {
    auto block = IndexHeaderBlock(h);
    if (!file_.WriteAt(0, block.data(), kIndexHeaderFields)) WriteFailed(file_.Path());
}

IndexSearch IndexFile::Search(std::string_view key) {
    IndexSearch r;
    int node = header_.root;
    for (int level = 0; level < header_.depth; ++level) {
        const IndexNode& n = FetchAtLevel(node, level);
        bool equal;
        int off = n.Locate(key, equal);
        r.path[level] = {node, off};
        if (equal) {
            r.found = true;
            r.level = level;
            r.page = n.EntryAt(off).page;
            return r;
        }
        if (n.IsLeaf()) break;
        node = n.ChildBefore(off);
    }
    return r;
}

void IndexFile::Commit(const std::vector<Fresh>& fresh, int changedNode, const IndexNode* changed,
                       int depth, int root) {
    IndexHeader h = header_;
    // Nodes taken from the spare ones lie inside the file; the others are appended
    // together at its end.
    std::vector<uint8_t> block;
    for (const auto& f : fresh) {
        if (f.node <= h.nodeCount) {
            WriteNode(f.node, f.data);
            continue;
        }
        block.insert(block.end(), f.data.bytes.begin(), f.data.bytes.end());
    }
    if (!block.empty()) {
        int added = static_cast<int>(block.size() / kNodeSize);
        if (h.nodeCount + added > kMaxNodeCount)
            throw StoreError("индекс заполнен: 32767 узлов"_cp);
        int64_t at = int64_t{kNodeSize} * (h.nodeCount + 1);
        if (!file_.WriteAt(at, block.data(), block.size())) {
            file_.Truncate(at);  // a disk that filled up keeps no partial node
            WriteFailed(file_.Path());
        }
        h.nodeCount += added;
    }
    // The new nodes reach the disk before the one write that makes the tree use them;
    // appended ones before the header counts them, and that before a node refers to them.
    if (barriers_ && !fresh.empty()) Sync();
    if (changed && h.nodeCount != header_.nodeCount) {
        WriteHeaderFields(h);  // counts the new nodes; the tree does not use them yet
        header_ = h;
        if (barriers_) Sync();
    }
    h.depth = depth;
    h.root = root;
    if (h.nodeCount != header_.nodeCount || h.depth != header_.depth || h.root != header_.root) {
        WriteHeaderFields(h);
        header_ = h;
    }
    if (changed) WriteNode(changedNode, *changed);
}

void IndexFile::Insert(std::string_view key, int page, const IndexSearch& at) {
    std::vector<Fresh> fresh;
    std::vector<int> taken, replaced;
    int appended = 0;
    auto numberOf = [&](const IndexNode& n) {
        int number = header_.nodeCount + ++appended;
        // Nodes replaced since the last sync may still be what the disk's tree uses.
        if (spare_.empty() && !released_.empty() && barriers_) Sync();
        if (!spare_.empty()) {
            number = spare_.back();
            spare_.pop_back();
            taken.push_back(number);
            --appended;
        }
        fresh.push_back({number, n});
        return number;
    };
    // Spare nodes go back when the change fails; split ones become spare once the
    // tree no longer refers to them.
    struct GiveBack {
        std::vector<int>& spare;
        std::vector<int>& taken;
        ~GiveBack() { spare.insert(spare.end(), taken.begin(), taken.end()); }
    } giveBack{spare_, taken};
    auto commit = [&](int changedNode, const IndexNode* changed, int depth, int root) {
        Commit(fresh, changedNode, changed, depth, root);
        taken.clear();
        released_.insert(released_.end(), replaced.begin(), replaced.end());
    };
    int depth = header_.depth;
    if (depth == 0) {
        IndexNode root = IndexNode::Empty(true);
        root.InsertBytes(kNodeHeaderSize, EntryBytes(key, page, false));
        int r = numberOf(root);
        commit(0, nullptr, 1, r);
        return;
    }
    std::string pendingKey(key);
    std::vector<uint8_t> entry = EntryBytes(key, page, false);
    int leftChild = 0;
    for (int level = depth - 1; level >= 0; --level) {
        const IndexPosition& pos = at.path[level];
        IndexNode node = FetchAtLevel(pos.node, level);
        if (pos.offset < node.FirstEntry() || pos.offset > node.UsedEnd())
            Damaged(Format("позиция %d в узле %d"_cp, pos.offset, pos.node));
        if (leftChild) node.SetChildBefore(pos.offset, leftChild);
        if (static_cast<int>(entry.size()) <= node.Free()) {
            node.InsertBytes(pos.offset, entry);
            commit(pos.node, &node, depth, header_.root);
            return;
        }
        SplitNodes halves;
        if (!SplitNode(node, halves)) Damaged(Format("узел %d не делится"_cp, pos.node));
        int side = CompareKeys(pendingKey, halves.medianKey);
        IndexNode& target = side < 0 ? halves.left : halves.right;
        bool equal;
        int off = target.Locate(pendingKey, equal);
        if (side == 0 || equal || static_cast<int>(entry.size()) > target.Free())
            Damaged(Format("узел %d не делится"_cp, pos.node));
        target.InsertBytes(off, entry);
        replaced.push_back(pos.node);
        leftChild = numberOf(halves.left);
        int right = numberOf(halves.right);
        entry = EntryBytes(halves.medianKey, halves.medianPage, true, right);
        pendingKey = halves.medianKey;
    }
    if (depth >= kMaxDepth) Damaged(Format("глубина дерева больше %d"_cp, kMaxDepth));
    IndexNode root = IndexNode::Empty(false);
    PutI16(&root.bytes[kNodeHeaderSize], leftChild);
    root.SetFree(kNodeSize - kNodeHeaderSize - 2);
    root.InsertBytes(kNodeHeaderSize + 2, entry);
    int r = numberOf(root);
    commit(0, nullptr, depth + 1, r);
}

void IndexFile::SetPage(const IndexSearch& at, int page) {
    const IndexPosition& pos = at.path[at.level];
    IndexNode node = FetchAtLevel(pos.node, at.level);
    node.SetPage(node.EntryAt(pos.offset), page);
    WriteNode(pos.node, node);
}

void IndexFile::Remove(const IndexSearch& at) {
    const IndexPosition& pos = at.path[at.level];
    IndexNode node = FetchAtLevel(pos.node, at.level);
    NodeEntry e = node.EntryAt(pos.offset);
    if (node.IsLeaf())
        node.RemoveBytes(e.offset, e.end - e.offset);
    else
        node.SetPage(e, -1);
    WriteNode(pos.node, node);
}

void IndexFile::Walk(std::string_view from,
                     const std::function<bool(const std::string& key, int page)>& visit) {
    int depth = header_.depth;
    if (depth == 0) return;
    struct Frame {
        int node, offset, level;
    };
    std::vector<Frame> stack;
    // Each node of a sound tree is entered once; more means a node is shared or a
    // loop, which must not make the walk endless.
    long budget = long{header_.nodeCount} + kMaxDepth;
    auto enter = [&](int node, int offset, int level) {
        if (--budget < 0) Damaged("узлы дерева ссылаются друг на друга"_cp);
        stack.push_back({node, offset, level});
    };
    int node = header_.root;
    for (int level = 0; level < depth; ++level) {
        const IndexNode& n = FetchAtLevel(node, level);
        bool equal;
        int off = n.Locate(from, equal);
        enter(node, off, level);
        if (equal || n.IsLeaf()) break;
        node = n.ChildBefore(off);
    }
    while (!stack.empty()) {
        Frame f = stack.back();
        const IndexNode& n = FetchAtLevel(f.node, f.level);
        if (f.offset >= n.UsedEnd()) {
            stack.pop_back();
            continue;
        }
        NodeEntry e = n.EntryAt(f.offset);
        stack.back().offset = e.end;
        std::string key(e.key);
        int page = e.page;
        int child = n.IsLeaf() ? 0 : e.child;
        if (page >= 0) {
            if (key.size() > static_cast<size_t>(kMaxKeyLength)) {
                longKeySeen_ = true;
                key.resize(kMaxKeyLength);
            }
            if (!visit(key, page)) return;
        }
        for (int level = f.level + 1; child && level < depth; ++level) {
            const IndexNode& c = FetchAtLevel(child, level);
            enter(child, c.FirstEntry(), level);
            child = c.IsLeaf() ? 0 : c.ChildBefore(c.FirstEntry());
        }
    }
}

}  // namespace orbeta
