// Edits one existing index B-tree in place, a page at a time, the way the
// writer lays trees out (jet/index/index_pages.hpp):
//
// (1) Entries order by key bytes, then by row; one entry per (key, row).
// (2) A node entry is a copy of its child's last leaf entry. Each level is a
//     chain of siblings; every page of it but the last is listed by an entry
//     of its parent, the last one is the child tail of the last page above.
//     Node pages list at least one entry.
// (3) Leaf pages omit their common key prefix when the tree has more than
//     one leaf; the root leaf of a one-leaf tree and node pages do not.
// (4) The index's usage map lists exactly the pages of the tree, and its
//     entry count is the number of distinct keys.
//
// A full page splits (the new page takes the upper part), parents follow, a
// full root gets a new root above it. A page left empty is unlinked and
// released; a node left with only its tail hands that tail to its left
// sibling; a root left with only its tail gives way to that child. The
// editor changes PhysicalIndex::rootPage and entryCount; the caller writes
// them back into the table definition. A JetError thrown once pages have
// been changed (damage met half way, a tree grown too deep) leaves the
// change incomplete: the caller drops it.
//
//   IndexTreeEditor tree(store, table, table.physicalIndexes[0]);
//   if (index.isUnique() && tree.containsKey(key)) { ... }
//   tree.insert(key, row);
//   IndexCursor cursor = tree.seek(from);
//   while (auto entry = cursor.next()) { ... }
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "jet/format/index_definition.hpp"
#include "jet/index/index_pages.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/update/index_tree_page.hpp"
#include "jet/update/page_store.hpp"
#include "jet/update/usage_map_editor.hpp"

namespace orvdb::jet {

// Leaf entries in index order, following the leaf chain. Valid until the
// tree is changed.
class IndexCursor {
public:
    std::optional<IndexEntry> next();

private:
    friend class IndexTreeEditor;
    IndexCursor(PageStore& store, uint32_t tablePage, std::string label,
                std::vector<IndexEntry> entries, size_t position, uint32_t nextLeaf);

    PageStore* store_;
    uint32_t tablePage_;
    std::string label_;
    std::vector<IndexEntry> entries_;  // of the current leaf
    size_t position_;
    uint32_t nextLeaf_;
    uint32_t leavesRead_ = 0;  // stops a looping chain
};

class IndexTreeEditor {
public:
    // The longest key an entry may have: a node page must hold two node
    // entries, or the tree could not branch.
    static constexpr size_t kMaxKeyLength =
        index_page::kEntrySpace / 2 - index_page::kRowPointerSize - index_page::kChildPointerSize;

    // `table` names the file's table in messages and owns the pages;
    // `index` (usually one of table's physical indexes, held by the caller)
    // must outlive the editor.
    IndexTreeEditor(PageStore& store, const TableDefinition& table, PhysicalIndex& index);

    // Throws JetError when the entry is there already or the key is longer
    // than kMaxKeyLength.
    void insert(std::span<const uint8_t> key, RowPointer row);
    // Throws JetError naming the file, table and index when the entry is not
    // there: the index does not match the table.
    void erase(std::span<const uint8_t> key, RowPointer row);
    bool containsKey(std::span<const uint8_t> key);
    // The entries from the first whose key is >= `key`.
    IndexCursor seek(std::span<const uint8_t> key);

private:
    struct Level;

    std::vector<Level> descend(const IndexEntry& target);
    bool keyBeside(const IndexTreePage& leaf, size_t before, size_t after,
                   const std::vector<uint8_t>& key);
    void settle(std::vector<Level>& path, size_t depth, SplitBias bias);
    void split(std::vector<Level>& path, size_t depth, SplitBias bias, size_t minimumPieces);
    void mergeIntoLeftSibling(std::vector<Level>& path, size_t depth);
    void collapseRoot(std::vector<Level>& path);
    void unlink(const IndexTreePage& page);
    void setLink(uint32_t page, size_t offset, uint32_t value);
    uint32_t allocatePage();
    void dropPage(const IndexTreePage& page);
    IndexTreePage load(uint32_t number);
    void store(const IndexTreePage& page, bool compressed);
    std::string describeEntry(const IndexEntry& entry) const;

    PageStore& store_;
    uint32_t tablePage_;
    PhysicalIndex& index_;
    std::string label_;  // "table 'Orders', index 'PrimaryKey' (physical index 0)"
    UsageMapEditor map_;
};

}  // namespace orvdb::jet
