// An Access file copied into a MariaDB database.
#include <cstdio>
#include <set>

#include "base/names.hpp"
#include "data/jet_backend.hpp"
#include "data/mariadb/column_types.hpp"
#include "data/mariadb/copy.hpp"
#include "data/mariadb/server_schema.hpp"
#include "data/mariadb/session.hpp"
#include "engine/catalog/catalog.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/sql/translate/mariadb_dialect.hpp"
#include "engine/sql/translate/type_words.hpp"
#include "host/utf16.hpp"

namespace orvdb::data::mariadb {

namespace {

using engine::JetType;

// The collation of copied tables: Access compares text without regard to
// case but with regard to accents and trailing blanks.
constexpr std::string_view kTableOptions = engine::sql::kMariaDbTableOptions;
// Rows go to the server in statements of about this size.
constexpr size_t kBatchBytes = size_t{1} << 20;
// ER_TOO_BIG_ROWSIZE: the VARCHARs of a wide table pass the row size limit.
constexpr unsigned kRowSizeTooLarge = 1118;
// ER_NOT_ALLOWED_COMMAND and ER_LOAD_INFILE_CAPABILITY_DISABLED: no LOAD DATA LOCAL.
constexpr unsigned kLocalInfileRefused = 1148;
constexpr unsigned kLocalInfileDisabled = 4166;

std::string number(double value, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

// The literal of an Access value for its column.
std::string literal(Session& session, const engine::ColumnDef& column,
                    const engine::SqlValue& value) {
    if (engine::isNull(value)) {
        return "NULL";
    }
    if (auto bytes = std::get_if<std::vector<uint8_t>>(&value)) {
        return hexLiteral(*bytes);
    }
    if (auto text = std::get_if<std::string>(&value)) {
        if (column.type == JetType::DateTime) {
            if (auto date = engine::parseJetDate(*text)) {
                return dateTimeLiteral(*date);
            }
        }
        return session.quoteText(*text);
    }
    double real = std::holds_alternative<double>(value)
                      ? std::get<double>(value)
                      : static_cast<double>(std::get<int64_t>(value));
    switch (column.type) {
        case JetType::Boolean:
            return real != 0 ? "1" : "0";
        case JetType::DateTime:
            return dateTimeLiteral(real);
        case JetType::Single:
            return number(real, 9);
        case JetType::Currency:
        case JetType::Decimal: {
            // At the column's scale: a double's last digits are no part of the value.
            if (std::holds_alternative<int64_t>(value)) {
                return std::to_string(std::get<int64_t>(value));
            }
            char text[64];
            std::snprintf(text, sizeof text, "%.*f",
                          column.type == JetType::Currency ? 4 : column.scale, real);
            return text;
        }
        default:
            if (auto integer = std::get_if<int64_t>(&value)) {
                return std::to_string(*integer);
            }
            return number(real, 17);
    }
}

// A server message without the statement it quotes.
std::string firstLine(std::string message) {
    size_t cut = message.find(" [");
    return cut == std::string::npos ? message : message.substr(0, cut);
}

std::string columnList(const std::vector<std::string>& columns) {
    std::string text;
    for (const std::string& column : columns) {
        text += (text.empty() ? "" : ", ") + quoteName(column);
    }
    return text;
}

// An index part: long texts and binaries are indexed on a prefix.
std::string indexPart(const engine::TableInfo& table, const engine::IndexColumn& part, bool wide) {
    std::string text = quoteName(part.column);
    if (const engine::ColumnDef* column = table.findColumn(part.column)) {
        if (column->type == JetType::Memo || column->type == JetType::OLE) {
            text += "(255)";
        } else if (column->type == JetType::Text && (wide || column->size > 100)) {
            text += "(" + std::to_string(column->size) + ")";
        }
    }
    return text + (part.descending ? " DESC" : "");
}

// Defaults are Access expressions; plain numbers mean the same on the server.
bool isPlainNumber(const std::string& text) {
    if (text.empty() || text.size() > 30) {
        return false;
    }
    size_t start = text[0] == '-' ? 1 : 0;
    return start < text.size() && text.find_first_not_of("0123456789.", start) == std::string::npos;
}

// wide: every text column as TEXT, for tables whose VARCHARs pass MariaDB's row size.
std::string createTable(Session& session, const engine::TableInfo& table, bool wide) {
    std::string sql = "CREATE TABLE " + quoteName(table.name) + " (";
    const engine::IndexDef* primary = table.primaryKey();
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const engine::ColumnDef& column = table.columns[i];
        sql += (i ? ", " : "") + quoteName(column.name) + " " +
               (wide && column.type == JetType::Text ? "TEXT" : serverColumnType(column));
        if (column.required || column.autoNumber) {
            sql += " NOT NULL";
        }
        if (column.autoNumber) {
            sql += " AUTO_INCREMENT";
        }
        // The Access declaration, which a copy back restores exactly (a key
        // column is NOT NULL on the server whatever it was in Access).
        if (column.defaultValue && isPlainNumber(*column.defaultValue)) {
            sql += " DEFAULT " + *column.defaultValue;
        }
        sql += " COMMENT " +
               session.quoteText(
                   std::string(kAccessTypeComment) + engine::sql::declarationOf(column) +
                   (column.required ? " NOT NULL" : "") +
                   (column.defaultValue ? " DEFAULT " + *column.defaultValue : std::string()));
    }
    if (primary) {
        sql += ", PRIMARY KEY (";
        for (size_t i = 0; i < primary->columns.size(); ++i) {
            sql += (i ? ", " : "") + indexPart(table, primary->columns[i], wide);
        }
        sql += ")";
    }
    // MariaDB counts only on a column that starts a key.
    if (const engine::ColumnDef* counter = table.autoNumberColumn()) {
        bool keyed = false;
        for (const engine::IndexDef& index : table.indexes) {
            keyed = keyed || (!index.columns.empty() &&
                              base::sameName(index.columns.front().column, counter->name));
        }
        if (!keyed) {
            sql += ", KEY (" + quoteName(counter->name) + ") COMMENT " +
                   session.quoteText(engine::sql::kMariaDbCounterKeyComment);
        }
    }
    sql += ")" + std::string(kTableOptions);
    if (primary) {
        sql += " COMMENT " + session.quoteText("access primary key: " + primary->name);
    }
    return sql;
}

// A saved select in MariaDB's dialect, written by the same writer as the
// statements sent to a server database.
std::string viewText(const std::string& accessSql, Session& session) {
    ServerSchema schema(session);
    return engine::sql::toMariaDb(engine::sql::parseStatement(accessSql), schema);
}

class Copier {
public:
    Copier(const std::string& file, const Settings& server, const ProgressSink& progress)
        : server_(server), progress_(progress) {
        access_.setConnectionString(engineConnectionString(host::toUtf16(file)));
        access_.open();
    }
    ~Copier() {
        try {
            access_.close();
        } catch (...) {
            // Nothing was written to the file.
        }
    }

