#include "jet/index/index_pages.hpp"

#include <algorithm>
#include <cstring>
#include <string>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet {
namespace {

using namespace index_page;

// Entries as they are stored, with what the level above needs to know.
struct PagePlan {
    uint32_t number = 0;
    std::vector<uint8_t> bytes;  // whole entries, one after the other
    std::vector<uint16_t> ends;  // where each entry ends in `bytes`
    size_t prefixLength = 0;
    uint32_t childTail = 0;
    std::vector<uint8_t> lastKey;  // the greatest leaf entry below this page
    RowPointer lastRow;
};

void appendLeafEntry(std::vector<uint8_t>& out, std::span<const uint8_t> key, RowPointer row) {
    out.insert(out.end(), key.begin(), key.end());
    appendBigEndian(out, row.page, kRowPageSize);
    out.push_back(row.row);
}

size_t commonPrefix(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<size_t>(mismatch.first - a.begin());
}

void closeEntry(PagePlan& plan) {
    plan.ends.push_back(static_cast<uint16_t>(plan.bytes.size()));
}

// Consecutive runs of items that each fill one page. With `keys`, later
// entries of a page omit the prefix common to the page's keys (leaf pages
// only; Access leaves node entries whole).
template <class SizeOf, class KeyOf>
std::vector<std::pair<size_t, size_t>> packIntoPages(size_t count, SizeOf sizeOf, KeyOf keyOf,
                                                     bool compress) {
    std::vector<std::pair<size_t, size_t>> runs;
    size_t start = 0;
    while (start < count) {
        size_t total = sizeOf(start);
        std::span<const uint8_t> first = compress ? keyOf(start) : std::span<const uint8_t>();
        size_t prefix = first.size();
        size_t end = start + 1;
        for (; end < count; ++end) {
            size_t candidatePrefix =
                compress ? std::min(prefix, commonPrefix(first, keyOf(end))) : 0;
            size_t candidateTotal = total + sizeOf(end);
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

PageBytes renderPage(const PagePlan& plan, uint8_t type, uint32_t tablePage, uint32_t previous,
                     uint32_t next) {
    PageBytes bytes{};
    bytes[page::kType] = type;
    bytes[page::kMarker] = page::kMarkerValue;
    putU32(bytes, kTablePage, tablePage);
    putU32(bytes, kPrevious, previous);
    putU32(bytes, kNext, next);
    putU32(bytes, kChildTail, plan.childTail);
    putU16(bytes, kPrefixLength, static_cast<uint16_t>(plan.prefixLength));
    bytes[kNodeMarker] = type == page::kIndexNodeType ? kNodeMarkerValue : 0;
    size_t end = kEntries;
    size_t begin = 0;
    for (size_t n = 0; n < plan.ends.size(); ++n) {
        size_t skip = n == 0 ? 0 : plan.prefixLength;
        auto from = plan.bytes.begin() + static_cast<ptrdiff_t>(begin + skip);
        auto to = plan.bytes.begin() + plan.ends[n];
        std::copy(from, to, bytes.begin() + static_cast<ptrdiff_t>(end));
        end += static_cast<size_t>(to - from);
        begin = plan.ends[n];
        size_t bit = end - kEntries;
        bytes[kBitmask + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    putU16(bytes, page::kFreeSpace, static_cast<uint16_t>(kPageSize - end));
    return bytes;
}

void renderLevel(std::vector<PagePlan>& level, uint8_t type, uint32_t tablePage,
                 IndexLayout& layout) {
    for (size_t n = 0; n < level.size(); ++n) {
        uint32_t previous = n > 0 ? level[n - 1].number : 0;
        uint32_t next = n + 1 < level.size() ? level[n + 1].number : 0;
        layout.pages[level[n].number] = renderPage(level[n], type, tablePage, previous, next);
    }
}

std::vector<PagePlan> planLeaves(const IndexEntryList& entries,
                                 const std::function<uint32_t()>& allocatePage) {
    auto sizeOf = [&](size_t n) { return entries.key(n).size() + kRowPointerSize; };
    auto keyOf = [&](size_t n) { return entries.key(n); };
    size_t total = 0;
    for (size_t n = 0; n < entries.size(); ++n) {
        if (sizeOf(n) > kEntrySpace) {
            throw JetError("an index entry of " + std::to_string(sizeOf(n)) +
                           " bytes does not fit an index page (at most " +
                           std::to_string(kEntrySpace) + ")");
        }
        total += sizeOf(n);
    }
    // Access compresses only the leaves of indexes that needed more than one.
    bool compress = total > kEntrySpace;
    std::vector<std::pair<size_t, size_t>> runs =
        packIntoPages(entries.size(), sizeOf, keyOf, compress);
    std::vector<PagePlan> leaves;
    leaves.reserve(runs.size());
    for (auto [start, end] : runs) {
        PagePlan plan;
        plan.number = allocatePage();
        plan.prefixLength = compress ? entries.key(start).size() : 0;
        for (size_t n = start; n < end; ++n) {
            if (compress) {
                plan.prefixLength =
                    std::min(plan.prefixLength, commonPrefix(entries.key(start), entries.key(n)));
            }
            appendLeafEntry(plan.bytes, entries.key(n), entries.row(n));
            closeEntry(plan);
        }
        plan.lastKey.assign(entries.key(end - 1).begin(), entries.key(end - 1).end());
        plan.lastRow = entries.row(end - 1);
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
    auto sizeOf = [&](size_t n) {
        return children[n].lastKey.size() + kRowPointerSize + kChildPointerSize;
    };
    for (size_t n = 0; n < children.size(); ++n) {
        if (sizeOf(n) > kEntrySpace) {
            throw JetError("an index node entry of " + std::to_string(sizeOf(n)) +
                           " bytes does not fit an index page");
        }
    }
    std::vector<std::pair<size_t, size_t>> runs = packIntoPages(
        children.size(), sizeOf, [](size_t) { return std::span<const uint8_t>(); }, false);
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
            appendLeafEntry(plan.bytes, children[n].lastKey, children[n].lastRow);
            appendBigEndian(plan.bytes, children[n].number, kChildPointerSize);
            closeEntry(plan);
        }
        if (lastPage) {
            plan.childTail = children[end - 1].number;
        }
        plan.lastKey = children[end - 1].lastKey;
        plan.lastRow = children[end - 1].lastRow;
        nodes.push_back(std::move(plan));
    }
    return nodes;
}

}  // namespace

void IndexEntryList::add(RowPointer row) {
    size_t length = bytes_.size() - keyStart_;
    if (length > kEntrySpace || bytes_.size() > UINT32_MAX) {
        throw JetError("an index key of " + std::to_string(length) +
                       " bytes does not fit an index page (at most " + std::to_string(kEntrySpace) +
                       ")");
    }
    Ref ref;
    ref.offset = static_cast<uint32_t>(keyStart_);
    ref.length = static_cast<uint16_t>(length);
    ref.row = row.raw();
    for (size_t n = 0; n < 8; ++n) {
        ref.head = ref.head << 8 | (n < length ? bytes_[keyStart_ + n] : 0);
    }
    refs_.push_back(ref);
    keyStart_ = bytes_.size();
}

void IndexEntryList::sort() {
    const uint8_t* bytes = bytes_.data();
    std::sort(refs_.begin(), refs_.end(), [bytes](const Ref& a, const Ref& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        if (a.length > 8 && b.length > 8) {
            size_t rest = std::min(a.length, b.length) - size_t{8};
            if (int order = std::memcmp(bytes + a.offset + 8, bytes + b.offset + 8, rest)) {
                return order < 0;
            }
        }
        if (a.length != b.length) {
            return a.length < b.length;
        }
        return a.row < b.row;
    });
}

IndexLayout layOutIndex(IndexEntryList entries, uint32_t tablePage,
                        const std::function<uint32_t()>& allocatePage) {
    entries.sort();
    IndexLayout layout;
    for (size_t n = 0; n < entries.size(); ++n) {
        if (n == 0 || !std::ranges::equal(entries.key(n), entries.key(n - 1))) {
            ++layout.uniqueEntryCount;
        }
    }

    std::vector<PagePlan> level = planLeaves(entries, allocatePage);
    renderLevel(level, page::kIndexLeafType, tablePage, layout);
    while (level.size() > 1) {
        level = planNodes(level, allocatePage);
        renderLevel(level, page::kIndexNodeType, tablePage, layout);
    }
    layout.rootPage = level.front().number;
    return layout;
}

}  // namespace orvdb::jet
