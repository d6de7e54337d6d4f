#include "engine/dataset/external_tables.hpp"

#include "base/names.hpp"
#include "engine/dataset/connection.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine/store/working_store.hpp"

#include <sqlite3.h>

#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

namespace orvdb::engine {

namespace fs = std::filesystem;

namespace {

constexpr const char* kModuleName = "orvdb_external";

// The entry of `folder` equal to `name` without regard to case; the name as
// written when none is.
std::string findEntry(const fs::path& folder, const std::string& name) {
    std::error_code error;
    if (fs::exists(folder / name, error)) {
        return name;
    }
    std::string found;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::string entry = entries->path().filename().string();
        if (base::sameName(entry, name) && (found.empty() || entry < found)) {
            found = entry;
        }
    }
    return found.empty() ? name : found;
}

std::string connectionStringFor(const fs::path& file) {
    std::string quoted = "\"";
    for (char c : file.string()) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return "Data Source=" + quoted + "\";Mode=Read";
}

// One module argument as SQLite hands it over: 'text' with '' for a quote.
std::string unquoted(const char* argument) {
    std::string text = argument;
    if (text.size() < 2 || text.front() != '\'' || text.back() != '\'') {
        return text;
    }
    std::string out;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\'' && text[i + 1] == '\'') {
            ++i;
        }
    }
    return out;
}

// ---- the virtual table: arguments are the file, the table and its columns ----

struct ExternalTable {
    sqlite3_vtab base{};
    std::string file;
    std::string table;
};

struct ExternalCursor {
    sqlite3_vtab_cursor base{};
    std::vector<Row> rows;
    size_t current = 0;
};

int connectTable(sqlite3* db, void*, int argc, const char* const* argv, sqlite3_vtab** out,
                 char** error) {
    if (argc < 6) {
        *error = sqlite3_mprintf("%s", msg::moduleArgumentsMissing(kModuleName).c_str());
        return SQLITE_ERROR;
    }
    auto table = std::make_unique<ExternalTable>();
    table->file = unquoted(argv[3]);
    table->table = unquoted(argv[4]);
    std::string declaration = "CREATE TABLE x(";
    for (int i = 5; i < argc; ++i) {
        declaration += (i > 5 ? ", " : "") + quoteIdent(unquoted(argv[i]));
    }
    declaration += ")";
    int rc = sqlite3_declare_vtab(db, declaration.c_str());
    if (rc != SQLITE_OK) {
        return rc;
    }
    *out = &table.release()->base;
    return SQLITE_OK;
}

