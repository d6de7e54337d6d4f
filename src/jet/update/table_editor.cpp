#include "jet/update/table_editor.hpp"

#include "jet/format/byte_view.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/row_decoder.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/update/data_page_editor.hpp"
#include "jet/update/definition_patch.hpp"
#include "jet/update/index_edits.hpp"
#include "jet/update/map_edits.hpp"
#include "jet/write/data_page_writer.hpp"
#include "jet/write/row_writer.hpp"

namespace orvdb::jet {

namespace {

constexpr size_t kOverflowPointerSize = 4;  // the row pointer an overflow row holds

using data_page_edit::isDataPageOf;

// The bytes a row holds for the variable-length column `column`; empty for
// a Null or a column the row predates.
std::span<const uint8_t> variableField(const TableDefinition& table, const Column& column,
                                       std::span<const uint8_t> row) {
    if (row.size() < 2) {
        return {};
    }
    uint16_t rowColumns = static_cast<uint16_t>(row[0] | row[1] << 8);
    size_t maskLength = (size_t{rowColumns} + 7) / 8;
    if (column.number >= rowColumns || row.size() < 2 + maskLength + 4) {
        return {};
    }
    size_t maskStart = row.size() - maskLength;
    if (((row[maskStart + column.number / 8] >> (column.number % 8)) & 1) == 0) {
        return {};
    }
    auto u16 = [&](size_t offset) {
        return static_cast<uint16_t>(row[offset] | row[offset + 1] << 8);
    };
    uint16_t rowVariables = u16(maskStart - 2);
    if (column.variableIndex >= rowVariables ||
        maskStart < 4 + (size_t{column.variableIndex} + 1) * 2) {
        return {};
    }
    size_t start = u16(maskStart - 4 - size_t{column.variableIndex} * 2);
    size_t end = u16(maskStart - 4 - (size_t{column.variableIndex} + 1) * 2);
    if (start > end || end > row.size()) {
        return {};
    }
    (void)table;
    return row.subspan(start, end - start);
}

}  // namespace

TableEditor::TableEditor(FilePages& pages, uint32_t tablePage, std::string tableName)
    : pages_(pages), definition_(readTableDefinition(pages.source(), tablePage)) {
    definition_.name = std::move(tableName);
    for (const PhysicalIndex& index : definition_.physicalIndexes) {
        keyColumns_.push_back(keyColumnsOf(definition_, index));
    }
    for (const Column& column : definition_.columns) {
        if (column.isLongValue() && column.longValueOwnedPages) {
            longValues_.emplace(
                column.number, std::make_unique<LongValueEditor>(pages_, column, definition_.name));
        }
    }
}

TableEditor::~TableEditor() = default;

std::string TableEditor::label() const {
    return "table '" + definition_.name + "'";
}

std::optional<LocatedRow> locateRow(PageStore& pages, const TableDefinition& table,
                                    RowPointer where) {
    if (where.page == 0 || where.page >= pages.pageCount()) {
        return std::nullopt;
    }
    const PageBytes& page = pages.read(where.page);
    if (!isDataPageOf(page, table.page) || where.row >= data_page_edit::slotCount(page)) {
        return std::nullopt;
    }
    uint16_t flags = data_page_edit::flags(page, where.row);
    if ((flags & data_page::kDeletedRow) != 0) {
        return std::nullopt;  // deleted, or the data of another row
    }
    LocatedRow found{where, where, {}};
    std::span<const uint8_t> bytes = data_page_edit::rowBytes(page, where.row);
    if ((flags & data_page::kOverflowRow) != 0) {
        if (bytes.size() < kOverflowPointerSize) {
            throwCorrupt(pages.fileName(), ("table '" + table.name + "'") + ": the row at " +
                                               where.toString() +
                                               " holds a broken pointer to its data");
        }
        found.data = RowPointer::fromRaw(getU32(bytes, 0));
        const PageBytes& target = pages.read(found.data.page);
        if (!isDataPageOf(target, table.page) ||
            found.data.row >= data_page_edit::slotCount(target) ||
            data_page_edit::flags(target, found.data.row) != data_page::kDeletedRow) {
            throwCorrupt(pages.fileName(), ("table '" + table.name + "'") + ": the row at " +
                                               where.toString() + " points to " +
                                               found.data.toString() +
                                               ", which does not hold its data");
        }
        bytes = data_page_edit::rowBytes(target, found.data.row);
    }
    found.bytes.assign(bytes.begin(), bytes.end());
    return found;
}

std::vector<Value> TableEditor::decode(const std::vector<uint8_t>& bytes) {
    RowDecoder decoder(definition_, pages_.source());
    return decoder.decode(ByteView(bytes, pages_.fileName()));
}

std::optional<std::vector<Value>> TableEditor::read(RowPointer where) {
    std::optional<Located> found = locate(where);
    if (!found) {
        return std::nullopt;
    }
    return decode(found->bytes);
}

std::vector<uint8_t> TableEditor::encode(const std::vector<Value>& values) {
    RowEncoder::LongValueStores stores;
    for (auto& [number, editor] : longValues_) {
        stores[number] = editor.get();
    }
    RowEncoder encoder(definition_, stores);
    return encoder.encode(values, definition_.rowCount);
}

void TableEditor::noteRoom(uint32_t page) {
    bool roomy = data_page_edit::freeSpace(pages_.read(page)) >= kRoomWorthListing;
    bool listed = usageMapHas(pages_, definition_.freeSpacePages, page);
    if (roomy && !listed) {
        addToUsageMap(pages_, definition_.freeSpacePages, page);
    } else if (!roomy && listed) {
        removeFromUsageMap(pages_, definition_.freeSpacePages, page);
    }
}

RowPointer TableEditor::place(const std::vector<uint8_t>& row, uint16_t flags) {
    auto fitsOn = [&](uint32_t page) {
        if (page < 3 || page >= pages_.pageCount()) {
            return false;
        }
        const PageBytes& bytes = pages_.read(page);
        return isDataPageOf(bytes, definition_.page) && data_page_edit::fits(bytes, row.size());
    };
    uint32_t target = 0;
    if (lastPage_ != 0 && fitsOn(lastPage_)) {
        target = lastPage_;
    } else {
        // The newest pages with room first, and only a few: a map listing
        // many pages whose room is too small for this row would otherwise be
        // read whole at every commit. A row that fits none of them starts a
        // page of its own.
        constexpr size_t kPagesTried = 8;
        std::vector<uint32_t> listed = usageMapPages(pages_, definition_.freeSpacePages);
        size_t tried = 0;
        for (auto page = listed.rbegin(); page != listed.rend() && tried < kPagesTried;
             ++page, ++tried) {
            if (fitsOn(*page)) {
                target = *page;
                break;
            }
        }
    }
    if (target == 0) {
        target = pages_.allocate();
        data_page_edit::initialize(pages_.modify(target), definition_.page);
        addToUsageMap(pages_, definition_.ownedPages, target);
    }
    uint8_t slot = data_page_edit::addRow(pages_.modify(target), row, flags);
    noteRoom(target);
    lastPage_ = target;
    return RowPointer{target, slot};
}

void TableEditor::releaseLongValues(const std::vector<uint8_t>& rowBytes) {
    for (auto& [number, editor] : longValues_) {
        const Column* column = definition_.columnByNumber(number);
        editor->release(variableField(definition_, *column, rowBytes));
    }
}

std::optional<std::vector<uint8_t>> TableEditor::keyOf(size_t index,
                                                       const std::vector<Value>& values) {
    const PhysicalIndex& physical = definition_.physicalIndexes[index];
    if (!indexHoldsTableRow(physical, keyColumns_[index], values)) {
        return std::nullopt;
    }
    std::vector<uint8_t> key;
    try {
        appendIndexKey(keyColumns_[index], values, key);
    } catch (const IndexKeyError& error) {
        throw IndexKeyError(pages_.fileName() + ": " + label() + ", " +
                                describeIndex(definition_, physical) + ": " + error.what(),
                            error.character());
    }
    return key;
}

void TableEditor::addIndexEntry(size_t index, const std::vector<Value>& values, RowPointer where) {
    std::optional<std::vector<uint8_t>> key = keyOf(index, values);
    if (!key) {
        return;
    }
    PhysicalIndex& physical = definition_.physicalIndexes[index];
    if (physical.isUnique() && indexHasKey(pages_, definition_, physical, *key)) {
        throw JetError(
            "The changes you requested to the table were not successful because they would "
            "create duplicate values in the index, primary key, or relationship. (" +
            pages_.fileName() + ": " + label() + ", " + describeIndex(definition_, physical) + ")");
    }
    insertIndexEntry(pages_, definition_, physical, *key, where);
}

void TableEditor::removeIndexEntry(size_t index, const std::vector<Value>& values,
                                   RowPointer where) {
    PhysicalIndex& physical = definition_.physicalIndexes[index];
    std::optional<std::vector<uint8_t>> key;
    try {
        key = keyOf(index, values);
    } catch (const IndexKeyError&) {
        // Access wrote a key this build cannot make: find it by the row.
        key = findKeyOfRow(pages_, definition_, physical, where);
    }
    if (key) {
        eraseIndexEntry(pages_, definition_, physical, *key, where);
    }
}

RowPointer TableEditor::insert(const std::vector<Value>& values) {
    std::vector<uint8_t> row = encode(values);
    RowPointer where = place(row, 0);
    for (size_t index = 0; index < definition_.physicalIndexes.size(); ++index) {
        addIndexEntry(index, values, where);
    }
    ++definition_.rowCount;
    changed_ = true;
    return where;
}

void TableEditor::update(RowPointer where, const std::vector<Value>& values) {
    std::optional<Located> found = locate(where);
    if (!found) {
        throw JetError(pages_.fileName() + ": " + label() + " has no row at " + where.toString() +
                       " to change");
    }
    std::vector<Value> old = decode(found->bytes);
    // Index entries whose key stays the same are left alone (their key may
    // be one Access wrote and this build cannot make).
    std::vector<size_t> rekeyed;
    for (size_t index = 0; index < definition_.physicalIndexes.size(); ++index) {
        if (keyValuesOf(keyColumns_[index], old) != keyValuesOf(keyColumns_[index], values)) {
            rekeyed.push_back(index);
        }
    }
    releaseLongValues(found->bytes);
    std::vector<uint8_t> row = encode(values);

    for (size_t index : rekeyed) {
        removeIndexEntry(index, old, where);
    }

    const PageBytes& home = pages_.read(found->data.page);
    uint16_t flags = found->data == where ? 0 : data_page::kDeletedRow;
    if (data_page_edit::fitsReplacing(home, found->data.row, row.size())) {
        data_page_edit::replaceRow(pages_.modify(found->data.page), found->data.row, row, flags);
        noteRoom(found->data.page);
    } else {
        // The row no longer fits where its data is: the data moves to a
        // page with room, and the row's own slot points there.
        if (found->data != where) {
            data_page_edit::deleteRow(pages_.modify(found->data.page), found->data.row);
            noteRoom(found->data.page);
        }
        RowPointer moved = place(row, data_page::kDeletedRow);
        Bytes pointer(kOverflowPointerSize, 0);
        putU32(pointer, 0, moved.raw());
        data_page_edit::replaceRow(pages_.modify(where.page), where.row, pointer,
                                   data_page::kOverflowRow);
        noteRoom(where.page);
    }

    for (size_t index : rekeyed) {
        addIndexEntry(index, values, where);
    }
    changed_ = true;
}

void TableEditor::erase(RowPointer where) {
    std::optional<Located> found = locate(where);
    if (!found) {
        throw JetError(pages_.fileName() + ": " + label() + " has no row at " + where.toString() +
                       " to delete");
    }
    std::vector<Value> values = decode(found->bytes);
    for (size_t index = 0; index < definition_.physicalIndexes.size(); ++index) {
        removeIndexEntry(index, values, where);
    }
    releaseLongValues(found->bytes);
    if (found->data != where) {
        data_page_edit::deleteRow(pages_.modify(found->data.page), found->data.row);
        noteRoom(found->data.page);
    }
    data_page_edit::deleteRow(pages_.modify(where.page), where.row);
    noteRoom(where.page);
    if (definition_.rowCount > 0) {
        --definition_.rowCount;
    }
    changed_ = true;
}

void TableEditor::noteAutoNumber(uint32_t lastHandedOut) {
    if (lastHandedOut > definition_.lastAutoNumber) {
        definition_.lastAutoNumber = lastHandedOut;
        changed_ = true;
    }
}

void TableEditor::finish() {
    if (changed_) {
        patchTableDefinition(pages_, definition_);
        changed_ = false;
    }
}

}  // namespace orvdb::jet
