#include "jet/write/database_image.hpp"

#include "base/names.hpp"
#include "jet/format/codes.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

void TableImage::forEachRow(const RowVisitor& visit) const {
    if (rowSource) {
        rowSource->forEach(visit);
        return;
    }
    for (const std::vector<Value>& row : rows) {
        visit(row);
    }
}

TableImage* DatabaseImage::findTable(std::string_view name) {
    for (TableImage& table : tables) {
        if (base::sameName(table.name(), name)) {
            return &table;
        }
    }
    return nullptr;
}

const TableImage* DatabaseImage::findTable(std::string_view name) const {
    return const_cast<DatabaseImage*>(this)->findTable(name);
}

void assignColumnLayout(TableDefinition& definition) {
    uint16_t fixedOffset = 0;
    uint16_t variableIndex = 0;
    uint16_t number = 0;
    for (Column& column : definition.columns) {
        column.number = number;
        column.definitionOrder = number;
        column.displayIndex = number;
        ++number;
        column.flags |= Column::kUpdatable;
        // Jet gives every column but Decimal this sort order.
        if (column.type() != ColumnType::Decimal) {
            column.sortOrder = kGeneralSortOrder;
        }
        int size = fixedSizeOf(column.typeCode);
        if (column.type() == ColumnType::Boolean) {
            column.flags |= Column::kFixedLength;
            column.length = 1;
        } else if (size > 0) {
            column.flags |= Column::kFixedLength;
            column.length = static_cast<uint16_t>(size);
            column.fixedOffset = fixedOffset;
            fixedOffset = static_cast<uint16_t>(fixedOffset + size);
        } else {
            column.flags &= static_cast<uint8_t>(~Column::kFixedLength);
            if ((column.type() == ColumnType::Text || column.type() == ColumnType::Binary) &&
                column.length == 0) {
                throw JetError("table '" + definition.name + "': column '" + column.name +
                               "' needs a size");
            }
            column.variableIndex = variableIndex++;
        }
    }
    definition.maxColumns = number;
    definition.variableColumnCount = variableIndex;
}

}  // namespace orvdb::jet
