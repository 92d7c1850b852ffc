#include "data/store_repair.h"

#include <cstdio>
#include <map>
#include <vector>

#include "data/index_file.h"
#include "data/page_file.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

// Nodes are filled to three quarters, so that the next inserts do not split at once.
constexpr int kFill = kNodeSize * 3 / 4;

struct Item {
    std::string key;
    int page = 0;
    int child = 0;  // inner levels: the node that holds the greater keys
};

class TreeBuilder {
  public:
    // Lays out one level: its nodes get the next numbers; the entries that go up a
    // level (each with the node to its right) come back in `up`, the level's first
    // node in `first`.
    void Level(bool leaf, int child0, const std::vector<Item>& items, int& first,
               std::vector<Item>& up) {
        up.clear();
        first = Next();
        IndexNode node = Start(leaf, child0);
        for (size_t i = 0; i < items.size(); ++i) {
            auto bytes = EntryBytes(items[i].key, items[i].page, !leaf, items[i].child);
            int used = node.UsedEnd();
            bool full = used > node.FirstEntry() && used + static_cast<int>(bytes.size()) > kFill &&
                        items.size() - i >= 2;
            if (!full) {
                node.InsertBytes(used, bytes);
                continue;
            }
            nodes_.push_back(node);
            up.push_back({items[i].key, items[i].page, Next()});
            node = Start(leaf, items[i].child);
        }
        nodes_.push_back(node);
    }
    const std::vector<IndexNode>& Nodes() const { return nodes_; }

  private:
    int Next() const { return static_cast<int>(nodes_.size()) + 1; }
    static IndexNode Start(bool leaf, int child0) {
        IndexNode n = IndexNode::Empty(leaf);
        if (!leaf) {
            PutI16(&n.bytes[kNodeHeaderSize], child0);
            n.SetFree(kNodeSize - kNodeHeaderSize - 2);
        }
        return n;
    }
    std::vector<IndexNode> nodes_;
};

// The page size the old header gives, or the one of this system's stores.
int PageSizeOf(const std::string& indexPath) {
    BinaryFile f;
    uint8_t b[16];
    if (!f.Open(indexPath, false) || !f.ReadAt(0, b, sizeof b)) return kDefaultPageSize;
    int size = GetI16(&b[14]);
    return size >= kMinPageSize && size <= kMaxPageSize ? size : kDefaultPageSize;
}

// Writes a file beside its final path, syncs it and renames it into place.
bool WriteInPlace(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temp = path + ".new";
    BinaryFile f;
    bool ok =
        f.Create(temp) && (bytes.empty() || f.WriteAt(0, bytes.data(), bytes.size())) && f.Sync();
    f.Close();
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0 && SyncFolderOf(path);
    if (!ok) std::remove(temp.c_str());
    return ok;
}

}  // namespace

RepairReport RepairIndex(const std::string& stem) {
    RepairReport report;
    const std::string indexPath = stem + ".btr";
    int pageSize = PageSizeOf(indexPath);
    // The old index is held (when it opens) so that no other program works on the store
    // meanwhile; it may still answer where a key was.
    IndexFile old;
    std::string ignored;
    OpenStatus status = old.Open(indexPath, ignored, true);
    BinaryFile guard;
    if (status == OpenStatus::Busy ||
        (status != OpenStatus::Opened && guard.Open(indexPath) && !guard.Lock(true, 3000))) {
        report.problem = Format("База данных %s занята другой программой"_cp, stem.c_str());
        return report;
    }
    bool oldReads = status == OpenStatus::Opened;
    PageFile pages;
    if (!pages.Open(stem + ".bod", stem + ".bcr", pageSize, report.problem, false)) return report;
    report.pages = pages.PageCount();

    // Every key with the pages that hold a record under it.
    std::map<std::string, std::vector<int>, bool (*)(const std::string&, const std::string&)> found(
        [](const std::string& a, const std::string& b) { return CompareKeys(a, b) < 0; });
    std::vector<int> freeTable(static_cast<size_t>(pages.PageCount()), pageSize - 2);
    for (int p = 0; p < pages.PageCount(); ++p) {
        try {
            const auto& page = pages.Load(p);
            bool complete = false;
            for (const auto& r : PageRecords(page, &complete))
                if (IsValidKey(r.key)) found[std::string(r.key)].push_back(p);
            if (!complete) ++report.brokenPages;
            freeTable[static_cast<size_t>(p)] = pageSize - 2 - PageUsed(page);
        } catch (const StoreError&) {
            ++report.brokenPages;
        }
    }

    // A key on several pages (a write cut short between storing the new record and
    // removing the old one): the copy the old index names, when it still can, else
    // the one on the highest page.
    std::vector<Item> items;
    for (const auto& [key, where] : found) {
        int page = where.back();
        if (where.size() > 1) {
            ++report.duplicates;
            try {
                IndexSearch at = oldReads ? old.Search(key) : IndexSearch{};
                for (int p : where)
                    if (at.found && at.page == p) page = p;
            } catch (const StoreError&) {
            }
        }
        items.push_back({key, page, 0});
    }

    TreeBuilder tree;
    IndexHeader h;
    h.pageSize = pageSize;
    if (!items.empty()) {
        std::vector<Item> up;
        int first = 0;
        tree.Level(true, 0, items, first, up);
        h.depth = 1;
        while (!up.empty()) {
            std::vector<Item> level = std::move(up);
            tree.Level(false, first, level, first, up);
            ++h.depth;
        }
        h.root = first;
        h.nodeCount = static_cast<int>(tree.Nodes().size());
    }
    if (h.nodeCount > kMaxNodeCount || h.depth > kMaxDepth) {
        report.problem = "индекс не помещается в 32767 узлов"_cp;
        return report;
    }
    auto header = IndexHeaderBlock(h);
    std::vector<uint8_t> bytes(header.begin(), header.end());
    for (const auto& n : tree.Nodes()) bytes.insert(bytes.end(), n.bytes.begin(), n.bytes.end());
    std::vector<uint8_t> table(freeTable.size() * 2);
    for (size_t i = 0; i < freeTable.size(); ++i) PutI16(&table[i * 2], freeTable[i]);
    pages.Close();
    // The index first: a free-space table is only a hint, checked before use.
    if (!WriteInPlace(indexPath, bytes) || !WriteInPlace(stem + ".bcr", table)) {
        report.problem = Format("Не записывается файл %s"_cp, indexPath.c_str());
        return report;
    }
    report.done = true;
    report.keys = static_cast<long>(items.size());
    report.depth = h.depth;
    report.nodes = h.nodeCount;
    return report;
}

}  // namespace orbeta
