#pragma once
// The full check of a store: the index tree (node structure, leaf depth, key order,
// key lengths, page numbers), the spare list (none of it in the tree) and the pages
// (record layout, a record for every key). Unreachable nodes are a finding, not damage.
#include <string>
#include <vector>

#include "data/index_file.h"
#include "data/page_file.h"

namespace orbeta {

struct StoreReport {
    std::vector<std::string> problems;  // CP1251; empty when the store is sound
    long keys = 0;                      // live keys
    long deletedMarks = 0;              // inner entries with page −1
    int depth = 0;
    int nodes = 0;                 // nodes in the file
    int treeNodes = 0;             // nodes the tree uses
    int spareNodes = 0;            // in the spare list, to be used before the file grows
    std::vector<int> unreachable;  // neither in the tree nor spare: lost until reclaimed
    int pages = 0;
    long strayRecords = 0;  // records no key refers to, left by interrupted writes
    int staleFreeCounts = 0;
    std::vector<int> freeTable;  // free bytes of every page, from the pages themselves
    bool Sound() const { return problems.empty(); }
};

StoreReport CheckFiles(IndexFile& index, PageFile& pages);

// Opens the files of a stem without changing them and checks them.
StoreReport CheckStore(const std::string& stem);

}  // namespace orbeta
