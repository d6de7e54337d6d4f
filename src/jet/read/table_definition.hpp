// The table definition (TDEF) pages of one table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "jet/format/column.hpp"
#include "jet/format/index_definition.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/format/tdef.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

// No Jet 4 definition (255 columns, 32 indexes, 64-character names) comes
// near this many pages; it stops a damaged page chain from reading the whole
// file.
inline constexpr uint32_t kMaxDefinitionPages = 256;

struct TableDefinition {
    uint32_t page = 0;  // first TDEF page; also the table's object id
    std::string name;   // from the catalog; empty when read directly
    uint32_t rowCount = 0;
    uint32_t lastAutoNumber = 0;       // the last value handed out
    uint8_t tableType = 0;             // tdef::kUserTable or tdef::kSystemTable
    uint16_t maxColumns = 0;           // includes deleted columns: the row's column count
    uint16_t variableColumnCount = 0;  // variable slots in rows, deleted columns included
    std::vector<Column> columns;       // by column number
    std::vector<PhysicalIndex> physicalIndexes;
    std::vector<LogicalIndex> indexes;  // as stored (by name)
    RowPointer ownedPages;
    RowPointer freeSpacePages;
    uint32_t definitionLength = 0;  // bytes, as recorded
    uint32_t definitionPages = 0;   // pages the definition spans

    // Case-insensitive, as Jet compares names (base/names.hpp); nullptr when absent.
    const Column* findColumn(std::string_view columnName) const;
    const Column* columnByNumber(uint16_t number) const;
    const LogicalIndex* findIndex(std::string_view indexName) const;
    const PhysicalIndex* physicalIndexOf(const LogicalIndex& index) const;
    bool hasLongValueColumns() const;
};

// Reads the definition starting at `page`, following continuation pages.
TableDefinition readTableDefinition(PageSource& source, uint32_t page);

// How users know a physical index: "index 'PrimaryKey', '.rB' (physical
// index 0)", or "physical index 2" when no logical index uses it.
std::string describeIndex(const TableDefinition& table, const PhysicalIndex& index);

}  // namespace orvdb::jet
