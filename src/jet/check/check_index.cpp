#include "jet/check/check_index.hpp"

#include <algorithm>
#include <functional>
#include <string>

#include "jet/format/index_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/index/index_key.hpp"
#include "jet/index/index_reader.hpp"

namespace orvdb::jet {

void RowsByPointer::sort() {
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.first < b.first; });
}

const std::vector<Value>* RowsByPointer::find(RowPointer where) const {
    auto found =
        std::lower_bound(entries_.begin(), entries_.end(), where,
                         [](const Entry& entry, RowPointer key) { return entry.first < key; });
    return found != entries_.end() && found->first == where ? &found->second : nullptr;
}

namespace {

// A badly damaged index would otherwise bury the other findings.
constexpr size_t kMaxFindingsPerKind = 5;

std::string hexBytes(const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text.empty() ? "(empty)" : text;
}

class IndexCheck {
public:
    IndexCheck(PageSource& source, const TableDefinition& table, const PhysicalIndex& index,
               std::vector<CheckFinding>& findings)
        : source_(source),
          table_(table),
          index_(index),
          findings_(findings),
          label_("table '" + table.name + "', " + describeIndex(table, index)) {}

    // False when the tree cannot be walked: its entries are then unknown.
    bool walk() {
        try {
            walk(index_.rootPage, 0, true);
            checkLevels();
            return true;
        } catch (const JetError& error) {
            error_(error.what());
            return false;
        }
    }

    void checkOrder() {
        for (size_t n = 1; n < entries_.size(); ++n) {
            if (!(entries_[n - 1].entry < entries_[n].entry)) {
                report(CheckSeverity::Error, "order",
                       "entries out of order on index page " + std::to_string(entries_[n].page) +
                           ": key " + hexBytes(entries_[n].entry.key) + " at " +
                           entries_[n].entry.row.toString() + " follows key " +
                           hexBytes(entries_[n - 1].entry.key) + " at " +
                           entries_[n - 1].entry.row.toString());
            }
        }
    }

    void checkRows(const RowsByPointer& rows) {
        std::vector<KeyColumn> columns;
        try {
            columns = keyColumnsOf(table_, index_);
        } catch (const JetError& error) {
            error_(error.what());
            return;
        }
        std::vector<RowPointer> listed;
        listed.reserve(entries_.size());
        for (const Located& located : entries_) {
            const IndexEntry& entry = located.entry;
            listed.push_back(entry.row);
            const std::vector<Value>* row = rows.find(entry.row);
            if (row == nullptr) {
                report(CheckSeverity::Error, "dangling",
                       "an entry on index page " + std::to_string(located.page) + " points at " +
                           entry.row.toString() + ", which holds no live row of the table");
                continue;
            }
            std::vector<Value> values = keyValuesOf(columns, *row);
            if (!indexHoldsRow(index_, values)) {
                report(CheckSeverity::Error, "null",
                       "the row at " + entry.row.toString() +
                           " has only Null key values but is listed in an index that ignores "
                           "Nulls");
                continue;
            }
            std::vector<uint8_t> expected;
            try {
                expected = encodeIndexKey(columns, values);
            } catch (const JetError&) {
                continue;  // no key to compare with (a character without a sort code)
            }
            if (expected != entry.key) {
                report(CheckSeverity::Error, "key",
                       "the entry for the row at " + entry.row.toString() + " has key " +
                           hexBytes(entry.key) + ", but the row's values give " +
                           hexBytes(expected));
            }
        }
        std::sort(listed.begin(), listed.end());
        for (const auto& [pointer, values] : rows) {
            if (!indexHoldsRow(index_, keyValuesOf(columns, values))) {
                continue;
            }
            auto [first, last] = std::equal_range(listed.begin(), listed.end(), pointer);
            auto times = static_cast<size_t>(last - first);
            if (times != 1) {
                report(CheckSeverity::Error, "coverage",
                       "the row at " + pointer.toString() + " is listed " + std::to_string(times) +
                           " times instead of once");
            }
        }
        checkUnique(columns, rows);
    }

