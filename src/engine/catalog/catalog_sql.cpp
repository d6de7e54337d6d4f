#include "engine/catalog/catalog_sql.hpp"

#include "engine/jet_datetime.hpp"
#include "engine/messages.hpp"
#include "engine/store/sqlite_util.hpp"

#include <cctype>
#include <charconv>

namespace orvdb::engine::catalog_sql {

namespace {

std::string trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) {
        ++b;
    }
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) {
        --e;
    }
    return std::string(text.substr(b, e - b));
}

std::string upper(std::string text) {
    for (auto& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

bool isNumber(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    double v;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && p == text.data() + text.size();
}

std::string raise(const std::string& message, const std::string& condition) {
    return "SELECT RAISE(ABORT, " + quoteText(message) + ") WHERE " + condition + ";";
}

}  // namespace

std::string sqliteDefault(const ColumnDef& column) {
    if (!column.defaultValue) {
        return column.type == JetType::Boolean ? "0" : "";
    }
    std::string written = trim(*column.defaultValue);
    if (written.size() >= 3 && written.front() == '=') {
        written = trim(written.substr(1));
    }
    std::string upperCase = upper(written);
    if (upperCase == "TRUE" || upperCase == "YES" || upperCase == "ON") {
        return "-1";
    }
    if (upperCase == "FALSE" || upperCase == "NO" || upperCase == "OFF") {
        return "0";
    }
    if (upperCase == "NULL") {
        return "NULL";
    }
    if (upperCase == "NOW()") {
        return "(julianday('now','localtime') - 2415018.5)";
    }
    if (upperCase == "GENGUID()") {
        return "(jet_genguid())";
    }
    if (upperCase == "DATE()") {
        return "(CAST(julianday('now','localtime') - 2415018.5 AS INTEGER))";
    }
    if (upperCase == "TIME()") {
        return "(julianday('now','localtime') - 2415018.5 - "
               "CAST(julianday('now','localtime') - 2415018.5 AS INTEGER))";
    }
    std::string sign;
    std::string digits = written;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        sign = digits[0] == '-' ? "-" : "";
        digits = trim(digits.substr(1));
    }
    if (isNumber(digits)) {
        if (column.type == JetType::Text || column.type == JetType::Memo) {
            return quoteText(sign + digits);
        }
        return sign + digits;
    }
    if (written.size() >= 2 && (written.front() == '\'' || written.front() == '"') &&
        written.back() == written.front()) {
        std::string inner;
        char q = written.front();
        for (size_t i = 1; i + 1 < written.size(); ++i) {
            inner += written[i];
            if (written[i] == q && i + 2 < written.size() && written[i + 1] == q) {
                ++i;
            }
        }
        return quoteText(inner);
    }
    if (written.size() >= 2 && written.front() == '#' && written.back() == '#') {
        if (auto date = parseJetDate(written.substr(1, written.size() - 2))) {
            char buf[64];
            auto [p, ec] = std::to_chars(buf, buf + sizeof buf, *date);
            return std::string(buf, p);
        }
    }
    return "";
}

std::string columnSql(const ColumnDef& column) {
    // No declared type: the engine converts values itself (jet_coerce), and
    // SQLite must not apply an affinity of its own.
    std::string sql = quoteIdent(column.name);
    std::string defaultSql = sqliteDefault(column);
    if (!defaultSql.empty()) {
        sql += " DEFAULT " + (defaultSql.front() == '(' ? defaultSql : "(" + defaultSql + ")");
    }
    return sql;
}

std::string createTableSql(const TableInfo& table) {
    std::string sql = "CREATE TABLE " + quoteIdent(table.storedName) + " (";
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (i) {
            sql += ", ";
        }
        sql += columnSql(table.columns[i]);
    }
    return sql + ")";
}

std::string createIndexSql(const TableInfo& table, const IndexDef& index,
                           const std::string& sqliteName, bool ifNotExists) {
    std::string sql = index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    if (ifNotExists) {
        sql += "IF NOT EXISTS ";
    }
    sql += quoteIdent(sqliteName) + " ON " + quoteIdent(table.storedName) + " (";
    std::string notNull;
    for (size_t i = 0; i < index.columns.size(); ++i) {
        if (i) {
            sql += ", ";
        }
        sql += quoteIdent(index.columns[i].column) + " COLLATE JETTEXT";
        if (index.columns[i].descending) {
            sql += " DESC";
        }
        if (i) {
            notNull += " AND ";
        }
        notNull += quoteIdent(index.columns[i].column) + " IS NOT NULL";
    }
    sql += ")";
    if (index.ignoreNulls) {
        sql += " WHERE " + notNull;
    }
    return sql;
}

void dropTableTriggers(sqlite3* db, const TableInfo& table) {
    for (const char* kind : {"bi", "bu", "bd", "au", "ad"}) {
        execSql(db, "DROP TRIGGER IF EXISTS " +
                        quoteIdent("orvtr_" + std::to_string(table.id) + "_" + kind));
    }
}

