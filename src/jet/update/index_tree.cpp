#include "jet/update/index_tree.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/index_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/index/index_reader.hpp"

namespace orvdb::jet {

using namespace index_page;

namespace {

// Readers refuse deeper trees; no real index comes near.
constexpr auto kMaxLevels = static_cast<size_t>(kMaxIndexDepth);
// A page reached through its parent's child-tail field, or the root.
constexpr size_t kTailSlot = SIZE_MAX;
// Enough of a key to recognise it in a message.
constexpr size_t kKeyBytesShown = 32;

std::string hexKey(std::span<const uint8_t> bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (size_t n = 0; n < bytes.size() && n < kKeyBytesShown; ++n) {
        text += digits[bytes[n] >> 4];
        text += digits[bytes[n] & 0x0F];
    }
    if (bytes.size() > kKeyBytesShown) {
        text += "... (" + std::to_string(bytes.size()) + " bytes)";
    }
    return text.empty() ? "(empty)" : text;
}

IndexEntry entryOf(std::span<const uint8_t> key, RowPointer row) {
    return IndexEntry{std::vector<uint8_t>(key.begin(), key.end()), row};
}

}  // namespace

// One page on the way from the root down, with the entry of its parent that
// lists it (kTailSlot for a tail and for the root).
struct IndexTreeEditor::Level {
    IndexTreePage page;
    size_t slot = kTailSlot;
};

IndexCursor::IndexCursor(PageStore& store, uint32_t tablePage, std::string label,
                         std::vector<IndexEntry> entries, size_t position, uint32_t nextLeaf)
    : store_(&store),
      tablePage_(tablePage),
      label_(std::move(label)),
      entries_(std::move(entries)),
      position_(position),
      nextLeaf_(nextLeaf) {}

std::optional<IndexEntry> IndexCursor::next() {
    while (position_ >= entries_.size()) {
        if (nextLeaf_ == 0) {
            return std::nullopt;
        }
        if (++leavesRead_ > store_->pageCount()) {
            throwCorrupt(store_->fileName(), label_ + ": the chain of leaf pages loops");
        }
        IndexTreePage leaf = loadIndexTreePage(*store_, nextLeaf_, tablePage_, label_);
        if (!leaf.leaf) {
            throwCorrupt(store_->fileName(), label_ + ": index page " +
                                                 std::to_string(leaf.number) +
                                                 " follows a leaf but is a node page");
        }
        entries_ = std::move(leaf.entries);
        position_ = 0;
        nextLeaf_ = leaf.next;
    }
    return entries_[position_++];
}

IndexTreeEditor::IndexTreeEditor(PageStore& store, const TableDefinition& table,
                                 PhysicalIndex& index)
    : store_(store),
      tablePage_(table.page),
      index_(index),
      label_("table '" + table.name + "', " + describeIndex(table, index)),
      map_(store, index.usageMap, "pages of " + label_) {}

void IndexTreeEditor::insert(std::span<const uint8_t> key, RowPointer row) {
    if (key.size() > kMaxKeyLength) {
        throwError(store_.fileName(), label_ + ": an index key of " + std::to_string(key.size()) +
                                          " bytes is longer than the " +
                                          std::to_string(kMaxKeyLength) +
                                          " bytes an index page can hold");
    }
    if (row.page > kLastPageNumber) {
        throwError(store_.fileName(), label_ + ": an index entry cannot point at " +
                                          row.toString() + " (pages above " +
                                          std::to_string(kLastPageNumber) + ")");
    }
    IndexEntry entry = entryOf(key, row);
    std::vector<Level> path = descend(entry);
    IndexTreePage& leaf = path.back().page;
    auto position = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), entry);
    if (position != leaf.entries.end() && *position == entry) {
        throwError(store_.fileName(), label_ + ": the index already lists " + describeEntry(entry) +
                                          " (the index does not match the table)");
    }
    auto at = static_cast<size_t>(position - leaf.entries.begin());
    const bool newKey = !keyBeside(leaf, at, at, entry.key);
    SplitBias bias = SplitBias::Even;
    if (position == leaf.entries.end() && leaf.next == 0) {
        bias = SplitBias::FillLeft;
    } else if (position == leaf.entries.begin() && leaf.previous == 0) {
        bias = SplitBias::FillRight;
    }
    leaf.entries.insert(position, std::move(entry));
    settle(path, path.size() - 1, bias);
    if (newKey) {
        ++index_.entryCount;
    }
}

