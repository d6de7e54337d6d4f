// A database's schema as text lines in a stable order, for comparing with a
// reviewed copy. Views are read through the connection, so one that reads
// another database needs the connection's working folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/dataset/connection.hpp"

namespace orvdb::test_support {

inline std::string columnText(const engine::ColumnDef& column) {
    std::string text = column.name + " " + std::string(engine::jetTypeName(column.type));
    if (column.type == engine::JetType::Text) {
        text += "(" + std::to_string(column.size) + ")";
    }
    if (column.autoNumber) {
        text += " autonumber";
    }
    return text;
}

// columnText of one column of a table, "(none)" or "(no table)".
inline std::string columnOf(engine::Connection& connection, const std::string& table,
                            const std::string& name) {
    const engine::TableInfo* info = connection.store().catalog().findTableInfo(table);
    if (!info) {
        return "(no table)";
    }
    for (const engine::ColumnDef& column : info->columns) {
        if (engine::foldName(column.name) == engine::foldName(name)) {
            return columnText(column);
        }
    }
    return "(none)";
}

inline std::vector<std::string> schemaSnapshot(engine::Connection& connection) {
    auto byName = [](const std::string& a, const std::string& b) {
        return engine::foldName(a) < engine::foldName(b);
    };
    engine::Catalog& catalog = connection.store().catalog();
    std::vector<std::string> lines;

    std::vector<std::string> tables = connection.userTableNames();
    std::sort(tables.begin(), tables.end(), byName);
    for (const std::string& name : tables) {
        const engine::TableInfo* table = catalog.findTableInfo(name);
        lines.push_back("table " + table->name);
        for (const engine::ColumnDef& column : table->columns) {
            lines.push_back("  " + columnText(column));
        }
        std::vector<std::string> indexes;
        for (const engine::IndexDef& index : table->indexes) {
            std::string text = "  index " + index.name + " (";
            for (size_t i = 0; i < index.columns.size(); ++i) {
                text += (i ? ", " : "") + index.columns[i].column;
            }
            text += ")";
            text += index.primary ? " primary" : index.unique ? " unique" : "";
            indexes.push_back(text);
        }
        std::sort(indexes.begin(), indexes.end(), byName);
        lines.insert(lines.end(), indexes.begin(), indexes.end());
    }

    std::vector<std::string> keys;
    for (const engine::Relationship& key : catalog.relationships()) {
        std::string text = "key " + key.name + " " + key.foreignTable + "(";
        for (size_t i = 0; i < key.foreignColumns.size(); ++i) {
            text += (i ? ", " : "") + key.foreignColumns[i];
        }
        text += ") -> " + key.primaryTable + "(";
        for (size_t i = 0; i < key.primaryColumns.size(); ++i) {
            text += (i ? ", " : "") + key.primaryColumns[i];
        }
        keys.push_back(text + ")");
    }
    std::sort(keys.begin(), keys.end(), byName);
    lines.insert(lines.end(), keys.begin(), keys.end());

    std::vector<std::string> views;
    for (const engine::ViewInfo* view : catalog.views()) {
        std::string text = "view " + view->name + ":";
        try {
            engine::QueryResult result = connection.query("SELECT * FROM [" + view->name + "]");
            for (const engine::FieldInfo& field : result.fields) {
                text += " " + field.name;
            }
        } catch (const std::exception& e) {
            text += " cannot be read: " + std::string(e.what());
        }
        views.push_back(text);
    }
    std::sort(views.begin(), views.end(), byName);
    lines.insert(lines.end(), views.begin(), views.end());
    return lines;
}

// The snapshot of a file without its views: tables, columns, indexes, keys.
inline std::vector<std::string> tablesAndKeys(const std::filesystem::path& file) {
    engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string());
    connection.open();
    std::vector<std::string> lines = schemaSnapshot(connection);
    std::erase_if(lines, [](const std::string& line) { return line.rfind("view ", 0) == 0; });
    return lines;
}

}  // namespace orvdb::test_support
