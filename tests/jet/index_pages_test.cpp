// Index trees: laying entries out as pages and reading them back gives the
// same sorted entries, at every depth, with the page structure readers rely
// on (sibling links, child tails, node entries that bound their children).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/index/index_pages.hpp"
#include "jet/index/index_reader.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {
namespace {

using testing::EveryFixture;

constexpr uint32_t kTablePage = 0x2A;
constexpr uint32_t kFirstFreePage = 100;

// Pages handed out one after another, laid out into a file image.
struct PageStore {
    uint32_t nextPage = kFirstFreePage;
    std::function<uint32_t()> allocator() {
        return [this] { return nextPage++; };
    }

    static std::unique_ptr<PageSource> open(const IndexLayout& layout) {
        uint32_t last = layout.pages.empty() ? 0 : layout.pages.rbegin()->first;
        std::vector<uint8_t> file((last + 1) * size_t{kPageSize}, 0);
        for (const auto& [number, image] : layout.pages) {
            std::copy(image.begin(), image.end(), file.begin() + number * size_t{kPageSize});
        }
        return openPageMemory(file, "laid-out.mdb");
    }
};

ParsedIndexPage pageOf(const IndexLayout& layout, uint32_t number) {
    static const std::string name = "laid-out.mdb";
    const PageBytes& image = layout.pages.at(number);
    return parseIndexPage(ByteView(image, name), number);
}

IndexEntryList listOf(const std::vector<IndexEntry>& entries) {
    IndexEntryList list;
    for (const IndexEntry& entry : entries) {
        list.keyBytes().insert(list.keyBytes().end(), entry.key.begin(), entry.key.end());
        list.add(entry.row);
    }
    return list;
}

std::vector<IndexEntry> readBack(const IndexLayout& layout) {
    std::unique_ptr<PageSource> source = PageStore::open(layout);
    return readIndexEntries(*source, layout.rootPage, kTablePage);
}

size_t depthOf(const IndexLayout& layout) {
    size_t depth = 1;
    for (ParsedIndexPage page = pageOf(layout, layout.rootPage); !page.isLeaf(); ++depth) {
        uint32_t child = page.children.empty() ? page.childTailPage : page.children.front();
        page = pageOf(layout, child);
    }
    return depth;
}

// Keys of several lengths, all starting 7F like non-null keys, some shared
// by several rows, in no particular order.
std::vector<IndexEntry> generatedEntries(size_t count, size_t keyLength) {
    std::mt19937 random(20261205);
    std::vector<IndexEntry> entries;
    for (size_t n = 0; n < count; ++n) {
        uint32_t value = random() % (count / 2 + 1);
        std::mt19937 keyBytes(value);
        IndexEntry entry;
        entry.key.push_back(0x7F);
        while (entry.key.size() < keyLength - value % 3) {
            entry.key.push_back(static_cast<uint8_t>(keyBytes()));
        }
        entry.row = RowPointer{static_cast<uint32_t>(1000 + n / 50), static_cast<uint8_t>(n % 50)};
        entries.push_back(std::move(entry));
    }
    return entries;
}

size_t distinctKeys(std::vector<IndexEntry> entries) {
    std::set<std::vector<uint8_t>> keys;
    for (IndexEntry& entry : entries) {
        keys.insert(std::move(entry.key));
    }
    return keys.size();
}

// The entry bytes a page uses, from the highest bit of its bitmask.
size_t usedEntryBytes(const PageBytes& image) {
    for (size_t bit = index_page::kEntrySpace; bit > 0; --bit) {
        if (image[index_page::kBitmask + bit / 8] & (1u << (bit % 8))) {
            return bit;
        }
    }
    return 0;
}

// Checks what a reader relies on beyond the entries themselves; returns the
// greatest entry under `number`.
IndexEntry checkSubtree(const IndexLayout& layout, uint32_t number, bool rightmost,
                        std::vector<uint32_t>& leavesInOrder) {
    ParsedIndexPage page = pageOf(layout, number);
    const PageBytes& image = layout.pages.at(number);
    EXPECT_EQ(page.tablePage, kTablePage) << "page " << number;
    EXPECT_EQ(page.freeSpace + usedEntryBytes(image), index_page::kEntrySpace) << number;
    if (page.isLeaf()) {
        EXPECT_EQ(page.childTailPage, 0u);
        EXPECT_TRUE(!page.entries.empty() || number == layout.rootPage)
            << "leaf " << number << " is empty but not the root";
        if (number == layout.rootPage) {
            EXPECT_EQ(page.prefixLength, 0u) << "Access leaves a lone leaf uncompressed";
        } else if (page.entries.size() > 1) {
            const auto& first = page.entries.front().key;
            const auto& last = page.entries.back().key;
            auto [a, b] = std::mismatch(first.begin(), first.end(), last.begin(), last.end());
            EXPECT_LE(page.prefixLength, static_cast<size_t>(a - first.begin())) << number;
        }
        leavesInOrder.push_back(number);
        return page.entries.empty() ? IndexEntry{} : page.entries.back();
    }
    EXPECT_EQ(page.prefixLength, 0u);
    EXPECT_EQ(image[index_page::kNodeMarker], 1u);
    // Only the last node page of a level reaches its last child by the tail.
    EXPECT_EQ(page.childTailPage != 0, rightmost) << "node " << number;
    IndexEntry last;
    for (size_t n = 0; n < page.children.size(); ++n) {
        last = checkSubtree(layout, page.children[n], false, leavesInOrder);
        EXPECT_EQ(page.entries[n], last) << "node " << number << " entry " << n;
    }
    if (page.childTailPage != 0) {
        last = checkSubtree(layout, page.childTailPage, true, leavesInOrder);
    }
    return last;
}

void checkLeafChain(const IndexLayout& layout, const std::vector<uint32_t>& leaves) {
    for (size_t n = 0; n < leaves.size(); ++n) {
        ParsedIndexPage leaf = pageOf(layout, leaves[n]);
        EXPECT_EQ(leaf.previousPage, n == 0 ? 0 : leaves[n - 1]) << "leaf " << leaves[n];
        EXPECT_EQ(leaf.nextPage, n + 1 == leaves.size() ? 0 : leaves[n + 1]) << leaves[n];
    }
}

void checkLayout(std::vector<IndexEntry> entries, const IndexLayout& layout,
                 uint32_t pagesAllocated) {
    EXPECT_EQ(layout.pages.size(), pagesAllocated) << "every allocated page is used once";
    EXPECT_EQ(layout.uniqueEntryCount, distinctKeys(entries));
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(readBack(layout), entries);
    std::vector<uint32_t> leaves;
    checkSubtree(layout, layout.rootPage, true, leaves);
    checkLeafChain(layout, leaves);
}

TEST(IndexLayout, SortsByKeyThenRow) {
    std::vector<IndexEntry> entries = {
        {{0x7F, 0x02}, {7, 1}}, {{0x7F, 0x01}, {9, 0}},       {{0x00}, {9, 9}},
        {{0x7F, 0x02}, {3, 4}}, {{0x7F, 0x01, 0x00}, {1, 0}},
    };
    PageStore store;
    IndexLayout layout = layOutIndex(listOf(entries), kTablePage, store.allocator());
    std::vector<IndexEntry> expected = {
        {{0x00}, {9, 9}},       {{0x7F, 0x01}, {9, 0}}, {{0x7F, 0x01, 0x00}, {1, 0}},
        {{0x7F, 0x02}, {3, 4}}, {{0x7F, 0x02}, {7, 1}},
    };
    EXPECT_EQ(readBack(layout), expected);
    EXPECT_EQ(layout.uniqueEntryCount, 4u);
}

struct TreeSize {
    const char* name;
    size_t entries;
    size_t keyLength;
    size_t depth;  // at least
};

class GeneratedTrees : public ::testing::TestWithParam<TreeSize> {};

TEST_P(GeneratedTrees, ReadBackSortedWithSoundStructure) {
    std::vector<IndexEntry> entries = generatedEntries(GetParam().entries, GetParam().keyLength);
    PageStore store;
    IndexLayout layout = layOutIndex(listOf(entries), kTablePage, store.allocator());
    EXPECT_GE(depthOf(layout), GetParam().depth);
    checkLayout(entries, layout, store.nextPage - kFirstFreePage);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GeneratedTrees,
                         ::testing::Values(TreeSize{"Empty", 0, 20, 1},
                                           TreeSize{"OneLeaf", 100, 20, 1},
                                           TreeSize{"TwoLevels", 2000, 20, 2},
                                           TreeSize{"ThreeLevels", 12000, 60, 3},
                                           TreeSize{"LongKeys", 60, 1400, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IndexLayout, EntryTooLongForAPageIsRefused) {
    std::vector<IndexEntry> entries = {{std::vector<uint8_t>(index_page::kEntrySpace, 0x7F), {}}};
    PageStore store;
    EXPECT_THROW(layOutIndex(listOf(entries), kTablePage, store.allocator()), JetError);
}

// Entries Access wrote, laid out again: the same entries come back.
TEST_P(EveryFixture, AccessEntriesSurviveALayout) {
    JetFile file = open();
    for (const std::string& name : file.tableNames(true)) {
        std::shared_ptr<const TableDefinition> table = file.table(name);
        for (const PhysicalIndex& index : table->physicalIndexes) {
            std::vector<IndexEntry> entries =
                readIndexEntries(file.pages(), index.rootPage, table->page);
            std::reverse(entries.begin(), entries.end());
            PageStore store;
            IndexLayout layout = layOutIndex(listOf(entries), kTablePage, store.allocator());
            SCOPED_TRACE(name + " index " + std::to_string(index.number));
            checkLayout(entries, layout, store.nextPage - kFirstFreePage);
        }
    }
}

// ---- Damaged trees give clear errors ----

TEST(IndexReader, DamagedTreesAreReportedNamingThePage) {
    PageStore store;
    const IndexLayout base =
        layOutIndex(listOf(generatedEntries(2000, 20)), kTablePage, store.allocator());
    const ParsedIndexPage root = pageOf(base, base.rootPage);
    ASSERT_FALSE(root.isLeaf());
    const uint32_t leaf = root.children.front();

    struct Damage {
        const char* what;
        std::function<void(IndexLayout&)> apply;
        std::string says;
    };
    const Damage cases[] = {
        {"a leaf that is a data page", [&](IndexLayout& l) { l.pages[leaf][0] = 0x01; },
         "page " + std::to_string(leaf) + " should be an index page"},
        {"a leaf of another table",
         [&](IndexLayout& l) { putU32(l.pages[leaf], index_page::kTablePage, 7); },
         "index page " + std::to_string(leaf) + " belongs to the table at page 7"},
        {"a child tail pointing back at the root",
         [&](IndexLayout& l) { putU32(l.pages[l.rootPage], index_page::kChildTail, l.rootPage); },
         "index page " + std::to_string(base.rootPage) + " is reached twice"},
        {"an entry shorter than its row pointer",
         [&](IndexLayout& l) {
             PageBytes& page = l.pages[leaf];
             std::fill(page.begin() + index_page::kBitmask, page.begin() + index_page::kEntries, 0);
             page[index_page::kBitmask] = 0x04;  // an entry of 2 bytes
             page[index_page::kPrefixLength] = 0;
         },
         "index page " + std::to_string(leaf) + " has an entry of 2 bytes"},
    };
    for (const Damage& damage : cases) {
        IndexLayout damaged = base;
        damage.apply(damaged);
        std::string message = testing::errorOf([&] { readBack(damaged); });
        EXPECT_NE(message.find(damage.says), std::string::npos)
            << damage.what << ": \"" << message << '"';
        EXPECT_NE(message.find("laid-out.mdb"), std::string::npos) << damage.what;
    }
}

}  // namespace
}  // namespace orvdb::jet