void IndexTreeEditor::erase(std::span<const uint8_t> key, RowPointer row) {
    IndexEntry entry = entryOf(key, row);
    std::vector<Level> path = descend(entry);
    IndexTreePage& leaf = path.back().page;
    auto position = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), entry);
    if (position == leaf.entries.end() || *position != entry) {
        throwError(store_.fileName(), label_ + ": the index has no entry for " +
                                          describeEntry(entry) +
                                          " (the index does not match the table)");
    }
    auto at = static_cast<size_t>(position - leaf.entries.begin());
    const bool lastOfKey = !keyBeside(leaf, at, at + 1, entry.key);
    leaf.entries.erase(position);
    settle(path, path.size() - 1, SplitBias::Even);
    // An emptied tree has set the count to 0 already.
    if (lastOfKey && index_.entryCount > 0) {
        --index_.entryCount;
    }
}

// Whether the entry before position `before` or the one at `after` of
// `leaf` has `key`, looking into the sibling leaves at the edges: entries of
// one key are neighbours.
bool IndexTreeEditor::keyBeside(const IndexTreePage& leaf, size_t before, size_t after,
                                const std::vector<uint8_t>& key) {
    if (before > 0) {
        if (leaf.entries[before - 1].key == key) {
            return true;
        }
    } else if (leaf.previous != 0) {
        IndexTreePage previous = load(leaf.previous);
        if (!previous.entries.empty() && previous.entries.back().key == key) {
            return true;
        }
    }
    if (after < leaf.entries.size()) {
        return leaf.entries[after].key == key;
    }
    if (leaf.next != 0) {
        IndexTreePage next = load(leaf.next);
        return !next.entries.empty() && next.entries.front().key == key;
    }
    return false;
}

bool IndexTreeEditor::containsKey(std::span<const uint8_t> key) {
    std::optional<IndexEntry> first = seek(key).next();
    return first && std::ranges::equal(first->key, key);
}

IndexCursor IndexTreeEditor::seek(std::span<const uint8_t> key) {
    // Row 0 of page 0 sorts before every row of the same key.
    IndexEntry target = entryOf(key, RowPointer{});
    std::vector<Level> path = descend(target);
    IndexTreePage& leaf = path.back().page;
    auto position = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), target);
    return IndexCursor(store_, tablePage_, label_, std::move(leaf.entries),
                       static_cast<size_t>(position - leaf.entries.begin()), leaf.next);
}

// The pages from the root to the leaf where `target` is or belongs: at each
// node the first child whose last entry is not below it, else the tail.
std::vector<IndexTreeEditor::Level> IndexTreeEditor::descend(const IndexEntry& target) {
    std::vector<Level> path;
    uint32_t number = index_.rootPage;
    size_t slot = kTailSlot;
    while (true) {
        if (path.size() > kMaxLevels) {
            throwCorrupt(store_.fileName(), label_ + ": the tree is deeper than " +
                                                std::to_string(kMaxLevels) + " levels");
        }
        path.push_back(Level{load(number), slot});
        const IndexTreePage& page = path.back().page;
        if (page.leaf) {
            return path;
        }
        auto found = std::lower_bound(page.entries.begin(), page.entries.end(), target);
        if (found != page.entries.end()) {
            slot = static_cast<size_t>(found - page.entries.begin());
            number = page.children[slot];
        } else if (page.tail != 0) {
            slot = kTailSlot;
            number = page.tail;
        } else if (!page.entries.empty()) {
            slot = page.entries.size() - 1;
            number = page.children.back();
        } else {
            throwCorrupt(store_.fileName(), label_ + ": index page " + std::to_string(page.number) +
                                                " is a node page without children");
        }
    }
}

