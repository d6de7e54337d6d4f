#include "jet/update/table_rebuild.hpp"

#include <set>

#include "jet/format/bytes.hpp"
#include "jet/format/index_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/tdef.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/update/data_page_editor.hpp"
#include "jet/update/map_edits.hpp"
#include "jet/write/usage_map_writer.hpp"

namespace orvdb::jet {

namespace {

using data_page_edit::isLongValuePage;
using data_page_edit::owner;

// A usage-map row of the table: the pages it lists, the map pages of a
// reference map, and the row itself.
class MapRow {
public:
    MapRow(FilePages& pages, RowPointer where) : pages_(pages), where_(where) {}

    bool present() const {
        if (where_.isNull() || where_.page >= pages_.pageCount()) {
            return false;
        }
        const PageBytes& page = pages_.read(where_.page);
        return page[page::kType] == page::kDataType && where_.row < data_page_edit::slotCount(page) &&
               !data_page_edit::isDeleted(page, where_.row);
    }
    std::vector<uint32_t> listed() const { return usageMapPages(pages_, where_); }
    std::vector<uint32_t> mapPages() const {
        std::vector<uint32_t> out;
        std::span<const uint8_t> row = data_page_edit::rowBytes(pages_.read(where_.page), where_.row);
        if (row.empty() || row[usage_map::kType] != usage_map::kReference) {
            return out;
        }
        for (size_t offset = usage_map::kMapPages; offset + usage_map::kMapPageSlotSize <= row.size();
             offset += usage_map::kMapPageSlotSize) {
            uint32_t page = getU32(row, offset);
            if (page != 0 && page < pages_.pageCount() &&
                pages_.read(page)[page::kType] == page::kUsageMapType) {
                out.push_back(page);
            }
        }
        return out;
    }
    void remove() { data_page_edit::deleteRow(pages_.modify(where_.page), where_.row); }
    uint32_t page() const { return where_.page; }

private:
    FilePages& pages_;
    RowPointer where_;
};

// The file's pages as the writer's page sink: new pages from the global map.
class FilePageSink : public PageSink {
public:
    explicit FilePageSink(FilePages& pages) : pages_(pages) {}
    uint32_t allocate() override { return pages_.allocate(); }
    PageBytes& page(uint32_t number) override { return pages_.modify(number); }

private:
    FilePages& pages_;
};

// Usage-map rows go onto map pages with room: first those given, then new ones.
class InPlaceMapRows : public MapRowSink {
public:
    InPlaceMapRows(FilePages& pages, std::vector<uint32_t> candidates)
        : pages_(pages), candidates_(std::move(candidates)) {}

    RowPointer add(Bytes row) override {
        for (uint32_t page : candidates_) {
            const PageBytes& bytes = pages_.read(page);
            if (data_page_edit::isMapRowPage(bytes) &&
                data_page_edit::fits(bytes, row.size())) {
                return RowPointer{page, data_page_edit::addRow(pages_.modify(page), row)};
            }
        }
        uint32_t page = pages_.allocate();
        data_page_edit::initialize(pages_.modify(page), 0);
        candidates_.insert(candidates_.begin(), page);
        return RowPointer{page, data_page_edit::addRow(pages_.modify(page), row)};
    }

private:
    FilePages& pages_;
    std::vector<uint32_t> candidates_;
};

}  // namespace

std::vector<uint32_t> releaseTable(FilePages& pages, const TableDefinition& table,
                                   bool keepDefinitionPage) {
    std::set<uint32_t> release;
    std::vector<MapRow> maps;
    auto addMap = [&](RowPointer where) {
        MapRow map(pages, where);
        if (!map.present()) {
            return;
        }
        for (uint32_t page : map.mapPages()) {
            release.insert(page);
        }
        maps.push_back(map);
    };

    addMap(table.ownedPages);
    if (maps.size() == 1) {
        for (uint32_t page : maps.back().listed()) {
            if (page < pages.pageCount() && data_page_edit::isDataPageOf(pages.read(page), table.page)) {
                release.insert(page);
            }
        }
    }
    addMap(table.freeSpacePages);
    for (const Column& column : table.columns) {
        if (!column.longValueOwnedPages) {
            continue;
        }
        size_t before = maps.size();
        addMap(*column.longValueOwnedPages);
        if (maps.size() > before) {
            for (uint32_t page : maps.back().listed()) {
                if (page < pages.pageCount() && isLongValuePage(pages.read(page))) {
                    release.insert(page);
                }
            }
        }
        if (column.longValueFreePages) {
            addMap(*column.longValueFreePages);
        }
    }
    for (const PhysicalIndex& index : table.physicalIndexes) {
        size_t before = maps.size();
        addMap(index.usageMap);
        if (maps.size() > before) {
            for (uint32_t page : maps.back().listed()) {
                if (page >= pages.pageCount()) {
                    continue;
                }
                const PageBytes& bytes = pages.read(page);
                if ((bytes[page::kType] == page::kIndexNodeType ||
                     bytes[page::kType] == page::kIndexLeafType) &&
                    getU32(bytes, index_page::kTablePage) == table.page) {
                    release.insert(page);
                }
            }
        }
    }
    // The definition's continuation pages.
    std::set<uint32_t> seen;
    for (uint32_t page = table.page; page != 0 && page < pages.pageCount() && seen.insert(page).second;) {
        const PageBytes& bytes = pages.read(page);
        if (bytes[page::kType] != page::kDefinitionType) {
            break;
        }
        uint32_t next = getU32(bytes, tdef::kNextPage);
        if (page != table.page || !keepDefinitionPage) {
            release.insert(page);
        }
        page = next;
    }

    std::vector<uint32_t> mapRowPages;
    for (MapRow& map : maps) {
        map.remove();
        mapRowPages.push_back(map.page());
    }
    for (uint32_t page : release) {
        if (page > 2) {
            pages.release(page);
        }
    }
    // Map pages left with no row go back too.
    std::vector<uint32_t> roomy;
    for (uint32_t page : std::set<uint32_t>(mapRowPages.begin(), mapRowPages.end())) {
        if (page > 2 && data_page_edit::empty(pages.read(page))) {
            pages.release(page);
        } else {
            roomy.push_back(page);
        }
    }
    return roomy;
}

std::vector<RowPointer> writeTableInPlace(FilePages& pages, TableDefinition& definition,
                                          uint32_t tablePage, const RowFeed& feed,
                                          const std::vector<uint32_t>& mapPages,
                                          OriginalIndexKeys* originalKeys) {
    FilePageSink sink(pages);
    InPlaceMapRows mapRows(pages, mapPages);
    TableWriteOptions options;
    options.originalKeys = originalKeys;
    std::vector<RowPointer> written;
    writeTablePages(definition, tablePage, feed, sink, mapRows, options, {}, &written);
    return written;
}

}  // namespace orvdb::jet
