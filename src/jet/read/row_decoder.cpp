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

void RowDecoder::decode(const ByteView& row, std::vector<Value>& values) const {
    uint16_t rowColumns = row.u16(kColumnCount);
    size_t maskLength = nullMaskSize(rowColumns);
    if (row.size() < kFixedArea + maskLength) {
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
        rowVariables = row.u16(maskStart - kOffsetSize);
        size_t tableBytes = variableTrailerSize(rowVariables);
        if (tableBytes > maskStart - kOffsetSize) {
            throwCorrupt(source_->name(), "a row of table '" + table_->name + "' claims " +
                                              std::to_string(rowVariables) +
                                              " variable-length columns");
        }
        offsetTableEnd = maskStart - tableBytes;
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
            Bytes data = longValues_.read(bytes, where_[index]);
            assignText(data, out);
            return;
        }
        case ColumnType::OLE:
            out = longValues_.read(bytes, where_[index]);
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