// Writes path[depth] after a change and carries what follows from it up the
// path: splits, emptied pages, parent entries that must copy a new last entry.
void IndexTreeEditor::settle(std::vector<Level>& path, size_t depth, SplitBias bias) {
    while (true) {
        IndexTreePage& page = path[depth].page;
        const bool isRoot = depth == 0;
        if (page.entries.empty() && page.tail == 0) {
            if (isRoot) {
                index_.entryCount = 0;
                page.leaf = true;
                page.previous = page.next = 0;
                page.children.clear();
                store(page, false);
                return;
            }
            unlink(page);
            dropPage(page);
            IndexTreePage& parent = path[depth - 1].page;
            size_t slot = path[depth].slot;
            if (slot != kTailSlot) {
                parent.entries.erase(parent.entries.begin() + static_cast<ptrdiff_t>(slot));
                parent.children.erase(parent.children.begin() + static_cast<ptrdiff_t>(slot));
            } else if (parent.entries.empty()) {
                parent.tail = 0;
            } else {
                // The last listed child becomes the tail.
                parent.tail = parent.children.back();
                parent.entries.pop_back();
                parent.children.pop_back();
            }
            --depth;
            bias = SplitBias::Even;
            continue;
        }
        if (!page.leaf && page.entries.empty()) {
            if (isRoot) {
                collapseRoot(path);
                return;
            }
            mergeIntoLeftSibling(path, depth);
            --depth;
            bias = SplitBias::Even;
            continue;
        }
        const bool compressed = page.leaf && !isRoot;
        if (page.fits(compressed)) {
            store(page, compressed);
            if (isRoot || path[depth].slot == kTailSlot) {
                return;
            }
            IndexEntry& listed = path[depth - 1].page.entries[path[depth].slot];
            if (listed == page.lastEntry()) {
                return;
            }
            listed = page.lastEntry();
            --depth;
            bias = SplitBias::Even;
            continue;
        }
        const bool wasTail = path[depth].slot == kTailSlot;
        split(path, depth, bias, 2);
        if (isRoot) {
            continue;  // a new root at path[0]
        }
        --depth;
        // Pieces of a tail are appended at the end of its parent.
        bias = wasTail ? SplitBias::FillLeft : SplitBias::Even;
    }
}

// Cuts path[depth] into pages that fit; the first keeps the page number.
// The parent lists the new pages (a new root does when the root was cut).
void IndexTreeEditor::split(std::vector<Level>& path, size_t depth, SplitBias bias,
                            size_t minimumPieces) {
    if (depth == 0 && path.size() >= kMaxLevels) {
        throwError(store_.fileName(), label_ + ": the tree would need more than " +
                                          std::to_string(kMaxLevels) +
                                          " levels; its keys are too long");
    }
    const IndexTreePage& page = path[depth].page;
    // A leaf that is cut has siblings from now on.
    const bool compressed = page.leaf;
    std::vector<std::pair<size_t, size_t>> runs =
        partitionIndexTreePage(page, compressed, bias, minimumPieces);
    if (runs.size() < 2) {
        throwError(store_.fileName(), label_ + ": internal error: index page " +
                                          std::to_string(page.number) + " cannot be cut");
    }
    std::vector<IndexTreePage> pieces(runs.size());
    for (size_t n = 0; n < runs.size(); ++n) {
        IndexTreePage& piece = pieces[n];
        piece.number = n == 0 ? page.number : allocatePage();
        piece.leaf = page.leaf;
        auto [begin, end] = runs[n];
        piece.entries.assign(page.entries.begin() + static_cast<ptrdiff_t>(begin),
                             page.entries.begin() + static_cast<ptrdiff_t>(end));
        if (!page.leaf) {
            piece.children.assign(page.children.begin() + static_cast<ptrdiff_t>(begin),
                                  page.children.begin() + static_cast<ptrdiff_t>(end));
        }
    }
    for (size_t n = 0; n < pieces.size(); ++n) {
        pieces[n].previous = n == 0 ? page.previous : pieces[n - 1].number;
        pieces[n].next = n + 1 == pieces.size() ? page.next : pieces[n + 1].number;
    }
    pieces.back().tail = page.tail;
    if (page.next != 0) {
        setLink(page.next, kPrevious, pieces.back().number);
    }
    for (const IndexTreePage& piece : pieces) {
        store(piece, compressed);
    }

    auto listPieces = [&pieces](IndexTreePage& parent, size_t at, size_t count) {
        for (size_t n = 0; n < count; ++n) {
            parent.entries.insert(parent.entries.begin() + static_cast<ptrdiff_t>(at + n),
                                  pieces[n].lastEntry());
            parent.children.insert(parent.children.begin() + static_cast<ptrdiff_t>(at + n),
                                   pieces[n].number);
        }
    };
    if (depth == 0) {
        Level root;
        root.page.number = allocatePage();
        root.page.leaf = false;
        listPieces(root.page, 0, pieces.size() - 1);
        root.page.tail = pieces.back().number;
        index_.rootPage = root.page.number;
        path.insert(path.begin(), std::move(root));
        return;
    }
    IndexTreePage& parent = path[depth - 1].page;
    size_t slot = path[depth].slot;
    if (slot == kTailSlot) {
        listPieces(parent, parent.entries.size(), pieces.size() - 1);
        parent.tail = pieces.back().number;
    } else {
        // The first piece keeps the page's place; the others follow it.
        parent.entries.erase(parent.entries.begin() + static_cast<ptrdiff_t>(slot));
        parent.children.erase(parent.children.begin() + static_cast<ptrdiff_t>(slot));
        listPieces(parent, slot, pieces.size());
    }
}

