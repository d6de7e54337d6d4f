// orvdb repair FILE --out NEW: what can be read of a damaged database,
// written into a new file, and a report of what could not be kept. The
// damaged file is opened read-only and never written.
#include "cli_context.hpp"

#include "engine/dataset/connection.hpp"
#include "engine/store/working_store.hpp"

#include <iostream>

namespace orvdb::cli {

void addRepairCommand(CLI::App& app) {
    static std::string file;
    static std::string out;
    auto* repair = app.add_subcommand(
        "repair",
        "Copy what can be read of a damaged database into a new file, and report what "
        "could not be kept");
    repair->add_option("FILE", file, "The damaged database file (left as it is)")->required();
    repair->add_option("--out", out, "The new file to write (must not exist)")->required();
    repair->callback([] {
        // The global --password reaches the engine as its default password.
        engine::Connection conn;
        conn.setConnectionString("Data Source=" + file + ";Mode=Read;");
        conn.open();
        std::vector<std::string> report = conn.store().salvageTo(out);
        conn.close();
        for (const std::string& line : report) {
            std::cout << line << '\n';
        }
        std::cout << "wrote " << out << (report.empty() ? ": nothing was left out" : "") << '\n';
    });
}

}  // namespace orvdb::cli
