#include "jet/update/index_tree_page.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/index_page.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

using namespace index_page;

size_t IndexTreePage::entrySize(size_t position) const {
    return entries[position].key.size() + kRowPointerSize + (leaf ? 0 : kChildPointerSize);
}

size_t IndexTreePage::storedSize(size_t begin, size_t end, bool compressed) const {
    size_t total = 0;
    for (size_t n = begin; n < end; ++n) {
        total += entrySize(n);
    }
    if (compressed && leaf && end - begin > 1) {
        total -= (end - begin - 1) * commonKeyPrefix(entries, begin, end);
    }
    return total;
}

size_t commonKeyPrefix(const std::vector<IndexEntry>& entries, size_t begin, size_t end) {
    if (begin >= end) {
        return 0;
    }
    const std::vector<uint8_t>& first = entries[begin].key;
    const std::vector<uint8_t>& last = entries[end - 1].key;
    auto mismatch = std::mismatch(first.begin(), first.end(), last.begin(), last.end());
    return static_cast<size_t>(mismatch.first - first.begin());
}

// Decodes as parseIndexPage does (index_reader.cpp), without its
// bounds-checked byte reads: every edit decodes the pages on its path.
IndexTreePage loadIndexTreePage(PageStore& store, uint32_t number, uint32_t tablePage,
                                const std::string& label) {
    const std::string& file = store.fileName();
    if (number == 0 || number >= store.pageCount()) {
        throwCorrupt(file, label + ": the tree names page " + std::to_string(number) +
                               ", which the file does not have");
    }
    const PageBytes& image = store.read(number);
    const std::string pageText = label + ": index page " + std::to_string(number);
    if (image[jet::page::kType] != jet::page::kIndexLeafType &&
        image[jet::page::kType] != jet::page::kIndexNodeType) {
        throwCorrupt(file, label + ": page " + std::to_string(number) +
                               " should be an index page but has type " +
                               std::to_string(image[jet::page::kType]));
    }
    if (uint32_t owner = getU32(image, kTablePage); owner != tablePage) {
        throwCorrupt(file, pageText + " belongs to the table at page " + std::to_string(owner));
    }
    IndexTreePage page;
    page.number = number;
    page.leaf = image[jet::page::kType] == jet::page::kIndexLeafType;
    page.previous = getU32(image, kPrevious);
    page.next = getU32(image, kNext);
    page.tail = page.leaf ? 0 : getU32(image, kChildTail);
    const size_t prefix = getU16(image, kPrefixLength);
    const size_t pointerSize = kRowPointerSize + (page.leaf ? 0 : kChildPointerSize);

    std::vector<uint8_t> whole;  // the entry with the prefix it omits
    size_t start = kEntries;
    for (size_t end = kEntries + 1; end <= kPageSize; ++end) {
        size_t bit = end - kEntries;
        uint8_t bits = image[kBitmask + bit / 8];
        if (bits == 0) {
            end += 7 - bit % 8;  // no entry ends in this byte's run
            continue;
        }
        if ((bits & (1u << (bit % 8))) == 0) {
            continue;
        }
        if (page.entries.empty()) {
            whole.assign(image.begin() + static_cast<ptrdiff_t>(start),
                         image.begin() + static_cast<ptrdiff_t>(end));
            if (whole.size() < prefix) {
                throwCorrupt(file, pageText + " has a first entry shorter than its common prefix");
            }
        } else {
            whole.resize(prefix);  // the first entry's prefix stays in place
            whole.insert(whole.end(), image.begin() + static_cast<ptrdiff_t>(start),
                         image.begin() + static_cast<ptrdiff_t>(end));
        }
        if (whole.size() < pointerSize) {
            throwCorrupt(file,
                         pageText + " has an entry of " + std::to_string(whole.size()) + " bytes");
        }
        size_t keyLength = whole.size() - pointerSize;
        IndexEntry entry;
        entry.key.assign(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(keyLength));
        entry.row.page =
            static_cast<uint32_t>(getBigEndian(std::span(whole).subspan(keyLength, kRowPageSize)));
        entry.row.row = whole[keyLength + kRowPageSize];
        page.entries.push_back(std::move(entry));
        if (!page.leaf) {
            page.children.push_back(static_cast<uint32_t>(getBigEndian(
                std::span(whole).subspan(keyLength + kRowPointerSize, kChildPointerSize))));
        }
        start = end;
    }
    return page;
}

