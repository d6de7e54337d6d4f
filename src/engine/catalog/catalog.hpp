// The Jet catalog of a working store: tables with their Jet column
// definitions, indexes, relationships and saved queries, kept in hidden
// tables of the store and in the Jet system tables (MSysObjects,
// MSysRelationships, MSysQueries, MSysACEs) so that SQL on those answers as
// on a Jet file, and so that a write-back can reproduce the definitions.
//
// Each user table is a SQLite table of the same name whose columns carry no
// declared type: values are converted by jet_coerce() when written, rules
// (required, zero-length, primary keys, referential integrity) are enforced by
// triggers generated from the catalog, and every index is created with the
// JETTEXT collation so that the translator's comparisons can use it.
#pragma once

#include "base/names.hpp"
#include "engine/jet_types.hpp"
#include "engine/sql/translate/schema_resolver.hpp"
#include "engine/store/sqlite_util.hpp"
#include "jet/format/codes.hpp"

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine {

// Codes of the Jet system tables (jet/format/codes.hpp).
using ::orvdb::jet::kContainersId;
using ::orvdb::jet::kDatabaseObjectId;
using ::orvdb::jet::kDatabasesContainerId;
using ::orvdb::jet::kRelationshipsContainerId;
using ::orvdb::jet::kTablesContainerId;
using ::orvdb::jet::ObjectType;
using ::orvdb::jet::QueryKind;
namespace relationship_flags = ::orvdb::jet::relationship_flags;

// Names compare without regard to case, as everywhere (base/names.hpp).
using base::foldName;
using base::sameName;

struct TableInfo {
    int64_t id = 0;  // MSysObjects.Id
    std::string name;
    std::string storedName;
    bool system = false;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;
    int64_t lastAutoNumber = 0;  // last value handed out

    const ColumnDef* findColumn(std::string_view name) const;
    const IndexDef* primaryKey() const;
    const ColumnDef* autoNumberColumn() const;
};

// One relationship (all its column pairs): foreignTable.foreignColumns refer
// to primaryTable.primaryColumns.
struct Relationship {
    std::string name;
    std::string foreignTable;
    std::vector<std::string> foreignColumns;
    std::string primaryTable;
    std::vector<std::string> primaryColumns;
    int32_t grbit = 0;  // relationship_flags
};

// A saved query. Views made by CREATE VIEW are selects; a mirrored Jet file
// also brings its action queries, kept with their kind for listing.
struct ViewInfo {
    int64_t id = 0;
    std::string name;
    std::string sql;  // Access SQL
    QueryKind kind = QueryKind::Select;

    bool isSelect() const { return kind == QueryKind::Select || kind == QueryKind::Union; }
    // Selects, unions and crosstabs: queries other queries can read from.
    bool returnsRows() const { return isSelect() || kind == QueryKind::Crosstab; }
};

class Catalog : public sql::SchemaResolver {
public:
    explicit Catalog(sqlite3* db);

    // True when the store holds a catalog.
    static bool hasCatalog(sqlite3* db);
    // (Re)reads the in-memory model from the store.
    void load();

    // --- building a store from a Jet file (the caller loads rows and calls
    // load() at the end; catalog_load.cpp, index_ddl.cpp) ---
    void initializeHidden();
    // Records the definitions of the tables (indexes included) with the ids,
    // names and counters given, and creates the store tables of those whose
    // rows are present; no index is built yet.
    void registerTables(const std::vector<TableInfo>& tables);
    // load() with the definitions just given to registerTables, the only
    // ones in the store, taken as they are instead of read back.
    void loadRegistered(std::vector<TableInfo> tables);
    // The store table of a table whose rows were not present, before they
    // are loaded (nothing when it exists already).
    void createStoredTable(const TableInfo& table);
    void registerSavedQuery(int64_t id, const std::string& name, const std::string& sql,
                            QueryKind kind);
    // Builds the store indexes of a table whose rows are present; what could
    // not be built is returned.
    std::vector<std::string> materializeIndexes(const TableInfo& table);
    // The rows of a table are only in the store once loaded (a mirrored Jet
    // file loads them when first used): its store indexes and triggers come
    // with them. Without a check, every table's rows are present.
    void setRowsPresentCheck(std::function<bool(int64_t)> check) {
        rowsPresent_ = std::move(check);
    }
    bool rowsPresent(int64_t id) const { return !rowsPresent_ || rowsPresent_(id); }
    // The rows of these tables were loaded: their indexes and triggers now.
    // Returns what could not be built (a unique index over duplicates).
    std::vector<std::string> rowsLoaded(const std::set<int64_t>& ids);
    static std::string storedNameFor(const std::string& name);
    void rebuildTriggers(const TableInfo& table);
    // A table's triggers hold its own rules and those of every relationship
    // it is on: a definition of these tables changes theirs and their
    // partners', nobody else's.
    void rebuildTriggersNear(std::initializer_list<std::string_view> names);

    // --- queries (catalog.cpp) ---
    const TableInfo* findTableInfo(std::string_view name) const;
    const ViewInfo* findViewInfo(std::string_view name) const;
    std::vector<const TableInfo*> tables() const;  // in creation order
    std::vector<const ViewInfo*> views() const;
    const std::vector<Relationship>& relationships() const { return relationships_; }
    std::vector<std::string> userTableNames() const;

    std::optional<sql::ResolvedTable> findTable(std::string_view name) const override;
    std::optional<sql::ResolvedView> findView(std::string_view name) const override;
    void statementBegins(bool changesData) const override { changesData_ = changesData; }

    // The name statements use for a table: a mirrored Jet file may first
    // load the table's rows, or let a statement that only reads it read the
    // file directly. Without a source, the table's stored name.
    using TableNameSource = std::function<std::string(const TableInfo& table, bool changesData)>;
    void setTableNameSource(TableNameSource source) { tableNameSource_ = std::move(source); }

    // --- DDL; each is whole or changes nothing; errors in Jet's wording
    // (table_ddl.cpp, index_ddl.cpp, relationship_ddl.cpp, view_ddl.cpp) ---
    void createTable(const std::string& name, std::vector<ColumnDef> columns,
                     std::vector<IndexDef> indexes, bool system = false);
    void dropTable(std::string_view name);  // also drops a view of that name
    void addColumn(std::string_view table, ColumnDef column);
    void alterColumn(std::string_view table, ColumnDef column);
    void dropColumn(std::string_view table, std::string_view column);
    void createIndex(std::string_view table, IndexDef index);
    void dropIndex(std::string_view table, std::string_view index);
    void addRelationship(Relationship relationship);
    // Drops an index or a relationship called name on table.
    void dropConstraint(std::string_view table, std::string_view name);
    void createView(const std::string& name, const std::string& sql);
    void dropView(std::string_view name);

    // Where new tables get their ids: a mirrored Jet file sets aside a free
    // page for the table's definition (the id of a Jet table is its page).
    void setTableIdSource(std::function<int64_t()> source) { tableIdSource_ = std::move(source); }

    // --- autonumbers (autonumbers.cpp) ---
    int64_t nextAutoNumber(std::string_view storedName);
    void noteAutoNumber(std::string_view storedName, int64_t value);
    // Writes changed counters to the store.
    void flushAutoNumbers();

private:
    // Lookups and names (catalog.cpp).
    TableInfo* mutableTable(std::string_view name);
    TableInfo& requireTable(std::string_view name);
    // Raises when name is not a valid Jet object name.
    static void checkValidName(std::string_view name);
    void checkNewObjectName(std::string_view name) const;

    // The catalog's own tables (catalog_load.cpp).
    int64_t allocateObjectId();
    // `replacing`: the table had a definition saved before.
    void saveTableDefinition(const TableInfo& table, bool replacing = true);
    // A statement of the catalog's own tables, prepared once and reset for
    // this use: opening a file registers every table with the same few.
    Stmt& prepared(std::string_view sql);

    // MSysObjects and MSysACEs rows (system_objects.cpp).
    void insertMSysObject(int64_t id, int64_t parentId, std::string_view name, ObjectType type,
                          int64_t flags);
    void deleteMSysObject(std::string_view name, int64_t parentId);
    void grantInheritedPermissions(int64_t id);
    // Whether the database keeps permissions (MSysACEs), with their rows
    // read from the file: a file's are read when a definition first needs them.
    bool permissionsPresent();
    void touchMSysObject(int64_t id);

    // Store indexes (index_ddl.cpp).
    void createSqliteIndex(const TableInfo& table, const IndexDef& index);
    bool lookupCoveredByAnother(const TableInfo& table, const IndexDef& index) const;
    // Builds the lookup indexes another index no longer stands in for.
    void restoreLookupIndexes(const TableInfo& table);
    void dropSqliteIndex(const TableInfo& table, const IndexDef& index);

    // MSysRelationships (relationship_ddl.cpp).
    void loadRelationships();
    // The model of `tables` (in their order), with the views and
    // relationships read from the store.
    void adoptTables(std::vector<TableInfo> tables);
    void saveRelationship(const Relationship& relationship);
    void checkRelationshipHolds(const Relationship& relationship);

    // Counters (autonumbers.cpp).
    enum class RowsToNumber { All, WithoutValue };
    // Hands out values of the autonumber column to rows in table order,
    // continuing after `last`, and stores the table's counter at the last
    // value handed out.
    void numberRows(TableInfo& table, const ColumnDef& column, int64_t last, RowsToNumber rows);

    sqlite3* db_;
    std::vector<TableInfo> tables_;
    std::vector<ViewInfo> views_;
    std::vector<Relationship> relationships_;
    std::map<std::string, size_t> tableIndex_;      // folded name -> position
    std::map<std::string, int64_t> dirtyCounters_;  // storedName -> last value
    // Prepared once: every change that moves a counter flushes it.
    Stmt counterUpdate_;
    std::map<std::string, Stmt, std::less<>> prepared_;
    std::function<int64_t()> tableIdSource_;
    TableNameSource tableNameSource_;
    std::function<bool(int64_t)> rowsPresent_;
    mutable bool changesData_ = true;
};

std::string sqliteIndexName(const TableInfo& table, const IndexDef& index);

}  // namespace orvdb::engine
