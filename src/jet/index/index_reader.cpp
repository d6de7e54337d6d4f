#include "jet/index/index_reader.hpp"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "jet/format/bytes.hpp"
#include "jet/format/index_page.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet {
namespace {

std::string pageText(uint32_t number) {
    return "index page " + std::to_string(number);
}

}  // namespace

ParsedIndexPage parseIndexPage(const ByteView& page, uint32_t number) {
    using namespace index_page;
    ParsedIndexPage parsed;
    parsed.number = number;
    parsed.type = page.u8(page::kType);
    if (parsed.type != page::kIndexNodeType && parsed.type != page::kIndexLeafType) {
        throwCorrupt(page.file(), "page " + std::to_string(number) + " should be an index page " +
                                      "but has type " + std::to_string(parsed.type));
    }
    parsed.freeSpace = page.u16(page::kFreeSpace);
    parsed.tablePage = page.u32(kTablePage);
    parsed.previousPage = page.u32(kPrevious);
    parsed.nextPage = page.u32(kNext);
    parsed.childTailPage = page.u32(kChildTail);
    parsed.prefixLength = page.u16(kPrefixLength);

    const size_t pointerSize = kRowPointerSize + (parsed.isLeaf() ? 0 : kChildPointerSize);
    std::vector<uint8_t> first;  // whole: later entries take their prefix from it
    size_t start = kEntries;
    for (size_t end = kEntries + 1; end <= page.size(); ++end) {
        size_t bit = end - kEntries;
        if ((page.u8(kBitmask + bit / 8) & (1u << (bit % 8))) == 0) {
            continue;
        }
        std::span<const uint8_t> stored = page.sub(start, end - start).span();
        std::vector<uint8_t> whole;
        if (parsed.entries.empty()) {
            whole.assign(stored.begin(), stored.end());
            first = whole;
            if (whole.size() < parsed.prefixLength) {
                throwCorrupt(page.file(), pageText(number) + " has a first entry shorter than " +
                                              "its common prefix");
            }
        } else {
            whole.assign(first.begin(), first.begin() + parsed.prefixLength);
            whole.insert(whole.end(), stored.begin(), stored.end());
        }
        if (whole.size() < pointerSize) {
            throwCorrupt(page.file(), pageText(number) + " has an entry of " +
                                          std::to_string(whole.size()) + " bytes");
        }
        size_t keyLength = whole.size() - pointerSize;
        std::span<const uint8_t> bytes(whole);
        IndexEntry entry;
        entry.key.assign(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(keyLength));
        entry.row.page =
            static_cast<uint32_t>(getBigEndian(bytes.subspan(keyLength, kRowPageSize)));
        entry.row.row = whole[keyLength + kRowPageSize];
        parsed.entries.push_back(std::move(entry));
        if (!parsed.isLeaf()) {
            parsed.children.push_back(static_cast<uint32_t>(
                getBigEndian(bytes.subspan(keyLength + kRowPointerSize, kChildPointerSize))));
        }
        start = end;
    }
    return parsed;
}

namespace {

class TreeWalker {
public:
    TreeWalker(PageSource& source, uint32_t tablePage) : source_(source), tablePage_(tablePage) {}

    void walk(uint32_t number, int depth, std::vector<IndexEntry>& out) {
        if (depth > kMaxIndexDepth) {
            throwCorrupt(source_.name(), "the index of the table at page " +
                                             std::to_string(tablePage_) + " is deeper than " +
                                             std::to_string(kMaxIndexDepth) + " levels");
        }
        if (!visited_.insert(number).second) {
            throwCorrupt(source_.name(), pageText(number) + " is reached twice in the index of " +
                                             "the table at page " + std::to_string(tablePage_));
        }
        PageRef page = source_.page(number);
        ParsedIndexPage parsed = parseIndexPage(source_.view(*page), number);
        if (parsed.tablePage != tablePage_) {
            throwCorrupt(source_.name(), pageText(number) + " belongs to the table at page " +
                                             std::to_string(parsed.tablePage) + ", not " +
                                             std::to_string(tablePage_));
        }
        if (parsed.isLeaf()) {
            std::move(parsed.entries.begin(), parsed.entries.end(), std::back_inserter(out));
            return;
        }
        for (uint32_t child : parsed.children) {
            walk(child, depth + 1, out);
        }
        if (parsed.childTailPage != 0) {
            walk(parsed.childTailPage, depth + 1, out);
        }
    }

private:
    PageSource& source_;
    uint32_t tablePage_;
    std::unordered_set<uint32_t> visited_;
};

}  // namespace

std::vector<IndexEntry> readIndexEntries(PageSource& source, uint32_t rootPage,
                                         uint32_t tablePage) {
    std::vector<IndexEntry> entries;
    TreeWalker(source, tablePage).walk(rootPage, 0, entries);
    return entries;
}

}  // namespace orvdb::jet
