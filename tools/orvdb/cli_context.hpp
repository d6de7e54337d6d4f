// Options every orvdb command shares, and the host set-up they drive.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace orvdb::cli {

struct GlobalOptions {
    std::string configFile;
    std::string dataRoot;
    bool yes = false;
    bool no = false;
    bool verbose = false;
    std::string password;  // for password-protected Access files
};

void addGlobalOptions(CLI::App& app, GlobalOptions& options);
// Fills the host's registry information, dialogs and debug channel from the
// options, the environment and the config file.
void applyGlobalOptions(const GlobalOptions& options);

// Each command adds its subcommand to the application.
void addHostCommand(CLI::App& app);
void addFileCommands(CLI::App& app, const GlobalOptions& options);
void addDatabaseCommands(CLI::App& app);
void addOpenCommand(CLI::App& app);
void addUpgradeCommand(CLI::App& app);
void addCompactCommand(CLI::App& app);
void addRepairCommand(CLI::App& app);
void addCheckCommand(CLI::App& app, const GlobalOptions& options);
void addMergeCommand(CLI::App& app);
void addCopyCommand(CLI::App& app);

}  // namespace orvdb::cli
