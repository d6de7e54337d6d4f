// A MariaDB database copied into a new Access file.
#include <filesystem>
#include <map>

#include "base/names.hpp"
#include "data/jet_backend.hpp"
#include "data/mariadb/column_types.hpp"
#include "data/mariadb/copy.hpp"
#include "data/mariadb/session.hpp"
#include "engine/dataset/table_dataset.hpp"
#include "engine/sql/translate/mariadb_dialect.hpp"
#include "engine/store/working_store.hpp"
#include "host/utf16.hpp"

namespace orvdb::data::mariadb {

namespace {

std::string bracket(const std::string& name) {
    return "[" + name + "]";
}

// The WITH clause an orvdb copy kept in an index's comment.
std::string accessIndexOption(const std::string& comment) {
    const std::string prefix = "access:";
    return comment.rfind(prefix, 0) == 0 ? comment.substr(prefix.size()) : std::string();
}

std::string text(const engine::SqlValue& value) {
    return engine::valueToText(value);
}

int64_t integer(const engine::SqlValue& value) {
    if (auto number = std::get_if<int64_t>(&value)) {
        return *number;
    }
    return 0;
}

struct ServerIndex {
    std::string name;
    bool unique = false;
    std::vector<engine::IndexColumn> columns;
    std::string comment;
};

struct ServerForeignKey {
    std::string name;
    std::string table;
    std::string referencedTable;
    std::vector<std::string> columns;
    std::vector<std::string> referencedColumns;
    std::string updateRule;
    std::string deleteRule;
};

class Copier {
public:
    Copier(const Settings& server, const std::string& file, const ProgressSink& progress)
        : session_(server), file_(file), progress_(progress) {}

    CopyReport run() {
        if (std::filesystem::exists(file_)) {
            throw std::runtime_error("'" + file_ +
                                     "' exists already; the copy makes a new Access file");
        }
        session_.open();
        std::vector<std::string> tables = column(
            "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
            "TABLE_TYPE='BASE TABLE' ORDER BY CREATE_TIME, TABLE_NAME");
        engine::WorkingStore::createDatabase(file_);
        try {
            access_.setConnectionString(engineConnectionString(host::toUtf16(file_)));
            access_.open();
            std::vector<ServerForeignKey> keys = foreignKeys();
            for (size_t i = 0; i < tables.size(); ++i) {
                copyTable(tables[i], i + 1, tables.size(), keys);
            }
            for (const ServerForeignKey& key : keys) {
                copyForeignKey(key);
            }
            for (const std::string& view :
                 column("SELECT TABLE_NAME FROM information_schema.VIEWS WHERE "
                        "TABLE_SCHEMA=DATABASE() ORDER BY TABLE_NAME")) {
                report_.queriesLeftOut.push_back("view '" + view +
                                                 "': MariaDB's SQL is not Access SQL, not copied");
            }
            access_.close();
        } catch (...) {
            // A half-made file is no copy: it goes, and the error tells why.
            try {
                access_.close();
            } catch (...) {
                // Removed below either way.
            }
            std::error_code ignored;
            std::filesystem::remove(file_, ignored);
            throw;
        }
        return report_;
    }

private:
    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> values;
        for (const engine::Row& row : session_.query(sql).rows) {
            values.push_back(text(row.front()));
        }
        return values;
    }

    void run(const std::string& table, const std::string& sql) {
        try {
            access_.execute(sql);
        } catch (const std::exception& e) {
            throw std::runtime_error("table '" + table + "': " + e.what() + " [" + sql + "]");
        }
    }

    std::vector<ServerForeignKey> foreignKeys() {
        engine::QueryResult rows = session_.query(
            "SELECT k.CONSTRAINT_NAME, k.TABLE_NAME, k.COLUMN_NAME, k.REFERENCED_TABLE_NAME, "
            "k.REFERENCED_COLUMN_NAME, r.UPDATE_RULE, r.DELETE_RULE FROM "
            "information_schema.KEY_COLUMN_USAGE k JOIN information_schema.REFERENTIAL_CONSTRAINTS "
            "r ON r.CONSTRAINT_SCHEMA=k.CONSTRAINT_SCHEMA AND r.CONSTRAINT_NAME=k.CONSTRAINT_NAME "
            "AND r.TABLE_NAME=k.TABLE_NAME WHERE k.TABLE_SCHEMA=DATABASE() AND "
            "k.REFERENCED_TABLE_NAME IS NOT NULL ORDER BY k.CONSTRAINT_NAME, k.ORDINAL_POSITION");
        std::vector<ServerForeignKey> keys;
        for (const engine::Row& row : rows.rows) {
            if (keys.empty() || keys.back().name != text(row[0])) {
                keys.push_back(
                    {text(row[0]), text(row[1]), text(row[3]), {}, {}, text(row[5]), text(row[6])});
            }
            keys.back().columns.push_back(text(row[2]));
            keys.back().referencedColumns.push_back(text(row[4]));
        }
        return keys;
    }

