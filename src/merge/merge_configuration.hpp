// The key-mapping configuration of a merge, read from the library database's
// MergeKey_* tables, and the decision whether a field's values are keys to
// shift. Every entry is kept upper-cased.
//
//   MergeKey_Element   FromTablename.FromFieldname refers to
//                      toTablename.ToFieldname; the referring field is shifted
//                      only in rows where `condition` holds (empty: always),
//                      the referred field always
//   MergeKey_toChange  further fields that are always shifted
//   MergeKey_Primary   per table, the fields that identify a row (they build
//                      the row key condition a `condition` is tested with)
//   MergeKey_Forbiden  fields that are never shifted, whatever the rest says
#pragma once

#include <orvdb/interfaces.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::merge {

struct MergeConfiguration {
    // MergeKey_Element, one entry per row in all five lists.
    std::vector<std::string> fkFromTable;
    std::vector<std::string> fkFromField;
    std::vector<std::string> fkToTable;
    std::vector<std::string> fkToField;
    std::vector<std::string> fkCondition;
    // MergeKey_toChange
    std::vector<std::string> fkToChangeTable;
    std::vector<std::string> fktoChangeField;
    // MergeKey_Primary
    std::vector<std::string> pk_Table;
    std::vector<std::string> pk_Field;
    // MergeKey_Forbiden
    std::vector<std::string> fk_ForbidenTable;
    std::vector<std::string> fk_ForbidenField;

    // Appends the rows of the four tables of `library` (never clears: a
    // second load repeats every entry, which changes no answer below). A
    // missing table gives no rows, a missing column empty entries.
    void load(iDatabase& library);

    // The fields of MergeKey_Primary for `table`, in list order.
    std::vector<std::string> primaryFields(std::string_view table) const;

    // Runs "SELECT * FROM table WHERE (condition) [AND (rowKey)]" and tells
    // whether it found a row.
    using ConditionProbe = std::function<bool(const std::string& sql)>;

    // Whether the values of table.field are keys to shift in the row that
    // `rowKey` identifies. Conditions are evaluated through `probe`, one
    // select per matching conditioned entry.
    bool isKeyField(std::string_view table, std::string_view field, std::string_view rowKey,
                    const ConditionProbe& probe) const;
};

}  // namespace orvdb::merge
