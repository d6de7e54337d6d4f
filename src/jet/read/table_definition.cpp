#include "jet/read/table_definition.hpp"

#include <algorithm>
#include <unordered_set>

#include "base/names.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/format/tdef.hpp"
#include "jet/format/text_codec.hpp"

namespace orvdb::jet {

namespace {

// Reads the definition pages into one buffer: the first page whole, then each
// continuation page without its 8-byte header.
std::vector<uint8_t> collectDefinition(PageSource& source, uint32_t firstPage,
                                       uint32_t& pageCount) {
    std::vector<uint8_t> buffer;
    std::unordered_set<uint32_t> seen;
    uint32_t current = firstPage;
    pageCount = 0;
    while (true) {
        if (!seen.insert(current).second) {
            throwCorrupt(source.name(), "the definition of the table at page " +
                                            std::to_string(firstPage) + " loops back to page " +
                                            std::to_string(current));
        }
        if (++pageCount > kMaxDefinitionPages) {
            throwCorrupt(source.name(), "the definition of the table at page " +
                                            std::to_string(firstPage) + " is too long");
        }
        PageRef page = source.page(current);
        if (page->bytes[page::kType] != page::kDefinitionType) {
            throwCorrupt(source.name(), "page " + std::to_string(current) +
                                            " should hold a table definition but has page type " +
                                            std::to_string(page->bytes[page::kType]));
        }
        size_t skip = buffer.empty() ? 0 : tdef::kContinuationHeader;
        buffer.insert(buffer.end(), page->bytes.begin() + static_cast<ptrdiff_t>(skip),
                      page->bytes.end());
        uint32_t next = source.view(*page).u32(tdef::kNextPage);
        if (next == 0) {
            break;
        }
        current = next;
    }
    return buffer;
}

void requireCount(const ByteView& view, size_t pos, uint64_t count, size_t itemSize,
                  std::string_view what, uint32_t page) {
    if (count * itemSize > view.size() - std::min(pos, view.size())) {
        throwCorrupt(view.file(), "the table definition at page " + std::to_string(page) +
                                      " claims " + std::to_string(count) + " " + std::string(what) +
                                      ", more than it can hold");
    }
}

}  // namespace

std::string describeIndex(const TableDefinition& table, const PhysicalIndex& index) {
    std::string names;
    for (const LogicalIndex& logical : table.indexes) {
        if (logical.physicalIndex == index.number) {
            names += (names.empty() ? "'" : ", '") + logical.name + "'";
        }
    }
    std::string number = "physical index " + std::to_string(index.number);
    return names.empty() ? number : "index " + names + " (" + number + ")";
}

const Column* TableDefinition::findColumn(std::string_view columnName) const {
    for (const Column& column : columns) {
        if (base::sameName(column.name, columnName)) {
            return &column;
        }
    }
    return nullptr;
}

const Column* TableDefinition::columnByNumber(uint16_t number) const {
    for (const Column& column : columns) {
        if (column.number == number) {
            return &column;
        }
    }
    return nullptr;
}

const LogicalIndex* TableDefinition::findIndex(std::string_view indexName) const {
    for (const LogicalIndex& index : indexes) {
        if (base::sameName(index.name, indexName)) {
            return &index;
        }
    }
    return nullptr;
}

const PhysicalIndex* TableDefinition::physicalIndexOf(const LogicalIndex& index) const {
    return index.physicalIndex < physicalIndexes.size() ? &physicalIndexes[index.physicalIndex]
                                                        : nullptr;
}

bool TableDefinition::hasLongValueColumns() const {
    return std::any_of(columns.begin(), columns.end(),
                       [](const Column& column) { return column.isLongValue(); });
}

TableDefinition readTableDefinition(PageSource& source, uint32_t page) {
    using namespace tdef;
    TableDefinition table;
    table.page = page;
    std::vector<uint8_t> buffer = collectDefinition(source, page, table.definitionPages);
    ByteView view(buffer, source.name());

    table.definitionLength = view.u32(kLength);
    table.rowCount = view.u32(kRowCount);
    table.lastAutoNumber = view.u32(kLastAutoNumber);
    table.tableType = view.u8(kTableType);
    table.maxColumns = view.u16(kMaxColumns);
    table.variableColumnCount = view.u16(kVariableColumns);
    uint16_t columnCount = view.u16(kColumnCount);
    uint32_t logicalCount = view.u32(kLogicalIndexCount);
    uint32_t physicalCount = view.u32(kPhysicalIndexCount);
    table.ownedPages = RowPointer::fromRaw(view.u32(kOwnedPages));
    table.freeSpacePages = RowPointer::fromRaw(view.u32(kFreeSpacePages));

    size_t pos = kHeaderSize;
    requireCount(view, pos, physicalCount, index_count::kSize + physical_index::kSize, "indexes",
                 page);
    std::vector<uint32_t> entryCounts;
    for (uint32_t n = 0; n < physicalCount; ++n) {
        entryCounts.push_back(view.u32(pos + index_count::kEntries));
        pos += index_count::kSize;
    }

    requireCount(view, pos, columnCount, column::kSize + kStoredNameLengthSize, "columns", page);
    table.columns.resize(columnCount);
    for (Column& entry : table.columns) {
        ByteView bytes = view.sub(pos, column::kSize);
        entry.definitionOrder = static_cast<uint16_t>(&entry - table.columns.data());
        entry.typeCode = bytes.u8(column::kType);
        entry.number = bytes.u16(column::kNumber);
        entry.variableIndex = bytes.u16(column::kVariableIndex);
        entry.displayIndex = bytes.u16(column::kDisplayIndex);
        if (entry.type() == ColumnType::Decimal) {
            entry.precision = bytes.u8(column::kPrecision);
            entry.scale = bytes.u8(column::kScale);
        } else {
            entry.sortOrder = bytes.u16(column::kSortOrder);
            entry.sortOrderVersion = bytes.u8(column::kSortOrderVersion);
        }
        entry.flags = bytes.u8(column::kFlags);
        entry.extendedFlags = bytes.u8(column::kExtendedFlags);
        entry.fixedOffset = bytes.u16(column::kFixedOffset);
        entry.length = bytes.u16(column::kLength);
        pos += column::kSize;
    }
    for (Column& entry : table.columns) {
        entry.name = readStoredName(view, pos);
    }

    for (uint32_t n = 0; n < physicalCount; ++n) {
        ByteView bytes = view.sub(pos, physical_index::kSize);
        PhysicalIndex index;
        index.number = n;
        index.entryCount = entryCounts[n];
        for (size_t slot = 0; slot < physical_index::kColumnSlotCount; ++slot) {
            size_t at = physical_index::kColumnSlots + slot * physical_index::kColumnSlotSize;
            uint16_t columnNumber = bytes.u16(at + physical_index::kSlotColumn);
            if (columnNumber != kUnusedColumn) {
                bool ascending =
                    (bytes.u8(at + physical_index::kSlotOrder) & physical_index::kAscending) != 0;
                index.columns.push_back(IndexColumn{columnNumber, ascending});
            }
        }
        index.usageMap = RowPointer::fromRaw(bytes.u32(physical_index::kUsageMap));
        index.rootPage = bytes.u32(physical_index::kRootPage);
        index.flags = bytes.u8(physical_index::kFlags);
        table.physicalIndexes.push_back(std::move(index));
        pos += physical_index::kSize;
    }

    requireCount(view, pos, logicalCount, logical_index::kSize + kStoredNameLengthSize,
                 "logical indexes", page);
    for (uint32_t n = 0; n < logicalCount; ++n) {
        ByteView bytes = view.sub(pos, logical_index::kSize);
        LogicalIndex index;
        index.number = bytes.u32(logical_index::kNumber);
        index.physicalIndex = bytes.u32(logical_index::kPhysicalIndex);
        index.relatedTableType = bytes.u8(logical_index::kRelatedTableType);
        index.relatedIndex = bytes.i32(logical_index::kRelatedIndex);
        index.relatedTablePage = bytes.u32(logical_index::kRelatedTablePage);
        index.kindCode = bytes.u8(logical_index::kKind);
        if (index.isForeignKey()) {
            // The cascade bytes are only meaningful on foreign-key indexes.
            uint8_t deletes = bytes.u8(logical_index::kCascadeDeletes);
            index.cascadeUpdates =
                bytes.u8(logical_index::kCascadeUpdates) == logical_index::kCascade;
            index.cascadeDeletes = deletes == logical_index::kCascade;
            index.cascadeSetNull = deletes == logical_index::kCascadeToNull;
        }
        if (index.physicalIndex >= physicalCount) {
            throwCorrupt(source.name(), "index " + std::to_string(n) + " of the table at page " +
                                            std::to_string(page) +
                                            " refers to a physical index that does not exist");
        }
        table.indexes.push_back(std::move(index));
        pos += logical_index::kSize;
    }
    for (LogicalIndex& index : table.indexes) {
        index.name = readStoredName(view, pos);
    }

    // Memo/OLE usage maps until FFFF. Older files may end the definition
    // without the list.
    for (size_t n = 0; n < table.columns.size() && pos + 2 <= view.size(); ++n) {
        uint16_t columnNumber = view.u16(pos + long_value_map::kColumnNumber);
        if (columnNumber == kUnusedColumn || pos + long_value_map::kSize > view.size()) {
            break;
        }
        auto owned = RowPointer::fromRaw(view.u32(pos + long_value_map::kOwnedPages));
        auto free = RowPointer::fromRaw(view.u32(pos + long_value_map::kFreePages));
        for (Column& entry : table.columns) {
            if (entry.number == columnNumber) {
                entry.longValueOwnedPages = owned;
                entry.longValueFreePages = free;
            }
        }
        pos += long_value_map::kSize;
    }

    std::stable_sort(table.columns.begin(), table.columns.end(),
                     [](const Column& a, const Column& b) { return a.number < b.number; });
    for (size_t n = 1; n < table.columns.size(); ++n) {
        if (table.columns[n].number == table.columns[n - 1].number) {
            throwCorrupt(source.name(), "the table at page " + std::to_string(page) +
                                            " has two columns numbered " +
                                            std::to_string(table.columns[n].number));
        }
    }
    return table;
}

}  // namespace orvdb::jet
