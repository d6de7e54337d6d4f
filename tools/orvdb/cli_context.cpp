#include "cli_context.hpp"

#include "engine/store/working_store.hpp"
#include "host/debug_output.hpp"
#include "host/dialogs.hpp"
#include "host/host_services.hpp"
#include "host/registry_loader.hpp"

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

void applyGlobalOptions(const GlobalOptions& options) {
    host::HostServices services;
    auto registry = std::make_shared<host::MemoryRegistryInfo>();
    host::RegistrySettings settings;
    settings.configFile = options.configFile;
    settings.dataRoot = options.dataRoot;
    host::loadRegistry(*registry, settings);
    services.registry = registry;
    services.dialogs = std::make_shared<host::AutoAnswerDialogs>(
        options.yes ? host::DialogAnswer::yes : host::DialogAnswer::no);
    host::configureDebugFromEnvironment();
    if (options.verbose) {
        services.debugSink = host::stderrDebugSink();
        host::setDebugTrace(true);
    }
    host::installHostServices(std::move(services));
    engine::WorkingStore::setDefaultPassword(options.password);
}

}  // namespace orvdb::cli
