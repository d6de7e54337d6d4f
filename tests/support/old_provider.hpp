// The old provider of the examples: examples/provider.sql is a provider
// database at 0.35835 holding every table, column and view the provider
// upgrade touches, with a few rows each (action parameter lists of the
// lengths the scripts expect, an apostrophe in one, orphan references, empty
// and non-numeric descriptions); examples/library.sql is its library. Both
// are orvdb SQL as `orvdb sql` reads it: one statement a line, a line ending
// in '\' continued on the next (the break kept as LF).
//
// Used by the upgrade tests and bench/provider_upgrade.cpp.
#pragma once

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/dataset/connection.hpp"
#include "engine/store/working_store.hpp"

namespace orvdb::test_support {

inline std::filesystem::path exampleFile(const std::string& name) {
    return std::filesystem::path(ORVDB_SOURCE_DIR) / "examples" / name;
}

inline std::vector<std::string> sqlScript(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    std::vector<std::string> statements;
    std::string line;
    std::string current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.back() == '\\') {
            current += line.substr(0, line.size() - 1) + "\n";
            continue;
        }
        current += line;
        if (current.find_first_not_of(" \t") != std::string::npos) {
            statements.push_back(current);
        }
        current.clear();
    }
    return statements;
}

// A new database at `file` holding what the script makes; a statement that
// fails throws, naming it.
inline void createFromScript(const std::filesystem::path& file, const std::string& script) {
    std::filesystem::create_directories(file.parent_path());
    engine::WorkingStore::createDatabase(file.string());
    engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string());
    connection.open();
    for (const std::string& statement : sqlScript(exampleFile(script))) {
        try {
            connection.execute(statement);
        } catch (const std::exception& e) {
            throw std::runtime_error(script + ": " + e.what() + " (" + statement + ")");
        }
    }
    connection.close();
}

// root/XLib.Mdb (the library) and root/Providers/Acme/XLibData.Mdb (the
// provider at 0.35835); returns the provider's path.
inline std::filesystem::path buildOldProvider(const std::filesystem::path& root) {
    createFromScript(root / "XLib.Mdb", "library.sql");
    std::filesystem::path provider = root / "Providers" / "Acme" / "XLibData.Mdb";
    createFromScript(provider, "provider.sql");
    return provider;
}

}  // namespace orvdb::test_support
