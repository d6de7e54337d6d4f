#include "merge/merge_configuration.hpp"

#include "merge/merge_calls.hpp"
#include "merge/upper_case.hpp"

#include <initializer_list>
#include <utility>

namespace orvdb::merge {

namespace {

using Column = std::pair<const char*, std::vector<std::string>*>;

// Every row of `sql`, each listed column read as text, upper-cased and
// appended to its list.
void readRows(QueryCalls& query, const char* sql, std::initializer_list<Column> columns) {
    query.open(sql);
    while (query.opened()) {
        for (const auto& [name, list] : columns) {
            list->push_back(upperCased(query.text(name)));
        }
        query.next();
    }
}

bool contains(const std::vector<std::string>& tables, const std::vector<std::string>& fields,
              const std::string& table, const std::string& field) {
    for (size_t i = 0; i < tables.size() && i < fields.size(); ++i) {
        if (tables[i] == table && fields[i] == field) {
            return true;
        }
    }
    return false;
}

}  // namespace

void MergeConfiguration::load(iDatabase& library) {
    QueryCalls query = pushQuery(library);
    readRows(query, "SELECT * FROM MergeKey_Element",
             {{"FromTablename", &fkFromTable},
              {"FromFieldname", &fkFromField},
              {"toTablename", &fkToTable},
              {"ToFieldname", &fkToField},
              {"condition", &fkCondition}});
    readRows(query, "SELECT * FROM MergeKey_toChange",
             {{"Fieldname", &fktoChangeField}, {"Tablename", &fkToChangeTable}});
    readRows(query, "SELECT * FROM MergeKey_Primary",
             {{"Fieldname", &pk_Field}, {"Tablename", &pk_Table}});
    readRows(query, "SELECT * FROM MergeKey_Forbiden",
             {{"Tablename", &fk_ForbidenTable}, {"Fieldname", &fk_ForbidenField}});
    popQuery(library);
}

std::vector<std::string> MergeConfiguration::primaryFields(std::string_view table) const {
    const std::string upper = upperCased(table);
    std::vector<std::string> fields;
    for (size_t i = 0; i < pk_Table.size() && i < pk_Field.size(); ++i) {
        if (pk_Table[i] == upper) {
            fields.push_back(pk_Field[i]);
        }
    }
    return fields;
}

bool MergeConfiguration::isKeyField(std::string_view tableName, std::string_view fieldName,
                                    std::string_view rowKey, const ConditionProbe& probe) const {
    const std::string table = upperCased(tableName);
    const std::string field = upperCased(fieldName);
    bool result = false;
    for (size_t i = 0; i < fkFromTable.size() && !result; ++i) {
        if (fkFromTable[i] == table && fkFromField[i] == field) {
            if (fkCondition[i].empty()) {
                result = true;
            } else {
                std::string sql = "SELECT * FROM " + table + " WHERE (" + fkCondition[i] + ")";
                if (!rowKey.empty()) {
                    sql += " AND (" + std::string(rowKey) + ")";
                }
                result = probe(sql);
            }
        }
        if (!result) {
            result = fkToTable[i] == table && fkToField[i] == field;
        }
    }
    if (!result) {
        result = contains(fkToChangeTable, fktoChangeField, table, field);
    }
    if (result) {
        result = !contains(fk_ForbidenTable, fk_ForbidenField, table, field);
    }
    return result;
}

}  // namespace orvdb::merge
