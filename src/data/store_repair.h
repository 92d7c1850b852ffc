#pragma once
// Rebuilding a damaged index from the pages: every record carries its key, so the
// pages alone say which keys the store holds and where. The new index is written
// beside the old one and takes its place by a rename only once it is complete.
#include <string>

namespace orbeta {

struct RepairReport {
    bool done = false;
    std::string problem;  // CP1251, when not done
    long keys = 0;        // in the new index
    long duplicates = 0;  // keys found on more than one page: one copy kept
    int brokenPages = 0;  // pages whose records do not read to their end
    int pages = 0;
    int depth = 0;
    int nodes = 0;
};

RepairReport RepairIndex(const std::string& stem);

}  // namespace orbeta