// path[depth] is the last node of its level and has only its tail left: the
// node before it, which its parent lists last, takes the tail and becomes
// the parent's tail.
void IndexTreeEditor::mergeIntoLeftSibling(std::vector<Level>& path, size_t depth) {
    IndexTreePage& page = path[depth].page;
    IndexTreePage& parent = path[depth - 1].page;
    if (path[depth].slot != kTailSlot || parent.entries.empty() ||
        parent.children.back() != page.previous) {
        throwCorrupt(store_.fileName(), label_ + ": index page " + std::to_string(page.number) +
                                            " reaches its children by its tail only, but is not "
                                            "the tail of page " +
                                            std::to_string(parent.number) +
                                            " after its previous sibling");
    }
    IndexTreePage left = load(page.previous);
    if (left.leaf || left.tail != 0) {
        throwCorrupt(store_.fileName(), label_ + ": index page " + std::to_string(left.number) +
                                            " should be a node page listing all its children");
    }
    left.tail = page.tail;
    left.next = page.next;
    if (page.next != 0) {
        setLink(page.next, kPrevious, left.number);
    }
    store(left, false);
    dropPage(page);
    parent.entries.pop_back();
    parent.children.pop_back();
    parent.tail = left.number;
}

// The root lists nothing and reaches one child by its tail: that child
// becomes the root. A leaf is then the only one and is stored whole; when
// it fits only with its common prefix left out, it is cut in two instead.
void IndexTreeEditor::collapseRoot(std::vector<Level>& path) {
    const IndexTreePage root = path[0].page;
    IndexTreePage child = load(root.tail);
    if (!child.leaf || child.fits(false)) {
        if (child.leaf) {
            store(child, false);
        }
        index_.rootPage = child.number;
        dropPage(root);
        return;
    }
    std::vector<Level> rest{Level{root, kTailSlot}, Level{std::move(child), kTailSlot}};
    split(rest, 1, SplitBias::Even, 2);
    settle(rest, 0, SplitBias::Even);
}

void IndexTreeEditor::unlink(const IndexTreePage& page) {
    if (page.previous != 0) {
        setLink(page.previous, kNext, page.next);
    }
    if (page.next != 0) {
        setLink(page.next, kPrevious, page.previous);
    }
}

// Changes a sibling link of a page off the path, which is otherwise left as
// it is.
void IndexTreeEditor::setLink(uint32_t page, size_t offset, uint32_t value) {
    load(page);  // checks it is a page of this index's table
    putU32(store_.modify(page), offset, value);
}

uint32_t IndexTreeEditor::allocatePage() {
    uint32_t number = store_.allocate();
    map_.add(number);
    return number;
}

void IndexTreeEditor::dropPage(const IndexTreePage& page) {
    map_.remove(page.number);
    store_.release(page.number);
}

IndexTreePage IndexTreeEditor::load(uint32_t number) {
    return loadIndexTreePage(store_, number, tablePage_, label_);
}

void IndexTreeEditor::store(const IndexTreePage& page, bool compressed) {
    storeIndexTreePage(store_, page, tablePage_, compressed);
}

std::string IndexTreeEditor::describeEntry(const IndexEntry& entry) const {
    return "key " + hexKey(entry.key) + " at " + entry.row.toString();
}

}  // namespace orvdb::jet
