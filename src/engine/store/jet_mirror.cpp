#include "engine/store/jet_mirror.hpp"

#include "engine/catalog/catalog.hpp"
#include "engine/catalog/jet_definition_mapping.hpp"
#include "engine/engine_error.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine/store/working_store.hpp"
#include "jet/check/file_check.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/salvage_reader.hpp"
#include "jet/read/saved_queries.hpp"

#include <functional>
#include <optional>

namespace orvdb::engine {

bool catalogTable(std::string_view name) {
    for (std::string_view table : {"MSysObjects", "MSysQueries", "MSysRelationships"}) {
        if (sameName(name, table)) {
            return true;
        }
    }
    return false;
}

namespace {

void bindJetValue(Stmt& s, int index, const jet::Value& v) {
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                s.bindNull(index);
            } else if constexpr (std::is_same_v<T, bool>) {
                s.bind(index, int64_t{x ? -1 : 0});
            } else if constexpr (std::is_same_v<T, int64_t>) {
                s.bind(index, x);
            } else if constexpr (std::is_same_v<T, double>) {
                s.bind(index, x);
            } else if constexpr (std::is_same_v<T, jet::Currency>) {
                s.bind(index, static_cast<double>(x.scaled) / 10000.0);
            } else if constexpr (std::is_same_v<T, jet::DateTime>) {
                s.bind(index, x.days);
            } else if constexpr (std::is_same_v<T, std::string>) {
                s.bind(index, std::string_view(x));
            } else if constexpr (std::is_same_v<T, jet::Bytes>) {
                s.bindBlob(index, x.data(), x.size());
            } else if constexpr (std::is_same_v<T, jet::Guid>) {
                s.bind(index, std::string_view(x.toString()));
            } else if constexpr (std::is_same_v<T, jet::Decimal>) {
                s.bind(index, std::string_view(x.text));
            }
        },
        v);
}

// The table as the catalog records it.
TableInfo tableInfoOf(const jet::JetFile& file, const jet::CatalogObject& object) {
    auto def = file.table(object.name);
    jet::ObjectProperties props = file.tableProperties(object.name);
    TableInfo info;
    info.id = object.id;
    info.name = object.name;
    info.storedName = Catalog::storedNameFor(object.name);
    info.system = object.isSystemTable();
    info.lastAutoNumber = def->lastAutoNumber;
    for (const auto& c : def->columns) {
        info.columns.push_back(columnDefOf(c, props.column(c.name)));
    }
    info.indexes = indexDefsOf(*def);
    return info;
}

// One of Jet's own tables, whose rows are read at open (they are checked
// before the first commit: WorkingStore::checkCatalogTables). Damage there
// leaves the file readable, never writable; the rows before it are kept (a
// repair copies them). Each row also goes to `observe`. False when the
// table is damaged.
bool loadCatalogTable(const jet::JetFile& file, const TableInfo& table, sqlite3* db,
                      WorkingStore& store, const std::function<void(const jet::Row&)>& observe) {
    jet::TableReader reader = file.readTable(table.name);
    try {
        loadJetRows(db, table.storedName, reader, nullptr, observe);
    } catch (const jet::JetError& error) {
        store.markDamaged(error.what());
        return false;
    }
    return true;
}

}  // namespace

namespace {

// A row's id in the store is its row pointer in the file: commits find the
// file's row by it.
Stmt rowInsert(sqlite3* db, const std::string& storedName,
               const std::vector<jet::Column>& columns) {
    std::string names = "rowid", marks = "?";
    for (const jet::Column& column : columns) {
        names += ", " + quoteIdent(column.name);
        marks += ", ?";
    }
    return Stmt(
        db, "INSERT INTO " + quoteIdent(storedName) + " (" + names + ") VALUES (" + marks + ")");
}

void bindRow(Stmt& insert, const jet::Row& row, const std::vector<jet::Column>& columns) {
    insert.reset();
    insert.bind(1, int64_t{row.id.page} << 8 | row.id.row);
    for (size_t i = 0; i < row.values.size() && i < columns.size(); ++i) {
        bindJetValue(insert, static_cast<int>(i + 2), row.values[i]);
    }
}

}  // namespace

