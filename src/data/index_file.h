#pragma once
// The index file (.btr): a header block, then 2048-byte nodes numbered from 1, read
// through a cache of four node buffers and written through at once.
//
// Changes never rewrite a node that the tree still needs half-done: a split writes
// both halves (and a new root) as nodes the tree does not use, then switches the tree
// to them with one write of the parent node or of the header. A process killed at any
// moment leaves the tree as it was before or after the change. With barriers on, the
// new nodes are synced before the switch, so a power loss cannot leave a switch that
// leads to nodes the disk never got.
//
// The nodes a split replaced become spare: later splits write into them before the
// file grows. A spare node is written only after a sync has made the switch away from
// it durable. The spare list is kept in the header block when a session closes.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/binary_file.h"
#include "data/index_node.h"

namespace orbeta {

struct IndexHeader {
    int headerSize = kNodeSize;
    int nodeSize = kNodeSize;
    int maxKeyLength = kMaxKeyLength;
    int depth = 0;
    int nodeCount = 0;
    int root = 0;
    int pageSize = kDefaultPageSize;
};

// The 2048-byte header block of a new index file.
std::array<uint8_t, kNodeSize> IndexHeaderBlock(const IndexHeader& h);

struct IndexPosition {
    int node = 0;
    int offset = 0;  // of the entry found or of the first greater one
};

struct IndexSearch {
    bool found = false;
    int level = -1;  // where the key was found
    int page = -1;
    std::array<IndexPosition, kMaxDepth> path{};  // per level, root first
};

enum class OpenStatus { Opened, CannotOpen, Busy, Damaged };

class IndexFile {
  public:
    // Opens and checks the header; the problem in words when it cannot. The file is
    // locked against other programs while it is open (exclusively for writing).
    OpenStatus Open(const std::string& path, std::string& problem, bool writable = true);
    void Close() { file_.Close(); }
    const IndexHeader& Header() const { return header_; }
    BinaryFile& File() { return file_; }

    bool UnfinishedFlag() const { return unfinished_; }
    // Set: the flag goes on and the spare list off the disk (both synced), since the
    // session may now use the nodes. Cleared: the flag goes off and the spare list is
    // written; the caller synced everything before. Throws StoreError.
    void SetUnfinishedFlag(bool on);

    // Without barriers, the caller syncs (Sync) once per batch of changes.
    void SetBarriers(bool on) { barriers_ = on; }
    bool Barriers() const { return barriers_; }
    // Makes every write so far durable; throws StoreError.
    void Sync();
    // Spare nodes: those that may be written now and those waiting for a sync.
    std::vector<int> Spares() const;
    // Adds nodes that no entry leads to (found by a full check) to the spare list.
    void AddSpares(const std::vector<int>& nodes);

    // The rest throw StoreError on a damaged node or a failed read or write.
    IndexSearch Search(std::string_view key);
    // Adds a key that Search did not find, at the position it gave.
    void Insert(std::string_view key, int page, const IndexSearch& at);
    // Changes the page number of the entry Search found.
    void SetPage(const IndexSearch& at, int page);
    // Removes a found key: a leaf entry goes, an inner entry gets page −1.
    void Remove(const IndexSearch& at);

    // Keys not below `from` in ascending order with their pages; entries marked
    // deleted are skipped, keys longer than 20 bytes are cut (TakeLongKeySeen tells).
    // The visitor returns false to stop.
    void Walk(std::string_view from,
              const std::function<bool(const std::string& key, int page)>& visit);

    bool TakeLongKeySeen() { return std::exchange(longKeySeen_, false); }

    // A node through the cache, its structure checked; valid until the next fetch.
    const IndexNode& Fetch(int node);

  private:
    struct Buffer {
        int node = 0;
        long uses = 0;
        IndexNode data;
    };
    void WriteNode(int node, const IndexNode& data);
    void WriteHeaderFields(const IndexHeader& h);
    struct Fresh {
        int node;
        IndexNode data;
    };
    void Commit(const std::vector<Fresh>& fresh, int changedNode, const IndexNode* changed,
                int depth, int root);
    const IndexNode& FetchAtLevel(int node, int level);

    BinaryFile file_;
    IndexHeader header_;
    bool unfinished_ = false;
    std::array<Buffer, 4> cache_{};
    std::vector<int> spare_;     // out of the tree, the switch away from them synced
    std::vector<int> released_;  // out of the tree since the last sync
    bool barriers_ = true;
    bool longKeySeen_ = false;
};

}  // namespace orbeta