    void checkUniqueCount() {
        uint32_t distinct = 0;
        for (size_t n = 0; n < entries_.size(); ++n) {
            if (n == 0 || entries_[n].entry.key != entries_[n - 1].entry.key) {
                ++distinct;
            }
        }
        if (distinct != index_.entryCount) {
            report(CheckSeverity::Warning, "count",
                   "the table definition records " + std::to_string(index_.entryCount) +
                       " distinct keys, the index holds " + std::to_string(distinct));
        }
    }

    const std::set<uint32_t>& pages() const { return visited_; }

private:
    struct Located {
        IndexEntry entry;
        uint32_t page = 0;
    };

    // Access lets several rows share a unique index's key when one of its
    // columns is Null.
    void checkUnique(const std::vector<KeyColumn>& columns, const RowsByPointer& rows) {
        if (!index_.isUnique()) {
            return;
        }
        for (size_t n = 1; n < entries_.size(); ++n) {
            const IndexEntry& entry = entries_[n].entry;
            if (entry.key != entries_[n - 1].entry.key) {
                continue;
            }
            const std::vector<Value>* row = rows.find(entry.row);
            if (row != nullptr) {
                std::vector<Value> values = keyValuesOf(columns, *row);
                if (std::any_of(values.begin(), values.end(), isNull)) {
                    continue;
                }
            }
            report(CheckSeverity::Error, "unique",
                   "the unique index lists key " + hexBytes(entry.key) + " for both " +
                       entries_[n - 1].entry.row.toString() + " and " + entry.row.toString());
        }
    }

    // Walks the page and what lies below it, checking each page's shape.
    void walk(uint32_t number, size_t depth, bool lastOfLevel) {
        if (depth > static_cast<size_t>(kMaxIndexDepth)) {
            throw JetError("the tree is deeper than " + std::to_string(kMaxIndexDepth) + " levels");
        }
        if (number == 0 || number >= source_.pageCount()) {
            throw JetError("the tree names page " + std::to_string(number) +
                           ", which the file does not have");
        }
        if (!visited_.insert(number).second) {
            throw JetError("index page " + std::to_string(number) + " is reached twice");
        }
        PageRef page = source_.page(number);
        ParsedIndexPage parsed = parseIndexPage(source_.view(*page), number);
        if (parsed.tablePage != table_.page) {
            throw JetError("index page " + std::to_string(number) +
                           " belongs to the table at page " + std::to_string(parsed.tablePage));
        }
        if (levels_.size() <= depth) {
            levels_.resize(depth + 1);
        }
        levels_[depth].push_back({number, parsed.previousPage, parsed.nextPage});
        const std::string where = "index page " + std::to_string(number);
        if (parsed.freeSpace + usedEntryBytes(*page) != index_page::kEntrySpace) {
            shape(where + " records " + std::to_string(parsed.freeSpace) +
                  " bytes free, but its entries leave " +
                  std::to_string(index_page::kEntrySpace - usedEntryBytes(*page)));
        }
        const bool isNode = page->bytes[index_page::kNodeMarker] == index_page::kNodeMarkerValue;
        if (isNode == parsed.isLeaf()) {
            shape(where + " has the node mark of the other kind of index page");
        }
        if (parsed.isLeaf()) {
            checkLeaf(parsed, number == index_.rootPage, where);
            leafDepths_.insert(depth);
            for (IndexEntry& entry : parsed.entries) {
                entries_.push_back(Located{std::move(entry), number});
            }
            return;
        }
        if (parsed.prefixLength != 0 || parsed.entries.empty()) {
            shape(where + " is a node page with a common prefix or without entries");
        }
        if ((parsed.childTailPage != 0) != lastOfLevel) {
            shape(where + (lastOfLevel ? " is the last node page of its level without a tail"
                                       : " has a tail but is not the last node page of its "
                                         "level"));
        }
        for (size_t n = 0; n < parsed.children.size(); ++n) {
            size_t before = entries_.size();
            walk(parsed.children[n], depth + 1, false);
            if (entries_.size() == before || !(entries_.back().entry == parsed.entries[n])) {
                shape(where + ": entry " + std::to_string(n) +
                      " is not the last entry of its child page " +
                      std::to_string(parsed.children[n]));
            }
        }
        if (parsed.childTailPage != 0) {
            walk(parsed.childTailPage, depth + 1, lastOfLevel);
        }
    }