    CopyReport run() {
        openServer();
        engine::Catalog& catalog = access_.store().catalog();
        std::vector<const engine::TableInfo*> tables;
        for (const engine::TableInfo* table : catalog.tables()) {
            if (!table->system) {
                tables.push_back(table);
            }
        }
        session_->execute("SET FOREIGN_KEY_CHECKS = 0");
        session_->execute("SET UNIQUE_CHECKS = 0");
        for (size_t i = 0; i < tables.size(); ++i) {
            copyTable(*tables[i], i + 1, tables.size());
        }
        for (const engine::TableInfo* table : tables) {
            copyIndexes(*table);
        }
        copyRelationships(catalog);
        copyViews(catalog);
        session_->execute("SET UNIQUE_CHECKS = 1");
        session_->execute("SET FOREIGN_KEY_CHECKS = 1");
        return report_;
    }

private:
    void openServer() {
        Settings withoutDatabase = server_;
        withoutDatabase.database.clear();
        if (server_.database.empty()) {
            throw std::invalid_argument("the MariaDB address " + describe(server_) +
                                        " names no database");
        }
        Session admin(withoutDatabase);
        admin.open();
        admin.execute("CREATE DATABASE IF NOT EXISTS " + quoteName(server_.database) +
                      " CHARACTER SET utf8mb4 COLLATE utf8mb4_uca1400_nopad_as_ci");
        session_ = std::make_unique<Session>(server_);
        session_->open();
    }

    void run(const engine::TableInfo& table, const std::string& sql) {
        try {
            session_->execute(sql);
        } catch (const std::exception& e) {
            throw std::runtime_error("table '" + table.name + "': " + e.what());
        }
    }

