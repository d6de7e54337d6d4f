#include "jet/read/table_definition.hpp"

#include <algorithm>
#include <unordered_set>

#include "jet/format/jet_error.hpp"
#include "jet/format/text_codec.hpp"

namespace orvdb::jet {

namespace {

constexpr uint8_t kTdefPageType = 0x02;
constexpr size_t kContinuationHeader = 8;
// No Jet 4 definition (255 columns, 32 indexes, 64-character names) comes
// near this; it stops a damaged page chain from reading the whole file.
constexpr uint32_t kMaxDefinitionPages = 256;

constexpr size_t kRowCountOffset = 16;
constexpr size_t kAutoNumberOffset = 20;
constexpr size_t kTableTypeOffset = 40;
constexpr size_t kMaxColumnsOffset = 41;
constexpr size_t kVariableColumnsOffset = 43;
constexpr size_t kColumnCountOffset = 45;
constexpr size_t kLogicalIndexCountOffset = 47;
constexpr size_t kPhysicalIndexCountOffset = 51;
constexpr size_t kOwnedPagesOffset = 55;
constexpr size_t kFreeSpacePagesOffset = 59;
constexpr size_t kHeaderEnd = 63;

constexpr size_t kPhysicalIndexHeaderSize = 12;
constexpr size_t kColumnSize = 25;
constexpr size_t kPhysicalIndexSize = 52;
constexpr size_t kLogicalIndexSize = 28;
constexpr size_t kIndexColumnSlots = 10;
constexpr uint16_t kUnusedColumn = 0xFFFF;

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
        if (page->bytes[0] != kTdefPageType) {
            throwCorrupt(source.name(), "page " + std::to_string(current) +
                                            " should hold a table definition but has page type " +
                                            std::to_string(page->bytes[0]));
        }
        size_t skip = buffer.empty() ? 0 : kContinuationHeader;
        buffer.insert(buffer.end(), page->bytes.begin() + static_cast<ptrdiff_t>(skip),
                      page->bytes.end());
        uint32_t next = source.view(*page).u32(4);
        if (next == 0) {
            break;
        }
        current = next;
    }
    return buffer;
}

