#pragma once
// The index file (.btr): a header block, then 2048-byte nodes numbered from 1, read
// through a cache of four node buffers and written through at once.
//
// Changes never rewrite a node that the tree still needs half-done: a split writes
// both halves (and a new root) as nodes the tree does not use, then switches the tree
// to them with one write of the parent node or of the header. A process killed at any
// moment leaves the tree as it was before or after the change. The node a split
// replaced is no longer used: later splits of the same session write into it; one
// left at the end of a session stays unused, like the nodes the format never frees.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
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
    void SetUnfinishedFlag(bool on);  // throws StoreError

    // The rest throw StoreError on a damaged node or a failed read or write.
    IndexSearch Search(std::string_view key);
    // Adds a key that Search did not find, at the position it gave.
    void Insert(std::string_view key, int page, const IndexSearch& at);
    // Changes the page number of the entry Search found.
    void SetPage(const IndexSearch& at, int page);
    // Removes a found key: a leaf entry goes, an inner entry gets page −1.
    void Remove(const IndexSearch& at);

    // Keys not below `from` in ascending order with their pages; entries marked
    // deleted are skipped. The visitor returns false to stop.
    void Walk(std::string_view from,
              const std::function<bool(const std::string& key, int page)>& visit);

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
    std::vector<int> spare_;  // nodes this session's splits took out of the tree
};

}  // namespace orbeta