std::vector<std::string> triggerSql(const TableInfo& table, const Catalog& catalog) {
    std::string beforeInsert, beforeUpdate, beforeDelete, afterUpdate, afterDelete;
    auto rowChecks = [&](const char* row) {
        std::string out;
        std::string rowName = row;
        for (const auto& column : table.columns) {
            std::string qualified = rowName + "." + quoteIdent(column.name);
            if (column.required) {
                out += raise(msg::requiredNull(table.name, column.name), qualified + " IS NULL");
            }
            if (!column.allowZeroLength &&
                (column.type == JetType::Text || column.type == JetType::Memo)) {
                out += raise(msg::zeroLength(table.name, column.name), qualified + " = ''");
            }
        }
        for (const auto& index : table.indexes) {
            if (!index.primary && !index.required) {
                continue;
            }
            for (const auto& indexColumn : index.columns) {
                out += raise(msg::kPrimaryKeyNull,
                             rowName + "." + quoteIdent(indexColumn.column) + " IS NULL");
            }
        }
        return out;
    };
    beforeInsert += rowChecks("NEW");
    beforeUpdate += rowChecks("NEW");
    // Indexed texts must have index keys when the file is written; a value
    // the row already had is left to the writer (the file may know its key).
    for (const auto& column : table.columns) {
        if (column.type != JetType::Text && column.type != JetType::Memo) {
            continue;
        }
        bool indexed = false;
        for (const auto& index : table.indexes) {
            for (const auto& indexColumn : index.columns) {
                indexed = indexed || sameName(indexColumn.column, column.name);
            }
        }
        if (!indexed) {
            continue;
        }
        std::string check = "jet_index_text(NEW." + quoteIdent(column.name) + ", " +
                            quoteText(table.name) + ", " + quoteText(column.name) + ")";
        beforeInsert += "SELECT " + check + ";";
        beforeUpdate += "SELECT " + check + " WHERE NEW." + quoteIdent(column.name) +
                        " IS NOT OLD." + quoteIdent(column.name) + ";";
    }

    for (const auto& relationship : catalog.relationships()) {
        if (relationship.grbit & relationship_flags::kNoIntegrity) {
            continue;
        }
        const TableInfo* child = catalog.findTableInfo(relationship.foreignTable);
        const TableInfo* parent = catalog.findTableInfo(relationship.primaryTable);
        if (!child || !parent) {
            continue;
        }
        size_t n = relationship.foreignColumns.size();
        if (sameName(child->name, table.name)) {
            // A referring row needs its parent (unless a key column is Null).
            std::string cond, match;
            for (size_t i = 0; i < n; ++i) {
                if (i) {
                    cond += " AND ";
                    match += " AND ";
                }
                cond += "NEW." + quoteIdent(relationship.foreignColumns[i]) + " IS NOT NULL";
                match += "p." + quoteIdent(relationship.primaryColumns[i]) + " = NEW." +
                         quoteIdent(relationship.foreignColumns[i]) + " COLLATE JETTEXT";
            }
            std::string check =
                raise(msg::relatedRecordRequired(parent->name),
                      cond + " AND NOT EXISTS (SELECT 1 FROM " + quoteIdent(parent->storedName) +
                          " AS p WHERE " + match + ")");
            beforeInsert += check;
            beforeUpdate += check;
        }
        if (sameName(parent->name, table.name)) {
            std::string matchOld, changed, setNew, setNull;
            for (size_t i = 0; i < n; ++i) {
                if (i) {
                    matchOld += " AND ";
                    changed += " OR ";
                    setNew += ", ";
                    setNull += ", ";
                }
                std::string foreignColumn = quoteIdent(relationship.foreignColumns[i]);
                std::string primaryColumn = quoteIdent(relationship.primaryColumns[i]);
                matchOld += foreignColumn + " = OLD." + primaryColumn + " COLLATE JETTEXT";
                changed += "OLD." + primaryColumn + " IS NOT NEW." + primaryColumn;
                setNew += foreignColumn + " = NEW." + primaryColumn;
                setNull += foreignColumn + " = NULL";
            }
            std::string inChild = " FROM " + quoteIdent(child->storedName) + " WHERE " + matchOld;
            if (relationship.grbit & relationship_flags::kCascadeUpdates) {
                afterUpdate += "UPDATE " + quoteIdent(child->storedName) + " SET " + setNew +
                               " WHERE (" + changed + ") AND " + matchOld + ";";
            } else if (relationship.grbit & relationship_flags::kCascadeSetNull) {
                afterUpdate += "UPDATE " + quoteIdent(child->storedName) + " SET " + setNull +
                               " WHERE (" + changed + ") AND " + matchOld + ";";
            } else {
                beforeUpdate += raise(msg::relatedRecordsExist(child->name),
                                      "(" + changed + ") AND EXISTS (SELECT 1" + inChild + ")");
            }
            if (relationship.grbit & relationship_flags::kCascadeDeletes) {
                afterDelete += "DELETE" + inChild + ";";
            } else if (relationship.grbit & relationship_flags::kCascadeSetNull) {
                afterDelete += "UPDATE " + quoteIdent(child->storedName) + " SET " + setNull +
                               " WHERE " + matchOld + ";";
            } else {
                beforeDelete += raise(msg::relatedRecordsExist(child->name),
                                      "EXISTS (SELECT 1" + inChild + ")");
            }
        }
    }

    std::vector<std::string> out;
    std::string quotedTable = quoteIdent(table.storedName);
    auto add = [&](const char* kind, const char* when, const std::string& body) {
        if (body.empty()) {
            return;
        }
        out.push_back("CREATE TRIGGER " +
                      quoteIdent("orvtr_" + std::to_string(table.id) + "_" + kind) + " " + when +
                      " ON " + quotedTable + " BEGIN " + body + " END");
    };
    add("bi", "BEFORE INSERT", beforeInsert);
    add("bu", "BEFORE UPDATE", beforeUpdate);
    add("bd", "BEFORE DELETE", beforeDelete);
    add("au", "AFTER UPDATE", afterUpdate);
    add("ad", "AFTER DELETE", afterDelete);
    return out;
}

}  // namespace orvdb::engine::catalog_sql
