// orvdb: the command-line host of the driver.
#include "cli_context.hpp"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"orvdb - Access (Jet 4) database driver of the joinery suite", "orvdb"};
    app.set_version_flag("--version", std::string("orvdb ") + ORVDB_VERSION);
    app.require_subcommand(0, 1);
    app.fallthrough();

    orvdb::cli::GlobalOptions options;
    orvdb::cli::addGlobalOptions(app, options);
    app.parse_complete_callback([&options] { orvdb::cli::applyGlobalOptions(options); });
    orvdb::cli::addHostCommand(app);
    orvdb::cli::addDatabaseCommands(app);
    orvdb::cli::addOpenCommand(app);
    orvdb::cli::addFileCommands(app, options);
    orvdb::cli::addUpgradeCommand(app);
    orvdb::cli::addCompactCommand(app);
    orvdb::cli::addCheckCommand(app, options);
    orvdb::cli::addMergeCommand(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "orvdb: " << e.what() << '\n';
        return 1;
    }
    if (app.get_subcommands().empty()) {
        std::cout << app.help();
    }
    return 0;
}
