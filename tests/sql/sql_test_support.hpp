// Test support for the SQL front end: a fixed schema standing in for the
// catalog, and an in-memory SQLite store laid out like the working store
// (columns without declared type) with the engine's functions registered.
#pragma once

#include "engine/engine_error.hpp"
#include "engine/functions/jet_functions.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/sql/names.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

namespace orvdb::engine::sql::testing {

inline ColumnDef col(std::string name, JetType type, int size = 0) {
    ColumnDef c;
    c.name = std::move(name);
    c.type = type;
    c.size = size ? size : (type == JetType::Text ? 255 : 0);
    return c;
}

inline ColumnDef autoCol(std::string name) {
    ColumnDef c = col(std::move(name), JetType::Long);
    c.autoNumber = true;
    return c;
}

class FakeSchema : public SchemaResolver {
public:
    FakeSchema& table(std::string name, std::vector<ColumnDef> columns, std::string stored = "") {
        ResolvedTable t;
        t.storedName = stored.empty() ? name : stored;
        t.name = std::move(name);
        t.columns = std::move(columns);
        tables_.push_back(std::move(t));
        return *this;
    }
    FakeSchema& view(std::string name, std::string accessSql) {
        views_.push_back(ResolvedView{std::move(name), std::move(accessSql)});
        return *this;
    }
    std::optional<ResolvedTable> findTable(std::string_view name) const override {
        for (const auto& t : tables_) {
            if (sameName(t.name, name)) {
                return t;
            }
        }
        return std::nullopt;
    }
    std::optional<ResolvedView> findView(std::string_view name) const override {
        for (const auto& v : views_) {
            if (sameName(v.name, name)) {
                return v;
            }
        }
        return std::nullopt;
    }
    const std::vector<ResolvedTable>& tables() const { return tables_; }

private:
    std::vector<ResolvedTable> tables_;
    std::vector<ResolvedView> views_;
};

// The schema most tests use: a small model of the suite's provider database.
inline FakeSchema suiteSchema() {
    FakeSchema s;
    ColumnDef weight = col("Weight", JetType::Decimal);
    weight.precision = 18;
    weight.scale = 4;
    s.table("Article",
            {autoCol("ID"), col("Reference", JetType::Text, 50), col("RefGroup", JetType::Long),
             col("Price", JetType::Currency), col("Active", JetType::Boolean),
             col("Created", JetType::DateTime), weight, col("Notes", JetType::Memo)});
    s.table("GroupArticle", {autoCol("ID"), col("Name", JetType::Text, 50)});
    s.table("Language",
            {autoCol("ID"), col("Name", JetType::Text), col("Français", JetType::Text),
             col("English", JetType::Text)},
            "Language_store");
    s.table("MSysObjects",
            {col("Id", JetType::Long), col("ParentId", JetType::Long), col("Name", JetType::Text),
             col("Type", JetType::Integer), col("Flags", JetType::Long)});
    s.table("Version", {col("Version", JetType::Single)});
    s.table("Scores", {col("Player", JetType::Text, 20), col("Points", JetType::Long)});
    s.view("Get_Articles", "SELECT ID, Reference AS Ref FROM Article WHERE Active");
    s.view("Articles_Of_Get", "SELECT Ref FROM Get_Articles");
    s.view("LoopA", "SELECT * FROM LoopB");
    s.view("LoopB", "SELECT * FROM LoopA");
    return s;
}

// Message of the SqlError that fn raises; "" when it raises none.
template <typename Fn>
std::string errorOf(Fn&& fn) {
    try {
        fn();
    } catch (const SqlError& e) {
        return e.what();
    }
    return "";
}

// An in-memory store for the schema: tables under their stored names with
// untyped columns, the engine's functions and collation, and simple
// stand-ins for the catalog's autonumber functions.
class TestStore {
public:
    explicit TestStore(const FakeSchema& schema) : schema_(schema) {
        if (sqlite3_open(":memory:", &db_) != SQLITE_OK) {
            throw std::runtime_error("sqlite open");
        }
        registerJetCollation(db_);
        registerJetFunctions(db_);
        sqlite3_create_function(db_, "jet_next_autonumber", 1, SQLITE_UTF8, this, &nextAuto,
                                nullptr, nullptr);
        sqlite3_create_function(db_, "jet_note_autonumber", 2, SQLITE_UTF8, this, &noteAuto,
                                nullptr, nullptr);
        sqlite3_create_function(db_, "jet_identity", 0, SQLITE_UTF8, this, &identity, nullptr,
                                nullptr);
        for (const auto& t : schema.tables()) {
            std::string ddl = "CREATE TABLE " + quoteName(t.storedName) + " (";
            for (size_t i = 0; i < t.columns.size(); ++i) {
                if (i) {
                    ddl += ", ";
                }
                ddl += quoteName(t.columns[i].name);
            }
            exec(ddl + ")");
        }
    }
    ~TestStore() { sqlite3_close(db_); }
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;

