#include "jet/check/check_index.hpp"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "jet/format/index_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/index/index_reader.hpp"

namespace orvdb::jet {

namespace {

// A badly damaged index would otherwise bury the other findings.
constexpr size_t kMaxFindingsPerKind = 5;

std::string hexBytes(std::span<const uint8_t> bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text.empty() ? "(empty)" : text;
}

// Keys order as raw bytes, a shorter key before the longer it begins.
int compareKeys(std::span<const uint8_t> first, std::span<const uint8_t> second) {
    size_t common = std::min(first.size(), second.size());
    int order = common == 0 ? 0 : std::memcmp(first.data(), second.data(), common);
    if (order != 0) {
        return order;
    }
    return first.size() < second.size() ? -1 : (first.size() > second.size() ? 1 : 0);
}

// Room made ahead for the rows the definition announces: a damaged count
// must not ask for more than a large table needs.
size_t rowsToReserve(const TableDefinition& table) {
    constexpr size_t kMostReserved = size_t{1} << 21;
    return std::min<size_t>(table.rowCount, kMostReserved);
}

bool contains(const std::vector<uint32_t>& sorted, uint32_t row) {
    return std::binary_search(sorted.begin(), sorted.end(), row);
}

void sortOnce(std::vector<uint32_t>& rows) {
    if (!std::is_sorted(rows.begin(), rows.end())) {
        std::sort(rows.begin(), rows.end());
    }
}

std::string rowText(uint32_t row) {
    return RowPointer::fromRaw(row).toString();
}

}  // namespace

ExpectedEntries::ExpectedEntries(const TableDefinition& table, const PhysicalIndex& index)
    : index_(&index) {
    try {
        columns_ = keyColumnsOf(table, index);
    } catch (const JetError& error) {
        columnsError_ = error.what();
    }
    refs_.reserve(rowsToReserve(table));
}

void ExpectedEntries::add(RowPointer where, const std::vector<Value>& row) {
    if (!columnsError_.empty()) {
        return;
    }
    const uint32_t raw = where.raw();
    bool held = true;
    try {
        held = indexHoldsTableRow(*index_, columns_, row);
    } catch (const JetError&) {
        unknownKey_.push_back(raw);
        return;
    }
    if (index_->isUnique() &&
        std::any_of(columns_.begin(), columns_.end(), [&](const KeyColumn& column) {
            return column.valueIndex >= row.size() || isNull(row[column.valueIndex]);
        })) {
        someNull_.push_back(raw);
    }
    if (!held) {
        leftOut_.push_back(raw);
        return;
    }
    const size_t start = bytes_.size();
    try {
        appendIndexKey(columns_, row, bytes_);
    } catch (const JetError&) {
        bytes_.resize(start);
        unknownKey_.push_back(raw);  // no key to compare with
        return;
    }
    const size_t length = bytes_.size() - start;
    if (length > UINT16_MAX || start > UINT32_MAX) {
        bytes_.resize(start);
        unknownKey_.push_back(raw);
        return;
    }
    refs_.push_back({static_cast<uint32_t>(start), raw, static_cast<uint16_t>(length)});
}

void ExpectedEntries::finish() {
    auto less = [this](const Ref& first, const Ref& second) {
        int order = compareKeys({bytes_.data() + first.offset, first.length},
                                {bytes_.data() + second.offset, second.length});
        return order != 0 ? order < 0 : first.row < second.row;
    };
    if (!std::is_sorted(refs_.begin(), refs_.end(), less)) {
        std::sort(refs_.begin(), refs_.end(), less);
    }
    sortOnce(leftOut_);
    sortOnce(unknownKey_);
    sortOnce(someNull_);
}

TableRows::TableRows(const TableDefinition& table) {
    indexes_.reserve(table.physicalIndexes.size());
    for (const PhysicalIndex& index : table.physicalIndexes) {
        indexes_.emplace_back(table, index);
    }
}

void TableRows::add(RowPointer where, const std::vector<Value>& row) {
    ++live_;
    for (ExpectedEntries& index : indexes_) {
        index.add(where, row);
    }
}

void TableRows::finish() {
    for (ExpectedEntries& index : indexes_) {
        index.finish();
    }
}

namespace {

class IndexCheck {
public:
    // Without `expected`, only the tree is checked.
    IndexCheck(PageSource& source, const TableDefinition& table, const PhysicalIndex& index,
               const ExpectedEntries* expected, std::vector<CheckFinding>& findings)
        : source_(source),
          table_(table),
          index_(index),
          expected_(expected),
          findings_(findings),
          label_("table '" + table.name + "', " + describeIndex(table, index)) {}

    // Walks the tree, checking the shape of its pages, the order of its
    // entries and the links of each level, and matching its entries with the
    // expected ones. False when the tree cannot be walked: its entries are
    // then unknown, and the findings are why and the shape of the pages met
    // on the way.
    bool walk() {
        const size_t findingsBefore = findings_.size();
        try {
            walk(index_.rootPage, 0, true);
            checkLevels();
        } catch (const JetError& error) {
            findings_.resize(findingsBefore);
            const size_t shapes = reported_["shape"];
            reported_.clear();
            reported_["shape"] = shapes;
            findings_.insert(findings_.end(), shapes_.begin(), shapes_.end());
            error_(error.what());
            return false;
        }
        findings_.insert(findings_.begin() + static_cast<ptrdiff_t>(findingsBefore),
                         shapes_.begin(), shapes_.end());
        return true;
    }

