#include "jet/read/relationships.hpp"

#include <algorithm>
#include <map>

#include "base/names.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {

namespace {

std::string textAt(const Row& row, const TableDefinition& table, std::string_view column) {
    for (size_t n = 0; n < table.columns.size(); ++n) {
        if (base::sameName(table.columns[n].name, column)) {
            if (const auto* text = std::get_if<std::string>(&row.values[n])) {
                return *text;
            }
        }
    }
    return {};
}

int64_t numberAt(const Row& row, const TableDefinition& table, std::string_view column) {
    for (size_t n = 0; n < table.columns.size(); ++n) {
        if (base::sameName(table.columns[n].name, column)) {
            if (const auto* number = std::get_if<int64_t>(&row.values[n])) {
                return *number;
            }
        }
    }
    return 0;
}

}  // namespace

std::vector<Relationship> readRelationships(const JetFile& file) {
    std::vector<Relationship> result;
    if (!file.catalog().findTable("MSysRelationships")) {
        return result;
    }
    auto table = file.table("MSysRelationships");
    TableReader reader = file.readTable("MSysRelationships");
    // Column pairs by relationship, ordered by their position (icolumn).
    std::vector<std::map<int64_t, std::pair<std::string, std::string>>> pairs;
    while (auto row = reader.next()) {
        std::string name = textAt(*row, *table, "szRelationship");
        auto found = std::find_if(result.begin(), result.end(), [&](const Relationship& r) {
            return base::sameName(r.name, name);
        });
        if (found == result.end()) {
            Relationship relationship;
            relationship.name = name;
            relationship.table = textAt(*row, *table, "szObject");
            relationship.referencedTable = textAt(*row, *table, "szReferencedObject");
            relationship.flags = static_cast<uint32_t>(numberAt(*row, *table, "grbit"));
            result.push_back(std::move(relationship));
            pairs.emplace_back();
            found = result.end() - 1;
        }
        auto& columnPairs = pairs[static_cast<size_t>(found - result.begin())];
        columnPairs[numberAt(*row, *table, "icolumn")] = {
            textAt(*row, *table, "szColumn"), textAt(*row, *table, "szReferencedColumn")};
    }
    for (size_t n = 0; n < result.size(); ++n) {
        for (const auto& [position, columns] : pairs[n]) {
            result[n].columns.push_back(columns.first);
            result[n].referencedColumns.push_back(columns.second);
        }
    }
    return result;
}

}  // namespace orvdb::jet
