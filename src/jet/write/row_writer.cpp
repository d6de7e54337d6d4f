#include "jet/write/row_writer.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/long_value.hpp"
#include "jet/format/row.hpp"
#include "jet/write/value_writer.hpp"

namespace orvdb::jet {

namespace {

bool inVariableArea(const Column& column) {
    return !column.isFixedLength() && column.type() != ColumnType::Boolean;
}

size_t fixedSize(const Column& column) {
    int size = fixedSizeOf(column.typeCode);
    return size > 0 ? static_cast<size_t>(size) : column.length;
}

struct VariablePart {
    const Column* column = nullptr;
    Bytes bytes;             // the stored bytes, or the long value's data
    bool longValue = false;  // `bytes` still has to go through the writer
    bool keepInline = false;
};

}  // namespace

uint16_t variableSlotCount(const TableDefinition& table) {
    uint16_t slots = 0;
    bool any = false;
    for (const Column& column : table.columns) {
        if (inVariableArea(column)) {
            any = true;
            slots = std::max<uint16_t>(slots, static_cast<uint16_t>(column.variableIndex + 1));
        }
    }
    return any ? std::max(slots, table.variableColumnCount) : 0;
}

RowEncoder::RowEncoder(const TableDefinition& table, LongValueStores longValues)
    : table_(&table), longValues_(std::move(longValues)) {
    rowColumns_ = table.maxColumns;
    for (const Column& column : table.columns) {
        rowColumns_ = std::max<uint16_t>(rowColumns_, static_cast<uint16_t>(column.number + 1));
        if (column.isFixedLength() && column.type() != ColumnType::Boolean) {
            fixedAreaSize_ = std::max(fixedAreaSize_, column.fixedOffset + fixedSize(column));
        }
    }
    variableSlots_ = variableSlotCount(table);
    hasVariableArea_ = variableSlots_ > 0;
}

ValuePlace RowEncoder::where(size_t rowIndex, const Column& column) const {
    return ValuePlace{table_->name, column.name, rowIndex};
}

Bytes RowEncoder::encode(const std::vector<Value>& values, size_t rowIndex) {
    if (values.size() != table_->columns.size()) {
        throw JetError("row " + std::to_string(rowIndex + 1) + " of table '" + table_->name +
                       "' has " + std::to_string(values.size()) + " values for " +
                       std::to_string(table_->columns.size()) + " columns");
    }
    Bytes fixedArea(fixedAreaSize_, 0);
    std::vector<uint8_t> nullMask(row_layout::nullMaskSize(rowColumns_), 0);
    std::vector<VariablePart> parts(variableSlots_);

    for (size_t index = 0; index < values.size(); ++index) {
        const Column& column = table_->columns[index];
        const Value& value = values[index];
        auto setPresent = [&] {
            nullMask[column.number / 8] |= uint8_t(1u << (column.number % 8));
        };
        if (column.type() == ColumnType::Boolean) {
            const bool* flag = std::get_if<bool>(&value);
            if (!flag && !isNull(value)) {
                throw JetError(where(rowIndex, column).text() +
                               ": a Yes/No column needs True or False");
            }
            if (flag && *flag) {
                setPresent();
            }
            continue;
        }
        if (isNull(value)) {
            continue;
        }
        setPresent();
        if (!inVariableArea(column)) {
            Bytes bytes = encodeFixedValue(column, value, where(rowIndex, column));
            std::copy(bytes.begin(), bytes.end(), fixedArea.begin() + column.fixedOffset);
            continue;
        }
        VariablePart& part = parts[column.variableIndex];
        part.column = &column;
        part.bytes = encodeVariableValue(column, value, where(rowIndex, column));
        part.longValue = column.isLongValue();
        part.keepInline = part.longValue && part.bytes.size() <= kMaxInlineLongValue;
    }

    auto rowSize = [&] {
        size_t size = row_layout::kFixedArea + fixedArea.size() + nullMask.size();
        if (hasVariableArea_) {
            size += row_layout::variableTrailerSize(variableSlots_);
        }
        for (const VariablePart& part : parts) {
            if (part.longValue) {
                size += long_value::kHeaderSize + (part.keepInline ? part.bytes.size() : 0);
            } else {
                size += part.bytes.size();
            }
        }
        return size;
    };
    // Too long: move inline long values out, largest first.
    while (rowSize() > row_layout::kMaxSize) {
        auto largest = std::max_element(
            parts.begin(), parts.end(), [](const VariablePart& a, const VariablePart& b) {
                return (a.keepInline ? a.bytes.size() : 0) < (b.keepInline ? b.bytes.size() : 0);
            });
        if (largest == parts.end() || !largest->keepInline) {
            throw JetError("row " + std::to_string(rowIndex + 1) + " of table '" + table_->name +
                           "' needs " + std::to_string(rowSize()) +
                           " bytes; Jet rows hold at most " + std::to_string(row_layout::kMaxSize));
        }
        largest->keepInline = false;
    }

    ByteWriter row;
    row.u16(rowColumns_);
    row.append(fixedArea);
    std::vector<uint16_t> offsets;
    for (VariablePart& part : parts) {
        offsets.push_back(static_cast<uint16_t>(row.size()));
        if (part.longValue) {
            auto writer = longValues_.find(part.column->number);
            if (writer == longValues_.end() || writer->second == nullptr) {
                throw JetError("internal error: no long-value storage for " +
                               where(rowIndex, *part.column).text());
            }
            row.append(
                writer->second->store(part.bytes, part.keepInline, where(rowIndex, *part.column)));
        } else {
            row.append(part.bytes);
        }
    }
    if (hasVariableArea_) {
        row.u16(static_cast<uint16_t>(row.size()));  // end of the variable data
        for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
            row.u16(*offset);
        }
        row.u16(variableSlots_);
    }
    row.append(nullMask);
    return std::move(row.bytes());
}

}  // namespace orvdb::jet
