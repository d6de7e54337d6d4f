#include "jet/write/table_definition_writer.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/format/tdef.hpp"
#include "jet/format/text_codec.hpp"
#include "jet/write/row_writer.hpp"

namespace orvdb::jet {

namespace {

using namespace tdef;

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
    for (const Column& entry : table.columns) {
        columns.push_back(&entry);
    }
    std::stable_sort(columns.begin(), columns.end(), [](const Column* a, const Column* b) {
        return a->definitionOrder < b->definitionOrder;
    });
    return columns;
}

Bytes header(const TableDefinition& table, uint16_t maxColumns, uint16_t columnCount) {
    Bytes out(kHeaderSize, 0);
    out[page::kType] = page::kDefinitionType;
    out[page::kMarker] = page::kMarkerValue;
    // Free space, next page and total length are set once the whole
    // definition is known.
    putU32(out, kMarker, kDefinitionMarker);
    putU32(out, kRowCount, table.rowCount);
    putU32(out, kLastAutoNumber, table.lastAutoNumber);
    out[kAutoNumberFlag] = kAutoNumberFlagValue;
    out[kTableType] = table.tableType;
    putU16(out, kMaxColumns, maxColumns);
    putU16(out, kVariableColumns, variableSlotCount(table));
    putU16(out, kColumnCount, columnCount);
    putU32(out, kLogicalIndexCount, static_cast<uint32_t>(table.indexes.size()));
    putU32(out, kPhysicalIndexCount, static_cast<uint32_t>(table.physicalIndexes.size()));
    putU32(out, kOwnedPages, table.ownedPages.raw());
    putU32(out, kFreeSpacePages, table.freeSpacePages.raw());
    return out;
}

Bytes columnEntry(const Column& entry) {
    Bytes out(column::kSize, 0);
    out[column::kType] = entry.typeCode;
    putU32(out, column::kMarker, kDefinitionMarker);
    putU16(out, column::kNumber, entry.number);
    putU16(out, column::kVariableIndex, entry.variableIndex);
    putU16(out, column::kDisplayIndex, entry.displayIndex);
    if (entry.type() == ColumnType::Decimal) {
        out[column::kPrecision] = entry.precision;
        out[column::kScale] = entry.scale;
    } else {
        putU16(out, column::kSortOrder, entry.sortOrder);
        out[column::kSortOrderVersion] = entry.sortOrderVersion;
    }
    out[column::kFlags] = entry.flags;
    out[column::kExtendedFlags] = entry.extendedFlags;
    putU16(out, column::kFixedOffset, entry.fixedOffset);
    putU16(out, column::kLength, entry.length);
    return out;
}

Bytes physicalIndexEntry(const PhysicalIndex& index, const std::string& table) {
    if (index.columns.size() > physical_index::kColumnSlotCount) {
        throw JetError("table '" + table + "': an index has " +
                       std::to_string(index.columns.size()) + " columns; Jet allows " +
                       std::to_string(physical_index::kColumnSlotCount));
    }
    Bytes out(physical_index::kSize, 0);
    putU32(out, physical_index::kMarker, kPhysicalIndexMarker);
    for (size_t slot = 0; slot < physical_index::kColumnSlotCount; ++slot) {
        size_t at = physical_index::kColumnSlots + slot * physical_index::kColumnSlotSize;
        if (slot < index.columns.size()) {
            putU16(out, at + physical_index::kSlotColumn, index.columns[slot].columnNumber);
            out[at + physical_index::kSlotOrder] =
                index.columns[slot].ascending ? physical_index::kAscending : 0;
        } else {
            putU16(out, at + physical_index::kSlotColumn, kUnusedColumn);
        }
    }
    putU32(out, physical_index::kUsageMap, index.usageMap.raw());
    putU32(out, physical_index::kRootPage, index.rootPage);
    out[physical_index::kFlags] = index.flags;
    return out;
}

Bytes logicalIndexEntry(const LogicalIndex& index) {
    using namespace logical_index;
    Bytes out(logical_index::kSize, 0);
    putU32(out, logical_index::kMarker, kDefinitionMarker);
    putU32(out, kNumber, index.number);
    putU32(out, kPhysicalIndex, index.physicalIndex);
    out[kRelatedTableType] = index.relatedTableType;
    putU32(out, kRelatedIndex, static_cast<uint32_t>(index.relatedIndex));
    putU32(out, kRelatedTablePage, index.relatedTablePage);
    if (index.isForeignKey()) {
        out[kCascadeUpdates] = index.cascadeUpdates ? kCascade : 0;
        out[kCascadeDeletes] = index.cascadeDeletes   ? kCascade
                               : index.cascadeSetNull ? kCascadeToNull
                                                      : 0;
    } else {
        out[kCascadeUpdates] = kNoCascade;
        out[kCascadeDeletes] = kNoCascade;
    }
    out[kKind] = index.kindCode;
    return out;
}

}  // namespace

