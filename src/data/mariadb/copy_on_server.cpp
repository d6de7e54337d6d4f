// A database copied into another on the same server, by the server itself.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/mariadb/copy.hpp"
#include "data/mariadb/session.hpp"
#include "engine/sql/translate/mariadb_dialect.hpp"

namespace orvdb::data::mariadb {

namespace {

std::vector<std::string> column(Session& session, const std::string& sql) {
    std::vector<std::string> values;
    for (const engine::Row& row : session.query(sql).rows) {
        values.push_back(engine::valueToText(row.front()));
    }
    return values;
}

// The foreign keys of a database as statements that make them again in
// another database of the same server.
std::vector<std::string> foreignKeys(Session& session, const std::string& from,
                                     const std::string& to) {
    engine::QueryResult rows = session.query(
        "SELECT K.TABLE_NAME, K.CONSTRAINT_NAME, K.COLUMN_NAME, K.REFERENCED_TABLE_NAME, "
        "K.REFERENCED_COLUMN_NAME, R.UPDATE_RULE, R.DELETE_RULE "
        "FROM information_schema.KEY_COLUMN_USAGE AS K "
        "JOIN information_schema.REFERENTIAL_CONSTRAINTS AS R "
        "ON R.CONSTRAINT_SCHEMA=K.CONSTRAINT_SCHEMA AND R.TABLE_NAME=K.TABLE_NAME AND "
        "R.CONSTRAINT_NAME=K.CONSTRAINT_NAME WHERE K.TABLE_SCHEMA=" +
        session.quoteText(from) +
        " AND K.REFERENCED_TABLE_NAME IS NOT NULL "
        "ORDER BY K.TABLE_NAME, K.CONSTRAINT_NAME, K.ORDINAL_POSITION");
    struct Key {
        std::string table, referenced, columns, referencedColumns, updateRule, deleteRule;
    };
    std::map<std::pair<std::string, std::string>, Key> keys;
    for (const engine::Row& row : rows.rows) {
        auto text = [&](size_t index) { return engine::valueToText(row[index]); };
        Key& key = keys[{text(0), text(1)}];
        key.table = text(0);
        key.referenced = text(3);
        key.columns += (key.columns.empty() ? "" : ", ") + quoteName(text(2));
        key.referencedColumns += (key.referencedColumns.empty() ? "" : ", ") + quoteName(text(4));
        key.updateRule = text(5);
        key.deleteRule = text(6);
    }
    std::vector<std::string> statements;
    for (const auto& [name, key] : keys) {
        statements.push_back("ALTER TABLE " + quoteName(to) + "." + quoteName(key.table) +
                             " ADD CONSTRAINT " + quoteName(name.second) + " FOREIGN KEY (" +
                             key.columns + ") REFERENCES " + quoteName(to) + "." +
                             quoteName(key.referenced) + " (" + key.referencedColumns +
                             ") ON UPDATE " + key.updateRule + " ON DELETE " + key.deleteRule);
    }
    return statements;
}

}  // namespace

void copyOnServer(const Settings& from, const Settings& to) {
    if (!sameServer(from, to)) {
        throw std::runtime_error("MariaDB: " + describe(from) + " and " + describe(to) +
                                 " are on different servers; a copy stays on one server");
    }
    if (from.database == to.database) {
        // The copy empties its target first.
        throw std::runtime_error("MariaDB: " + describe(from) + " cannot be copied onto itself");
    }
    Settings server = from;
    server.database.clear();
    Session session(server);
    session.open();
    const std::string source = quoteName(from.database);
    const std::string target = quoteName(to.database);
    session.execute("CREATE DATABASE IF NOT EXISTS " + target +
                    " CHARACTER SET utf8mb4 COLLATE utf8mb4_uca1400_nopad_as_ci");
    session.execute("SET FOREIGN_KEY_CHECKS=0");
    engine::QueryResult present = session.query(
        "SELECT TABLE_NAME, TABLE_TYPE FROM information_schema.TABLES WHERE "
        "TABLE_SCHEMA=" +
        session.quoteText(to.database));
    for (const engine::Row& row : present.rows) {
        bool view = engine::valueToText(row[1]) == "VIEW";
        session.execute((view ? "DROP VIEW " : "DROP TABLE ") + target + "." +
                        quoteName(engine::valueToText(row[0])));
    }
    for (const std::string& table :
         column(session, "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=" +
                             session.quoteText(from.database) +
                             " AND TABLE_TYPE='BASE TABLE' ORDER BY TABLE_NAME")) {
        const std::string name = quoteName(table);
        try {
            session.execute("CREATE TABLE " + target + "." + name + " LIKE " + source + "." + name);
            session.execute("INSERT INTO " + target + "." + name + " SELECT * FROM " + source +
                            "." + name);
        } catch (const std::exception& e) {
            throw std::runtime_error("table '" + table + "': " + e.what());
        }
    }
    for (const std::string& statement : foreignKeys(session, from.database, to.database)) {
        session.execute(statement);
    }
    session.execute("SET FOREIGN_KEY_CHECKS=1");

    // Views name their tables with the database: the copy's are named
    // without, read in the target database. A view on another view waits
    // for that one.
    Session viewSession(to);
    viewSession.open();
    engine::QueryResult views = session.query(
        "SELECT TABLE_NAME, VIEW_DEFINITION FROM information_schema.VIEWS WHERE TABLE_SCHEMA=" +
        session.quoteText(from.database));
    std::vector<std::pair<std::string, std::string>> waiting;
    for (const engine::Row& row : views.rows) {
        std::string definition = engine::valueToText(row[1]);
        const std::string qualifier = source + ".";
        for (size_t at = definition.find(qualifier); at != std::string::npos;
             at = definition.find(qualifier, at)) {
            definition.erase(at, qualifier.size());
        }
        waiting.emplace_back(engine::valueToText(row[0]), definition);
    }
    while (!waiting.empty()) {
        std::vector<std::pair<std::string, std::string>> later;
        std::string lastError;
        for (const auto& [name, definition] : waiting) {
            try {
                viewSession.execute("CREATE VIEW " + quoteName(name) + " AS " + definition);
            } catch (const std::exception& e) {
                lastError = "view '" + name + "': " + e.what();
                later.emplace_back(name, definition);
            }
        }
        if (later.size() == waiting.size()) {
            throw std::runtime_error(lastError);
        }
        waiting = std::move(later);
    }
}

void dropServerDatabase(const Settings& settings) {
    Settings server = settings;
    server.database.clear();
    Session session(server);
    session.open();
    session.execute("DROP DATABASE IF EXISTS " + quoteName(settings.database));
}

}  // namespace orvdb::data::mariadb
