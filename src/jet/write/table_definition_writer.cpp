#include "jet/write/table_definition_writer.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/text_codec.hpp"
#include "jet/write/row_writer.hpp"

namespace orvdb::jet {

namespace {

constexpr uint8_t kTdefPageType = 0x02;
constexpr size_t kPageHeader = 8;
constexpr uint32_t kDefinitionMarker = 1625;
constexpr uint32_t kPhysicalIndexMarker = 1923;
constexpr uint8_t kAutoNumberMarker = 1;
constexpr size_t kTableTypeOffset = 40;
constexpr size_t kIndexColumnSlots = 10;
constexpr uint16_t kUnusedColumn = 0xFFFF;
// Access fills the cascade bytes of indexes that are not foreign keys so.
constexpr uint8_t kNoCascadeMarker = 0x04;
constexpr size_t kMaxNameBytes = 64 * 2;

uint32_t raw(const RowPointer& pointer) {
    return rawRowPointer(pointer.page, pointer.row);
}

void name(ByteWriter& out, const std::string& text, const std::string& what,
          const std::string& table) {
    std::u16string units = utf8ToUtf16(text);
    if (units.empty() || units.size() * 2 > kMaxNameBytes) {
        throw JetError("table '" + table + "': the " + what + " name '" + text +
                       "' must have 1 to 64 characters");
    }
    out.u16(static_cast<uint16_t>(units.size() * 2));
    for (char16_t unit : units) {
        out.u16(unit);
    }
}

std::vector<const Column*> inDefinitionOrder(const TableDefinition& table) {
    std::vector<const Column*> columns;
    for (const Column& column : table.columns) {
        columns.push_back(&column);
    }
    std::stable_sort(columns.begin(), columns.end(), [](const Column* a, const Column* b) {
        return a->definitionOrder < b->definitionOrder;
    });
    return columns;
}

void column(ByteWriter& out, const Column& column) {
    out.u8(column.typeCode);
    out.u32(kDefinitionMarker);
    out.u16(column.number);
    out.u16(column.variableIndex);
    out.u16(column.displayIndex);
    if (column.type() == ColumnType::Decimal) {
        out.u8(column.precision);
        out.u8(column.scale);
        out.u16(0);
    } else {
        out.u16(column.sortOrder);
        out.u8(0);
        out.u8(column.sortOrderVersion);
    }
    out.u8(column.flags);
    out.u8(column.extendedFlags);
    out.u32(0);
    out.u16(column.fixedOffset);
    out.u16(column.length);
}

void physicalIndex(ByteWriter& out, const PhysicalIndex& index, const std::string& table) {
    if (index.columns.size() > kIndexColumnSlots) {
        throw JetError("table '" + table + "': an index has " +
                       std::to_string(index.columns.size()) + " columns; Jet allows 10");
    }
    out.u32(kPhysicalIndexMarker);
    for (size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
        if (slot < index.columns.size()) {
            out.u16(index.columns[slot].columnNumber);
            out.u8(index.columns[slot].ascending ? 0x01 : 0x00);
        } else {
            out.u16(kUnusedColumn);
            out.u8(0);
        }
    }
    out.u32(raw(index.usageMap));
    out.u32(index.rootPage);
    out.u32(0);
    out.u8(index.flags);
    out.zeros(5);
}

void logicalIndex(ByteWriter& out, const LogicalIndex& index) {
    out.u32(kDefinitionMarker);
    out.u32(index.number);
    out.u32(index.physicalIndex);
    out.u8(index.relatedTableType);
    out.u32(static_cast<uint32_t>(index.relatedIndex));
    out.u32(index.relatedTablePage);
    if (index.isForeignKey()) {
        out.u8(index.cascadeUpdates ? 1 : 0);
        out.u8(index.cascadeDeletes ? 1 : index.cascadeSetNull ? 2 : 0);
    } else {
        out.u8(kNoCascadeMarker);
        out.u8(kNoCascadeMarker);
    }
    out.u8(index.kindCode);
    out.u32(0);
}

}  // namespace

Bytes encodeTableDefinition(const TableDefinition& table) {
    std::vector<const Column*> columns = inDefinitionOrder(table);
    uint16_t maxColumns = table.maxColumns;
    for (const Column* entry : columns) {
        maxColumns = std::max<uint16_t>(maxColumns, static_cast<uint16_t>(entry->number + 1));
    }

    ByteWriter out;
    out.u8(kTdefPageType);
    out.u8(0x01);
    out.u16(0);  // free space and next page: set per page
    out.u32(0);
    out.u32(0);  // total length, set below
    out.u32(kDefinitionMarker);
    out.u32(table.rowCount);
    out.u32(table.lastAutoNumber);
    out.u8(kAutoNumberMarker);
    out.zeros(kTableTypeOffset - out.size());
    out.u8(table.tableType);
    out.u16(maxColumns);
    out.u16(variableSlotCount(table));
    out.u16(static_cast<uint16_t>(columns.size()));
    out.u32(static_cast<uint32_t>(table.indexes.size()));
    out.u32(static_cast<uint32_t>(table.physicalIndexes.size()));
    out.u32(raw(table.ownedPages));
    out.u32(raw(table.freeSpacePages));
    for (const PhysicalIndex& index : table.physicalIndexes) {
        out.u32(0);
        out.u32(index.entryCount);
        out.u32(0);
    }
    for (const Column* entry : columns) {
        column(out, *entry);
    }
    for (const Column* entry : columns) {
        name(out, entry->name, "column", table.name);
    }
    for (const PhysicalIndex& index : table.physicalIndexes) {
        physicalIndex(out, index, table.name);
    }
    for (const LogicalIndex& index : table.indexes) {
        logicalIndex(out, index);
    }
    for (const LogicalIndex& index : table.indexes) {
        name(out, index.name, "index", table.name);
    }
    for (const Column* entry : columns) {
        if (entry->isLongValue()) {
            out.u16(entry->number);
            out.u32(raw(entry->longValueOwnedPages.value_or(RowPointer{})));
            out.u32(raw(entry->longValueFreePages.value_or(RowPointer{})));
        }
    }
    out.u16(kUnusedColumn);
    putU32(out.bytes(), 8, static_cast<uint32_t>(out.size()));
    return std::move(out.bytes());
}

void writeTableDefinitionPages(const Bytes& definition, uint32_t firstPage, PageSink& pages) {
    auto freeSpace = [](size_t used) {
        return static_cast<uint16_t>(
            used + kPageHeader >= kPageSize ? 0 : kPageSize - used - kPageHeader);
    };
    size_t taken = std::min<size_t>(definition.size(), kPageSize);
    PageBytes* page = &pages.page(firstPage);
    page->fill(0);
    std::copy_n(definition.begin(), taken, page->begin());
    putU16(*page, 2, freeSpace(taken));
    while (taken < definition.size()) {
        uint32_t next = pages.allocate();
        putU32(*page, 4, next);
        page = &pages.page(next);
        page->fill(0);
        size_t chunk = std::min(definition.size() - taken, kPageSize - kPageHeader);
        (*page)[0] = kTdefPageType;
        (*page)[1] = 0x01;
        std::copy_n(definition.begin() + static_cast<ptrdiff_t>(taken), chunk,
                    page->begin() + kPageHeader);
        putU16(*page, 2, freeSpace(chunk + kPageHeader));
        taken += chunk;
    }
}

}  // namespace orvdb::jet