// A u16 byte length followed by UTF-16LE.
std::string readName(const ByteView& view, size_t& pos) {
    uint16_t length = view.u16(pos);
    ByteView bytes = view.sub(pos + 2, length);
    pos += 2 + length;
    return utf16leToUtf8(bytes.span());
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

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

const Column* TableDefinition::findColumn(std::string_view columnName) const {
    for (const Column& column : columns) {
        if (sameName(column.name, columnName)) {
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
        if (sameName(index.name, indexName)) {
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
    TableDefinition table;
    table.page = page;
    std::vector<uint8_t> buffer = collectDefinition(source, page, table.definitionPages);
    ByteView view(buffer, source.name());

    table.definitionLength = view.u32(8);
    table.rowCount = view.u32(kRowCountOffset);
    table.lastAutoNumber = view.u32(kAutoNumberOffset);
    table.tableType = view.u8(kTableTypeOffset);
    table.maxColumns = view.u16(kMaxColumnsOffset);
    table.variableColumnCount = view.u16(kVariableColumnsOffset);
    uint16_t columnCount = view.u16(kColumnCountOffset);
    uint32_t logicalCount = view.u32(kLogicalIndexCountOffset);
    uint32_t physicalCount = view.u32(kPhysicalIndexCountOffset);
    table.ownedPages = RowPointer::fromRaw(view.u32(kOwnedPagesOffset));
    table.freeSpacePages = RowPointer::fromRaw(view.u32(kFreeSpacePagesOffset));

    size_t pos = kHeaderEnd;
    requireCount(view, pos, physicalCount, kPhysicalIndexHeaderSize + kPhysicalIndexSize, "indexes",
                 page);
    std::vector<uint32_t> entryCounts;
    for (uint32_t n = 0; n < physicalCount; ++n) {
        entryCounts.push_back(view.u32(pos + 4));
        pos += kPhysicalIndexHeaderSize;
    }

    requireCount(view, pos, columnCount, kColumnSize + 2, "columns", page);
    table.columns.resize(columnCount);
    for (Column& column : table.columns) {
        ByteView entry = view.sub(pos, kColumnSize);
        column.definitionOrder = static_cast<uint16_t>(&column - table.columns.data());
        column.typeCode = entry.u8(0);
        column.number = entry.u16(5);
        column.variableIndex = entry.u16(7);
        column.displayIndex = entry.u16(9);
        if (column.type() == ColumnType::Decimal) {
            column.precision = entry.u8(11);
            column.scale = entry.u8(12);
        } else {
            column.sortOrder = entry.u16(11);
            column.sortOrderVersion = entry.u8(14);
        }
        column.flags = entry.u8(15);
        column.extendedFlags = entry.u8(16);
        column.fixedOffset = entry.u16(21);
        column.length = entry.u16(23);
        pos += kColumnSize;
    }
    for (Column& column : table.columns) {
        column.name = readName(view, pos);
    }

    for (uint32_t n = 0; n < physicalCount; ++n) {
        ByteView entry = view.sub(pos, kPhysicalIndexSize);
        PhysicalIndex index;
        index.number = n;
        index.entryCount = entryCounts[n];
        for (size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
            uint16_t columnNumber = entry.u16(4 + slot * 3);
            if (columnNumber != kUnusedColumn) {
                index.columns.push_back(
                    IndexColumn{columnNumber, (entry.u8(6 + slot * 3) & 0x01) != 0});
            }
        }
        index.usageMap = RowPointer::fromRaw(entry.u32(34));
        index.rootPage = entry.u32(38);
        index.flags = entry.u8(46);
        table.physicalIndexes.push_back(std::move(index));
        pos += kPhysicalIndexSize;
    }

    requireCount(view, pos, logicalCount, kLogicalIndexSize + 2, "logical indexes", page);
    for (uint32_t n = 0; n < logicalCount; ++n) {
        ByteView entry = view.sub(pos, kLogicalIndexSize);
        LogicalIndex index;
        index.number = entry.u32(4);
        index.physicalIndex = entry.u32(8);
        index.relatedTableType = entry.u8(12);
        index.relatedIndex = entry.i32(13);
        index.relatedTablePage = entry.u32(17);
        index.kindCode = entry.u8(23);
        if (index.isForeignKey()) {
            // The cascade bytes are only meaningful on foreign-key indexes.
            index.cascadeUpdates = entry.u8(21) == 1;
            index.cascadeDeletes = entry.u8(22) == 1;
            index.cascadeSetNull = entry.u8(22) == 2;
        }
        if (index.physicalIndex >= physicalCount) {
            throwCorrupt(source.name(), "index " + std::to_string(n) + " of the table at page " +
                                            std::to_string(page) +
                                            " refers to a physical index that does not exist");
        }
        table.indexes.push_back(std::move(index));
        pos += kLogicalIndexSize;
    }
    for (LogicalIndex& index : table.indexes) {
        index.name = readName(view, pos);
    }

    // Memo/OLE usage maps: (column number, owned map, free map) until FFFF.
    // Older files may end the definition without the list.
    for (size_t n = 0; n < table.columns.size() && pos + 2 <= view.size(); ++n) {
        uint16_t columnNumber = view.u16(pos);
        if (columnNumber == kUnusedColumn || pos + 10 > view.size()) {
            break;
        }
        auto owned = RowPointer::fromRaw(view.u32(pos + 2));
        auto free = RowPointer::fromRaw(view.u32(pos + 6));
        for (Column& column : table.columns) {
            if (column.number == columnNumber) {
                column.longValueOwnedPages = owned;
                column.longValueFreePages = free;
            }
        }
        pos += 10;
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
