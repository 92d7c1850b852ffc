#include "data/store_check.h"

#include <algorithm>
#include <functional>

#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

constexpr size_t kMaxProblems = 20;

class Checker {
  public:
    Checker(IndexFile& index, PageFile& pages) : index_(index), pages_(pages) {}

    StoreReport Run() {
        const IndexHeader& h = index_.Header();
        report_.depth = h.depth;
        report_.nodes = h.nodeCount;
        report_.pages = pages_.PageCount();
        CheckPages();
        seen_.assign(static_cast<size_t>(h.nodeCount) + 1, false);
        if (h.depth > 0) Visit(h.root, 0);
        std::vector<bool> spare(seen_.size(), false);
        for (int n : index_.Spares()) {
            spare[static_cast<size_t>(n)] = true;
            ++report_.spareNodes;
            if (seen_[static_cast<size_t>(n)])
                Problem(Format("узел %d дерева в списке свободных"_cp, n));
        }
        for (int n = 1; n <= h.nodeCount; ++n)
            if (!seen_[static_cast<size_t>(n)] && !spare[static_cast<size_t>(n)])
                report_.unreachable.push_back(n);
        long records = 0;
        for (const auto& keys : pageKeys_) records += static_cast<long>(keys.size());
        report_.strayRecords = records - matched_;
        return std::move(report_);
    }

  private:
    void Problem(const std::string& text) {
        if (report_.problems.size() < kMaxProblems) report_.problems.push_back(text);
    }

    void CheckPages() {
        int size = pages_.PageSize();
        const auto& table = pages_.FreeTable();
        pageKeys_.resize(static_cast<size_t>(pages_.PageCount()));
        report_.freeTable.assign(static_cast<size_t>(pages_.PageCount()), size - 2);
        for (int p = 0; p < pages_.PageCount(); ++p) {
            try {
                const auto& page = pages_.Load(p);
                int raw = GetI16(page.data());
                if (raw < 0 || raw > size - 2)
                    Problem(Format("страница %d: занято %d байт"_cp, p, raw));
                bool complete = false;
                auto records = PageRecords(page, &complete);
                if (!complete) Problem(Format("страница %d: записи не читаются"_cp, p));
                int free = size - 2 - PageUsed(page);
                report_.freeTable[static_cast<size_t>(p)] = free;
                if (table[static_cast<size_t>(p)] != free) ++report_.staleFreeCounts;
                auto& keys = pageKeys_[static_cast<size_t>(p)];
                for (const auto& r : records) keys.emplace_back(r.key);
                std::sort(keys.begin(), keys.end());
            } catch (const StoreError& e) {
                Problem(e.what());
            }
        }
    }

    void Visit(int node, int level) {
        if (node < 1 || node >= static_cast<int>(seen_.size()) || seen_[node]) {
            Problem(Format("узел %d встречается в дереве дважды"_cp, node));
            return;
        }
        seen_[node] = true;
        ++report_.treeNodes;
        IndexNode n;
        try {
            n = index_.Fetch(node);
        } catch (const StoreError& e) {
            Problem(e.what());
            return;
        }
        bool leafLevel = level == index_.Header().depth - 1;
        if (n.IsLeaf() != leafLevel) {
            Problem(Format("узел %d: листья на разной глубине"_cp, node));
            return;
        }
        if (!n.IsLeaf()) Visit(n.ChildBefore(n.FirstEntry()), level + 1);
        for (int off = n.FirstEntry(); off < n.UsedEnd();) {
            NodeEntry e = n.EntryAt(off);
            Entry(node, e, n.IsLeaf());
            if (!n.IsLeaf()) Visit(e.child, level + 1);
            off = e.end;
        }
    }

    void Entry(int node, const NodeEntry& e, bool leaf) {
        std::string shown = OemToAnsi(e.key);
        if (!IsValidKey(e.key)) Problem(Format("узел %d: ключ длиной %zu"_cp, node, e.key.size()));
        if (havePrevious_ && CompareKeys(previous_, e.key) >= 0)
            Problem(Format("узел %d: ключ %s не по порядку"_cp, node, shown.c_str()));
        previous_.assign(e.key);
        havePrevious_ = true;
        if (e.page == -1) {
            if (leaf) Problem(Format("узел %d: удаленный ключ %s в листе"_cp, node, shown.c_str()));
            ++report_.deletedMarks;
            return;
        }
        if (e.page < 0 || e.page >= pages_.PageCount()) {
            Problem(Format("ключ %s: страница %d"_cp, shown.c_str(), e.page));
            return;
        }
        ++report_.keys;
        const auto& keys = pageKeys_[static_cast<size_t>(e.page)];
        if (std::binary_search(keys.begin(), keys.end(), std::string(e.key)))
            ++matched_;
        else
            Problem(Format("записи %s нет на странице %d"_cp, shown.c_str(), e.page));
    }

    IndexFile& index_;
    PageFile& pages_;
    StoreReport report_;
    std::vector<bool> seen_;
    std::vector<std::vector<std::string>> pageKeys_;
    std::string previous_;
    bool havePrevious_ = false;
    long matched_ = 0;
};

}  // namespace

StoreReport CheckFiles(IndexFile& index, PageFile& pages) {
    return Checker(index, pages).Run();
}

StoreReport CheckStore(const std::string& stem) {
    IndexFile index;
    PageFile pages;
    std::string problem;
    StoreReport report;
    if (index.Open(stem + ".btr", problem, false) != OpenStatus::Opened ||
        !pages.Open(stem + ".bod", stem + ".bcr", index.Header().pageSize, problem, false)) {
        report.problems.push_back(problem);
        return report;
    }
    return CheckFiles(index, pages);
}

}  // namespace orbeta
