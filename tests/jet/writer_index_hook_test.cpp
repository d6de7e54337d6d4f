// The writer hands each index to the builder with the rows as written and
// where they are, and records the pages, root, key count and usage map.
#include <gtest/gtest.h>

#include "jet/fixture_support.hpp"
#include "jet/read/data_page.hpp"
#include "jet/read/row_decoder.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"

namespace orvdb::jet {
namespace {

constexpr const char* kFixture = "indexTestV2000.mdb";

struct SeenIndex {
    std::string table;
    uint32_t tablePage = 0;
    std::vector<std::vector<Value>> rows;
    std::vector<RowPointer> rowPointers;
    std::vector<uint32_t> pages;
    uint32_t root = 0;
};

TEST(WriterIndexHook, BuilderResultsLandInTheFile) {
    ORVDB_REQUIRE_FIXTURE(kFixture);
    DatabaseImage image = imageFromFile(JetFile::open(testing::fixturePath(kFixture)));
    std::vector<SeenIndex> seen;
    WriteOptions options;
    options.keepTablePages = false;  // the rows handed over are those written, ids renumbered
    options.indexPages = [&](const IndexPagesRequest& request) {
        SeenIndex entry;
        entry.table = request.table.name;
        entry.tablePage = request.tablePage;
        entry.rows.assign(request.rows.begin(), request.rows.end());
        entry.rowPointers.assign(request.rowPointers.begin(), request.rowPointers.end());
        IndexPages result = buildIndexPages(request);
        uint32_t extra = request.allocatePage();  // a second page, as a real tree has
        result.pages[extra] = result.pages.at(result.rootPage);
        result.uniqueEntryCount = static_cast<uint32_t>(request.rows.size()) + 1000;
        for (const auto& [page, bytes] : result.pages) {
            entry.pages.push_back(page);
        }
        entry.root = result.rootPage;
        seen.push_back(std::move(entry));
        return result;
    };
    testing::TempDir dir;
    std::filesystem::path target = dir.path() / "indexed.mdb";
    writeJetFile(image, target, options);
    JetFile file = JetFile::open(target);

    size_t physicalIndexes = 0;
    for (const TableImage& table : image.tables) {
        physicalIndexes += table.definition.physicalIndexes.size();
    }
    ASSERT_EQ(seen.size(), physicalIndexes);
    size_t next = 0;
    for (const TableImage& table : image.tables) {
        auto definition = file.table(table.name());
        RowDecoder decoder(*definition, file.pages());
        for (const PhysicalIndex& index : definition->physicalIndexes) {
            const SeenIndex& request = seen[next++];
            SCOPED_TRACE("table " + table.name() + " index " + std::to_string(index.number));
            EXPECT_EQ(request.table, table.name());
            EXPECT_EQ(request.tablePage, definition->page);
            EXPECT_EQ(index.rootPage, request.root);
            EXPECT_EQ(index.entryCount, request.rows.size() + 1000);
            std::vector<uint32_t> mapped;
            UsageMap map = UsageMap::read(file.pages(), index.usageMap, "index map");
            while (auto page = map.next()) {
                mapped.push_back(*page);
            }
            EXPECT_EQ(mapped, request.pages);
            // Each pointer leads to the row the builder was given.
            ASSERT_EQ(request.rows.size(), request.rowPointers.size());
            for (size_t n = 0; n < request.rows.size(); ++n) {
                const RowPointer& pointer = request.rowPointers[n];
                DataPage page(file.pages(), file.pages().page(pointer.page));
                EXPECT_EQ(decoder.decode(page.rowBytes(pointer.row)), request.rows[n]);
            }
        }
    }
}

// Rows handed out one at a time, as the engine does for large tables.
class HeldRows : public RowSource {
public:
    explicit HeldRows(std::vector<std::vector<Value>> rows) : rows_(std::move(rows)) {}
    void forEach(const RowVisitor& visit) const override {
        ++passes;
        for (const auto& row : rows_) {
            visit(row);
        }
    }
    mutable int passes = 0;

private:
    std::vector<std::vector<Value>> rows_;
};

// A table whose rows come from a source is written exactly as one that holds
// them, with the writer's own index builder and with a given one.
TEST(WriterRowSource, StreamedTablesWriteTheSameFile) {
    ORVDB_REQUIRE_FIXTURE("northwind.mdb");
    const DatabaseImage held = imageFromFile(JetFile::open(testing::fixturePath("northwind.mdb")));
    DatabaseImage streamed = held;
    std::vector<std::shared_ptr<HeldRows>> sources;
    for (TableImage& table : streamed.tables) {
        if (table.name().rfind("MSys", 0) == 0) {
            continue;
        }
        sources.push_back(std::make_shared<HeldRows>(std::move(table.rows)));
        table.rows.clear();
        table.rowSource = sources.back();
    }
    ASSERT_FALSE(sources.empty());
    EXPECT_EQ(buildJetFile(streamed, "streamed.mdb"), buildJetFile(held, "held.mdb"));
    WriteOptions packed;
    packed.keepTablePages = false;
    for (const auto& source : sources) {
        source->passes = 0;
    }
    EXPECT_EQ(buildJetFile(streamed, "streamed.mdb", packed),
              buildJetFile(held, "held.mdb", packed));
    for (const auto& source : sources) {
        EXPECT_EQ(source->passes, 1) << "a packed file is built in one pass over each table";
    }
    WriteOptions hooked;
    hooked.indexPages = buildIndexPages;
    EXPECT_EQ(buildJetFile(streamed, "streamed.mdb", hooked), buildJetFile(held, "held.mdb"));
}

}  // namespace
}  // namespace orvdb::jet
