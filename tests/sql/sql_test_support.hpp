// Test support for the SQL front end: a fixed schema standing in for the
// catalog, and an in-memory SQLite store laid out like the working store
// (columns without declared type) with the engine's functions registered.
#pragma once

#include "../support/column_defs.hpp"
#include "engine/engine_error.hpp"
#include "engine/functions/jet_functions.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/sql/names.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace orvdb::engine::sql::testing {

using test_support::autoNumber;
using test_support::column;

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
        return findNamed(tables_, name);
    }
    std::optional<ResolvedView> findView(std::string_view name) const override {
        return findNamed(views_, name);
    }
    const std::vector<ResolvedTable>& tables() const { return tables_; }

private:
    template <typename T>
    static std::optional<T> findNamed(const std::vector<T>& list, std::string_view name) {
        for (const T& item : list) {
            if (sameName(item.name, name)) {
                return item;
            }
        }
        return std::nullopt;
    }
    std::vector<ResolvedTable> tables_;
    std::vector<ResolvedView> views_;
};

// The schema most tests use: a small model of the suite's provider database.
inline FakeSchema suiteSchema() {
    FakeSchema s;
    ColumnDef weight = column("Weight", JetType::Decimal);
    weight.precision = 18;
    weight.scale = 4;
    s.table("Article", {autoNumber("ID"), column("Reference", JetType::Text, 50),
                        column("RefGroup", JetType::Long), column("Price", JetType::Currency),
                        column("Active", JetType::Boolean), column("Created", JetType::DateTime),
                        weight, column("Notes", JetType::Memo)});
    s.table("GroupArticle", {autoNumber("ID"), column("Name", JetType::Text, 50)});
    s.table("Language",
            {autoNumber("ID"), column("Name", JetType::Text), column("Français", JetType::Text),
             column("English", JetType::Text)},
            "Language_store");
    s.table("MSysObjects", {column("Id", JetType::Long), column("ParentId", JetType::Long),
                            column("Name", JetType::Text), column("Type", JetType::Integer),
                            column("Flags", JetType::Long)});
    s.table("Version", {column("Version", JetType::Single)});
    s.table("Scores", {column("Player", JetType::Text, 20), column("Points", JetType::Long)});
    s.table("Sales", {column("Region", JetType::Text, 20), column("Quarter", JetType::Text, 5),
                      column("Yr", JetType::Long), column("Amount", JetType::Long)});
    s.view("RegionQuarters",
           "TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region PIVOT Quarter");
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
            sqlite3_stmt* st = prepare(sql);
            while (sqlite3_step(st) == SQLITE_ROW) {
                values.push_back(readColumnValue(st, 0));
            }
            sqlite3_finalize(st);
            return values;
        };
        return translate(accessSql, schema_, &reader);
    }

    std::vector<std::string> query(const std::string& sql) {
        sqlite3_stmt* st = prepare(sql);
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

private:
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
        }
        return st;
    }
    // The counter of the table named by the first argument, kept under the
    // name the table is stored as; null (with the error set) for another name.
    static int64_t* counterOf(sqlite3_context* ctx, sqlite3_value** argv) {
        auto* self = static_cast<TestStore*>(sqlite3_user_data(ctx));
        std::string table = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        for (const auto& candidate : self->schema_.tables()) {
            if (candidate.storedName == table) {
                return &self->counters_[table];
            }
        }
        sqlite3_result_error(ctx, ("no stored table " + table).c_str(), -1);
        return nullptr;
    }
    static void nextAuto(sqlite3_context* ctx, int, sqlite3_value** argv) {
        if (int64_t* counter = counterOf(ctx, argv)) {
            auto* self = static_cast<TestStore*>(sqlite3_user_data(ctx));
            self->last_ = ++*counter;
            sqlite3_result_int64(ctx, self->last_);
        }
    }
    static void noteAuto(sqlite3_context* ctx, int, sqlite3_value** argv) {
        if (int64_t* counter = counterOf(ctx, argv)) {
            int64_t value = sqlite3_value_int64(argv[1]);
            *counter = std::max(*counter, value);
            static_cast<TestStore*>(sqlite3_user_data(ctx))->last_ = value;
            sqlite3_result_int64(ctx, value);
        }
    }
    static void identity(sqlite3_context* ctx, int, sqlite3_value**) {
        sqlite3_result_int64(ctx, static_cast<TestStore*>(sqlite3_user_data(ctx))->last_);
    }

    const FakeSchema& schema_;
    sqlite3* db_ = nullptr;
    std::map<std::string, int64_t> counters_;
    int64_t last_ = 0;
};

}  // namespace orvdb::engine::sql::testing
