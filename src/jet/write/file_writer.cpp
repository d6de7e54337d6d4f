#include "jet/write/file_writer.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <span>

#include "base/names.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/read/catalog_rows.hpp"
#include "jet/write/data_page_writer.hpp"
#include "jet/write/header_writer.hpp"
#include "jet/write/long_value_writer.hpp"
#include "jet/write/object_ids.hpp"
#include "jet/write/page_set.hpp"
#include "jet/write/row_writer.hpp"
#include "jet/write/table_definition_writer.hpp"
#include "jet/write/table_writer.hpp"
#include "jet/write/usage_map_rows.hpp"
#include "jet/write/usage_map_writer.hpp"

namespace orvdb::jet {

namespace {

size_t mapRowsOf(const TableImage& table) {
    size_t longValueColumns = static_cast<size_t>(
        std::count_if(table.definition.columns.begin(), table.definition.columns.end(),
                      [](const Column& column) { return column.isLongValue(); }));
    return 2 + 2 * longValueColumns + table.definition.physicalIndexes.size();
}

std::optional<size_t> columnPosition(const TableImage& table, std::string_view name) {
    for (size_t n = 0; n < table.definition.columns.size(); ++n) {
        if (base::sameName(table.definition.columns[n].name, name)) {
            return n;
        }
    }
    return std::nullopt;
}

// Every table row of MSysObjects must name a table of the image by id and
// name, and every table must have its row: readers find tables through it.
void validateCatalog(const DatabaseImage& image, const TableImage& catalog,
                     const std::string& file) {
    auto id = columnPosition(catalog, "Id");
    auto parent = columnPosition(catalog, "ParentId");
    auto type = columnPosition(catalog, "Type");
    auto name = columnPosition(catalog, "Name");
    if (!id || !parent || !type || !name) {
        throwError(file, "cannot be written: MSysObjects lacks one of Id, ParentId, Type, Name");
    }
    auto integer = [](const Value& value) {
        const auto* held = std::get_if<int64_t>(&value);
        return held ? *held : 0;
    };
    std::map<uint32_t, const TableImage*> byId;
    for (const TableImage& table : image.tables) {
        byId[table.objectId] = &table;
    }
    std::set<uint32_t> listed;
    for (const std::vector<Value>& row : catalog.rows) {
        if (row.size() != catalog.definition.columns.size() ||
            integer(row[*type]) != static_cast<int16_t>(ObjectType::Table) ||
            integer(row[*parent]) != kTablesContainerId) {
            continue;
        }
        auto objectId = static_cast<uint32_t>(integer(row[*id]));
        const auto* rowName = std::get_if<std::string>(&row[*name]);
        auto table = byId.find(objectId);
        if (table == byId.end() || !rowName || !base::sameName(*rowName, table->second->name())) {
            throwError(file, "cannot be written: MSysObjects lists table '" +
                                 (rowName ? *rowName : std::string("?")) + "' with id " +
                                 std::to_string(objectId) +
                                 ", which is not a table of the database by that id and name");
        }
        listed.insert(objectId);
    }
    for (const TableImage& table : image.tables) {
        if (listed.count(table.objectId) == 0) {
            throwError(file,
                       "cannot be written: table '" + table.name() + "' has no row in MSysObjects");
        }
    }
}

void validate(const DatabaseImage& image, const std::string& file) {
    const TableImage* catalog = image.findTable(kCatalogTableName);
    if (!catalog) {
        throwError(file, "cannot be written: the database has no MSysObjects table");
    }
    std::set<uint32_t> ids;
    for (const TableImage& table : image.tables) {
        if (&table != image.findTable(table.name())) {
            throwError(file, "cannot be written: two tables are named '" + table.name() + "'");
        }
        if (table.objectId == 0 || !ids.insert(table.objectId).second) {
            throwError(file, "cannot be written: table '" + table.name() +
                                 "' needs an object id of its own (has " +
                                 std::to_string(table.objectId) + ")");
        }
    }
    validateCatalog(image, *catalog, file);
}

// Object id -> definition page: MSysObjects on page 2, others on their
// preferred page when asked and free, the rest on the lowest free pages. No
// table takes a page whose number is the Id of another MSysObjects row (a
// query, form, container, ...): MSysObjects ids are unique and those keep
// theirs. Skipped pages are left for data.
std::map<uint32_t, uint32_t> placeTables(const DatabaseImage& image, const WriteOptions& options,
                                         uint32_t pageLimit, std::set<uint32_t>& reserved,
                                         const std::string& file) {
    std::set<uint32_t> otherIds = nonTableObjectIds(image);
    auto isFree = [&](uint32_t page) {
        return reserved.count(page) == 0 && otherIds.count(page) == 0;
    };
    std::map<uint32_t, uint32_t> placed;
    reserved.insert(kCatalogPage);
    placed[image.findTable(kCatalogTableName)->objectId] = kCatalogPage;
    if (options.keepTablePages) {
        for (const TableImage& table : image.tables) {
            uint32_t page = table.preferredPage;
            if (placed.count(table.objectId) == 0 && page > kCatalogPage && page < pageLimit &&
                page <= kLastPageNumber && isFree(page)) {
                reserved.insert(page);
                placed[table.objectId] = page;
            }
        }
    }
    uint32_t next = kCatalogPage + 1;
    for (const TableImage& table : image.tables) {
        if (placed.count(table.objectId) != 0) {
            continue;
        }
        while (next <= kLastPageNumber && !isFree(next)) {
            ++next;
        }
        if (next > kLastPageNumber) {
            throwError(file, "cannot be written: no page left for the definition of table '" +
                                 table.name() + "'");
        }
        reserved.insert(next);
        placed[table.objectId] = next;
    }
    return placed;
}

class FileBuilder {
public:
    // Preferred pages at or beyond `pageLimit` are not kept.
    FileBuilder(const DatabaseImage& image, const std::string& file, const WriteOptions& options,
                uint32_t pageLimit)
        : image_(image), file_(file), options_(options), pageLimit_(pageLimit) {}

