#include "jet/row_decoder.hpp"

#include <algorithm>

#include "jet/text_codec.hpp"

namespace orvdb::jet {

namespace {

constexpr size_t kFixedAreaOffset = 2;
constexpr size_t kDecimalSize = 17;

Bytes toBytes(const ByteView& bytes) {
    return Bytes(bytes.data(), bytes.data() + bytes.size());
}

// Jet 4 NUMERIC: a sign byte (non-zero = negative), then the unscaled value as
// four little-endian 32-bit words, the most significant word first.
Decimal decodeDecimal(const Column& column, const ByteView& bytes) {
    unsigned __int128 magnitude = 0;
    for (size_t word = 0; word < 4; ++word) {
        magnitude = (magnitude << 32) | bytes.u32(1 + word * 4);
    }
    Decimal value;
    value.precision = column.precision;
    value.scale = column.scale;
    value.text = formatDecimal(bytes.u8(0) != 0, magnitude, std::min<unsigned>(column.scale, 38));
    return value;
}

}  // namespace

RowDecoder::RowDecoder(const TableDefinition& table, PageSource& source)
    : table_(&table), source_(&source), longValues_(source) {
    hasVariableColumns_ =
        std::any_of(table.columns.begin(), table.columns.end(), [](const Column& column) {
            return !column.isFixedLength() && column.type() != ColumnType::Boolean;
        });
}

std::string RowDecoder::where(const Column& column) const {
    return "column '" + column.name + "' of table '" +
           (table_->name.empty() ? "page " + std::to_string(table_->page) : table_->name) + "'";
}

std::vector<Value> RowDecoder::decode(const ByteView& row) const {
    uint16_t rowColumns = row.u16(0);
    size_t maskLength = (size_t{rowColumns} + 7) / 8;
    if (row.size() < 2 + maskLength) {
        throwCorrupt(source_->name(), "a row of table '" + table_->name + "' is " +
                                          std::to_string(row.size()) + " bytes long but claims " +
                                          std::to_string(rowColumns) + " columns");
    }
    size_t maskStart = row.size() - maskLength;
    auto present = [&](uint16_t number) {
        return number < rowColumns && (row.u8(maskStart + number / 8) >> (number % 8)) & 1;
    };

    uint16_t rowVariables = 0;
    size_t offsetTableEnd = maskStart;  // variable data must end before the offset table
    if (hasVariableColumns_) {
        rowVariables = row.u16(maskStart - 2);
        size_t tableBytes = 2 + (size_t{rowVariables} + 1) * 2;
        if (tableBytes > maskStart - 2) {
            throwCorrupt(source_->name(), "a row of table '" + table_->name + "' claims " +
                                              std::to_string(rowVariables) +
                                              " variable-length columns");
        }
        offsetTableEnd = maskStart - tableBytes;
    }
    auto variableOffset = [&](size_t index) { return row.u16(maskStart - 4 - index * 2); };

    std::vector<Value> values;
    values.reserve(table_->columns.size());
    for (size_t index = 0; index < table_->columns.size(); ++index) {
        const Column& column = table_->columns[index];
        if (!wanted_.empty() && (index >= wanted_.size() || !wanted_[index])) {
            values.emplace_back(std::monostate{});
            continue;
        }
        bool notNull = present(column.number);
        if (column.type() == ColumnType::Boolean) {
            // The null-mask bit is the value; columns added after the row was
            // written read as False, as Access shows them.
            values.emplace_back(notNull);
            continue;
        }
        if (!notNull) {
            values.emplace_back(std::monostate{});
            continue;
        }
        if (column.isFixedLength()) {
            size_t size = fixedSizeOf(column.typeCode);
            if (size == 0) {
                size = column.length;
            }
            size_t start = kFixedAreaOffset + column.fixedOffset;
            if (start + size > offsetTableEnd) {
                throwCorrupt(source_->name(),
                             "the value of " + where(column) + " lies outside its row");
            }
            values.push_back(decodeFixed(column, row.sub(start, size)));
            continue;
        }
        if (column.variableIndex >= rowVariables) {
            values.emplace_back(std::monostate{});
            continue;
        }
        size_t start = variableOffset(column.variableIndex);
        size_t end = variableOffset(column.variableIndex + 1);
        if (start > end || end > offsetTableEnd) {
            throwCorrupt(source_->name(), "the value of " + where(column) +
                                              " has impossible bounds " + std::to_string(start) +
                                              ".." + std::to_string(end));
        }
        values.push_back(decodeVariable(column, row.sub(start, end - start)));
    }
    return values;
}

Value RowDecoder::decodeFixed(const Column& column, const ByteView& bytes) const {
    switch (column.type()) {
        case ColumnType::Byte:
            return int64_t{bytes.u8(0)};
        case ColumnType::Integer:
            return int64_t{bytes.i16(0)};
        case ColumnType::Long:
            return int64_t{bytes.i32(0)};
        case ColumnType::Currency:
            return Currency{bytes.i64(0)};
        case ColumnType::Single:
            return static_cast<double>(bytes.f32(0));
        case ColumnType::Double:
            return bytes.f64(0);
        case ColumnType::DateTime:
            return DateTime{bytes.f64(0)};
        case ColumnType::Guid: {
            Guid guid;
            std::copy_n(bytes.data(), guid.bytes.size(), guid.bytes.begin());
            return guid;
        }
        case ColumnType::Decimal:
            if (bytes.size() < kDecimalSize) {
                throwCorrupt(source_->name(), "the value of " + where(column) + " is too short");
            }
            return decodeDecimal(column, bytes);
        case ColumnType::Text:
            return decodeJetText(bytes.span());
        default:
            return toBytes(bytes);
    }
}

Value RowDecoder::decodeVariable(const Column& column, const ByteView& bytes) const {
    switch (column.type()) {
        case ColumnType::Text:
            return decodeJetText(bytes.span());
        case ColumnType::Memo: {
            Bytes data = longValues_.read(bytes, where(column));
            return decodeJetText(data);
        }
        case ColumnType::OLE:
            return longValues_.read(bytes, where(column));
        case ColumnType::Binary:
        case ColumnType::Unknown0D:
        case ColumnType::Unknown11:
            return toBytes(bytes);
        default:
            // A numeric type without the fixed-length flag: decode it in place
            // when it has the right size.
            if (int size = fixedSizeOf(column.typeCode); size > 0 && bytes.size() >= size_t(size)) {
                return decodeFixed(column, bytes);
            }
            return toBytes(bytes);
    }
}

}  // namespace orvdb::jet
