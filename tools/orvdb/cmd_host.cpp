// `orvdb host`: shows the host configuration the other commands work with.
#include "cli_context.hpp"

#include "host/host_services.hpp"
#include "host/registry_info.hpp"

#include <iostream>

namespace orvdb::cli {

namespace {

struct EntryName {
    int entry;
    const char* name;
};

constexpr EntryName kNamedEntries[] = {
    {host::registry_entry::kProviderName, "current provider"},
    {host::registry_entry::kParametersFolder, "parameters folder"},
    {host::registry_entry::kLibraryFolder, "library folder"},
    {host::registry_entry::kTemplateFolder, "template folder"},
    {host::registry_entry::kDataRoot, "data root"},
    {host::registry_entry::kWorkshopFolder, "workshop data folder"},
    {host::registry_entry::kManagerParamFolder, "manager parameters folder"},
    {host::registry_entry::kLanguageFolder, "language folder"},
};

}  // namespace

void addHostCommand(CLI::App& app) {
    auto* cmd = app.add_subcommand("host", "Show the host's registry information entries");
    static bool all = false;
    cmd->add_flag("--all", all, "List every non-empty entry, not only the named ones");
    cmd->callback([] {
        auto registry = host::registry();
        for (const auto& e : kNamedEntries) {
            std::cout << e.entry << '\t' << e.name << '\t' << registry->get(e.entry) << '\n';
        }
        if (all) {
            for (int i = 0; i < host::kRegistryEntryCount; ++i) {
                bool named = false;
                for (const auto& e : kNamedEntries) {
                    named = named || e.entry == i;
                }
                std::string value = registry->get(i);
                if (!named && !value.empty()) {
                    std::cout << i << "\t-\t" << value << '\n';
                }
            }
        }
    });
}

}  // namespace orvdb::cli
