// Evaluating Jet functions through a real in-memory SQLite database, and an
// independent calendar (std::chrono) to state expected dates by hand.
#pragma once

#include "engine/functions/jet_functions.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>

namespace orvdb::engine::testing {

// One row of a table-driven test: an SQL expression and what eval() gives.
struct SqlCase {
    const char* expression;
    const char* expected;
};

// Days since 1899-12-30 of a civil date, by std::chrono, with Jet's encoding
// of the time of day (before 1899-12-30 the fraction is subtracted).
inline double jetSerial(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    using namespace std::chrono;
    const auto days =
        (sys_days{year{y} / month{m} / day{d}} - sys_days{1899y / December / 30d}).count();
    const double fraction = (hh * 3600 + mm * 60 + ss) / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

// "YYYY-MM-DD hh:mm:ss" of a Jet serial, decoded with std::chrono.
inline std::string civilText(double serial) {
    using namespace std::chrono;
    const double whole = std::trunc(serial);
    long long seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    long long dayCount = static_cast<long long>(whole);
    if (seconds == 86400) {
        seconds = 0;
        ++dayCount;
    }
    const year_month_day ymd{sys_days{1899y / December / 30d} + days{dayCount}};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02lld:%02lld:%02lld", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), seconds / 3600, (seconds / 60) % 60,
                  seconds % 60);
    return buffer;
}

inline std::string shortestReal(double value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

class JetSqlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        registerJetCollation(db_);
        registerJetFunctions(db_);
    }
    void TearDown() override { sqlite3_close(db_); }

    void exec(const std::string& sql) {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << sql << ": " << (error ? error : "");
        sqlite3_free(error);
    }

    // "SELECT <expression>" described as "null", "int:3", "real:2.5",
    // "text:abc", "blob:0A0B" or "error:<message>". With asDate a REAL is
    // shown as "date:YYYY-MM-DD hh:mm:ss".
    std::string eval(const std::string& expression, bool asDate = false) {
        const std::string sql = "SELECT " + expression;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            return std::string("prepare-error:") + sqlite3_errmsg(db_);
        }
        std::string result;
        if (sqlite3_step(stmt) != SQLITE_ROW) {
            result = std::string("error:") + sqlite3_errmsg(db_);
        } else {
            result = describe(stmt, 0, asDate);
        }
        sqlite3_finalize(stmt);
        return result;
    }

    std::string evalDate(const std::string& expression) { return eval(expression, true); }

    // Checks every case, reporting each mismatch with its expression. A
    // REAL is shown as a date where the expected text is one.
    void expectCases(std::span<const SqlCase> cases) {
        for (const SqlCase& c : cases) {
            const bool asDate = std::string_view(c.expected).starts_with("date:");
            EXPECT_EQ(eval(c.expression, asDate), c.expected) << c.expression;
        }
    }

    // Every row of a query, columns separated by '|', rows by ';'.
    std::string rows(const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            return std::string("prepare-error:") + sqlite3_errmsg(db_);
        }
        std::string out;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!out.empty()) {
                out += ";";
            }
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                if (c > 0) {
                    out += "|";
                }
                out += describe(stmt, c, false);
            }
        }
        if (rc != SQLITE_DONE) {
            out += std::string("error:") + sqlite3_errmsg(db_);
        }
        sqlite3_finalize(stmt);
        return out;
    }

    sqlite3* db_ = nullptr;

private:
    static std::string describe(sqlite3_stmt* stmt, int column, bool asDate) {
        switch (sqlite3_column_type(stmt, column)) {
            case SQLITE_NULL:
                return "null";
            case SQLITE_INTEGER:
                return "int:" + std::to_string(sqlite3_column_int64(stmt, column));
            case SQLITE_FLOAT: {
                const double v = sqlite3_column_double(stmt, column);
                return asDate ? "date:" + civilText(v) : "real:" + shortestReal(v);
            }
            case SQLITE_TEXT:
                return std::string("text:") +
                       reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            default: {
                const auto* bytes =
                    static_cast<const unsigned char*>(sqlite3_column_blob(stmt, column));
                std::string hex = "blob:";
                char two[3];
                for (int i = 0; i < sqlite3_column_bytes(stmt, column); ++i) {
                    std::snprintf(two, sizeof two, "%02X", bytes[i]);
                    hex += two;
                }
                return hex;
            }
        }
    }
};

}  // namespace orvdb::engine::testing
