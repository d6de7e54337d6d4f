// The bytes Access stores for a row's entry in an index. Entries compare as
// raw bytes, so the key of each column must sort the way Access sorts it:
// integers big-endian with the sign bit flipped, floating point with the
// sign handled, text by the General Legacy sort order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/format/index_definition.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/value.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

struct KeyColumn {
    uint8_t typeCode = 0;  // ColumnType
    bool ascending = true;
    std::string name;       // for messages
    size_t valueIndex = 0;  // position of the column's value in a table row
};

// A text whose key cannot be built because a character has no established
// sort code. The message names the character (U+XXXX) and the column; the
// caller adds the table and the index.
class IndexKeyError : public JetError {
public:
    IndexKeyError(const std::string& message, char32_t character)
        : JetError(message), character_(character) {}
    char32_t character() const { return character_; }

private:
    char32_t character_;
};

// The key columns of `index` in `table`, with where their values are in the
// table's rows. Throws JetError for a column number the table does not have.
std::vector<KeyColumn> keyColumnsOf(const TableDefinition& table, const PhysicalIndex& index);

// Whether a row has an entry in `index`: an index that ignores nulls leaves
// out the rows whose key columns are all Null. `values` as for encodeIndexKey.
bool indexHoldsRow(const PhysicalIndex& index, const std::vector<Value>& values);

// The key of one entry; `values` holds one value per key column. Throws
// IndexKeyError for a character without a sort code, JetError for a value
// that does not suit its column or a column type that cannot be indexed.
std::vector<uint8_t> encodeIndexKey(const std::vector<KeyColumn>& columns,
                                    const std::vector<Value>& values);

// The same for a whole table row (in column order), without copying the
// key columns' values out of it; the key is appended to `out`.
bool indexHoldsTableRow(const PhysicalIndex& index, const std::vector<KeyColumn>& columns,
                        const std::vector<Value>& row);
void appendIndexKey(const std::vector<KeyColumn>& columns, const std::vector<Value>& row,
                    std::vector<uint8_t>& out);

// The key columns' values out of a whole table row (in column order).
std::vector<Value> keyValuesOf(const std::vector<KeyColumn>& columns,
                               const std::vector<Value>& rowValues);

// The text part of a key alone, without the column prefix, ascending.
std::vector<uint8_t> encodeTextKey(const std::string& utf8Text, const std::string& columnName);

}  // namespace orvdb::jet
