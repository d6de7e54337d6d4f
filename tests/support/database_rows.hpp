// Reading a database file back through an engine connection of its own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "engine/dataset/connection.hpp"

namespace orvdb::test_support {

using Lines = std::vector<std::string>;

// Each row's fields as text (as their Jet column types print), joined by '|'.
inline Lines resultRows(const engine::QueryResult& result) {
    Lines out;
    for (const engine::Row& row : result.rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            const std::optional<engine::JetType>& type = result.fields[i].jetType;
            line += (i ? "|" : "") +
                    (type ? engine::valueToText(row[i], *type) : engine::valueToText(row[i]));
        }
        out.push_back(line);
    }
    return out;
}

inline Lines selectRows(engine::Connection& connection, const std::string& sql) {
    return resultRows(connection.query(sql));
}

inline Lines selectRows(const std::filesystem::path& file, const std::string& sql) {
    engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string());
    connection.open();
    return selectRows(connection, sql);
}

struct RowCheck {
    const char* what;
    const char* sql;
    Lines expected;
};

inline void expectRows(engine::Connection& connection, std::span<const RowCheck> checks) {
    for (const RowCheck& check : checks) {
        EXPECT_EQ(selectRows(connection, check.sql), check.expected) << check.what;
    }
}

// Every row of every user table as "table:|field|field...", sorted within
// each table.
inline Lines allTableRows(const std::filesystem::path& file) {
    engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string());
    connection.open();
    Lines out;
    for (const std::string& table : connection.userTableNames()) {
        Lines tableRows;
        for (const engine::Row& row : connection.query("SELECT * FROM [" + table + "]").rows) {
            std::string line = table + ":";
            for (const engine::SqlValue& value : row) {
                line += "|" + engine::valueToText(value);
            }
            tableRows.push_back(line);
        }
        std::sort(tableRows.begin(), tableRows.end());
        out.insert(out.end(), tableRows.begin(), tableRows.end());
    }
    return out;
}

// The lines only one side has, marked "-" (only the expected) and "+" (only
// the actual), in sorted order: empty when both hold the same lines.
inline Lines differences(Lines actual, Lines expected) {
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    Lines out;
    std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                        std::back_inserter(out));
    for (std::string& line : out) {
        line = "- " + line;
    }
    Lines extra;
    std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                        std::back_inserter(extra));
    for (const std::string& line : extra) {
        out.push_back("+ " + line);
    }
    return out;
}

inline void copyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::remove_all(to);
    std::filesystem::create_directories(to);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}

}  // namespace orvdb::test_support
