#include "jet/read/row_decoder.hpp"

#include <algorithm>

#include "jet/format/row.hpp"
#include "jet/format/text_codec.hpp"

namespace orvdb::jet {

namespace {

using namespace row_layout;

// Filling a value of the same kind as the previous row's keeps its buffer.
template <typename T>
T& reuse(Value& value) {
    if (T* held = std::get_if<T>(&value)) {
        return *held;
    }
    return value.emplace<T>();
}

void assignBytes(const ByteView& bytes, Value& out) {
    reuse<Bytes>(out).assign(bytes.data(), bytes.data() + bytes.size());
}

void assignText(std::span<const uint8_t> stored, Value& out) {
    decodeJetText(stored, reuse<std::string>(out));
}

Decimal decodeDecimal(const Column& column, const ByteView& bytes) {
    unsigned __int128 magnitude = 0;
    for (size_t word = 0; word < decimal_layout::kWordCount; ++word) {
        magnitude = (magnitude << 32) | bytes.u32(decimal_layout::kWords + word * 4);
    }
    Decimal value;
    value.precision = column.precision;
    value.scale = column.scale;
    bool negative = bytes.u8(decimal_layout::kSign) != 0;
    value.text = formatDecimal(negative, magnitude, std::min<unsigned>(column.scale, 38));
    return value;
}

}  // namespace

RowDecoder::RowDecoder(const TableDefinition& table, PageSource& source)
    : table_(&table), source_(&source), longValues_(source) {
    hasVariableColumns_ =
        std::any_of(table.columns.begin(), table.columns.end(), [](const Column& column) {
            return !column.isFixedLength() && column.type() != ColumnType::Boolean;
        });
    std::string tableName = table.name.empty() ? "page " + std::to_string(table.page) : table.name;
    for (const Column& column : table.columns) {
        where_.push_back("column '" + column.name + "' of table '" + tableName + "'");
    }
}

std::vector<Value> RowDecoder::decode(const ByteView& row) const {
    std::vector<Value> values;
    decode(row, values);
    return values;
}

size_t RowDecoder::fixedAreaEnd(uint16_t rowColumns) const {
    if (rowColumns == fixedEndColumns_) {
        return fixedEnd_;  // rows of a table mostly share their column count
    }
    size_t end = kFixedArea;
    for (const Column& column : table_->columns) {
        if (!column.isFixedLength() || column.type() == ColumnType::Boolean ||
            column.number >= rowColumns) {
            continue;
        }
        size_t size = fixedSizeOf(column.typeCode);
        end = std::max(end, kFixedArea + column.fixedOffset + (size == 0 ? column.length : size));
    }
    fixedEndColumns_ = rowColumns;
    fixedEnd_ = end;
    return end;
}

void RowDecoder::rowDamaged(const std::string& what) const {
    throwCorrupt(source_->name(), "a row of table '" + table_->name + "' " + what);
}

void RowDecoder::decode(const ByteView& row, std::vector<Value>& values) const {
    uint16_t rowColumns = row.u16(kColumnCount);
    size_t maskLength = nullMaskSize(rowColumns);
    if (row.size() < kFixedArea + maskLength) {
        rowDamaged("is " + std::to_string(row.size()) + " bytes long but claims " +
                   std::to_string(rowColumns) + " columns");
    }
    if (rowColumns > table_->maxColumns) {
        rowDamaged("claims " + std::to_string(rowColumns) + " columns, the table has had " +
                   std::to_string(table_->maxColumns));
    }
    size_t maskStart = row.size() - maskLength;
    auto present = [&](uint16_t number) {
        return number < rowColumns && (row.u8(maskStart + number / 8) >> (number % 8)) & 1;
    };

    // Where the row's fixed-length values end, as its column count says;
    // a table that lost columns may keep more room than its columns use.
    size_t fixedEnd = fixedAreaEnd(rowColumns);
    bool exactLayout = table_->maxColumns == table_->columns.size();
    uint16_t rowVariables = 0;
    size_t offsetTableEnd = maskStart;  // variable data must end before the offset table
    if (hasVariableColumns_) {
        rowVariables = row.u16(maskStart - kOffsetSize);
        size_t tableBytes = variableTrailerSize(rowVariables);
        if (tableBytes > maskStart - kOffsetSize || rowVariables > table_->variableColumnCount) {
            rowDamaged("claims " + std::to_string(rowVariables) + " variable-length columns");
        }
        offsetTableEnd = maskStart - tableBytes;
        verifyVariableData(row, maskStart, rowVariables, fixedEnd, offsetTableEnd, exactLayout);
    } else if (fixedEnd > maskStart || (exactLayout && fixedEnd != maskStart)) {
        rowDamaged("is " + std::to_string(row.size()) + " bytes long, its " +
                   std::to_string(rowColumns) + " columns take " +
                   std::to_string(fixedEnd + maskLength));
    }
    auto variableOffset = [&](size_t index) {
        return row.u16(maskStart - variableOffsetBeforeMask(index));
    };

    values.resize(table_->columns.size());
    for (size_t index = 0; index < table_->columns.size(); ++index) {
        const Column& column = table_->columns[index];
        Value& value = values[index];
        if (!wanted_.empty() && (index >= wanted_.size() || !wanted_[index])) {
            value = std::monostate{};
            continue;
        }
        bool notNull = present(column.number);
        if (column.type() == ColumnType::Boolean) {
            // The null-mask bit is the value; columns added after the row was
            // written read as False, as Access shows them.
            value = notNull;
            continue;
        }
        if (!notNull) {
            value = std::monostate{};
            continue;
        }
        if (column.isFixedLength()) {
            size_t size = fixedSizeOf(column.typeCode);
            if (size == 0) {
                size = column.length;
            }
            size_t start = kFixedArea + column.fixedOffset;
            if (start + size > offsetTableEnd) {
                throwCorrupt(source_->name(),
                             "the value of " + where_[index] + " lies outside its row");
            }
            decodeFixed(index, row.sub(start, size), value);
            continue;
        }
        if (column.variableIndex >= rowVariables) {
            value = std::monostate{};
            continue;
        }
        size_t start = variableOffset(column.variableIndex);
        size_t end = variableOffset(column.variableIndex + 1);
        if (start > end || end > offsetTableEnd) {
            throwCorrupt(source_->name(), "the value of " + where_[index] +
                                              " has impossible bounds " + std::to_string(start) +
                                              ".." + std::to_string(end));
        }
        decodeVariable(index, row.sub(start, end - start), value);
    }
}

// The variable data lies between the fixed area and the offsets, in column
// order; Access pads it with zeros at most. A row read with bounds moved by
// damage breaks one of these.
void RowDecoder::verifyVariableData(const ByteView& row, size_t maskStart, uint16_t variables,
                                    size_t fixedEnd, size_t offsetTableEnd,
                                    bool exactLayout) const {
    size_t previous = 0;
    for (size_t index = 0; index <= variables; ++index) {
        size_t offset = row.u16(maskStart - variableOffsetBeforeMask(index));
        if (offset < previous) {
            rowDamaged("has variable-length offsets out of order (" + std::to_string(offset) +
                       " after " + std::to_string(previous) + ")");
        }
        previous = offset;
        if (index == 0 && (offset < fixedEnd || (exactLayout && offset != fixedEnd))) {
            rowDamaged("starts its variable-length data at " + std::to_string(offset) +
                       ", its fixed-length values end at " + std::to_string(fixedEnd));
        }
    }
    if (previous > offsetTableEnd) {
        rowDamaged("ends its variable-length data at " + std::to_string(previous) +
                   ", past its offsets at " + std::to_string(offsetTableEnd));
    }
    for (size_t at = previous; at < offsetTableEnd; ++at) {
        if (row.u8(at) != 0) {
            rowDamaged("has data between the end of its values (" + std::to_string(previous) +
                       ") and its offsets (" + std::to_string(offsetTableEnd) + ")");
        }
    }
}

void RowDecoder::decodeFixed(size_t index, const ByteView& bytes, Value& out) const {
    const Column& column = table_->columns[index];
    switch (column.type()) {
        case ColumnType::Byte:
            out = int64_t{bytes.u8(0)};
            return;
        case ColumnType::Integer:
            out = int64_t{bytes.i16(0)};
            return;
        case ColumnType::Long:
            out = int64_t{bytes.i32(0)};
            return;
        case ColumnType::Currency:
            out = Currency{bytes.i64(0)};
            return;
        case ColumnType::Single:
            out = static_cast<double>(bytes.f32(0));
            return;
        case ColumnType::Double:
            out = bytes.f64(0);
            return;
        case ColumnType::DateTime:
            out = DateTime{bytes.f64(0)};
            return;
        case ColumnType::Guid: {
            Guid guid;
            std::copy_n(bytes.data(), guid.bytes.size(), guid.bytes.begin());
            out = guid;
            return;
        }
        case ColumnType::Decimal:
            if (bytes.size() < decimal_layout::kSize) {
                throwCorrupt(source_->name(), "the value of " + where_[index] + " is too short");
            }
            out = decodeDecimal(column, bytes);
            return;
        case ColumnType::Text:
            assignText(bytes.span(), out);
            return;
        default:
            assignBytes(bytes, out);
            return;
    }
}

void RowDecoder::decodeVariable(size_t index, const ByteView& bytes, Value& out) const {
    const Column& column = table_->columns[index];
    switch (column.type()) {
        case ColumnType::Text:
            assignText(bytes.span(), out);
            return;
        case ColumnType::Memo: {
            Bytes data = longValues_.read(bytes, where_[index], column);
            assignText(data, out);
            return;
        }
        case ColumnType::OLE:
            out = longValues_.read(bytes, where_[index], column);
            return;
        case ColumnType::Binary:
        case ColumnType::Unknown0D:
        case ColumnType::Unknown11:
            assignBytes(bytes, out);
            return;
        default:
            // A numeric type without the fixed-length flag: decode it in place
            // when it has the right size.
            if (int size = fixedSizeOf(column.typeCode); size > 0 && bytes.size() >= size_t(size)) {
                decodeFixed(index, bytes, out);
                return;
            }
            assignBytes(bytes, out);
            return;
    }
}

}  // namespace orvdb::jet
