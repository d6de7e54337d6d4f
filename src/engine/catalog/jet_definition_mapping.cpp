#include "engine/catalog/jet_definition_mapping.hpp"

namespace orvdb::engine {

namespace {

bool propertyTrue(const jet::Value& value) {
    if (auto flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    if (auto i = std::get_if<int64_t>(&value)) {
        return *i != 0;
    }
    return false;
}

std::optional<std::string> propertyText(const jet::Value& value) {
    if (auto text = std::get_if<std::string>(&value)) {
        return *text;
    }
    return std::nullopt;
}

}  // namespace

std::optional<JetType> engineTypeOf(uint8_t code) {
    switch (code) {
        case 1:
            return JetType::Boolean;
        case 2:
            return JetType::Byte;
        case 3:
            return JetType::Integer;
        case 4:
            return JetType::Long;
        case 5:
            return JetType::Currency;
        case 6:
            return JetType::Single;
        case 7:
            return JetType::Double;
        case 8:
            return JetType::DateTime;
        case 9:
            return JetType::Binary;
        case 10:
            return JetType::Text;
        case 11:
            return JetType::OLE;
        case 12:
            return JetType::Memo;
        case 15:
            return JetType::GUID;
        case 16:
            return JetType::Decimal;
        default:
            return std::nullopt;
    }
}

ColumnDef columnDefOf(const jet::Column& jetColumn, const jet::PropertyMap* props) {
    ColumnDef column;
    column.name = jetColumn.name;
    // Column types this engine does not know (Access's internal ones) are kept as bytes.
    column.type = engineTypeOf(jetColumn.typeCode).value_or(JetType::Binary);
    switch (column.type) {
        case JetType::Text:
            column.size = jetColumn.characterLength();
            break;
        case JetType::Binary:
            column.size = jetColumn.length;
            break;
        default:
            column.size = jetFixedSize(column.type);
    }
    column.autoNumber = jetColumn.isAutoNumber() && column.type == JetType::Long;
    column.compressedUnicode = jetColumn.isCompressedUnicode();
    column.precision = jetColumn.precision;
    column.scale = jetColumn.scale;
    if (props) {
        column.required = propertyTrue(props->value("Required"));
        if (props->find("AllowZeroLength")) {
            column.allowZeroLength = propertyTrue(props->value("AllowZeroLength"));
        }
        column.defaultValue = propertyText(props->value("DefaultValue"));
    }
    return column;
}

std::vector<IndexDef> indexDefsOf(const jet::TableDefinition& definition) {
    std::vector<IndexDef> out;
    for (const auto& li : definition.indexes) {
        // The referenced side of a relationship gets a logical index of its
        // own ('.rB' ...) sharing the primary key: the relationship covers it.
        if (li.isForeignKey() && !li.name.empty() && li.name[0] == '.') {
            continue;
        }
        const jet::PhysicalIndex* pi = definition.physicalIndexOf(li);
        if (!pi) {
            continue;
        }
        IndexDef index;
        index.name = li.name;
        // Jet's own tables have primary keys that allow nulls (MSysQueries
        // leaves Order empty): only a key that requires values is one here.
        index.primary = li.isPrimaryKey() &&
                        (pi->isRequired() || definition.tableType != jet::tdef::kSystemTable);
        index.foreignKey = li.isForeignKey();
        index.unique = pi->isUnique() || index.primary;
        index.ignoreNulls = pi->ignoresNulls();
        index.required = pi->isRequired();
        bool complete = true;
        for (const auto& indexColumn : pi->columns) {
            const jet::Column* jetColumn = definition.columnByNumber(indexColumn.columnNumber);
            if (!jetColumn) {
                complete = false;
                break;
            }
            index.columns.push_back({jetColumn->name, !indexColumn.ascending});
        }
        if (complete && !index.columns.empty()) {
            out.push_back(std::move(index));
        }
    }
    return out;
}

}  // namespace orvdb::engine
