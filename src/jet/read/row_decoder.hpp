// Turns the bytes of one row (format/row.hpp) into values, column by column.
// Columns are found by their number and variable index, so rows written
// before columns were added or deleted read correctly.
#pragma once

#include <string>
#include <vector>

#include "jet/format/byte_view.hpp"
#include "jet/format/value.hpp"
#include "jet/read/long_value.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

class RowDecoder {
public:
    RowDecoder(const TableDefinition& table, PageSource& source);

    // One value per column of the table, in the table's column order.
    // Throws JetError when the row contradicts itself: more columns than the
    // table ever had, variable-length data overlapping the fixed area or the
    // offsets, offsets out of order, long values that do not add up.
    std::vector<Value> decode(const ByteView& row) const;
    // The same into `values`, resized to the column count; text and binary
    // values reuse the buffers a previous row left there.
    void decode(const ByteView& row, std::vector<Value>& values) const;

    // Restricts decoding to the columns whose flag is set (by position in the
    // table's column list); the others read as Null. Saves reading long
    // values nobody asked for.
    void selectColumns(std::vector<bool> wanted) { wanted_ = std::move(wanted); }

private:
    size_t fixedAreaEnd(uint16_t rowColumns) const;
    void verifyVariableData(const ByteView& row, size_t maskStart, uint16_t variables,
                            size_t fixedEnd, size_t offsetTableEnd, bool exactLayout) const;
    [[noreturn]] void rowDamaged(const std::string& what) const;
    void decodeFixed(size_t index, const ByteView& bytes, Value& out) const;
    void decodeVariable(size_t index, const ByteView& bytes, Value& out) const;

    const TableDefinition* table_;
    PageSource* source_;
    LongValueReader longValues_;
    std::vector<std::string> where_;  // names each column for messages
    bool hasVariableColumns_ = false;
    std::vector<bool> wanted_;  // empty: all columns
    mutable int fixedEndColumns_ = -1;  // the column count fixedEnd_ is for
    mutable size_t fixedEnd_ = 0;
};

}  // namespace orvdb::jet