    // The rows the tree must list, each once with its key: nothing to do
    // without the rows.
    void checkRows() {
        if (expected_ == nullptr) {
            return;
        }
        const ExpectedEntries& expected = *expected_;
        if (!expected.columnsError().empty()) {
            error_(expected.columnsError());
            return;
        }
        while (next_ < expected.size()) {
            missing_.push_back(next_++);
        }
        if (extras_.empty() && missing_.empty()) {
            return;  // each row listed once, with its key
        }
        // Where each expected entry is by row, to explain the extra entries.
        std::vector<uint32_t> byRow(expected.size());
        for (uint32_t n = 0; n < byRow.size(); ++n) {
            byRow[n] = n;
        }
        std::sort(byRow.begin(), byRow.end(),
                  [&](uint32_t a, uint32_t b) { return expected.row(a) < expected.row(b); });
        auto expectedFor = [&](uint32_t row) -> const uint32_t* {
            auto found = std::lower_bound(
                byRow.begin(), byRow.end(), row,
                [&](uint32_t entry, uint32_t wanted) { return expected.row(entry) < wanted; });
            return found != byRow.end() && expected.row(*found) == row ? &*found : nullptr;
        };
        std::vector<bool> missing(expected.size(), false);
        for (size_t entry : missing_) {
            missing[entry] = true;
        }
        // Times each row held by the index is listed, beyond its matched entry.
        std::map<uint32_t, size_t> listedAgain;
        for (const Located& located : extras_) {
            const uint32_t row = located.row;
            const uint32_t* entry = expectedFor(row);
            // Every live row is an expected entry, left out or without a key.
            if (entry == nullptr && !contains(expected.leftOut(), row) &&
                !contains(expected.unknownKey(), row)) {
                report(CheckSeverity::Error, "dangling",
                       "an entry on index page " + std::to_string(located.page) + " points at " +
                           rowText(row) + ", which holds no live row of the table");
                continue;
            }
            if (contains(expected.leftOut(), row)) {
                report(CheckSeverity::Error, "null",
                       "the row at " + rowText(row) +
                           " has only Null key values but is listed in an index that ignores "
                           "Nulls");
                continue;
            }
            ++listedAgain[row];
            if (entry == nullptr) {
                continue;  // no key to compare with
            }
            if (compareKeys(expected.key(*entry), located.key) == 0) {
                if (missing[*entry]) {
                    // Met out of order: the order check reported it.
                    missing[*entry] = false;
                    --listedAgain[row];
                }
                continue;
            }
            report(CheckSeverity::Error, "key",
                   "the entry for the row at " + rowText(row) + " has key " +
                       hexBytes(located.key) + ", but the row's values give " +
                       hexBytes(expected.key(*entry)));
        }
        std::map<uint32_t, size_t> listed;
        for (size_t entry = 0; entry < missing.size(); ++entry) {
            if (missing[entry]) {
                listed[expected.row(entry)] = 0;
            }
        }
        for (const auto& [row, times] : listedAgain) {
            const uint32_t* entry = expectedFor(row);
            listed[row] = times + (entry != nullptr && !missing[*entry] ? 1 : 0);
        }
        for (uint32_t row : expected.unknownKey()) {
            listed.emplace(row, 0);
        }
        for (const auto& [row, times] : listed) {
            if (times != 1) {
                report(CheckSeverity::Error, "coverage",
                       "the row at " + rowText(row) + " is listed " + std::to_string(times) +
                           " times instead of once");
            }
        }
    }

    // Access lets several rows share a unique index's key when one of its
    // columns is Null.
    void checkUnique() {
        for (const Duplicate& duplicate : duplicates_) {
            report(CheckSeverity::Error, "unique",
                   "the unique index lists key " + hexBytes(duplicate.key) + " for both " +
                       rowText(duplicate.first) + " and " + rowText(duplicate.second));
        }
    }

    void checkUniqueCount() {
        if (distinct_ != index_.entryCount) {
            report(CheckSeverity::Warning, "count",
                   "the table definition records " + std::to_string(index_.entryCount) +
                       " distinct keys, the index holds " + std::to_string(distinct_));
        }
    }

