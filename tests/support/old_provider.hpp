// The old databases of the examples (examples/*.sql, orvdb SQL as `orvdb
// sql` reads it): a provider at 0.35835 with its library, a manager at 1.0
// and a workshop at 1.1, each holding what its upgrade touches, with rows for
// the cases the steps treat apart.
#pragma once

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/dataset/connection.hpp"
#include "engine/store/working_store.hpp"

namespace orvdb::test_support {

// The statements of examples/`name`.
inline std::vector<std::string> sqlScript(const std::string& name) {
    const std::filesystem::path file = std::filesystem::path(ORVDB_SOURCE_DIR) / "examples" / name;
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
    for (const std::string& statement : sqlScript(script)) {
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

// root/XMan/Manager.mdb (the workshop folder of a data root); returns its path.
inline std::filesystem::path buildOldManager(const std::filesystem::path& root) {
    std::filesystem::path manager = root / "XMan" / "Manager.mdb";
    createFromScript(manager, "manager.sql");
    return manager;
}

// root/XMan/Xmandata.mdb, the workshop data (the manager kind opened as
// XMANDATA); returns its path.
inline std::filesystem::path buildOldWorkshop(const std::filesystem::path& root) {
    std::filesystem::path workshop = root / "XMan" / "Xmandata.mdb";
    createFromScript(workshop, "workshop.sql");
    return workshop;
}

}  // namespace orvdb::test_support
