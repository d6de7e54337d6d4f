// One table of the staging database turned into insert statements for the
// output database, with the values of key fields shifted by the offset.
//
// A pass appends to the run's script: a comment header, one
// "ALTER TABLE T ADD COLUMN C_BIN LONG" per binary column C, then one
//   INSERT INTO T (A, B, C_BIN) VALUES (1, 'x', 2)
// per row. A binary value travels through the numbered blob file given as
// C_BIN's value (written only when the host's object factory has a
// serialisable object for "T_C"). With the re-save flag, rows whose table
// has a host business object are instead loaded, shifted and saved back in
// the staging database through that object, and the pass says so: the run
// then exports the table a second time, without the flag.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/object_factory.hpp"
#include "merge/merge_calls.hpp"
#include "merge/merge_configuration.hpp"
#include "merge/merge_run_lists.hpp"
#include "merge/progress_calls.hpp"

namespace orvdb::merge {

struct TableExportSettings {
    const MergeConfiguration& configuration;
    int32_t offset;
    // Absent: no business objects, no serialised binary values.
    host::ObjectFactory* factory;
    const ProgressCalls& progress;
    iMultiDatabase& container;
};

class TableExport {
public:
    TableExport(const TableExportSettings& settings, MergeRunLists& lists)
        : settings_(settings), lists_(lists) {}

    // Exports `table` of the container's current database; true when at
    // least one row was re-saved through a business object.
    bool run(const std::string& table, bool resave);

    // " ID=12 AND  CODE=7" from the MergeKey_Primary fields of the table.
    std::string rowKeyCondition(const std::string& table, const QueryCalls& row) const;
    // The literal for one non-binary value, or "NULL".
    std::string valueLiteral(const std::string& table, const std::string& column,
                             const std::string& typeWord, const std::string& rowKey,
                             const QueryCalls& row);

private:
    void resaveRow(const std::string& table, const QueryCalls& row, bool& resaved);
    std::string insertStatement(const std::string& table, const QueryCalls& row,
                                const std::string& rowKey);
    void stageBinaryValue(const std::string& table, const std::string& column,
                          const QueryCalls& row, size_t fileNumber);
    bool conditionHolds(const std::string& sql);

    const TableExportSettings& settings_;
    MergeRunLists& lists_;
};

// Doubles every single quote.
std::string quoteText(std::string_view text);
// f + offset as a general-format literal, shortest form with '.' decimals.
std::string shiftedFloatLiteral(float value, int32_t offset);

}  // namespace orvdb::merge