    void copyTable(const engine::TableInfo& table, size_t number, size_t count) {
        run(table, "DROP VIEW IF EXISTS " + quoteName(table.name));
        run(table, "DROP TABLE IF EXISTS " + quoteName(table.name));
        try {
            session_->execute(createTable(*session_, table, false));
        } catch (const SessionError& e) {
            if (e.code() != kRowSizeTooLarge) {
                throw std::runtime_error("table '" + table.name + "': " + e.what());
            }
            wideTables_.insert(table.name);
            run(table, createTable(*session_, table, true));
        }
        engine::QueryResult rows = access_.query("SELECT * FROM [" + table.name + "]");
        CopyProgress step{table.name, number, count, 0, static_cast<int64_t>(rows.rows.size())};
        if (progress_) {
            progress_(step);
        }
        run(table, "START TRANSACTION");
        if (!loadRefused_) {
            try {
                loadRows(table, rows, step);
            } catch (const SessionError& e) {
                // A server that takes no LOCAL INFILE gets INSERTs instead.
                if (e.code() != kLocalInfileRefused && e.code() != kLocalInfileDisabled) {
                    throw std::runtime_error("table '" + table.name + "': " + e.what());
                }
                loadRefused_ = true;
            }
        }
        if (loadRefused_) {
            insertRows(table, rows, step);
        }
        run(table, "COMMIT");
        if (progress_ && step.rowsDone > 0) {
            progress_(step);
        }
        ++report_.tables;
        report_.rows += step.rowsDone;
        if (table.primaryKey()) {
            ++report_.indexes;  // made with the table
        }
    }

    void loadRows(const engine::TableInfo& table, const engine::QueryResult& rows,
                  CopyProgress& step) {
        std::vector<std::string> columns;
        for (const engine::ColumnDef& column : table.columns) {
            columns.push_back(column.name);
        }
        size_t next = 0;
        session_->loadData(table.name, columns, static_cast<int64_t>(rows.rows.size()),
                           [&](std::string& piece) {
                               while (next < rows.rows.size() && piece.size() < kBatchBytes) {
                                   const engine::Row& row = rows.rows[next++];
                                   for (size_t i = 0; i < table.columns.size(); ++i) {
                                       if (i) {
                                           piece += '\t';
                                       }
                                       appendField(piece, table.columns[i], row[i]);
                                   }
                                   piece += '\n';
                               }
                               step.rowsDone = static_cast<int64_t>(next);
                               if (progress_ && !piece.empty()) {
                                   progress_(step);
                               }
                               return !piece.empty();
                           });
    }

    void insertRows(const engine::TableInfo& table, const engine::QueryResult& rows,
                    CopyProgress& step) {
        std::string head = "INSERT INTO " + quoteName(table.name) + " (";
        for (size_t i = 0; i < table.columns.size(); ++i) {
            head += (i ? ", " : "") + quoteName(table.columns[i].name);
        }
        head += ") VALUES ";
        std::string batch;
        step.rowsDone = 0;
        for (const engine::Row& row : rows.rows) {
            batch += batch.empty() ? head + "(" : ",(";
            for (size_t i = 0; i < table.columns.size(); ++i) {
                batch += (i ? ", " : "") + literal(*session_, table.columns[i], row[i]);
            }
            batch += ")";
            ++step.rowsDone;
            if (batch.size() >= kBatchBytes) {
                run(table, batch);
                batch.clear();
                if (progress_) {
                    progress_(step);
                }
            }
        }
        if (!batch.empty()) {
            run(table, batch);
        }
    }

    // A value in the LOAD DATA stream: numbers and dates as their literals
    // without quotes, texts and bytes escaped.
    void appendField(std::string& piece, const engine::ColumnDef& column,
                     const engine::SqlValue& value) {
        if (engine::isNull(value)) {
            piece += "\\N";
        } else if (auto bytes = std::get_if<std::vector<uint8_t>>(&value)) {
            appendLoadText(piece, std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                                   bytes->size()));
        } else if (std::holds_alternative<std::string>(value) && column.type != JetType::DateTime) {
            appendLoadText(piece, std::get<std::string>(value));
        } else {
            std::string text = literal(*session_, column, value);
            if (text.size() >= 2 && text.front() == '\'') {
                text = text.substr(1, text.size() - 2);
            }
            appendLoadText(piece, text);
        }
    }

