#include "jet/read/saved_queries.hpp"

#include <map>

#include "base/names.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {

namespace {

struct ColumnPositions {
    std::optional<size_t> objectId, attribute, name1, name2, expression, flag, extra;
};

std::optional<size_t> positionOf(const TableDefinition& table, std::string_view name) {
    for (size_t n = 0; n < table.columns.size(); ++n) {
        if (base::sameName(table.columns[n].name, name)) {
            return n;
        }
    }
    return std::nullopt;
}

std::optional<std::string> textAt(const Row& row, std::optional<size_t> position) {
    if (position) {
        if (const auto* text = std::get_if<std::string>(&row.values[*position])) {
            return *text;
        }
    }
    return std::nullopt;
}

std::optional<int64_t> numberAt(const Row& row, std::optional<size_t> position) {
    if (position) {
        if (const auto* number = std::get_if<int64_t>(&row.values[*position])) {
            return *number;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<SavedQuery> readSavedQueries(const JetFile& file) {
    std::vector<SavedQuery> result;
    std::vector<const CatalogObject*> objects = file.catalog().queries();
    if (objects.empty() || !file.catalog().findTable("MSysQueries")) {
        return result;
    }
    auto table = file.table("MSysQueries");
    ColumnPositions at{positionOf(*table, "ObjectId"),   positionOf(*table, "Attribute"),
                       positionOf(*table, "Name1"),      positionOf(*table, "Name2"),
                       positionOf(*table, "Expression"), positionOf(*table, "Flag"),
                       positionOf(*table, "LvExtra")};
    if (!at.objectId || !at.attribute) {
        throwCorrupt(file.name(), "the system table MSysQueries lacks its ObjectId or Attribute");
    }
    std::map<int32_t, std::vector<QueryRow>> rowsByQuery;
    TableReader reader = file.readTable("MSysQueries");
    while (auto row = reader.next()) {
        QueryRow queryRow;
        queryRow.attribute = static_cast<uint8_t>(numberAt(*row, at.attribute).value_or(0));
        queryRow.name1 = textAt(*row, at.name1);
        queryRow.name2 = textAt(*row, at.name2);
        queryRow.expression = textAt(*row, at.expression);
        if (auto flag = numberAt(*row, at.flag)) {
            queryRow.flag = static_cast<int16_t>(*flag);
        }
        if (auto extra = numberAt(*row, at.extra)) {
            queryRow.extra = static_cast<int32_t>(*extra);
        }
        auto id = static_cast<int32_t>(numberAt(*row, at.objectId).value_or(0));
        rowsByQuery[id].push_back(std::move(queryRow));
    }
    for (const CatalogObject* object : objects) {
        SavedQuery query;
        query.name = object->name;
        query.id = object->id;
        query.flags = object->flags;
        try {
            QueryText text = buildQueryText(rowsByQuery[object->id], object->flags);
            query.kind = text.kind;
            query.sql = std::move(text.sql);
            query.connect = std::move(text.connect);
        } catch (const QueryTextError& error) {
            query.problem = error.what();
        }
        result.push_back(std::move(query));
    }
    return result;
}

}  // namespace orvdb::jet
