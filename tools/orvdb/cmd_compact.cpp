// orvdb compact FILE: rewrites a database file in place, packed.
#include "cli_context.hpp"

#include "engine/dataset/connection.hpp"

#include <iostream>

namespace orvdb::cli {

void addCompactCommand(CLI::App& app) {
    static std::string file;
    auto* compact = app.add_subcommand(
        "compact", "Rewrite a database file in place, without the room deleted data left");
    compact->add_option("FILE", file, "The database file")->required();
    compact->callback([] {
        // The global --password reaches the engine as its default password.
        engine::Connection conn;
        conn.setConnectionString("Data Source=" + file + ";");
        conn.open();
        conn.store().compact();
        conn.close();
    });
}

}  // namespace orvdb::cli