    // Lays out every page; then count() and bytes() give the file.
    void build() {
        checkHeaderPage(image_.headerPage, file_);
        validate(image_, file_);
        std::set<uint32_t> reserved;
        std::map<uint32_t, uint32_t> placed =
            placeTables(image_, options_, pageLimit_, reserved, file_);
        pages_.emplace(std::move(reserved));
        ids_.emplace(image_, placed);

        size_t mapRowCount = 0;
        for (const TableImage& table : image_.tables) {
            mapRowCount += mapRowsOf(table);
        }
        mapRows_.emplace(*pages_, mapRowCount);
        for (const TableImage& table : image_.tables) {
            try {
                writeTable(table, placed.at(table.objectId));
            } catch (const JetError& error) {
                throwError(file_, std::string("cannot be written: ") + error.what());
            }
        }
        mapRows_->writePages(*pages_);
        writeGlobalMap();
        std::copy(image_.headerPage.begin(), image_.headerPage.end(), pages_->page(0).begin());
    }

    uint32_t count() const { return pages_->count(); }
    uint32_t unusedPages() const {
        uint32_t unused = 0;
        for (uint32_t n = 0; n < pages_->count(); ++n) {
            unused += pages_->isUsed(n) ? 0 : 1;
        }
        return unused;
    }

    PageSet takePages() { return std::move(*pages_); }

private:
    void writeTable(const TableImage& table, uint32_t tablePage) {
        TableDefinition definition = table.definition;
        // Rows that name tables by id are written with the new ids.
        std::optional<std::vector<std::vector<Value>>> renumbered = ids_->renumberedRows(table);
        auto forEachRow = [&](const RowVisitor& visit) {
            if (renumbered) {
                for (const std::vector<Value>& row : *renumbered) {
                    visit(row);
                }
            } else {
                table.forEachRow(visit);
            }
        };
        TableWriteOptions tableOptions{options_.indexPages, options_.originalKeys};
        writeTablePages(definition, tablePage, forEachRow, *pages_, *mapRows_, tableOptions,
                        [this](TableDefinition& written) { relateForeignKeys(written); });
    }

    // Foreign-key indexes name the related table by its definition page.
    void relateForeignKeys(TableDefinition& definition) const {
        for (LogicalIndex& index : definition.indexes) {
            if (index.relatedTablePage == 0) {
                continue;
            }
            uint32_t page = ids_->pageOf(index.relatedTablePage);
            if (page == 0) {
                throw JetError("index '" + index.name + "' of table '" + definition.name +
                               "' relates to table id " + std::to_string(index.relatedTablePage) +
                               ", which the database does not have");
            }
            index.relatedTablePage = page;
        }
    }

    void writeGlobalMap() {
        Bytes map = encodeGlobalUsageMap(*pages_);
        DataPageBuilder page(*pages_, kGlobalUsageMapPage, data_page::kGlobalMapOwner);
        page.add(map);
        // Jet keeps a second, empty map row on this page.
        Bytes empty(usage_map::kRowSize, 0);
        page.add(empty);
    }

    const DatabaseImage& image_;
    const std::string& file_;
    const WriteOptions& options_;
    uint32_t pageLimit_;
    std::optional<PageSet> pages_;
    std::optional<ObjectIdRemap> ids_;
    std::optional<UsageMapRows> mapRows_;
};

}  // namespace

namespace {

PageSet buildPages(const DatabaseImage& image, const std::string& fileName,
                   const WriteOptions& options) {
    FileBuilder builder(image, fileName, options, kLastPageNumber + 1);
    builder.build();
    // A table kept at a page far beyond what the packed file needs (its
    // definition sat behind since-deleted data) leaves a hole of empty
    // pages: build again keeping only the pages within the packed size.
    if (uint32_t holes = builder.unusedPages(); options.keepTablePages && holes > 0) {
        FileBuilder packed(image, fileName, options, builder.count() - holes);
        packed.build();
        return packed.takePages();
    }
    return builder.takePages();
}

}  // namespace

std::vector<uint8_t> buildJetFile(const DatabaseImage& image, const std::string& fileName,
                                  const WriteOptions& options) {
    PageSet pages = buildPages(image, fileName, options);
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t{pages.count()} * kPageSize);
    for (uint32_t n = 0; n < pages.count(); ++n) {
        const PageBytes& page = pages.page(n);
        bytes.insert(bytes.end(), page.begin(), page.end());
    }
    return bytes;
}

void writeJetFile(const DatabaseImage& image, const std::filesystem::path& target,
                  const WriteOptions& options, const FileSystemCalls& calls) {
    PageSet pages = buildPages(image, target.string(), options);
    std::vector<std::span<const uint8_t>> parts;
    parts.reserve(pages.count());
    for (uint32_t n = 0; n < pages.count(); ++n) {
        parts.emplace_back(pages.page(n));
    }
    replaceFileAtomically(target, parts, calls);
}

}  // namespace orvdb::jet