void loadJetRows(sqlite3* db, const std::string& storedName, jet::TableReader& reader,
                 jet::TableCheck* check, const std::function<void(const jet::Row&)>& observe) {
    const std::vector<jet::Column>& columns = reader.definition().columns;
    Stmt insert = rowInsert(db, storedName, columns);
    jet::Row row;
    while (reader.next(row)) {
        bindRow(insert, row, columns);
        insert.run();
        if (check != nullptr) {
            check->addRow(row);
        }
        if (observe) {
            observe(row);
        }
    }
}

size_t loadSalvagedRows(sqlite3* db, const std::string& storedName, jet::SalvageReader& reader,
                        std::vector<std::string>& losses) {
    const std::vector<jet::Column>& columns = reader.definition().columns;
    Stmt insert = rowInsert(db, storedName, columns);
    jet::Row row;
    size_t kept = 0;
    while (reader.next(row)) {
        bindRow(insert, row, columns);
        try {
            insert.run();
            ++kept;
        } catch (const EngineError& refused) {
            losses.push_back("row " + std::to_string(row.id.row) + " of page " +
                             std::to_string(row.id.page) + " is lost: " + refused.what());
        }
    }
    return kept;
}

void fillMirror(WorkingStore& store, const std::string& path,
                const std::optional<std::string>& password) {
    try {
        jet::JetFile file = jet::JetFile::open(path, password);
        sqlite3* db = store.db();
        Catalog& catalog = store.catalog();
        execSql(db, "BEGIN");
        catalog.initializeHidden();
        std::vector<TableInfo> tables;
        for (const auto& object : file.catalog().objects()) {
            if (object.isTable()) {
                tables.push_back(tableInfoOf(file, object));
            }
        }
        // The catalog's own tables are read now; the others when first used.
        for (const TableInfo& table : tables) {
            if (!catalogTable(table.name)) {
                store.tableNotLoaded(table.id, file.table(table.name)->rowCount);
            }
        }
        catalog.registerTables(tables);
        // The saved queries come from the MSysQueries rows as they are
        // loaded: the table is decoded once. Damage there leaves no query
        // (its rows may be cut short), and is named after the tables'.
        std::optional<jet::SavedQueryRows> queryRows;
        std::string queryDamage;
        try {
            queryRows.emplace(file);
        } catch (const jet::JetError& error) {
            queryDamage = error.what();
        }
        bool queryRowsWhole = queryRows.has_value();
        for (const TableInfo& table : tables) {
            if (!catalogTable(table.name)) {
                continue;
            }
            std::function<void(const jet::Row&)> observe;
            if (queryRows && queryRows->wanted() && sameName(table.name, "MSysQueries")) {
                observe = [&queryRows](const jet::Row& row) { queryRows->add(row); };
            }
            if (!loadCatalogTable(file, table, db, store, observe) && observe) {
                queryRowsWhole = false;
            }
        }
        if (!queryDamage.empty()) {
            store.markDamaged(queryDamage);
        }
        std::vector<jet::SavedQuery> queries;
        if (queryRowsWhole) {
            queries = queryRows->queries();
        }
        for (const auto& q : queries) {
            if (q.sql.empty() || q.isInternal()) {
                continue;
            }
            catalog.registerSavedQuery(q.id, q.name, q.sql, q.kind);
        }
        catalog.loadRegistered(std::move(tables));
        // The catalog tables' store indexes and triggers wait for the first
        // change (WorkingStore::buildCatalogRules): reading needs none.
        execSql(db, "COMMIT");
    } catch (const jet::JetError& e) {
        throw EngineError(e.what());
    } catch (const EngineError& e) {
        std::string message = e.what();
        if (message.find(path) == std::string::npos) {
            message += " (file '" + path + "')";
        }
        throw EngineError(message);
    }
}

sqlite3* openTemporaryStore(const std::string& path) {
    sqlite3* db = nullptr;
    // An empty name gives a private on-disk database that SQLite removes
    // when it is closed.
    // One store per file and process, used by one thread at a time (as a
    // native store): SQLite's own mutexes would only cost.
    if (sqlite3_open_v2("", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw EngineError("Cannot create a working store for '" + path + "'.");
    }
    return db;
}

std::shared_ptr<WorkingStore> mirrorJetFile(const std::string& path, const std::string& password,
                                            bool readOnly) {
    std::optional<std::string> pw;
    if (!password.empty()) {
        pw = password;
    }
    auto store = WorkingStore::adoptMirror(path, openTemporaryStore(path), readOnly, pw);
    store->configureForMirror();
    fillMirror(*store, path, pw);
    return store;
}

}  // namespace orvdb::engine