    void exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string m = err ? err : "?";
            sqlite3_free(err);
            throw std::runtime_error(m + " in: " + sql);
        }
    }

    // Translates Access SQL and runs it; a select's rows come back as texts
    // joined by "|" ("NULL" for Null), one string per row.
    std::vector<std::string> run(const std::string& accessSql) {
        return query(translateHere(accessSql).sql);
    }

    // Translates with this store answering a crosstab's pivot values.
    Translation translateHere(const std::string& accessSql) {
        PivotValueReader reader = [this](const std::string& sql) {
            std::vector<SqlValue> values;
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
                throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
            }
            while (sqlite3_step(st) == SQLITE_ROW) {
                values.push_back(readColumnValue(st, 0));
            }
            sqlite3_finalize(st);
            ++pivotReads_;
            return values;
        };
        return translate(accessSql, schema_, &reader);
    }
    int pivotReads() const { return pivotReads_; }

    std::vector<std::string> query(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
        }
        std::vector<std::string> rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                if (i) {
                    row += "|";
                }
                if (sqlite3_column_type(st, i) == SQLITE_NULL) {
                    row += "NULL";
                } else {
                    row += reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                }
            }
            rows.push_back(row);
        }
        std::string err = rc == SQLITE_DONE ? "" : sqlite3_errmsg(db_);
        sqlite3_finalize(st);
        if (!err.empty()) {
            throw std::runtime_error(err + " in: " + sql);
        }
        return rows;
    }

    sqlite3* db() { return db_; }

private:
    // The counters are kept under the name a table is stored as.
    bool stored(const std::string& table) const {
        for (const auto& candidate : schema_.tables()) {
            if (candidate.storedName == table) {
                return true;
            }
        }
        return false;
    }
    static void nextAuto(sqlite3_context* ctx, int, sqlite3_value** argv) {
        auto* self = static_cast<TestStore*>(sqlite3_user_data(ctx));
        std::string table = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        if (!self->stored(table)) {
            sqlite3_result_error(ctx, ("no stored table " + table).c_str(), -1);
            return;
        }
        self->last_ = ++self->counters_[table];
        sqlite3_result_int64(ctx, self->last_);
    }
    static void noteAuto(sqlite3_context* ctx, int, sqlite3_value** argv) {
        auto* self = static_cast<TestStore*>(sqlite3_user_data(ctx));
        std::string table = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        if (!self->stored(table)) {
            sqlite3_result_error(ctx, ("no stored table " + table).c_str(), -1);
            return;
        }
        int64_t v = sqlite3_value_int64(argv[1]);
        if (v > self->counters_[table]) {
            self->counters_[table] = v;
        }
        self->last_ = v;
        sqlite3_result_int64(ctx, v);
    }
    static void identity(sqlite3_context* ctx, int, sqlite3_value**) {
        sqlite3_result_int64(ctx, static_cast<TestStore*>(sqlite3_user_data(ctx))->last_);
    }

    const FakeSchema& schema_;
    sqlite3* db_ = nullptr;
    int pivotReads_ = 0;
    std::map<std::string, int64_t> counters_;
    int64_t last_ = 0;
};

}  // namespace orvdb::engine::sql::testing
