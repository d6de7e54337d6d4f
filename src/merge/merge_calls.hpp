// The merge drives every database through the host's interfaces, as the
// host itself would: these wrappers take and give UTF-8 texts and turn a
// failure status into an exception at the call site.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace orvdb::merge {

// One query cursor of a database's query stack.
class QueryCalls {
public:
    explicit QueryCalls(ComPtr<iQueryDatabase> query) : query_(std::move(query)) {}

    int32_t type() const;
    void setType(int32_t kind) const;
    // The statement in the cursor's current type; true when a select found a
    // row or an action statement changed one.
    bool open(std::string_view sql) const;
    // True while the cursor stands on a row.
    bool opened() const;
    void next() const;
    int32_t recordCount() const;
    int32_t fieldCount() const;
    // Name and type word of column `index`.
    void fieldStructure(int32_t index, std::string& name, std::string& typeWord) const;
    std::string text(std::string_view field) const;
    int32_t integer(std::string_view field) const;
    float single(std::string_view field) const;
    void getSerializable(std::string_view field, iSerializable& object) const;

    iQueryDatabase& get() const { return *query_; }

private:
    ComPtr<iQueryDatabase> query_;
};

// Statement types of a query cursor.
constexpr int32_t kSelectStatement = 0;
constexpr int32_t kActionStatement = 1;

// PushQuery, then the new current query.
QueryCalls pushQuery(iDatabase& database);
QueryCalls activeQuery(iDatabase& database);
void popQuery(iDatabase& database);

// PushTable, then the new current table.
ComPtr<iTableDatabase> pushTable(iDatabase& database);
void popTable(iDatabase& database);

// A table cursor: opens a table, positions on a row by Id, loads a file into
// a binary column of that row.
void openTable(iTableDatabase& table, std::string_view name);
void seekRow(iTableDatabase& table, std::string_view id);
void saveFileInBlobField(iTableDatabase& table, std::string_view file, std::string_view field);

// The container: make the database under `name` current and return it.
ComPtr<iDatabase> useDatabase(iMultiDatabase& container, std::string_view name);
ComPtr<iDatabase> currentDatabase(iMultiDatabase& container);

}  // namespace orvdb::merge
