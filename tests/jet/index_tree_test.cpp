// Index trees edited in place against a model set, laid out by the writer,
// and refused or named by the file check when damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "jet/check/check_index.hpp"
#include "jet/check/file_check.hpp"
#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/index/index_reader.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/update/definition_patch.hpp"
#include "jet/update/index_tree.hpp"
#include "jet/update/index_tree_page.hpp"
#include "jet/write/usage_map_writer.hpp"
#include "support/memory_page_store.hpp"
#include "support/usage_map_rows_page.hpp"

namespace orvdb::jet {
namespace {

using orvdb::testing::MemoryPageStore;
using Model = std::set<IndexEntry>;
using namespace index_page;

constexpr uint32_t kTablePage = 0x2A;
constexpr RowPointer kMapRow{2, 0};
constexpr uint32_t kFirstTreePage = 3;

size_t distinctKeys(const Model& model) {
    std::set<std::vector<uint8_t>> keys;
    for (const IndexEntry& entry : model) {
        keys.insert(entry.key);
    }
    return keys.size();
}

// One index and its table, the store holding its pages, and the model of
// the entries it should hold.
struct EditedIndex {
    MemoryPageStore store;
    TableDefinition table;
    Model model;
    std::unique_ptr<IndexTreeEditor> editor;

    EditedIndex(MemoryPageStore pages, TableDefinition definition, size_t physicalIndex,
                Model entries)
        : store(std::move(pages)), table(std::move(definition)), model(std::move(entries)) {
        editor = std::make_unique<IndexTreeEditor>(store, table,
                                                   table.physicalIndexes.at(physicalIndex));
        index = &table.physicalIndexes[physicalIndex];
    }
    EditedIndex(const EditedIndex&) = delete;
    EditedIndex& operator=(const EditedIndex&) = delete;

    void insert(const IndexEntry& entry) {
        editor->insert(entry.key, entry.row);
        model.insert(entry);
    }
    void erase(const IndexEntry& entry) {
        editor->erase(entry.key, entry.row);
        model.erase(entry);
    }

    // The entries read back are the model's, the file check's walk of the
    // tree finds nothing, not even a warning of its shape, and the usage map
    // lists exactly its pages.
    void verify(const std::string& when, uint32_t expectedCount) {
        SCOPED_TRACE(when);
        source_ = openPageMemory(store.bytes(), store.fileName());
        std::vector<IndexEntry> expected(model.begin(), model.end());
        ASSERT_EQ(readIndexEntries(*source_, index->rootPage, table.page), expected);
        std::vector<CheckFinding> findings;
        std::set<uint32_t> pages = checkIndex(*source_, table, *index, nullptr, findings);
        for (const CheckFinding& finding : findings) {
            // Access leaves stale distinct-key counts; the count is checked below.
            EXPECT_NE(finding.text.find("distinct keys"), std::string::npos) << describe(finding);
        }
        UsageMap map = UsageMap::read(*source_, index->usageMap, "index");
        std::set<uint32_t> mapped;
        while (auto page = map.next()) {
            mapped.insert(*page);
        }
        EXPECT_EQ(mapped, pages) << "the usage map lists exactly the pages of the tree";
        for (uint32_t released : store.released()) {
            EXPECT_EQ(pages.count(released), 0u) << "released page " << released;
        }
        EXPECT_EQ(index->entryCount, expectedCount);
        checkSeeks();
    }

    PhysicalIndex* index = nullptr;

private:
    // Seeks land on the first entry whose key is not below the one asked
    // for, and go on in order across leaves.
    void checkSeeks() {
        std::vector<std::vector<uint8_t>> probes = {{}, {0xFF}};
        for (auto it = model.begin(); it != model.end() && probes.size() < 40; std::advance(
                 it, std::min<size_t>(model.size() / 16 + 1,
                                      static_cast<size_t>(std::distance(it, model.end()))))) {
            probes.push_back(it->key);
            std::vector<uint8_t> between = it->key;
            between.push_back(0x00);  // after the key, before any longer one
            probes.push_back(between);
        }
        for (const std::vector<uint8_t>& key : probes) {
            auto expected = model.lower_bound(IndexEntry{key, RowPointer{}});
            EXPECT_EQ(editor->containsKey(key), expected != model.end() && expected->key == key);
            IndexCursor cursor = editor->seek(key);
            size_t limit = key.empty() ? model.size() + 1 : 3;
            for (size_t n = 0; n < limit; ++n, ++expected) {
                std::optional<IndexEntry> entry = cursor.next();
                if (expected == model.end()) {
                    EXPECT_FALSE(entry.has_value());
                    break;
                }
                ASSERT_TRUE(entry.has_value());
                ASSERT_EQ(*entry, *expected);
            }
        }
    }

