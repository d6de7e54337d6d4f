#include "engine/catalog/catalog_sql.hpp"

#include "engine/jet_datetime.hpp"
#include "engine/jet_errors.hpp"
#include "engine/store/sqlite_util.hpp"

#include <cctype>
#include <charconv>

namespace orvdb::engine::catalog_sql {

namespace {

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) {
        ++b;
    }
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) {
        --e;
    }
    return std::string(s.substr(b, e - b));
}

std::string upper(std::string s) {
    for (auto& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

bool isNumber(const std::string& s) {
    if (s.empty()) {
        return false;
    }
    double v;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

std::string raise(const std::string& message, const std::string& condition) {
    return "SELECT RAISE(ABORT, " + quoteText(message) + ") WHERE " + condition + ";";
}

}  // namespace

std::string sqliteDefault(const ColumnDef& column) {
    if (!column.defaultValue) {
        return column.type == JetType::Boolean ? "0" : "";
    }
    std::string v = trim(*column.defaultValue);
    if (v.size() >= 3 && v.front() == '=') {
        v = trim(v.substr(1));
    }
    std::string u = upper(v);
    if (u == "TRUE" || u == "YES" || u == "ON") {
        return "-1";
    }
    if (u == "FALSE" || u == "NO" || u == "OFF") {
        return "0";
    }
    if (u == "NULL") {
        return "NULL";
    }
    if (u == "NOW()") {
        return "(julianday('now','localtime') - 2415018.5)";
    }
    if (u == "DATE()") {
        return "(CAST(julianday('now','localtime') - 2415018.5 AS INTEGER))";
    }
    if (u == "TIME()") {
        return "(julianday('now','localtime') - 2415018.5 - "
               "CAST(julianday('now','localtime') - 2415018.5 AS INTEGER))";
    }
    std::string sign;
    std::string num = v;
    if (!num.empty() && (num[0] == '-' || num[0] == '+')) {
        sign = num[0] == '-' ? "-" : "";
        num = trim(num.substr(1));
    }
    if (isNumber(num)) {
        if (column.type == JetType::Text || column.type == JetType::Memo) {
            return quoteText(sign + num);
        }
        return sign + num;
    }
    if (v.size() >= 2 && (v.front() == '\'' || v.front() == '"') && v.back() == v.front()) {
        std::string inner;
        char q = v.front();
        for (size_t i = 1; i + 1 < v.size(); ++i) {
            inner += v[i];
            if (v[i] == q && i + 2 < v.size() && v[i + 1] == q) {
                ++i;
            }
        }
        return quoteText(inner);
    }
    if (v.size() >= 2 && v.front() == '#' && v.back() == '#') {
        if (auto d = parseJetDate(v.substr(1, v.size() - 2))) {
            char buf[64];
            auto [p, ec] = std::to_chars(buf, buf + sizeof buf, *d);
            return std::string(buf, p);
        }
    }
    return "";
}

std::string columnSql(const ColumnDef& column) {
    // No declared type: the engine converts values itself (jet_coerce), and
    // SQLite must not apply an affinity of its own.
    std::string sql = quoteIdent(column.name);
    std::string def = sqliteDefault(column);
    if (!def.empty()) {
        sql += " DEFAULT " + (def.front() == '(' ? def : "(" + def + ")");
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

std::vector<std::string> triggerSql(const TableInfo& t, const Catalog& catalog) {
    std::string beforeInsert, beforeUpdate, beforeDelete, afterUpdate, afterDelete;
    auto rowChecks = [&](const char* row) {
        std::string out;
        std::string r = row;
        for (const auto& c : t.columns) {
            std::string col = r + "." + quoteIdent(c.name);
            if (c.required) {
                out += raise(jet::requiredNull(t.name, c.name), col + " IS NULL");
            }
            if (!c.allowZeroLength && (c.type == JetType::Text || c.type == JetType::Memo)) {
                out += raise(jet::zeroLength(t.name, c.name), col + " = ''");
            }
        }
        for (const auto& ix : t.indexes) {
            if (!ix.primary && !ix.required) {
                continue;
            }
            for (const auto& ic : ix.columns) {
                out += raise(jet::kPrimaryKeyNull, r + "." + quoteIdent(ic.column) + " IS NULL");
            }
        }
        return out;
    };
    beforeInsert += rowChecks("NEW");
    beforeUpdate += rowChecks("NEW");
    // Indexed texts must have index keys when the file is written; a value
    // the row already had is left to the writer (the file may know its key).
    for (const auto& c : t.columns) {
        if (c.type != JetType::Text && c.type != JetType::Memo) {
            continue;
        }
        bool indexed = false;
        for (const auto& ix : t.indexes) {
            for (const auto& ic : ix.columns) {
                indexed = indexed || sameName(ic.column, c.name);
            }
        }
        if (!indexed) {
            continue;
        }
        std::string check = "jet_index_text(NEW." + quoteIdent(c.name) + ", " + quoteText(t.name) +
                            ", " + quoteText(c.name) + ")";
        beforeInsert += "SELECT " + check + ";";
        beforeUpdate += "SELECT " + check + " WHERE NEW." + quoteIdent(c.name) + " IS NOT OLD." +
                        quoteIdent(c.name) + ";";
    }

    for (const auto& rel : catalog.relationships()) {
        if (rel.grbit & relationship_flags::kNoIntegrity) {
            continue;
        }
        const TableInfo* child = catalog.findTableInfo(rel.foreignTable);
        const TableInfo* parent = catalog.findTableInfo(rel.primaryTable);
        if (!child || !parent) {
            continue;
        }
        size_t n = rel.foreignColumns.size();
        if (sameName(child->name, t.name)) {
            // A referring row needs its parent (unless a key column is Null).
            std::string cond, match;
            for (size_t i = 0; i < n; ++i) {
                if (i) {
                    cond += " AND ";
                    match += " AND ";
                }
                cond += "NEW." + quoteIdent(rel.foreignColumns[i]) + " IS NOT NULL";
                match += "p." + quoteIdent(rel.primaryColumns[i]) + " = NEW." +
                         quoteIdent(rel.foreignColumns[i]) + " COLLATE JETTEXT";
            }
            std::string check =
                raise(jet::relatedRecordRequired(parent->name),
                      cond + " AND NOT EXISTS (SELECT 1 FROM " + quoteIdent(parent->storedName) +
                          " AS p WHERE " + match + ")");
            beforeInsert += check;
            beforeUpdate += check;
        }
        if (sameName(parent->name, t.name)) {
            std::string matchOld, changed, setNew, setNull;
            for (size_t i = 0; i < n; ++i) {
                if (i) {
                    matchOld += " AND ";
                    changed += " OR ";
                    setNew += ", ";
                    setNull += ", ";
                }
                std::string fc = quoteIdent(rel.foreignColumns[i]);
                std::string pc = quoteIdent(rel.primaryColumns[i]);
                matchOld += fc + " = OLD." + pc + " COLLATE JETTEXT";
                changed += "OLD." + pc + " IS NOT NEW." + pc;
                setNew += fc + " = NEW." + pc;
                setNull += fc + " = NULL";
            }
            std::string inChild = " FROM " + quoteIdent(child->storedName) + " WHERE " + matchOld;
            if (rel.grbit & relationship_flags::kCascadeUpdates) {
                afterUpdate += "UPDATE " + quoteIdent(child->storedName) + " SET " + setNew +
                               " WHERE (" + changed + ") AND " + matchOld + ";";
            } else if (rel.grbit & relationship_flags::kCascadeSetNull) {
                afterUpdate += "UPDATE " + quoteIdent(child->storedName) + " SET " + setNull +
                               " WHERE (" + changed + ") AND " + matchOld + ";";
            } else {
                beforeUpdate += raise(jet::relatedRecordsExist(child->name),
                                      "(" + changed + ") AND EXISTS (SELECT 1" + inChild + ")");
            }
            if (rel.grbit & relationship_flags::kCascadeDeletes) {
                afterDelete += "DELETE" + inChild + ";";
            } else if (rel.grbit & relationship_flags::kCascadeSetNull) {
                afterDelete += "UPDATE " + quoteIdent(child->storedName) + " SET " + setNull +
                               " WHERE " + matchOld + ";";
            } else {
                beforeDelete += raise(jet::relatedRecordsExist(child->name),
                                      "EXISTS (SELECT 1" + inChild + ")");
            }
        }
    }

    std::vector<std::string> out;
    std::string table = quoteIdent(t.storedName);
    auto add = [&](const char* kind, const char* when, const std::string& body) {
        if (body.empty()) {
            return;
        }
        out.push_back("CREATE TRIGGER " + quoteIdent("orvtr_" + std::to_string(t.id) + "_" + kind) +
                      " " + when + " ON " + table + " BEGIN " + body + " END");
    };
    add("bi", "BEFORE INSERT", beforeInsert);
    add("bu", "BEFORE UPDATE", beforeUpdate);
    add("bd", "BEFORE DELETE", beforeDelete);
    add("au", "AFTER UPDATE", afterUpdate);
    add("ad", "AFTER DELETE", afterDelete);
    return out;
}

}  // namespace orvdb::engine::catalog_sql