void storeIndexTreePage(PageStore& store, const IndexTreePage& page, uint32_t tablePage,
                        bool compressed) {
    size_t count = page.entries.size();
    size_t prefix = compressed && page.leaf ? commonKeyPrefix(page.entries, 0, count) : 0;
    if (page.storedSize(0, count, compressed) > kEntrySpace) {
        throwError(store.fileName(), "internal error: index page " + std::to_string(page.number) +
                                         " was given more entries than it holds");
    }
    PageBytes& image = store.modify(page.number);
    image.fill(0);
    image[jet::page::kType] = page.leaf ? jet::page::kIndexLeafType : jet::page::kIndexNodeType;
    image[jet::page::kMarker] = jet::page::kMarkerValue;
    putU32(image, kTablePage, tablePage);
    putU32(image, kPrevious, page.previous);
    putU32(image, kNext, page.next);
    putU32(image, kChildTail, page.tail);
    putU16(image, kPrefixLength, static_cast<uint16_t>(prefix));
    image[kNodeMarker] = page.leaf ? 0x00 : kNodeMarkerValue;
    size_t end = kEntries;
    std::vector<uint8_t> whole;
    for (size_t n = 0; n < count; ++n) {
        const IndexEntry& entry = page.entries[n];
        whole = entry.key;
        appendBigEndian(whole, entry.row.page, kRowPageSize);
        whole.push_back(entry.row.row);
        if (!page.leaf) {
            appendBigEndian(whole, page.children[n], kChildPointerSize);
        }
        size_t skip = n == 0 ? 0 : prefix;
        std::copy(whole.begin() + static_cast<ptrdiff_t>(skip), whole.end(),
                  image.begin() + static_cast<ptrdiff_t>(end));
        end += whole.size() - skip;
        size_t bit = end - kEntries;
        image[kBitmask + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    putU16(image, jet::page::kFreeSpace, static_cast<uint16_t>(kPageSize - end));
}

std::vector<std::pair<size_t, size_t>> partitionIndexTreePage(const IndexTreePage& page,
                                                              bool compressed, SplitBias bias,
                                                              size_t minimumRuns) {
    const size_t count = page.entries.size();
    // Whole sizes summed up to each entry: a run's size without a scan.
    std::vector<size_t> before(count + 1, 0);
    for (size_t n = 0; n < count; ++n) {
        before[n + 1] = before[n] + page.entrySize(n);
    }
    auto fits = [&](size_t begin, size_t end) {
        size_t size = before[end] - before[begin];
        if (compressed && page.leaf && end - begin > 1) {
            size -= (end - begin - 1) * commonKeyPrefix(page.entries, begin, end);
        }
        return size <= kEntrySpace;
    };
    if (minimumRuns <= 1 && fits(0, count)) {
        return {{0, count}};
    }
    size_t chosen = 0;
    size_t bestImbalance = SIZE_MAX;
    for (size_t cut = 1; cut < count; ++cut) {
        if (!fits(0, cut) || !fits(cut, count)) {
            continue;
        }
        size_t left = before[cut];
        size_t right = before[count] - left;
        size_t imbalance = left > right ? left - right : right - left;
        if (bias == SplitBias::FillLeft || (bias == SplitBias::FillRight && chosen == 0) ||
            (bias == SplitBias::Even && imbalance < bestImbalance)) {
            chosen = cut;
            bestImbalance = imbalance;
        }
    }
    if (chosen != 0) {
        return {{0, chosen}, {chosen, count}};
    }
    std::vector<std::pair<size_t, size_t>> runs;
    for (size_t begin = 0; begin < count;) {
        size_t end = begin + 1;
        while (end < count && fits(begin, end + 1)) {
            ++end;
        }
        runs.emplace_back(begin, end);
        begin = end;
    }
    return runs;
}

}  // namespace orvdb::jet