    const std::set<uint32_t>& pages() const { return visited_; }

private:
    struct Located {
        std::vector<uint8_t> key;
        uint32_t row = 0;
        uint32_t page = 0;
    };
    struct Duplicate {
        std::vector<uint8_t> key;
        uint32_t first = 0;
        uint32_t second = 0;
    };
    struct Linked {
        uint32_t number = 0;
        uint32_t previous = 0;
        uint32_t next = 0;
    };

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
            if (parsed.entries.empty() && number != index_.rootPage) {
                shape(where + " is an empty leaf left in the tree");
            }
            leafDepths_.insert(depth);
            for (IndexEntry& entry : parsed.entries) {
                take(entry, number);
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
            const size_t before = taken_;
            walk(parsed.children[n], depth + 1, false);
            if (taken_ == before || !lastTaken(parsed.entries[n])) {
                shape(where + ": entry " + std::to_string(n) +
                      " is not the last entry of its child page " +
                      std::to_string(parsed.children[n]));
            }
        }
        if (parsed.childTailPage != 0) {
            walk(parsed.childTailPage, depth + 1, lastOfLevel);
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

    // Whether the last leaf entry taken is `entry` (a node entry copies the
    // last entry of its child).
    bool lastTaken(const IndexEntry& entry) const {
        return previous_ && previous_->row == entry.row.raw() &&
               compareKeys(previous_->key, entry.key) == 0;
    }

    // One leaf entry, in tree order.
    void take(IndexEntry& entry, uint32_t page) {
        ++taken_;
        const uint32_t row = entry.row.raw();
        if (previous_) {
            const int order = compareKeys(previous_->key, entry.key);
            if (order > 0 || (order == 0 && previous_->row >= row)) {
                report(CheckSeverity::Error, "order",
                       "entries out of order on index page " + std::to_string(page) + ": key " +
                           hexBytes(entry.key) + " at " + rowText(row) + " follows key " +
                           hexBytes(previous_->key) + " at " + rowText(previous_->row));
            }
            if (order != 0) {
                ++distinct_;
            } else if (expected_ != nullptr && index_.isUnique() &&
                       !contains(expected_->someNull(), row)) {
                duplicates_.push_back({entry.key, previous_->row, row});
            }
        } else {
            distinct_ = 1;
        }
        const bool matched = expected_ != nullptr && match(entry.key, row);
        if (!previous_) {
            previous_.emplace(Located{});
        }
        previous_->row = row;
        previous_->page = page;
        if (matched || expected_ == nullptr) {
            previous_->key = std::move(entry.key);
        } else {
            previous_->key = entry.key;
            extras_.push_back(Located{std::move(entry.key), row, page});
        }
    }

    // Moves past the expected entries ordered before this one (not in the
    // tree) and past this one when it is the next expected.
    bool match(const std::vector<uint8_t>& key, uint32_t row) {
        const ExpectedEntries& expected = *expected_;
        while (next_ < expected.size() && lessThanEntry(next_, key, row)) {
            missing_.push_back(next_++);
        }
        const bool matched = next_ < expected.size() && expected.row(next_) == row &&
                             compareKeys(expected.key(next_), key) == 0;
        if (matched) {
            ++next_;
        }
        return matched;
    }

    bool lessThanEntry(size_t expected, const std::vector<uint8_t>& key, uint32_t row) const {
        const int order = compareKeys(expected_->key(expected), key);
        return order != 0 ? order < 0 : expected_->row(expected) < row;
    }

    // How the pages are laid out, beyond what readers rely on: what Access and
    // this codec keep when they edit a tree. A warning: no file is refused
    // for it. Kept apart while the tree is walked, since a walk that fails
    // drops its other findings.
    void shape(const std::string& text) { report(CheckSeverity::Warning, "shape", text); }

    void error_(const std::string& text) { report(CheckSeverity::Error, "tree", text); }

    void report(CheckSeverity severity, const std::string& kind, const std::string& text) {
        std::vector<CheckFinding>& into = kind == "shape" ? shapes_ : findings_;
        size_t& count = reported_[kind];
        if (++count <= kMaxFindingsPerKind) {
            into.push_back({severity, label_ + ": " + text});
        } else if (count == kMaxFindingsPerKind + 1) {
            into.push_back({severity, label_ +
                                          ": more findings like the last one follow; "
                                          "only the first " +
                                          std::to_string(kMaxFindingsPerKind) + " are listed"});
        }
    }

    PageSource& source_;
    const TableDefinition& table_;
    const PhysicalIndex& index_;
    const ExpectedEntries* expected_;  // null: the tree alone
    std::vector<CheckFinding>& findings_;
    std::string label_;
    std::set<uint32_t> visited_;
    std::vector<std::vector<Linked>> levels_;  // pages by depth, in tree order
    std::set<size_t> leafDepths_;
    std::optional<Located> previous_;  // the last leaf entry taken
    size_t taken_ = 0;
    uint32_t distinct_ = 0;
    size_t next_ = 0;              // the first expected entry not met yet
    std::vector<size_t> missing_;  // expected entries the tree skipped
    std::vector<Located> extras_;  // tree entries no expected entry matched
    std::vector<Duplicate> duplicates_;
    std::vector<CheckFinding> shapes_;  // until the walk ends
    std::map<std::string, size_t> reported_;
};

}  // namespace

std::set<uint32_t> checkIndex(PageSource& source, const TableDefinition& table,
                              const PhysicalIndex& index, const ExpectedEntries* expected,
                              std::vector<CheckFinding>& findings) {
    IndexCheck check(source, table, index, expected, findings);
    if (check.walk()) {
        check.checkRows();
        check.checkUnique();
        check.checkUniqueCount();
    }
    return check.pages();
}

}  // namespace orvdb::jet
