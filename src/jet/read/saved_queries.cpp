#include "jet/read/saved_queries.hpp"

#include <algorithm>
#include <cstdint>
#include <map>

#include "base/names.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {

namespace {

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

std::vector<QueryRow> SavedQueryRows::inOrder(std::vector<RankedRow> ranked) {
    std::map<uint8_t, std::vector<size_t>> positions;
    for (size_t n = 0; n < ranked.size(); ++n) {
        positions[ranked[n].row.attribute].push_back(n);
    }
    std::vector<QueryRow> rows(ranked.size());
    for (const auto& [attribute, places] : positions) {
        std::vector<size_t> sorted = places;
        std::stable_sort(sorted.begin(), sorted.end(), [&](size_t left, size_t right) {
            return ranked[left].order < ranked[right].order;
        });
        for (size_t n = 0; n < places.size(); ++n) {
            rows[places[n]] = std::move(ranked[sorted[n]].row);
        }
    }
    return rows;
}

SavedQueryRows::SavedQueryRows(const JetFile& file) {
    if (!file.catalog().findTable("MSysQueries")) {
        return;
    }
    objects_ = file.catalog().queries();
    if (objects_.empty()) {
        return;
    }
    auto table = file.table("MSysQueries");
    at_ = Positions{positionOf(*table, "ObjectId"),   positionOf(*table, "Attribute"),
                    positionOf(*table, "Name1"),      positionOf(*table, "Name2"),
                    positionOf(*table, "Expression"), positionOf(*table, "Flag"),
                    positionOf(*table, "LvExtra"),    positionOf(*table, "Order")};
    if (!at_.objectId || !at_.attribute) {
        throwCorrupt(file.name(), "the system table MSysQueries lacks its ObjectId or Attribute");
    }
}

void SavedQueryRows::add(const Row& row) {
    if (!wanted()) {
        return;
    }
    QueryRow queryRow;
    queryRow.attribute = static_cast<uint8_t>(numberAt(row, at_.attribute).value_or(0));
    queryRow.name1 = textAt(row, at_.name1);
    queryRow.name2 = textAt(row, at_.name2);
    queryRow.expression = textAt(row, at_.expression);
    if (auto flag = numberAt(row, at_.flag)) {
        queryRow.flag = static_cast<int16_t>(*flag);
    }
    if (auto extra = numberAt(row, at_.extra)) {
        queryRow.extra = static_cast<int32_t>(*extra);
    }
    RankedRow ranked{std::move(queryRow), {}};
    if (at_.order) {
        if (const auto* order = std::get_if<Bytes>(&row.values[*at_.order])) {
            for (size_t n = 0; n < order->size() && n < sizeof ranked.order; ++n) {
                ranked.order |= uint64_t{(*order)[n]} << (8 * (sizeof ranked.order - 1 - n));
            }
        }
    }
    auto id = static_cast<int32_t>(numberAt(row, at_.objectId).value_or(0));
    rowsByQuery_[id].push_back(std::move(ranked));
}

std::vector<SavedQuery> SavedQueryRows::queries() {
    std::vector<SavedQuery> result;
    for (const CatalogObject* object : objects_) {
        SavedQuery query;
        query.name = object->name;
        query.id = object->id;
        query.flags = object->flags;
        try {
            QueryText text =
                buildQueryText(inOrder(std::move(rowsByQuery_[object->id])), object->flags);
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

std::vector<SavedQuery> readSavedQueries(const JetFile& file) {
    SavedQueryRows rows(file);
    if (!rows.wanted()) {
        return {};
    }
    TableReader reader = file.readTable("MSysQueries");
    Row row;
    while (reader.next(row)) {
        rows.add(row);
    }
    return rows.queries();
}

}  // namespace orvdb::jet
