#include "engine/catalog/jet_definition_mapping.hpp"

namespace orvdb::engine {

namespace {

bool propertyTrue(const jet::Value& v) {
    if (auto b = std::get_if<bool>(&v)) {
        return *b;
    }
    if (auto i = std::get_if<int64_t>(&v)) {
        return *i != 0;
    }
    return false;
}

std::optional<std::string> propertyText(const jet::Value& v) {
    if (auto s = std::get_if<std::string>(&v)) {
        return *s;
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

ColumnDef columnDefOf(const jet::Column& c, const jet::PropertyMap* props) {
    ColumnDef d;
    d.name = c.name;
    // Column types this engine does not know (Access's internal ones) are kept as bytes.
    d.type = engineTypeOf(c.typeCode).value_or(JetType::Binary);
    switch (d.type) {
        case JetType::Text:
            d.size = c.characterLength();
            break;
        case JetType::Binary:
            d.size = c.length;
            break;
        default:
            d.size = jetFixedSize(d.type);
    }
    d.autoNumber = c.isAutoNumber() && d.type == JetType::Long;
    d.compressedUnicode = c.isCompressedUnicode();
    d.precision = c.precision;
    d.scale = c.scale;
    if (props) {
        d.required = propertyTrue(props->value("Required"));
        if (props->find("AllowZeroLength")) {
            d.allowZeroLength = propertyTrue(props->value("AllowZeroLength"));
        }
        d.defaultValue = propertyText(props->value("DefaultValue"));
    }
    return d;
}

std::vector<IndexDef> indexDefsOf(const jet::TableDefinition& def) {
    std::vector<IndexDef> out;
    for (const auto& li : def.indexes) {
        // The referenced side of a relationship gets a logical index of its
        // own ('.rB' ...) sharing the primary key: the relationship covers it.
        if (li.isForeignKey() && !li.name.empty() && li.name[0] == '.') {
            continue;
        }
        const jet::PhysicalIndex* pi = def.physicalIndexOf(li);
        if (!pi) {
            continue;
        }
        IndexDef ix;
        ix.name = li.name;
        // Jet's own tables have primary keys that allow nulls (MSysQueries
        // leaves Order empty): only a key that requires values is one here.
        ix.primary =
            li.isPrimaryKey() && (pi->isRequired() || def.tableType != jet::tdef::kSystemTable);
        ix.foreignKey = li.isForeignKey();
        ix.unique = pi->isUnique() || ix.primary;
        ix.ignoreNulls = pi->ignoresNulls();
        ix.required = pi->isRequired();
        bool complete = true;
        for (const auto& ic : pi->columns) {
            const jet::Column* c = def.columnByNumber(ic.columnNumber);
            if (!c) {
                complete = false;
                break;
            }
            ix.columns.push_back({c->name, !ic.ascending});
        }
        if (complete && !ix.columns.empty()) {
            out.push_back(std::move(ix));
        }
    }
    return out;
}

}  // namespace orvdb::engine