    std::unique_ptr<PageSource> source_;
};

// A store with a usage-map page (page 2) and the writer's layout of
// `entries` (in any order) from page 3 on; the table definition names the index.
std::unique_ptr<EditedIndex> laidOutIndex(const std::vector<IndexEntry>& entries) {
    IndexEntryList list;
    for (const IndexEntry& entry : entries) {
        list.keyBytes().insert(list.keyBytes().end(), entry.key.begin(), entry.key.end());
        list.add(entry.row);
    }
    uint32_t next = kFirstTreePage;
    IndexLayout layout = layOutIndex(std::move(list), kTablePage, [&next] { return next++; });
    EXPECT_EQ(layout.pages.size(), next - kFirstTreePage) << "every allocated page is used once";
    MemoryPageStore store(next, "tree.mdb");
    std::vector<uint32_t> treePages;
    for (const auto& [number, image] : layout.pages) {
        store.modify(number) = image;
        treePages.push_back(number);
    }
    PageSet unused({});
    orvdb::testing::writeRowsPage(store.modify(kMapRow.page), {encodeUsageMap(treePages, unused)});

    TableDefinition table;
    table.page = kTablePage;
    table.name = "Orders";
    PhysicalIndex index;
    index.usageMap = kMapRow;
    index.rootPage = layout.rootPage;
    index.entryCount = layout.uniqueEntryCount;
    table.physicalIndexes.push_back(index);
    LogicalIndex logical;
    logical.name = "PrimaryKey";
    table.indexes.push_back(logical);
    return std::make_unique<EditedIndex>(std::move(store), std::move(table), 0,
                                         Model(entries.begin(), entries.end()));
}

// ---- Generated workloads ----

enum class Order : uint8_t { Ascending, Descending, Random };

struct Workload {
    const char* name;
    size_t entries;
    size_t keyValues;  // keys are drawn from this many values
    size_t minKeyLength;
    size_t maxKeyLength;
    size_t sharedPrefix;  // bytes every key has after its 7F
    Order insertOrder;
    Order eraseOrder;
    size_t laidOutFirst;  // entries the writer lays out before the edits
    size_t minimumDepth;  // levels the full tree reaches
};

const Workload kWorkloads[] = {
    {"AscendingKeys", 1500, 1500, 16, 16, 0, Order::Ascending, Order::Random, 0, 2},
    {"DescendingKeys", 1500, 1500, 16, 16, 0, Order::Descending, Order::Ascending, 0, 2},
    {"RandomKeysOfManyLengths", 1500, 1500, 5, 60, 0, Order::Random, Order::Random, 0, 2},
    {"ManyRowsOfOneKey", 1500, 1, 12, 12, 0, Order::Random, Order::Descending, 0, 2},
    {"FewKeysManyDuplicates", 1500, 7, 5, 30, 0, Order::Random, Order::Random, 0, 2},
    {"LongCommonPrefix", 1500, 1500, 5, 20, 60, Order::Random, Order::Random, 0, 2},
    {"LongKeysSplitEveryLevel", 300, 300, 900, 1700, 0, Order::Random, Order::Random, 0, 4},
    {"KeysOfTheLongestLength", 60, 60, IndexTreeEditor::kMaxKeyLength,
     IndexTreeEditor::kMaxKeyLength, 0, Order::Ascending, Order::Descending, 0, 5},
    {"EditsAWriterLayout", 2000, 2000, 5, 30, 0, Order::Random, Order::Random, 1500, 2},
    // The writer's layout alone, duplicate keys included, then edited.
    {"LaysOutOneLeaf", 100, 50, 20, 20, 0, Order::Random, Order::Random, 100, 1},
    {"LaysOutThreeLevels", 6000, 3000, 58, 60, 10, Order::Random, Order::Random, 6000, 3},
    {"LaysOutLongKeys", 60, 60, 1300, 1400, 0, Order::Random, Order::Random, 60, 4},
};

void PrintTo(const Workload& workload, std::ostream* out) {
    *out << workload.name;
}

// 7F, the shared bytes, the value big-endian (so keys order as values),
// then filler up to a length that depends on the value.
std::vector<uint8_t> keyFor(size_t value, const Workload& workload) {
    std::vector<uint8_t> key{0x7F};
    key.insert(key.end(), workload.sharedPrefix, 0x41);
    for (int shift = 24; shift >= 0; shift -= 8) {
        key.push_back(static_cast<uint8_t>(value >> shift));
    }
    size_t span = workload.maxKeyLength - workload.minKeyLength + 1;
    size_t length = std::max(workload.minKeyLength + value * 7919 % span, key.size());
    std::mt19937 filler(static_cast<uint32_t>(value));
    while (key.size() < length) {
        key.push_back(static_cast<uint8_t>(filler()));
    }
    key.resize(length);
    return key;
}

std::vector<IndexEntry> inOrder(std::vector<IndexEntry> entries, Order order,
                                std::mt19937& random) {
    std::sort(entries.begin(), entries.end());
    if (order == Order::Descending) {
        std::reverse(entries.begin(), entries.end());
    } else if (order == Order::Random) {
        std::shuffle(entries.begin(), entries.end(), random);
    }
    return entries;
}

size_t depthOf(EditedIndex& tree) {
    size_t depth = 1;
    for (uint32_t page = tree.index->rootPage;; ++depth) {
        const PageBytes& bytes = tree.store.read(page);
        if (bytes[jet::page::kType] == jet::page::kIndexLeafType) {
            return depth;
        }
        page = getU32(bytes, kChildTail);
    }
}

class IndexTreeWorkloads : public ::testing::TestWithParam<Workload> {};

TEST_P(IndexTreeWorkloads, EveryPhaseReadsBackAsTheModelWithASoundTree) {
    const Workload& workload = GetParam();
    std::mt19937 random(20261206);
    std::vector<IndexEntry> all;
    for (size_t n = 0; n < workload.entries; ++n) {
        size_t value = workload.keyValues == workload.entries ? n : random() % workload.keyValues;
        all.push_back(IndexEntry{
            keyFor(value, workload),
            RowPointer{static_cast<uint32_t>(100 + n / 64), static_cast<uint8_t>(n % 64)}});
    }
    std::shuffle(all.begin(), all.end(), random);
    std::unique_ptr<EditedIndex> tree =
        laidOutIndex({all.begin(), all.begin() + static_cast<ptrdiff_t>(workload.laidOutFirst)});
    tree->verify("as laid out", static_cast<uint32_t>(distinctKeys(tree->model)));
    if (workload.laidOutFirst == workload.entries) {
        EXPECT_GE(depthOf(*tree), workload.minimumDepth);
    }

    auto run = [&](const std::vector<IndexEntry>& entries, bool insert, const char* phase) {
        for (size_t n = 0; n < entries.size(); ++n) {
            insert ? tree->insert(entries[n]) : tree->erase(entries[n]);
            if ((n + 1) % (entries.size() / 2 + 1) == 0 || n + 1 == entries.size()) {
                tree->verify(std::string(phase) + " " + std::to_string(n + 1),
                             static_cast<uint32_t>(distinctKeys(tree->model)));
                if (::testing::Test::HasFailure()) {
                    return;
                }
            }
        }
    };
    std::vector<IndexEntry> rest(all.begin() + static_cast<ptrdiff_t>(workload.laidOutFirst),
                                 all.end());
    run(inOrder(rest, workload.insertOrder, random), true, "inserted");
    ASSERT_FALSE(HasFailure());
    EXPECT_GE(depthOf(*tree), workload.minimumDepth);

    std::vector<IndexEntry> half;
    for (size_t n = 0; n < all.size(); n += 2) {
        half.push_back(all[n]);
    }
    run(inOrder(half, workload.eraseOrder, random), false, "half erased");
    ASSERT_FALSE(HasFailure());
    run(inOrder(half, workload.insertOrder, random), true, "erased half inserted again");
    ASSERT_FALSE(HasFailure());
    run(inOrder(all, workload.eraseOrder, random), false, "all erased");

    ParsedIndexPage root = parseIndexPage(
        ByteView(tree->store.read(tree->index->rootPage), tree->store.fileName()), 0);
    EXPECT_TRUE(root.isLeaf() && root.entries.empty()) << "one empty leaf root is left";
}

INSTANTIATE_TEST_SUITE_P(Workloads, IndexTreeWorkloads, ::testing::ValuesIn(kWorkloads),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Cutting a page ----

TEST(IndexTreePage, IsCutWhereThePiecesFit) {
    using Runs = std::vector<std::pair<size_t, size_t>>;
    using enum SplitBias;
    struct Cut {
        const char* what;
        bool leaf;
        std::vector<size_t> keyLengths;  // keys share all bytes but their last
        bool compressed;
        SplitBias bias;
        size_t minimumRuns;
        Runs runs;
    };
    const std::vector<size_t> fourOf1000(4, 1000);
    const std::vector<size_t> fourOf1500(4, 1500);
    const Cut cases[] = {
        {"all fit one page", true, {10, 10, 10}, false, Even, 1, {{0, 3}}},
        {"even halves", false, fourOf1000, false, Even, 1, {{0, 2}, {2, 4}}},
        {"ascending: left page full", false, fourOf1000, false, FillLeft, 1, {{0, 3}, {3, 4}}},
        {"descending: right page full", false, fourOf1000, false, FillRight, 1, {{0, 1}, {1, 4}}},
        {"a leaf fitting only compressed", true, fourOf1500, true, Even, 2, {{0, 2}, {2, 4}}},
        {"no cut in two fits", false, {2000, 3000, 2000}, false, Even, 1, {{0, 1}, {1, 2}, {2, 3}}},
    };
    for (const Cut& cut : cases) {
        IndexTreePage page;
        page.leaf = cut.leaf;
        for (size_t n = 0; n < cut.keyLengths.size(); ++n) {
            std::vector<uint8_t> key(cut.keyLengths[n], 0x41);
            key.back() = static_cast<uint8_t>(n);
            page.entries.push_back(IndexEntry{key, RowPointer{1, 0}});
            page.children.push_back(10 + static_cast<uint32_t>(n));
        }
        EXPECT_EQ(partitionIndexTreePage(page, cut.compressed, cut.bias, cut.minimumRuns), cut.runs)
            << cut.what;
    }
}

// The writer's layout of Access's entries is checked by the round trips of
// every fixture, its order (by key, then row) by the duplicate-key workloads.
TEST(IndexLayout, RefusesAnEntryTooLongForAPage) {
    EXPECT_THROW(laidOutIndex({{std::vector<uint8_t>(kEntrySpace, 0x7F), {}}}), JetError);
}

// ---- Refusals ----

const Workload kShortKeys{"", 0, 0, 5, 5, 0, Order::Random, Order::Random, 0, 0};

// The writer's layout of `count` entries with keys of five bytes.
std::unique_ptr<EditedIndex> shortKeyTree(size_t count) {
    std::vector<IndexEntry> entries;
    for (size_t value = 0; value < count; ++value) {
        entries.push_back(IndexEntry{keyFor(value, kShortKeys),
                                     RowPointer{100, static_cast<uint8_t>(value % 200)}});
    }
    return laidOutIndex(entries);
}

// `text` with each mark ("@root") replaced by its page number.
std::string withPages(std::string text,
                      std::initializer_list<std::pair<std::string, uint32_t>> marks) {
    for (const auto& [mark, page] : marks) {
        for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
            text.replace(at, mark.size(), std::to_string(page));
        }
    }
    return text;
}

// The editor's refusals name the index too; the reader's name the page ("@leaf" or "@root").
TEST(IndexTreeEditor, RefusalsNameTheFileAndWhatIsWrongAndChangeNothing) {
    struct Refusal {
        const char* what;
        std::function<void(PageBytes& root, PageBytes& leaf)> damage;  // done to the file first
        std::function<void(EditedIndex&)> act;
        std::string says;
        bool namesIndex = true;
    };
    auto insert = [](std::vector<uint8_t> key, RowPointer row) {
        return [key, row](EditedIndex& tree) { tree.editor->insert(key, row); };
    };
    auto readAll = [](EditedIndex& tree) {
        auto source = openPageMemory(tree.store.bytes(), tree.store.fileName());
        readIndexEntries(*source, tree.index->rootPage, tree.table.page);
    };
    auto none = [](PageBytes&, PageBytes&) {};
    const std::vector<uint8_t> key5 = keyFor(5, kShortKeys);
    uint32_t rootPage = 0;
    const Refusal cases[] = {
        {"erasing an entry the index does not have", none,
         [&](EditedIndex& tree) {
             tree.editor->erase(key5, RowPointer{9, 9});
         },
         "the index has no entry for key 7F00000005 at page 9 row 9 (the index does not match"},
        {"inserting an entry twice", none, insert(key5, {100, 5}),
         "already lists key 7F00000005 at page 100 row 5"},
        {"a key longer than a node entry can hold", none,
         insert(std::vector<uint8_t>(IndexTreeEditor::kMaxKeyLength + 1, 0x7F), {1, 1}),
         "an index key of 1801 bytes is longer than the 1800 bytes"},
        {"a root that is not an index page", [](PageBytes& root, PageBytes&) { root[0] = 0x01; },
         insert({0x7F}, {1, 1}), "should be an index page but has type 1"},
        {"a leaf of another table",
         [](PageBytes&, PageBytes& leaf) { putU32(leaf, index_page::kTablePage, 7); },
         insert({0xFF}, {1, 1}), "belongs to the table at page 7"},
        {"reading a leaf that is a data page", [](PageBytes&, PageBytes& leaf) { leaf[0] = 0x01; },
         readAll, "page @leaf should be an index page", false},
        {"reading a leaf of another table",
         [](PageBytes&, PageBytes& leaf) { putU32(leaf, index_page::kTablePage, 7); }, readAll,
         "index page @leaf belongs to the table at page 7", false},
        {"reading a child tail pointing back at the root",
         [&](PageBytes& root, PageBytes&) { putU32(root, kChildTail, rootPage); }, readAll,
         "index page @root is reached twice", false},
        {"reading an entry shorter than its row pointer",
         [](PageBytes&, PageBytes& leaf) {
             std::fill(leaf.begin() + kBitmask, leaf.begin() + kEntries, 0);
             leaf[kBitmask] = 0x04;  // an entry of 2 bytes
             leaf[kPrefixLength] = 0;
         },
         readAll, "index page @leaf has an entry of 2 bytes", false},
    };
    for (const Refusal& refusal : cases) {
        std::unique_ptr<EditedIndex> tree = shortKeyTree(1000);
        rootPage = tree->index->rootPage;
        const uint32_t tailLeaf = getU32(tree->store.read(rootPage), kChildTail);
        std::string says = withPages(refusal.says, {{"@leaf", tailLeaf}, {"@root", rootPage}});
        refusal.damage(tree->store.modify(rootPage), tree->store.modify(tailLeaf));
        const std::vector<uint8_t> before = tree->store.bytes();
        std::string message = testing::errorOf([&] { refusal.act(*tree); });
        EXPECT_NE(message.find(says), std::string::npos)
            << refusal.what << ": \"" << message << '"';
        EXPECT_EQ(message.rfind("tree.mdb: ", 0), 0u) << refusal.what;
        if (refusal.namesIndex) {
            EXPECT_NE(message.find("table 'Orders', index 'PrimaryKey' (physical index 0)"),
                      std::string::npos)
                << refusal.what;
        }
        EXPECT_TRUE(tree->store.bytes() == before) << refusal.what << " changed the file";
    }
}

// ---- Trees of a damaged shape ----

// Each damage to a sound two-level tree gives its finding of the walk
// without the rows, as a warning of the shape (what Access and the editor
// keep) or, for the leaves' links that readers follow, an error.
TEST(IndexTreeCheck, EachDamagedShapeGivesItsFinding) {
    struct Damage {
        const char* what;
        std::function<void(PageBytes& root, PageBytes& first)> damage;  // first: a leaf
        CheckSeverity severity;
        std::string says;
    };
    using enum CheckSeverity;
    const Damage damages[] = {
        {"a node entry that is not the last entry of its child",
         [](PageBytes& root, PageBytes&) { root[kEntries + 4] ^= 0x01; },  // its key's last byte
         Warning, "index page @root: entry 0 is not the last entry of its child page @first"},
        {"the last node page of its level without a tail",
         [](PageBytes& root, PageBytes&) { putU32(root, kChildTail, 0); }, Warning,
         "index page @root is the last node page of its level without a tail"},
        {"free space the entries do not leave",
         [](PageBytes&, PageBytes& first) {
             putU16(first, 2, static_cast<uint16_t>(getU16(first, 2) + 1));  // the free space
         },
         Warning, "index page @first records"},
        {"a leaf with the node mark",
         [](PageBytes&, PageBytes& first) { first[kNodeMarker] = kNodeMarkerValue; }, Warning,
         "index page @first has the node mark of the other kind"},
        {"a leaf without its next sibling",
         [](PageBytes&, PageBytes& first) { putU32(first, kNext, 0); }, Error,
         "index page @first links to previous page 0 and next page 0, but the tree has 0 and "
         "@second"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::unique_ptr<EditedIndex> tree = shortKeyTree(3000);
        const uint32_t rootPage = tree->index->rootPage;
        auto source = openPageMemory(tree->store.bytes(), tree->store.fileName());
        ParsedIndexPage root = parseIndexPage(source->view(*source->page(rootPage)), rootPage);
        ASSERT_GE(root.children.size(), 2u) << "a root node over three leaves or more";
        std::string says = withPages(
            damage.says,
            {{"@root", rootPage}, {"@first", root.children[0]}, {"@second", root.children[1]}});
        damage.damage(tree->store.modify(rootPage), tree->store.modify(root.children[0]));
        source = openPageMemory(tree->store.bytes(), tree->store.fileName());
        std::vector<CheckFinding> findings;
        checkIndex(*source, tree->table, *tree->index, nullptr, findings);
        auto found =
            std::find_if(findings.begin(), findings.end(), [&](const CheckFinding& finding) {
                return finding.text.find(says) != std::string::npos;
            });
        ASSERT_TRUE(found != findings.end()) << "no finding says \"" << says << '"';
        EXPECT_EQ(found->severity, damage.severity) << describe(*found);
    }
}

// ---- Indexes of Access-made files ----

// Marks pages added past the original end in use and released pages free in
// the global map of page 1, as the engine does for a commit.
void recordInGlobalMap(MemoryPageStore& store, uint32_t originalPages) {
    PageBytes& page = store.modify(kGlobalUsageMapPage);
    size_t start = getU16(page, data_page::rowOffsetAt(0)) & data_page::kOffsetMask;
    ASSERT_EQ(page[start + usage_map::kType], usage_map::kInline)
        << "the test handles inline global maps";
    uint32_t firstPage = getU32(page, start + usage_map::kStartPage);
    size_t bits = (kPageSize - start - usage_map::kInlineBitmap) * 8;
    for (uint32_t number = 0; number < store.pageCount(); ++number) {
        bool isFree = store.released().count(number) != 0;
        if (!isFree && number < originalPages) {
            continue;
        }
        ASSERT_GE(number, firstPage);
        ASSERT_LT(number - firstPage, bits) << "page " << number << " is past the global map";
        uint8_t& byte = page[start + usage_map::kInlineBitmap + (number - firstPage) / 8];
        auto mask = static_cast<uint8_t>(1u << ((number - firstPage) % 8));
        byte = isFree ? byte | mask : byte & ~mask;
    }
}

struct FixtureEdit {
    const char* file;
    size_t erasedPercent;  // of each index's entries, chosen at random
};

void PrintTo(const FixtureEdit& edit, std::ostream* out) {
    *out << edit.file << ", " << edit.erasedPercent << "% of the entries";
}

const FixtureEdit kFixtureEdits[] = {
    {"indexTestV2000.mdb", 100},     {"bigIndexTestV2000.mdb", 100},
    {"compIndexTestV2000.mdb", 100}, {"compIndexTestV2000.mdb", 50},
    {"northwind.mdb", 25},           {"testIndexPropertiesV2000.mdb", 100},
};

class AccessIndexEdits : public ::testing::TestWithParam<FixtureEdit> {};

TEST_P(AccessIndexEdits, ErasedAndInsertedAgainTheyReadBackAndPassTheFileCheck) {
    const FixtureEdit& edit = GetParam();
    ORVDB_REQUIRE_FIXTURE(edit.file);
    std::vector<uint8_t> bytes = testing::readFileBytes(testing::fixturePath(edit.file));
    JetFile original = JetFile::openMemory(bytes, edit.file);
    std::vector<std::string> warningsBefore;
    for (const CheckFinding& finding : checkJetFile(original).findings) {
        warningsBefore.push_back(finding.text);  // Access's stale counts and leaked pages
    }

    MemoryPageStore pages = MemoryPageStore::fromBytes(bytes, edit.file);
    std::mt19937 random(20261207);
    size_t edited = 0;
    for (const std::string& name : original.tableNames(true)) {
        TableDefinition table = *original.table(name);
        for (size_t number = 0; number < table.physicalIndexes.size(); ++number) {
            const PhysicalIndex before = table.physicalIndexes[number];
            std::vector<IndexEntry> entries =
                readIndexEntries(original.pages(), before.rootPage, table.page);
            if (entries.empty()) {
                continue;
            }
            SCOPED_TRACE(name + ", " + describeIndex(table, before));
            ++edited;
            EditedIndex tree(std::move(pages), table, number,
                             Model(entries.begin(), entries.end()));
            std::shuffle(entries.begin(), entries.end(), random);
            const bool eraseAll = edit.erasedPercent == 100;
            size_t erased = entries.size() * edit.erasedPercent / 100;
            std::vector<IndexEntry> taken(entries.begin(),
                                          entries.begin() + static_cast<ptrdiff_t>(erased));
            const auto exactCount = static_cast<uint32_t>(distinctKeys(tree.model));
            for (const IndexEntry& entry : taken) {
                tree.erase(entry);
            }
            // Keys no longer listed come off the count, stale or not.
            auto goneKeys = static_cast<uint32_t>(exactCount - distinctKeys(tree.model));
            tree.verify("erased", eraseAll ? 0 : before.entryCount - goneKeys);
            std::shuffle(taken.begin(), taken.end(), random);
            for (const IndexEntry& entry : taken) {
                tree.insert(entry);
            }
            // Access leaves stale counts; emptied and filled again they are exact.
            tree.verify("inserted again", eraseAll ? exactCount : before.entryCount);
            // The new root page and distinct-key count go into the definition,
            // as the engine writes them after an edit.
            table.physicalIndexes[number] = *tree.index;
            patchTableDefinition(tree.store, table);
            pages = std::move(tree.store);
        }
    }
    EXPECT_GT(edited, 0u);
    recordInGlobalMap(pages, original.pageCount());
    std::vector<uint8_t> changed = pages.bytes();
    CheckReport report = checkJetFile(JetFile::openMemory(changed, edit.file));
    for (const CheckFinding& finding : report.findings) {
        bool known = std::find(warningsBefore.begin(), warningsBefore.end(), finding.text) !=
                     warningsBefore.end();
        EXPECT_TRUE(finding.severity == CheckSeverity::Warning && known) << describe(finding);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, AccessIndexEdits, ::testing::ValuesIn(kFixtureEdits),
                         [](const auto& info) {
                             std::string name = testing::fixtureTestName({info.param.file, {}});
                             return name + "_" + std::to_string(info.param.erasedPercent);
                         });

}  // namespace
}  // namespace orvdb::jet