    void copyIndexes(const engine::TableInfo& table) {
        for (const engine::IndexDef& index : table.indexes) {
            // The primary key is in the table; a relationship's index comes with its key.
            if (index.primary || index.foreignKey) {
                continue;
            }
            std::string parts;
            for (const engine::IndexColumn& part : index.columns) {
                parts += (parts.empty() ? "" : ", ") +
                         indexPart(table, part, wideTables_.count(table.name) > 0);
            }
            std::string sql = std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " +
                              quoteName(index.name) + " ON " + quoteName(table.name) + " (" +
                              parts + ")";
            // What MariaDB's indexes lack, kept for a copy back.
            if (index.required) {
                sql += " COMMENT 'access: WITH DISALLOW NULL'";
            } else if (index.ignoreNulls) {
                sql += " COMMENT 'access: WITH IGNORE NULL'";
            }
            try {
                session_->execute(sql);
                ++report_.indexes;
            } catch (const std::exception& e) {
                report_.leftOut.push_back("index '" + index.name + "' of table '" + table.name +
                                          "': " + firstLine(e.what()));
            }
        }
    }

    void copyRelationships(const engine::Catalog& catalog) {
        for (const engine::Relationship& relation : catalog.relationships()) {
            const engine::TableInfo* child = catalog.findTableInfo(relation.foreignTable);
            const engine::TableInfo* parent = catalog.findTableInfo(relation.primaryTable);
            if (!child || !parent || child->system || parent->system) {
                continue;
            }
            if (relation.grbit & engine::relationship_flags::kNoIntegrity) {
                report_.leftOut.push_back("relationship '" + relation.name +
                                          "': Access does not enforce it, MariaDB would");
                continue;
            }
            std::string sql = "ALTER TABLE " + quoteName(relation.foreignTable) +
                              " ADD CONSTRAINT " + quoteName(relation.name) + " FOREIGN KEY (" +
                              columnList(relation.foreignColumns) + ") REFERENCES " +
                              quoteName(relation.primaryTable) + " (" +
                              columnList(relation.primaryColumns) + ")";
            if (relation.grbit & engine::relationship_flags::kCascadeUpdates) {
                sql += " ON UPDATE CASCADE";
            }
            if (relation.grbit & engine::relationship_flags::kCascadeDeletes) {
                sql += " ON DELETE CASCADE";
            } else if (relation.grbit & engine::relationship_flags::kCascadeSetNull) {
                sql += " ON DELETE SET NULL";
            }
            try {
                session_->execute(sql);
                ++report_.foreignKeys;
            } catch (const std::exception& e) {
                report_.leftOut.push_back("relationship '" + relation.name +
                                          "': " + firstLine(e.what()));
            }
        }
    }

    // Views may read other views: each round creates what it can until a
    // round creates nothing.
    void copyViews(const engine::Catalog& catalog) {
        std::vector<const engine::ViewInfo*> pending;
        for (const engine::ViewInfo* view : catalog.views()) {
            if (view->isSelect() && view->sql.rfind("PARAMETERS", 0) != 0) {
                pending.push_back(view);
            } else {
                report_.queriesLeftOut.push_back("query '" + view->name +
                                                 "': not a select, MariaDB has no view for it");
            }
        }
        std::vector<std::string> errors(pending.size());
        for (bool progress = true; progress && !pending.empty();) {
            progress = false;
            std::vector<const engine::ViewInfo*> still;
            std::vector<std::string> stillErrors;
            for (size_t i = 0; i < pending.size(); ++i) {
                const engine::ViewInfo* view = pending[i];
                try {
                    session_->execute("CREATE OR REPLACE VIEW " + quoteName(view->name) + " AS " +
                                      viewText(view->sql, *session_));
                    ++report_.views;
                    progress = true;
                } catch (const std::exception& e) {
                    still.push_back(view);
                    stillErrors.push_back(firstLine(e.what()));
                }
            }
            pending = std::move(still);
            errors = std::move(stillErrors);
        }
        for (size_t i = 0; i < pending.size(); ++i) {
            report_.queriesLeftOut.push_back("query '" + pending[i]->name + "': " + errors[i]);
        }
    }

    engine::Connection access_;
    Settings server_;
    const ProgressSink& progress_;
    std::unique_ptr<Session> session_;
    std::set<std::string> wideTables_;
    bool loadRefused_ = false;
    CopyReport report_;
};

}  // namespace

CopyReport copyToServer(const std::string& accessFile, const Settings& server,
                        const ProgressSink& progress) {
    Copier copier(accessFile, server, progress);
    return copier.run();
}

}  // namespace orvdb::data::mariadb
