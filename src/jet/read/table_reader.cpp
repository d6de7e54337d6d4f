#include "jet/read/table_reader.hpp"

#include <set>

#include "base/names.hpp"
#include "jet/format/bytes.hpp"

namespace orvdb::jet {

namespace {

std::string tableLabel(const TableDefinition& table) {
    return table.name.empty() ? "at page " + std::to_string(table.page) : "'" + table.name + "'";
}

UsageMap ownedPages(PageSource& source, const TableDefinition& table) {
    try {
        return UsageMap::read(source, table.ownedPages, "pages of table " + tableLabel(table));
    } catch (const JetError& error) {
        throw JetError(std::string(error.what()) + " while reading table " + tableLabel(table));
    }
}

}  // namespace

std::string describePage(const Page& page) {
    uint8_t type = page.bytes[page::kType];
    if (type == page::kDataType && hasLongValueMark(page)) {
        return "a long-value page";
    }
    uint32_t owner = getU32(page.bytes, data_page::kOwner);
    switch (type) {
        case page::kDataType:
            return owner == 0 ? "a usage-map page"
                              : "a data page of the table at page " + std::to_string(owner);
        case page::kDefinitionType:
            return "a table definition page";
        case page::kIndexNodeType:
        case page::kIndexLeafType:
            return "an index page of the table at page " + std::to_string(owner);
        case page::kUsageMapType:
            return "a usage-map page";
        default:
            return "a page of type " + std::to_string(type);
    }
}

TableReader::TableReader(std::shared_ptr<PageSource> source,
                         std::shared_ptr<const TableDefinition> table)
    : source_(std::move(source)),
      table_(std::move(table)),
      decoder_(*table_, *source_),
      pages_(ownedPages(*source_, *table_)) {}

void TableReader::selectColumns(const std::vector<std::string>& names) {
    std::vector<bool> wanted(table_->columns.size(), false);
    for (const std::string& name : names) {
        bool found = false;
        for (size_t n = 0; n < table_->columns.size(); ++n) {
            if (base::sameName(table_->columns[n].name, name)) {
                wanted[n] = true;
                found = true;
            }
        }
        if (!found) {
            throwError(source_->name(),
                       "table " + tableLabel(*table_) + " has no column '" + name + "'");
        }
    }
    decoder_.selectColumns(std::move(wanted));
}

std::optional<Row> TableReader::next() {
    Row row;
    if (!next(row)) {
        return std::nullopt;
    }
    return row;
}

bool TableReader::next(Row& row) {
    if (finished_) {
        return false;
    }
    try {
        bool found = advance(row);
        if (!found) {
            finished_ = true;
        }
        return found;
    } catch (const JetError& error) {
        finished_ = true;
        throw JetError(std::string(error.what()) + " while reading table " + tableLabel(*table_));
    }
}

bool TableReader::advance(Row& row) {
    while (true) {
        if (!current_ || nextRow_ >= current_->rowCount()) {
            current_.reset();
            std::optional<uint32_t> pageNumber = pages_.next();
            if (!pageNumber) {
                verifyRowCount();
                return false;
            }
            PageRef page = source_->page(*pageNumber);
            // Every page the map lists holds rows of this table: one that
            // names another owner lost its rows to damage, which must not
            // pass for a shorter table.
            if (!isDataPageOf(*page, table_->page) || hasLongValueMark(*page)) {
                throwCorrupt(source_->name(), "the owned-pages map of table " +
                                                  tableLabel(*table_) + " lists page " +
                                                  std::to_string(*pageNumber) + ", which is " +
                                                  describePage(*page));
            }
            current_.emplace(*source_, std::move(page));
            nextRow_ = 0;
            continue;
        }
        uint16_t rowNumber = nextRow_++;
        RowSlot slot = current_->slot(rowNumber);
        if (slot.deleted) {
            continue;
        }
        PageRef holder;
        ByteView bytes = slot.overflow
                             ? followOverflow(*source_, table_->page, *current_, rowNumber, holder)
                             : current_->view().sub(slot.start, slot.end - slot.start);
        decoder_.decode(bytes, row.values);
        row.id = RowPointer{current_->number(), static_cast<uint8_t>(rowNumber)};
        ++rowsRead_;
        return true;
    }
}

// Access leaves a table's row count stale at times, so a count that differs
// from the rows read is no damage by itself; but rows on a page naming the
// table that its map does not list are rows the map lost.
void TableReader::verifyRowCount() {
    if (rowsRead_ == table_->rowCount || countVerified_) {
        return;
    }
    countVerified_ = true;
    for (const UnlistedPage& unlisted : unlistedDataPages(*source_, *table_)) {
        if (unlisted.liveRows > 0) {
            throwCorrupt(source_->name(),
                         "table " + tableLabel(*table_) + " records " +
                             std::to_string(table_->rowCount) + " rows, its owned-pages map " +
                             "gives " + std::to_string(rowsRead_) + "; data page " +
                             std::to_string(unlisted.page) + " names the table and holds " +
                             std::to_string(unlisted.liveRows) + " rows the map does not list");
        }
    }
}

std::vector<UnlistedPage> unlistedDataPages(PageSource& source, const TableDefinition& table) {
    std::set<uint32_t> listed;
    UsageMap map = ownedPages(source, table);
    while (auto page = map.next()) {
        listed.insert(*page);
    }
    std::vector<UnlistedPage> found;
    for (uint32_t number = kCatalogPage + 1; number < source.pageCount(); ++number) {
        PageRef page = source.page(number);
        if (!isDataPageOf(*page, table.page) || listed.count(number) != 0) {
            continue;
        }
        UnlistedPage unlisted{number, 0};
        try {
            DataPage data(source, page);
            for (uint16_t row = 0; row < data.rowCount(); ++row) {
                unlisted.liveRows += data.slot(row).deleted ? 0 : 1;
            }
        } catch (const JetError&) {
            // A damaged page left behind by a dropped table holds nothing to read.
        }
        found.push_back(unlisted);
    }
    return found;
}

}  // namespace orvdb::jet
