// Lays out one row of a table (format/row.hpp).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/write/long_value_writer.hpp"
#include "jet/write/value_writer.hpp"

namespace orvdb::jet {

class RowEncoder {
public:
    // The storage of each Memo/OLE column's long values, by column number.
    using LongValueStores = std::map<uint16_t, LongValueStore*>;
    RowEncoder(const TableDefinition& table, LongValueStores longValues);

    // One value per column in definition order. Throws JetError naming the
    // table, row and column for values the column cannot hold, and for rows
    // that stay too long even with their long values moved out.
    Bytes encode(const std::vector<Value>& values, size_t rowIndex);

private:
    ValuePlace where(size_t rowIndex, const Column& column) const;

    const TableDefinition* table_;
    LongValueStores longValues_;
    uint16_t rowColumns_ = 0;
    uint16_t variableSlots_ = 0;
    size_t fixedAreaSize_ = 0;
    bool hasVariableArea_ = false;
};

// The variable-column slots a row of `table` carries: none when no live
// column is stored in the variable area.
uint16_t variableSlotCount(const TableDefinition& table);

}  // namespace orvdb::jet
