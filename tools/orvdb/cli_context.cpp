#include "cli_context.hpp"

#include <orvdb/host.hpp>

#include "engine/store/working_store.hpp"

namespace orvdb::cli {

void addGlobalOptions(CLI::App& app, GlobalOptions& options) {
    app.add_option("--config", options.configFile,
                   "INI file with the host's registry information ([registry] section)")
        ->check(CLI::ExistingFile);
    app.add_option("--data-root", options.dataRoot,
                   "Data root folder (registry entry 30); the other folders derive from it");
    auto* yes = app.add_flag("--yes", options.yes, "Answer yes to every question");
    auto* no = app.add_flag("--no", options.no, "Answer no to every question (the default)");
    yes->excludes(no);
    app.add_flag("-v,--verbose", options.verbose, "Write the debug output channel to stderr");
    app.add_option("--password", options.password,
                   "Password of a password-protected Access database");
}

// Through the public host API, as any embedding program configures the
// library: the flags are the strongest source of registry entries.
void applyGlobalOptions(const GlobalOptions& options) {
    if (options.configFile.empty()) {
        // Reads the environment and ORVDB_CONFIG now, so that a bad file stops
        // the command before it starts.
        resetRegistry();
    } else {
        setRegistryConfigFile(options.configFile);
    }
    if (!options.dataRoot.empty()) {
        setRegistryEntry(ORV_REGISTRY_DATA_ROOT, options.dataRoot);
    }
    setDefaultAnswer(options.yes);
    setDebugOutput(std::nullopt);
    if (options.verbose) {
        setDebugOutput("stderr");
        setDebugTrace(true);
    }
    engine::WorkingStore::setDefaultPassword(options.password);
}

}  // namespace orvdb::cli