    std::vector<ServerColumn> columns(const std::string& table) {
        engine::QueryResult rows = session_.query(
            "SELECT COLUMN_NAME, DATA_TYPE, COLUMN_TYPE, CHARACTER_MAXIMUM_LENGTH, "
            "NUMERIC_PRECISION, NUMERIC_SCALE, EXTRA, IS_NULLABLE, COLUMN_COMMENT FROM "
            "information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
            session_.quoteText(table) + " ORDER BY ORDINAL_POSITION");
        std::vector<ServerColumn> out;
        for (const engine::Row& row : rows.rows) {
            ServerColumn column;
            column.name = text(row[0]);
            column.dataType = text(row[1]);
            column.columnType = text(row[2]);
            column.length = integer(row[3]);
            column.precision = static_cast<int>(integer(row[4]));
            column.scale = static_cast<int>(integer(row[5]));
            column.autoIncrement = text(row[6]).find("auto_increment") != std::string::npos;
            column.nullable = text(row[7]) == "YES";
            column.comment = text(row[8]);
            out.push_back(std::move(column));
        }
        return out;
    }

    std::vector<ServerIndex> indexes(const std::string& table) {
        engine::QueryResult rows = session_.query(
            "SELECT INDEX_NAME, NON_UNIQUE, COLUMN_NAME, COLLATION, INDEX_COMMENT FROM "
            "information_schema.STATISTICS WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
            session_.quoteText(table) + " ORDER BY INDEX_NAME, SEQ_IN_INDEX");
        std::vector<ServerIndex> out;
        for (const engine::Row& row : rows.rows) {
            if (out.empty() || out.back().name != text(row[0])) {
                out.push_back({text(row[0]), integer(row[1]) == 0, {}, text(row[4])});
            }
            out.back().columns.push_back({text(row[2]), text(row[3]) == "D"});
        }
        return out;
    }

    void copyTable(const std::string& table, size_t number, size_t count,
                   const std::vector<ServerForeignKey>& keys) {
        std::vector<ServerColumn> serverColumns = columns(table);
        // withDefaults false: the declarations without their DEFAULT clauses,
        // for defaults this engine cannot evaluate (GenGUID() ...).
        auto createText = [&](bool withDefaults) {
            std::string create = "CREATE TABLE " + bracket(table) + " (";
            for (size_t i = 0; i < serverColumns.size(); ++i) {
                const ServerColumn& column = serverColumns[i];
                std::optional<std::string> type = accessTypeOf(column);
                if (!type) {
                    throw std::runtime_error("table '" + table + "', column '" + column.name +
                                             "': Access has no type for MariaDB's " +
                                             column.columnType);
                }
                size_t clause = type->find(" DEFAULT ");
                if (clause != std::string::npos && !withDefaults) {
                    report_.leftOut.push_back("default of column '" + column.name + "' of table '" +
                                              table + "': " + type->substr(clause + 9));
                    type->erase(clause);
                } else if (clause != std::string::npos && (*type)[clause + 9] == '=') {
                    // Access keeps some defaults as "=expression"; its DDL takes the expression.
                    type->erase(clause + 9, 1);
                }
                create += (i ? ", " : "") + bracket(column.name) + " " + *type;
                bool declared = column.comment.rfind(kAccessTypeComment, 0) == 0;
                if (!declared && !column.nullable && !column.autoIncrement) {
                    create += " NOT NULL";
                }
            }
            return create + ")";
        };
        try {
            access_.execute(createText(true));
        } catch (const std::exception&) {
            run(table, createText(false));
        }

        engine::QueryResult rows = session_.query("SELECT * FROM " + quoteName(table));
        CopyProgress step{table, number, count, 0, static_cast<int64_t>(rows.rows.size())};
        if (progress_) {
            progress_(step);
        }
        access_.beginTransaction();
        try {
            engine::TableDataset target(access_);
            target.setTableName(table);
            target.open();
            for (const engine::Row& row : rows.rows) {
                target.append();
                for (size_t i = 0; i < row.size(); ++i) {
                    setValue(target, static_cast<int>(i), rows.fields[i], row[i]);
                }
                target.post();
                ++step.rowsDone;
                if (progress_ && step.rowsDone % 10000 == 0) {
                    progress_(step);
                }
            }
            access_.commitTransaction();
        } catch (const std::exception& e) {
            access_.rollbackTransaction();
            throw std::runtime_error("table '" + table + "', row " +
                                     std::to_string(step.rowsDone + 1) + ": " + e.what());
        }
        if (progress_ && step.rowsDone > 0) {
            progress_(step);
        }
        ++report_.tables;
        report_.rows += step.rowsDone;
        copyIndexes(table, keys);
    }

