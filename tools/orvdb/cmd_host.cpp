// `orvdb host`: shows the host configuration the other commands work with.
#include "cli_context.hpp"

#include <orvdb/host.hpp>

#include <iostream>

namespace orvdb::cli {

namespace {

struct EntryName {
    int entry;
    const char* name;
};

constexpr EntryName kNamedEntries[] = {
    {ORV_REGISTRY_PROVIDER_NAME, "current provider"},
    {ORV_REGISTRY_PARAMETERS_FOLDER, "parameters folder"},
    {ORV_REGISTRY_LIBRARY_FOLDER, "library folder"},
    {ORV_REGISTRY_TEMPLATE_FOLDER, "template folder"},
    {ORV_REGISTRY_DATA_ROOT, "data root"},
    {ORV_REGISTRY_WORKSHOP_FOLDER, "workshop data folder"},
    {ORV_REGISTRY_MANAGER_PARAM_FOLDER, "manager parameters folder"},
    {ORV_REGISTRY_LANGUAGE_FOLDER, "language folder"},
};

}  // namespace

void addHostCommand(CLI::App& app) {
    auto* cmd = app.add_subcommand("host", "Show the host's registry information entries");
    static bool all = false;
    cmd->add_flag("--all", all, "List every non-empty entry, not only the named ones");
    cmd->callback([] {
        for (const auto& e : kNamedEntries) {
            std::cout << e.entry << '\t' << e.name << '\t' << registryEntry(e.entry) << '\n';
        }
        if (all) {
            for (int i = 0; i < ORV_REGISTRY_ENTRY_COUNT; ++i) {
                bool named = false;
                for (const auto& e : kNamedEntries) {
                    named = named || e.entry == i;
                }
                std::string value = registryEntry(i);
                if (!named && !value.empty()) {
                    std::cout << i << "\t-\t" << value << '\n';
                }
            }
        }
    });
}

}  // namespace orvdb::cli
