// orvdb: the command-line host of the driver.
#include "cli_context.hpp"

#include <csignal>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // A file-size limit then fails the write with EFBIG, which is reported
    // and leaves the file as it was, instead of killing the process mid-write.
    std::signal(SIGXFSZ, SIG_IGN);
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
    orvdb::cli::addRepairCommand(app);
    orvdb::cli::addCheckCommand(app, options);
    orvdb::cli::addMergeCommand(app);
    orvdb::cli::addCopyCommand(app);

    // "--password=" sets an empty value: the parser would take the next
    // argument as the value, so it is given as "--password" "".
    std::vector<std::string> arguments;
    for (int index = 0; index < argc; ++index) {
        std::string argument = argv[index];
        if (index > 0 && argument.size() > 3 && argument.starts_with("--") &&
            argument.back() == '=' && argument.find('=') == argument.size() - 1) {
            arguments.push_back(argument.substr(0, argument.size() - 1));
            arguments.emplace_back();
            continue;
        }
        arguments.push_back(std::move(argument));
    }
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
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