    static void setValue(engine::TableDataset& target, int index, const engine::FieldInfo& field,
                         const engine::SqlValue& value) {
        if (engine::isNull(value)) {
            target.setNull(index);
        } else if (auto bytes = std::get_if<std::vector<uint8_t>>(&value)) {
            target.setBlob(index, *bytes);
        } else if (auto real = std::get_if<double>(&value)) {
            if (field.type == engine::FieldType::DateTime) {
                target.setDateTime(index, *real);
            } else {
                target.setDouble(index, *real);
            }
        } else if (auto number = std::get_if<int64_t>(&value)) {
            if (field.type == engine::FieldType::Boolean) {
                target.setBool(index, *number != 0);
            } else {
                target.setText(index, std::to_string(*number));
            }
        } else {
            target.setText(index, std::get<std::string>(value));
        }
    }

    void copyIndexes(const std::string& table, const std::vector<ServerForeignKey>& keys) {
        std::string primaryName = "PrimaryKey";
        std::string comment = text(session_
                                       .query("SELECT TABLE_COMMENT FROM information_schema.TABLES "
                                              "WHERE TABLE_SCHEMA=DATABASE() "
                                              "AND TABLE_NAME=" +
                                              session_.quoteText(table))
                                       .rows.front()
                                       .front());
        const std::string prefix = "access primary key: ";
        if (comment.rfind(prefix, 0) == 0) {
            primaryName = comment.substr(prefix.size());
        }
        for (const ServerIndex& index : indexes(table)) {
            bool primary = index.name == "PRIMARY";
            bool ofForeignKey = false;
            for (const ServerForeignKey& key : keys) {
                ofForeignKey = ofForeignKey || (key.table == table && key.name == index.name);
            }
            if (ofForeignKey || index.comment == engine::sql::kMariaDbCounterKeyComment) {
                // Access makes the first with the relationship; the second
                // only the server needs.
                continue;
            }
            std::string parts;
            for (const engine::IndexColumn& part : index.columns) {
                parts += (parts.empty() ? "" : ", ") + bracket(part.column) +
                         (part.descending ? " DESC" : "");
            }
            std::string name = primary ? primaryName : index.name;
            std::string sql = std::string("CREATE ") + (index.unique && !primary ? "UNIQUE " : "") +
                              "INDEX " + bracket(name) + " ON " + bracket(table) + " (" + parts +
                              ")" + (primary ? " WITH PRIMARY" : accessIndexOption(index.comment));
            try {
                access_.execute(sql);
                ++report_.indexes;
            } catch (const std::exception& e) {
                report_.leftOut.push_back("index '" + index.name + "' of table '" + table +
                                          "': " + e.what());
            }
        }
    }

    void copyForeignKey(const ServerForeignKey& key) {
        auto list = [](const std::vector<std::string>& names) {
            std::string out;
            for (const std::string& name : names) {
                out += (out.empty() ? "" : ", ") + bracket(name);
            }
            return out;
        };
        std::string sql = "ALTER TABLE " + bracket(key.table) + " ADD CONSTRAINT " +
                          bracket(key.name) + " FOREIGN KEY (" + list(key.columns) +
                          ") REFERENCES " + bracket(key.referencedTable) + " (" +
                          list(key.referencedColumns) + ")";
        if (key.updateRule == "CASCADE") {
            sql += " ON UPDATE CASCADE";
        }
        if (key.deleteRule == "CASCADE") {
            sql += " ON DELETE CASCADE";
        } else if (key.deleteRule == "SET NULL") {
            sql += " ON DELETE SET NULL";
        }
        run(key.table, sql);
        ++report_.foreignKeys;
    }

    Session session_;
    std::string file_;
    const ProgressSink& progress_;
    engine::Connection access_;
    CopyReport report_;
};

}  // namespace

CopyReport copyFromServer(const Settings& server, const std::string& accessFile,
                          const ProgressSink& progress) {
    Copier copier(server, accessFile, progress);
    return copier.run();
}

}  // namespace orvdb::data::mariadb
