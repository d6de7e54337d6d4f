#include "jet/read/table_reader.hpp"

#include "base/names.hpp"

namespace orvdb::jet {

namespace {

// An updated row that outgrew its page leaves a pointer behind; Access does
// not chain these, but a damaged file could.
constexpr int kMaxOverflowHops = 8;

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
                return false;
            }
            PageRef page = source_->page(*pageNumber);
            // Usage maps may keep bits for pages that have since been reused;
            // only data pages that name this table belong to it.
            if (!isDataPageOf(*page, table_->page)) {
                continue;
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
        ByteView bytes = slot.overflow ? followOverflow(*current_, rowNumber, holder)
                                       : current_->view().sub(slot.start, slot.end - slot.start);
        decoder_.decode(bytes, row.values);
        row.id = RowPointer{current_->number(), static_cast<uint8_t>(rowNumber)};
        return true;
    }
}

ByteView TableReader::followOverflow(const DataPage& page, uint16_t row, PageRef& holder) {
    ByteView pointerBytes = page.rowBytes(row);
    for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
        RowPointer target = RowPointer::fromRaw(pointerBytes.u32(0));
        holder = source_->page(target.page);
        if (!isDataPageOf(*holder, table_->page)) {
            throwCorrupt(source_->name(), "an overflow row points to " + target.toString() +
                                              ", which is not a data page of the table");
        }
        DataPage targetPage(*source_, holder);
        RowSlot slot = targetPage.slot(target.row);
        ByteView bytes = targetPage.rowBytes(target.row);
        if (!slot.overflow) {
            return bytes;
        }
        pointerBytes = bytes;
    }
    throwCorrupt(source_->name(), "a chain of overflow rows is too long");
}

}  // namespace orvdb::jet
