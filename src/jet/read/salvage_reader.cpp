#include "jet/read/salvage_reader.hpp"

#include <set>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/usage_map.hpp"

namespace orvdb::jet {

namespace {

constexpr int kMaxOverflowHops = 8;

std::string pageLabel(uint32_t page) {
    return "page " + std::to_string(page);
}

}  // namespace

SalvageReader::SalvageReader(std::shared_ptr<PageSource> source,
                             std::shared_ptr<const TableDefinition> table)
    : source_(std::move(source)), table_(std::move(table)), decoder_(*table_, *source_) {
    listPages();
}

bool SalvageReader::ownPage(uint32_t number) {
    PageRef page = source_->page(number);
    return isDataPageOf(*page, table_->page) && !hasLongValueMark(*page);
}

// A data page the map lists whose owner names no table: its owner field is
// what is damaged, its rows are the table's.
bool SalvageReader::ownerDamaged(uint32_t number) {
    PageRef page = source_->page(number);
    if (page->bytes[page::kType] != page::kDataType || hasLongValueMark(*page)) {
        return false;
    }
    uint32_t owner = getU32(page->bytes, data_page::kOwner);
    if (owner == 0 || owner >= source_->pageCount()) {
        return true;
    }
    return source_->page(owner)->bytes[page::kType] != page::kDefinitionType;
}

// The pages the table's map lists that are its data pages; every data page
// naming the table when the map itself does not read.
void SalvageReader::listPages() {
    try {
        UsageMap map = UsageMap::read(*source_, table_->ownedPages, "pages of the table");
        while (std::optional<uint32_t> number = map.next()) {
            try {
                if (ownPage(*number)) {
                    pages_.push_back(*number);
                    continue;
                }
                if (ownerDamaged(*number)) {
                    pages_.push_back(*number);
                    losses_.push_back(pageLabel(*number) +
                                      ", which the table's map lists, names no table as its "
                                      "owner: its rows are read as the table's");
                    continue;
                }
                losses_.push_back(pageLabel(*number) + ", which the table's map lists, is " +
                                  describePage(*source_->page(*number)) + ": skipped");
            } catch (const JetError& error) {
                losses_.push_back(pageLabel(*number) + " cannot be read: " + error.what());
            }
        }
        return;
    } catch (const JetError& error) {
        losses_.push_back("the table's map of its pages cannot be read (" +
                          std::string(error.what()) + "): every page naming the table is read");
    }
    pages_.clear();
    unlistedAdded_ = true;
    for (uint32_t number = kCatalogPage + 1; number < source_->pageCount(); ++number) {
        try {
            if (ownPage(number)) {
                pages_.push_back(number);
            }
        } catch (const JetError&) {
            // Not readable as a page of the table: nothing of it to keep.
        }
    }
}

bool SalvageReader::openNextPage() {
    current_.reset();
    while (true) {
        if (nextPage_ >= pages_.size()) {
            // Rows the map lost: pages naming the table that it does not
            // list, looked for when the rows read fall short of the count.
            if (unlistedAdded_ || rowsRead_ == table_->rowCount) {
                return false;
            }
            unlistedAdded_ = true;
            for (const UnlistedPage& unlisted : unlistedDataPages(*source_, *table_)) {
                if (unlisted.liveRows > 0) {
                    pages_.push_back(unlisted.page);
                }
            }
            continue;
        }
        uint32_t number = pages_[nextPage_++];
        try {
            current_.emplace(*source_, source_->page(number), false);
            nextRow_ = 0;
            return true;
        } catch (const JetError& error) {
            losses_.push_back(pageLabel(number) +
                              " cannot be read, its rows are lost: " + error.what());
            ++pagesLost_;
        }
    }
}

bool SalvageReader::next(Row& row) {
    while (true) {
        if (!current_ || nextRow_ >= current_->rowCount()) {
            if (!openNextPage()) {
                return false;
            }
            continue;
        }
        if (readRow(nextRow_++, row)) {
            ++rowsRead_;
            return true;
        }
    }
}

void SalvageReader::loseRow(uint16_t rowNumber, const std::string& why) {
    ++rowsLost_;
    losses_.push_back("row " + std::to_string(rowNumber) + " of " + pageLabel(current_->number()) +
                      " is lost: " + why);
}

std::optional<ByteView> SalvageReader::rowBytes(uint16_t rowNumber, PageRef& holder) {
    RowSlot slot = current_->slot(rowNumber);
    if (slot.deleted) {
        return std::nullopt;
    }
    if (!slot.overflow) {
        return current_->view().sub(slot.start, slot.end - slot.start);
    }
    ByteView pointerBytes = current_->rowBytes(rowNumber);
    for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
        RowPointer target = RowPointer::fromRaw(pointerBytes.u32(0));
        holder = source_->page(target.page);
        if (!isDataPageOf(*holder, table_->page)) {
            throwCorrupt(source_->name(), "its overflow pointer names " + target.toString() +
                                              ", which is not a data page of the table");
        }
        DataPage targetPage(*source_, holder);
        RowSlot targetSlot = targetPage.slot(target.row);
        ByteView bytes = targetPage.rowBytes(target.row);
        if (!targetSlot.overflow) {
            return bytes;
        }
        pointerBytes = bytes;
    }
    throwCorrupt(source_->name(), "its chain of overflow rows is too long");
}

// A row whose long values do not read keeps its other values: the row is
// decoded without them, then each long value alone.
bool SalvageReader::readRow(uint16_t rowNumber, Row& row) {
    PageRef holder;
    std::optional<ByteView> bytes;
    try {
        bytes = rowBytes(rowNumber, holder);
        if (!bytes) {
            return false;
        }
        decoder_.decode(*bytes, row.values);
    } catch (const JetError& error) {
        if (!bytes) {
            loseRow(rowNumber, error.what());
            return false;
        }
        const std::vector<Column>& columns = table_->columns;
        std::vector<bool> plain(columns.size());
        for (size_t index = 0; index < columns.size(); ++index) {
            plain[index] = !columns[index].isLongValue();
        }
        try {
            decoder_.selectColumns(plain);
            decoder_.decode(*bytes, row.values);
        } catch (const JetError& plainError) {
            decoder_.selectColumns({});
            loseRow(rowNumber, plainError.what());
            return false;
        }
        std::vector<Value> single;
        for (size_t index = 0; index < columns.size(); ++index) {
            if (plain[index]) {
                continue;
            }
            std::vector<bool> only(columns.size(), false);
            only[index] = true;
            decoder_.selectColumns(std::move(only));
            try {
                decoder_.decode(*bytes, single);
                row.values[index] = std::move(single[index]);
            } catch (const JetError& valueError) {
                row.values[index] = Value{};
                ++valuesLost_;
                losses_.push_back("row " + std::to_string(rowNumber) + " of " +
                                  pageLabel(current_->number()) + ": the value of column '" +
                                  columns[index].name +
                                  "' is lost (kept as Null): " + valueError.what());
            }
        }
        decoder_.selectColumns({});
    }
    row.id = RowPointer{current_->number(), static_cast<uint8_t>(rowNumber)};
    return true;
}

}  // namespace orvdb::jet
