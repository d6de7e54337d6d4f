#include "jet/update/index_tree_page.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

using namespace index_page;

namespace {

uint32_t getU32(std::span<const uint8_t> bytes, size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (uint32_t{bytes[offset + 3]} << 24);
}

uint32_t bigEndian(std::span<const uint8_t> bytes) {
    uint32_t value = 0;
    for (uint8_t byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

}  // namespace

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
    if (image[0] != kLeaf && image[0] != kNode) {
        throwCorrupt(file, label + ": page " + std::to_string(number) +
                               " should be an index page but has type " + std::to_string(image[0]));
    }
    if (uint32_t owner = getU32(image, kTablePageOffset); owner != tablePage) {
        throwCorrupt(file, pageText + " belongs to the table at page " + std::to_string(owner));
    }
    IndexTreePage page;
    page.number = number;
    page.leaf = image[0] == kLeaf;
    page.previous = getU32(image, kPreviousOffset);
    page.next = getU32(image, kNextOffset);
    page.tail = page.leaf ? 0 : getU32(image, kChildTailOffset);
    const size_t prefix = getU16(image, kPrefixLengthOffset);
    const size_t pointerSize = kRowPointerSize + (page.leaf ? 0 : kChildPointerSize);

    std::vector<uint8_t> whole;  // the entry with the prefix it omits
    size_t start = kEntriesOffset;
    for (size_t end = kEntriesOffset + 1; end <= kPageSize; ++end) {
        size_t bit = end - kEntriesOffset;
        uint8_t bits = image[kBitmaskOffset + bit / 8];
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
        entry.row.page = bigEndian(std::span(whole).subspan(keyLength, 3));
        entry.row.row = whole[keyLength + 3];
        page.entries.push_back(std::move(entry));
        if (!page.leaf) {
            page.children.push_back(
                bigEndian(std::span(whole).subspan(keyLength + kRowPointerSize, 4)));
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
    image[0] = page.leaf ? kLeaf : kNode;
    image[1] = 0x01;
    putU32(image, kTablePageOffset, tablePage);
    putU32(image, kPreviousOffset, page.previous);
    putU32(image, kNextOffset, page.next);
    putU32(image, kChildTailOffset, page.tail);
    putU16(image, kPrefixLengthOffset, static_cast<uint16_t>(prefix));
    image[kNodeMarkerOffset] = page.leaf ? 0x00 : 0x01;
    size_t end = kEntriesOffset;
    std::vector<uint8_t> whole;
    for (size_t n = 0; n < count; ++n) {
        const IndexEntry& entry = page.entries[n];
        whole = entry.key;
        appendBigEndian(whole, entry.row.page, 3);
        whole.push_back(entry.row.row);
        if (!page.leaf) {
            appendBigEndian(whole, page.children[n], 4);
        }
        size_t skip = n == 0 ? 0 : prefix;
        std::copy(whole.begin() + static_cast<ptrdiff_t>(skip), whole.end(),
                  image.begin() + static_cast<ptrdiff_t>(end));
        end += whole.size() - skip;
        size_t bit = end - kEntriesOffset;
        image[kBitmaskOffset + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    putU16(image, kFreeSpaceOffset, static_cast<uint16_t>(kPageSize - end));
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