Bytes encodeTableDefinition(const TableDefinition& table) {
    std::vector<const Column*> columns = inDefinitionOrder(table);
    uint16_t maxColumns = table.maxColumns;
    for (const Column* entry : columns) {
        maxColumns = std::max<uint16_t>(maxColumns, static_cast<uint16_t>(entry->number + 1));
    }

    ByteWriter out;
    out.append(header(table, maxColumns, static_cast<uint16_t>(columns.size())));
    for (const PhysicalIndex& index : table.physicalIndexes) {
        Bytes counts(index_count::kSize, 0);
        putU32(counts, index_count::kEntries, index.entryCount);
        out.append(counts);
    }
    for (const Column* entry : columns) {
        out.append(columnEntry(*entry));
    }
    for (const Column* entry : columns) {
        name(out, entry->name, "column", table.name);
    }
    for (const PhysicalIndex& index : table.physicalIndexes) {
        out.append(physicalIndexEntry(index, table.name));
    }
    for (const LogicalIndex& index : table.indexes) {
        out.append(logicalIndexEntry(index));
    }
    for (const LogicalIndex& index : table.indexes) {
        name(out, index.name, "index", table.name);
    }
    for (const Column* entry : columns) {
        if (entry->isLongValue()) {
            Bytes map(long_value_map::kSize, 0);
            putU16(map, long_value_map::kColumnNumber, entry->number);
            putU32(map, long_value_map::kOwnedPages,
                   entry->longValueOwnedPages.value_or(RowPointer{}).raw());
            putU32(map, long_value_map::kFreePages,
                   entry->longValueFreePages.value_or(RowPointer{}).raw());
            out.append(map);
        }
    }
    out.u16(kUnusedColumn);
    putU32(out.bytes(), kLength, static_cast<uint32_t>(out.size()));
    return std::move(out.bytes());
}

void writeTableDefinitionPages(const Bytes& definition, uint32_t firstPage, PageSink& pages) {
    using namespace tdef;
    auto freeSpace = [](size_t used) {
        return static_cast<uint16_t>(
            used + kContinuationHeader >= kPageSize ? 0 : kPageSize - used - kContinuationHeader);
    };
    size_t taken = std::min<size_t>(definition.size(), kPageSize);
    PageBytes* current = &pages.page(firstPage);
    current->fill(0);
    std::copy_n(definition.begin(), taken, current->begin());
    putU16(*current, page::kFreeSpace, freeSpace(taken));
    while (taken < definition.size()) {
        uint32_t next = pages.allocate();
        putU32(*current, kNextPage, next);
        current = &pages.page(next);
        current->fill(0);
        size_t chunk = std::min(definition.size() - taken, kPageSize - kContinuationHeader);
        (*current)[page::kType] = page::kDefinitionType;
        (*current)[page::kMarker] = page::kMarkerValue;
        std::copy_n(definition.begin() + static_cast<ptrdiff_t>(taken), chunk,
                    current->begin() + kContinuationHeader);
        putU16(*current, page::kFreeSpace, freeSpace(chunk + kContinuationHeader));
        taken += chunk;
    }
}

}  // namespace orvdb::jet