int disconnectTable(sqlite3_vtab* base) {
    delete reinterpret_cast<ExternalTable*>(base);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
    // Every scan reads the whole table: no constraint is used.
    info->estimatedCost = 1e6;
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    *out = &(new ExternalCursor)->base;
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor* base) {
    delete reinterpret_cast<ExternalCursor*>(base);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* base, int, const char*, int, sqlite3_value**) {
    auto* cursor = reinterpret_cast<ExternalCursor*>(base);
    auto* table = reinterpret_cast<ExternalTable*>(base->pVtab);
    cursor->rows.clear();
    cursor->current = 0;
    try {
        Connection other;
        other.setConnectionString(connectionStringFor(table->file));
        other.open();
        cursor->rows = other.query("SELECT * FROM [" + table->table + "]").rows;
        other.close();
    } catch (const std::exception& e) {
        sqlite3_free(table->base.zErrMsg);
        table->base.zErrMsg =
            sqlite3_mprintf("%s", msg::inOtherDatabase(e.what(), table->file).c_str());
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* base) {
    ++reinterpret_cast<ExternalCursor*>(base)->current;
    return SQLITE_OK;
}

int atEnd(sqlite3_vtab_cursor* base) {
    auto* cursor = reinterpret_cast<ExternalCursor*>(base);
    return cursor->current >= cursor->rows.size();
}

int column(sqlite3_vtab_cursor* base, sqlite3_context* context, int index) {
    auto* cursor = reinterpret_cast<ExternalCursor*>(base);
    const Row& row = cursor->rows[cursor->current];
    if (index < 0 || static_cast<size_t>(index) >= row.size()) {
        sqlite3_result_null(context);
        return SQLITE_OK;
    }
    const SqlValue& value = row[static_cast<size_t>(index)];
    if (const auto* integer = std::get_if<int64_t>(&value)) {
        sqlite3_result_int64(context, *integer);
    } else if (const auto* real = std::get_if<double>(&value)) {
        sqlite3_result_double(context, *real);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        sqlite3_result_text64(context, text->data(), text->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    } else if (const auto* bytes = std::get_if<std::vector<uint8_t>>(&value)) {
        sqlite3_result_blob64(context, bytes->data(), bytes->size(), SQLITE_TRANSIENT);
    } else {
        sqlite3_result_null(context);
    }
    return SQLITE_OK;
}

int rowId(sqlite3_vtab_cursor* base, sqlite3_int64* id) {
    *id = static_cast<sqlite3_int64>(reinterpret_cast<ExternalCursor*>(base)->current);
    return SQLITE_OK;
}

sqlite3_module makeModule() {
    sqlite3_module module{};
    module.xCreate = connectTable;
    module.xConnect = connectTable;
    module.xBestIndex = bestIndex;
    module.xDisconnect = disconnectTable;
    module.xDestroy = disconnectTable;
    module.xOpen = openCursor;
    module.xClose = closeCursor;
    module.xFilter = filter;
    module.xNext = next;
    module.xEof = atEnd;
    module.xColumn = column;
    module.xRowid = rowId;
    return module;
}

const sqlite3_module kModule = makeModule();

// The virtual table standing for `table` of `file` in the store, made (or
// made again, when the table's columns changed) as needed.
std::string virtualTableFor(sqlite3* db, const fs::path& file, const TableInfo& table) {
    std::string name = "orvdb external|" + file.string() + "|" + table.name;
    std::string arguments = quoteText(file.string()) + ", " + quoteText(table.name);
    for (const ColumnDef& column : table.columns) {
        arguments += ", " + quoteText(column.name);
    }
    std::string usingClause = std::string(" USING ") + kModuleName + "(" + arguments + ")";
    Stmt existing(db, "SELECT sql FROM temp.sqlite_master WHERE type='table' AND name=?");
    existing.bind(1, name);
    if (existing.step()) {
        std::string sql = existing.getText(0);
        if (sql.size() >= usingClause.size() &&
            sql.compare(sql.size() - usingClause.size(), usingClause.size(), usingClause) == 0) {
            return name;
        }
        existing.reset();
        execSql(db, "DROP TABLE temp." + quoteIdent(name));
    }
    if (sqlite3_create_module_v2(db, kModuleName, &kModule, nullptr, nullptr) != SQLITE_OK) {
        throw EngineError(msg::moduleNotRegistered(kModuleName, sqlite3_errmsg(db)));
    }
    execSql(db, "CREATE VIRTUAL TABLE temp." + quoteIdent(name) + usingClause);
    return name;
}

bool sameFile(const fs::path& file, const std::string& other) {
    std::error_code error;
    return !other.empty() && fs::equivalent(file, fs::path(other), error) && !error;
}

}  // namespace

fs::path externalDatabasePath(std::string_view database, const std::string& workingFolder) {
    std::string written(database);
    for (char& c : written) {
        if (c == '\\') {
            c = '/';
        }
    }
    fs::path asked(written);
    if (!asked.has_extension()) {
        asked += ".mdb";
    }
    fs::path resolved = asked.is_absolute() ? asked.root_path() : fs::path(workingFolder);
    for (const fs::path& component : asked.relative_path()) {
        std::string name = component.string();
        if (name.empty() || name == ".") {
            continue;
        }
        resolved /= name == ".." ? name : findEntry(resolved, name);
    }
    std::error_code error;
    if (!fs::is_regular_file(resolved, error)) {
        throw SqlError(msg::fileNotFound(resolved.string()));
    }
    return resolved;
}

std::optional<sql::ResolvedTable> ExternalTables::findTable(std::string_view name) const {
    return store_.catalog().findTable(name);
}

void ExternalTables::statementBegins(bool changesData) const {
    store_.catalog().statementBegins(changesData);
}

std::optional<sql::ResolvedView> ExternalTables::findView(std::string_view name) const {
    return store_.catalog().findView(name);
}

std::optional<sql::ResolvedTable> ExternalTables::findExternalTable(std::string_view database,
                                                                    std::string_view table) const {
    fs::path file = externalDatabasePath(database, workingFolder_);
    // The store's own file named as another database.
    if (sameFile(file, store_.jetFile()) || sameFile(file, store_.path())) {
        return findTable(table);
    }
    Connection other;
    other.setConnectionString(connectionStringFor(file));
    try {
        other.open();
    } catch (const EngineError& e) {
        throw SqlError(msg::inOtherDatabase(e.what(), file.string()));
    }
    const TableInfo* info = other.store().catalog().findTableInfo(table);
    if (info == nullptr || info->system) {
        return std::nullopt;
    }
    sql::ResolvedTable resolved;
    resolved.name = info->name;
    resolved.storedName = virtualTableFor(store_.db(), fs::absolute(file), *info);
    resolved.columns = info->columns;
    return resolved;
}

}  // namespace orvdb::engine