    void checkLeaf(const ParsedIndexPage& leaf, bool isRoot, const std::string& where) {
        if (leaf.entries.empty() && !isRoot) {
            shape(where + " is an empty leaf left in the tree");
        }
    }

    // Every level is one chain of siblings, linked both ways in tree order,
    // and all leaves are on the last level.
    void checkLevels() {
        if (leafDepths_.size() > 1) {
            shape("the tree has leaves on " + std::to_string(leafDepths_.size()) + " levels");
        }
        for (const std::vector<Linked>& level : levels_) {
            for (size_t n = 0; n < level.size(); ++n) {
                uint32_t previous = n == 0 ? 0 : level[n - 1].number;
                uint32_t next = n + 1 == level.size() ? 0 : level[n + 1].number;
                if (level[n].previous != previous || level[n].next != next) {
                    // Readers follow the leaves' links; those of node pages
                    // only guide inserts.
                    const bool leaves = &level == &levels_.back();
                    report(leaves ? CheckSeverity::Error : CheckSeverity::Warning, "siblings",
                           "index page " + std::to_string(level[n].number) +
                               " links to previous page " + std::to_string(level[n].previous) +
                               " and next page " + std::to_string(level[n].next) +
                               ", but the tree has " + std::to_string(previous) + " and " +
                               std::to_string(next));
                }
            }
        }
    }

    // The entry bytes a page uses, from the highest bit of its bitmask.
    static size_t usedEntryBytes(const Page& page) {
        for (size_t bit = index_page::kEntrySpace; bit > 0; --bit) {
            if (page.bytes[index_page::kBitmask + bit / 8] & (1u << (bit % 8))) {
                return bit;
            }
        }
        return 0;
    }

    // How the pages are laid out, beyond what readers rely on: what Access and
    // this codec keep when they edit a tree. A warning: no file is refused
    // for it.
    void shape(const std::string& text) { report(CheckSeverity::Warning, "shape", text); }

    void error_(const std::string& text) { report(CheckSeverity::Error, "tree", text); }

    void report(CheckSeverity severity, const std::string& kind, const std::string& text) {
        size_t& count = reported_[kind];
        if (++count <= kMaxFindingsPerKind) {
            findings_.push_back({severity, label_ + ": " + text});
        } else if (count == kMaxFindingsPerKind + 1) {
            findings_.push_back({severity, label_ +
                                               ": more findings like the last one follow; "
                                               "only the first " +
                                               std::to_string(kMaxFindingsPerKind) +
                                               " are listed"});
        }
    }

    PageSource& source_;
    const TableDefinition& table_;
    const PhysicalIndex& index_;
    std::vector<CheckFinding>& findings_;
    std::string label_;
    struct Linked {
        uint32_t number;
        uint32_t previous;
        uint32_t next;
    };

    std::set<uint32_t> visited_;
    std::vector<std::vector<Linked>> levels_;  // pages by depth, in tree order
    std::set<size_t> leafDepths_;
    std::vector<Located> entries_;
    std::map<std::string, size_t> reported_;
};

}  // namespace

std::set<uint32_t> checkIndex(PageSource& source, const TableDefinition& table,
                              const PhysicalIndex& index, const RowsByPointer* rows,
                              std::vector<CheckFinding>& findings) {
    IndexCheck check(source, table, index, findings);
    if (check.walk()) {
        check.checkOrder();
        if (rows != nullptr) {
            check.checkRows(*rows);
        }
        check.checkUniqueCount();
    }
    return check.pages();
}

}  // namespace orvdb::jet
