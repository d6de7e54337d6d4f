#include "jet/index_pages.hpp"

#include <algorithm>
#include <string>

#include "jet/jet_error.hpp"

namespace orvdb::jet {
namespace {

using namespace index_page;

// Entries as they are stored, with what the level above needs to know.
struct PagePlan {
    uint32_t number = 0;
    std::vector<std::vector<uint8_t>> entries;  // whole entries
    size_t prefixLength = 0;
    uint32_t childTail = 0;
    IndexEntry last;  // the greatest leaf entry below this page
};

void putU16(PageImage& page, size_t offset, uint16_t value) {
    page[offset] = static_cast<uint8_t>(value);
    page[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void putU32(PageImage& page, size_t offset, uint32_t value) {
    for (int n = 0; n < 4; ++n) {
        page[offset + n] = static_cast<uint8_t>(value >> (8 * n));
    }
}

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

std::vector<uint8_t> leafEntryBytes(const IndexEntry& entry) {
    std::vector<uint8_t> bytes = entry.key;
    appendBigEndian(bytes, entry.row.page, 3);
    bytes.push_back(entry.row.row);
    return bytes;
}

std::vector<uint8_t> nodeEntryBytes(const PagePlan& child) {
    std::vector<uint8_t> bytes = leafEntryBytes(child.last);
    appendBigEndian(bytes, child.number, 4);
    return bytes;
}

size_t commonPrefix(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) {
        ++n;
    }
    return n;
}

// Consecutive runs of items that each fill one page. `prefixKeys`, when
// given, are the keys whose common prefix later entries may omit (leaf pages
// only; Access leaves node entries whole).
std::vector<std::pair<size_t, size_t>> packIntoPages(
    const std::vector<std::vector<uint8_t>>& items,
    const std::vector<const std::vector<uint8_t>*>* prefixKeys) {
    std::vector<std::pair<size_t, size_t>> runs;
    size_t start = 0;
    while (start < items.size()) {
        size_t total = items[start].size();
        size_t prefix = prefixKeys ? (*prefixKeys)[start]->size() : 0;
        size_t end = start + 1;
        for (; end < items.size(); ++end) {
            size_t candidatePrefix =
                prefixKeys
                    ? std::min(prefix, commonPrefix(*(*prefixKeys)[start], *(*prefixKeys)[end]))
                    : 0;
            size_t candidateTotal = total + items[end].size();
            if (candidateTotal - (end - start) * candidatePrefix > kEntrySpace) {
                break;
            }
            total = candidateTotal;
            prefix = candidatePrefix;
        }
        runs.emplace_back(start, end);
        start = end;
    }
    return runs;
}

PageImage renderPage(const PagePlan& plan, uint8_t type, uint32_t tablePage, uint32_t previous,
                     uint32_t next) {
    PageImage page{};
    page[0] = type;
    page[1] = 0x01;
    putU32(page, kTablePageOffset, tablePage);
    putU32(page, kPreviousOffset, previous);
    putU32(page, kNextOffset, next);
    putU32(page, kChildTailOffset, plan.childTail);
    putU16(page, kPrefixLengthOffset, static_cast<uint16_t>(plan.prefixLength));
    page[kNodeMarkerOffset] = type == kNode ? 0x01 : 0x00;
    size_t end = kEntriesOffset;
    for (size_t n = 0; n < plan.entries.size(); ++n) {
        const std::vector<uint8_t>& entry = plan.entries[n];
        size_t skip = n == 0 ? 0 : plan.prefixLength;
        std::copy(entry.begin() + static_cast<ptrdiff_t>(skip), entry.end(), page.begin() + end);
        end += entry.size() - skip;
        size_t bit = end - kEntriesOffset;
        page[kBitmaskOffset + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    putU16(page, kFreeSpaceOffset, static_cast<uint16_t>(kPageSize - end));
    return page;
}

void renderLevel(std::vector<PagePlan>& level, uint8_t type, uint32_t tablePage,
                 IndexLayout& layout) {
    for (size_t n = 0; n < level.size(); ++n) {
        uint32_t previous = n > 0 ? level[n - 1].number : 0;
        uint32_t next = n + 1 < level.size() ? level[n + 1].number : 0;
        layout.pages[level[n].number] = renderPage(level[n], type, tablePage, previous, next);
    }
}

std::vector<PagePlan> planLeaves(const std::vector<IndexEntry>& entries,
                                 const std::function<uint32_t()>& allocatePage) {
    std::vector<std::vector<uint8_t>> items;
    std::vector<const std::vector<uint8_t>*> keys;
    items.reserve(entries.size());
    for (const IndexEntry& entry : entries) {
        items.push_back(leafEntryBytes(entry));
        if (items.back().size() > kEntrySpace) {
            throw JetError("an index entry of " + std::to_string(items.back().size()) +
                           " bytes does not fit an index page (at most " +
                           std::to_string(kEntrySpace) + ")");
        }
        keys.push_back(&entry.key);
    }
    // Access compresses only the leaves of indexes that needed more than one.
    std::vector<std::pair<size_t, size_t>> runs = packIntoPages(items, nullptr);
    bool compress = runs.size() > 1;
    if (compress) {
        runs = packIntoPages(items, &keys);
    }
    std::vector<PagePlan> leaves;
    for (auto [start, end] : runs) {
        PagePlan plan;
        plan.number = allocatePage();
        plan.prefixLength = compress ? entries[start].key.size() : 0;
        for (size_t n = start; n < end; ++n) {
            plan.prefixLength =
                std::min(plan.prefixLength, commonPrefix(entries[start].key, entries[n].key));
            plan.entries.push_back(std::move(items[n]));
        }
        plan.last = entries[end - 1];
        leaves.push_back(std::move(plan));
    }
    if (leaves.empty()) {
        PagePlan empty;
        empty.number = allocatePage();
        leaves.push_back(std::move(empty));
    }
    return leaves;
}

// The node pages above `children`. Every child is listed by its last entry,
// except the very last child of the level: the last node page reaches it
// through its child-tail field.
std::vector<PagePlan> planNodes(const std::vector<PagePlan>& children,
                                const std::function<uint32_t()>& allocatePage) {
    std::vector<std::vector<uint8_t>> items;
    for (const PagePlan& child : children) {
        items.push_back(nodeEntryBytes(child));
        if (items.back().size() > kEntrySpace) {
            throw JetError("an index node entry of " + std::to_string(items.back().size()) +
                           " bytes does not fit an index page");
        }
    }
    std::vector<std::pair<size_t, size_t>> runs = packIntoPages(items, nullptr);
    // The tail takes no room, but a last page holding only its tail would
    // list nothing: give it the previous page's last child as well.
    if (runs.size() > 1 && runs.back().second - runs.back().first == 1) {
        --runs[runs.size() - 2].second;
        --runs.back().first;
        if (runs[runs.size() - 2].first == runs[runs.size() - 2].second) {
            runs.erase(runs.end() - 2);
        }
    }
    if (runs.size() >= children.size()) {
        throw JetError("the index keys are too long to build an index tree (" +
                       std::to_string(children.size()) + " pages at one level)");
    }
    std::vector<PagePlan> nodes;
    for (size_t r = 0; r < runs.size(); ++r) {
        auto [start, end] = runs[r];
        PagePlan plan;
        plan.number = allocatePage();
        bool lastPage = r + 1 == runs.size();
        size_t listed = lastPage ? end - 1 : end;
        for (size_t n = start; n < listed; ++n) {
            plan.entries.push_back(std::move(items[n]));
        }
        if (lastPage) {
            plan.childTail = children[end - 1].number;
        }
        plan.last = children[end - 1].last;
        nodes.push_back(std::move(plan));
    }
    return nodes;
}

}  // namespace

IndexLayout layOutIndex(std::vector<IndexEntry> entries, uint32_t tablePage,
                        const std::function<uint32_t()>& allocatePage) {
    std::sort(entries.begin(), entries.end());
    IndexLayout layout;
    for (size_t n = 0; n < entries.size(); ++n) {
        if (n == 0 || entries[n].key != entries[n - 1].key) {
            ++layout.uniqueEntryCount;
        }
    }

    std::vector<PagePlan> level = planLeaves(entries, allocatePage);
    renderLevel(level, kLeaf, tablePage, layout);
    while (level.size() > 1) {
        level = planNodes(level, allocatePage);
        renderLevel(level, kNode, tablePage, layout);
    }
    layout.rootPage = level.front().number;
    return layout;
}

}  // namespace orvdb::jet
