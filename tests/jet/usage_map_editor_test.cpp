// Usage-map rows edited in place read back as a model set, are re-encoded only
// when a page falls outside an inline map, and leave their neighbours alone.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/page.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/update/usage_map_editor.hpp"
#include "jet/write/usage_map_writer.hpp"
#include "support/memory_page_store.hpp"
#include "support/usage_map_rows_page.hpp"

namespace orvdb::jet {
namespace {

using orvdb::testing::MemoryPageStore;
using orvdb::testing::writeRowsPage;

constexpr uint32_t kMapRowsPage = 2;
constexpr RowPointer kEdited{kMapRowsPage, 1};
using usage_map::kPagesPerMapPage;

// An inline map row as the writer encodes it (no map pages needed).
Bytes inlineRow(const std::vector<uint32_t>& pages) {
    PageSet unused({});
    return encodeUsageMap(pages, unused);
}

// The edited row between two neighbours, on a store of a few pages.
struct MapUnderTest {
    MemoryPageStore store{4, "maps.mdb"};
    std::vector<Bytes> rows;

    explicit MapUnderTest(const std::vector<uint32_t>& initial) {
        rows = {inlineRow({5, 6}), inlineRow(initial), inlineRow({7})};
        writeRowsPage(store.modify(kMapRowsPage), rows);
    }
    std::span<const uint8_t> rowBytes(uint8_t row) {
        const PageBytes& page = store.read(kMapRowsPage);
        size_t start = getU16(page, data_page::rowOffsetAt(row));
        return std::span(page).subspan(start, usage_map::kRowSize);
    }
    std::set<uint32_t> readBack() const {
        std::unique_ptr<PageSource> source = openPageMemory(store.bytes(), "maps.mdb");
        UsageMap map = UsageMap::read(*source, kEdited, "edited map");
        std::set<uint32_t> pages;
        while (auto page = map.next()) {
            pages.insert(*page);
        }
        return pages;
    }
    void expectNeighboursUntouched() {
        for (uint8_t row : {0, 2}) {
            EXPECT_TRUE(std::ranges::equal(rowBytes(row), rows[row])) << "row " << int(row);
        }
    }
};

struct MapCase {
    const char* name;
    std::vector<uint32_t> initial;
    std::vector<int64_t> steps;  // +page adds, -page removes (-0 is not used)
    uint8_t type;                // of the row at the end
    uint32_t start;              // inline maps: the start page
    size_t mapPages;             // reference maps: map pages in use
};

const MapCase kMapCases[] = {
    {"BitsInsideTheInlineRange", {3, 4}, {+10, +511, -3}, 0, 0, 0},
    {"StartMovesToTheFirstPage", {}, {+700, +750, +1211}, 0, 700, 0},
    {"StartMovesDown", {700}, {+300}, 0, 300, 0},
    {"BackToPageZero", {600}, {-600, +3}, 0, 0, 0},
    {"BecomesAReferenceMap", {3, 40}, {+600}, 1, 0, 1},
    {"ReferenceMapGetsASecondMapPage", {3}, {+600, +40000, +40001}, 1, 0, 2},
    {"RemovingNeverEncodesAgain", {3}, {+600, -600, -3}, 1, 0, 1},
    {"RemovingAndAddingTheSamePage", {9}, {-9, +9, -9}, 0, 0, 0},
};

TEST(UsageMapEditor, EditsReadBackAsTheModel) {
    for (const MapCase& row : kMapCases) {
        SCOPED_TRACE(row.name);
        MapUnderTest map(row.initial);
        UsageMapEditor editor(map.store, kEdited, "pages of table 'T'");
        std::set<uint32_t> model(row.initial.begin(), row.initial.end());
        for (int64_t step : row.steps) {
            auto page = static_cast<uint32_t>(step < 0 ? -step : step);
            bool changes = step > 0 ? model.insert(page).second : model.erase(page) == 1;
            EXPECT_EQ(step > 0 ? editor.add(page) : editor.remove(page), changes) << step;
            EXPECT_EQ(editor.contains(page), step > 0) << step;
        }
        EXPECT_EQ(map.readBack(), model);
        std::vector<uint32_t> listed = editor.pages();
        EXPECT_EQ(std::set<uint32_t>(listed.begin(), listed.end()), model);
        std::span<const uint8_t> bytes = map.rowBytes(1);
        EXPECT_EQ(bytes[usage_map::kType], row.type);
        if (row.type == usage_map::kInline) {
            EXPECT_EQ(getU32(bytes, usage_map::kStartPage), row.start);
        }
        size_t mapPages = 0;
        for (size_t slot = 0; row.type == usage_map::kReference && slot < usage_map::kMapPageSlots;
             ++slot) {
            if (uint32_t page = getU32(bytes, usage_map::mapPageSlotAt(slot)); page != 0) {
                ++mapPages;
                EXPECT_EQ(map.store.read(page)[jet::page::kType], jet::page::kUsageMapType)
                    << "map page " << page;
            }
        }
        EXPECT_EQ(mapPages, row.mapPages);
        map.expectNeighboursUntouched();
    }
}

// Adds and removes across inline and reference ranges against a model set.
TEST(UsageMapEditor, RandomEditsFollowTheModel) {
    std::mt19937 random(20261206);
    for (uint32_t spread : {400u, 3000u, 3 * kPagesPerMapPage}) {
        MapUnderTest map({});
        UsageMapEditor editor(map.store, kEdited, "pages of table 'T'");
        std::set<uint32_t> model;
        for (int step = 0; step < 1500; ++step) {
            uint32_t page = 2 + random() % spread;
            bool add = random() % 3 != 0;
            bool changes = add ? model.insert(page).second : model.erase(page) == 1;
            ASSERT_EQ(add ? editor.add(page) : editor.remove(page), changes)
                << "spread " << spread << " step " << step;
        }
        EXPECT_EQ(map.readBack(), model) << "spread " << spread;
        for (uint32_t probe = 0; probe < spread; probe += 7) {
            ASSERT_EQ(editor.contains(probe), model.count(probe) == 1) << probe;
        }
        map.expectNeighboursUntouched();
    }
}

TEST(UsageMapEditor, MisuseAndDamageAreRefusedNamingTheFile) {
    struct Refusal {
        const char* what;
        RowPointer where;
        uint32_t owner;  // of the rows page
        uint32_t page;   // added
        std::string says;
    };
    const Refusal cases[] = {
        {"a page beyond what 17 map pages reach", kEdited, 0, 17 * kPagesPerMapPage,
         "cannot list page 556512"},
        {"the global map", RowPointer{1, 0}, 0, 9, "global usage map"},
        {"rows on a table's data page", kEdited, 0x2A, 9, "not on a usage-map page"},
        {"a row the page does not have", RowPointer{kMapRowsPage, 7}, 0, 9, "does not exist"},
    };
    for (const Refusal& refusal : cases) {
        MapUnderTest map({3});
        writeRowsPage(map.store.modify(kMapRowsPage), map.rows, refusal.owner);
        writeRowsPage(map.store.modify(1), {inlineRow({})});
        UsageMapEditor editor(map.store, refusal.where, "pages of table 'T'");
        std::string message = testing::errorOf([&] {
            editor.add(600);  // a reference map from here on, when the row is sound
            editor.add(refusal.page);
        });
        EXPECT_NE(message.find(refusal.says), std::string::npos)
            << refusal.what << ": \"" << message << '"';
        EXPECT_EQ(message.rfind("maps.mdb: ", 0), 0u) << refusal.what;
    }
}

}  // namespace
}  // namespace orvdb::jet
