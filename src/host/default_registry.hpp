// The registry information a program gets when it configures nothing: the
// folders the CLI uses. Sources, strongest first:
//
//   1. entries set through set() (the host's SetRegistryInfoString, or the
//      embedding program through the public host API);
//   2. the environment (ORVDB_DATA_ROOT, ORVDB_REGISTRY_<n>, ORVDB_LANGUAGE_ID);
//   3. the config file: the one named by setConfigFile, else ORVDB_CONFIG;
//   4. folders derived from the data root, the current directory when no
//      source gives one (see registry_loader.hpp).
//
// The environment and the config file are read at first use and kept; the
// current directory at that moment anchors relative folders, so a later
// change of directory moves nothing. Setting entry 30 moves the folders
// derived from it. A config file that cannot be read makes every read fail
// with its error, until reload() or setConfigFile succeeds.
#pragma once

#include "host/registry_info.hpp"
#include "host/registry_loader.hpp"

#include <mutex>
#include <optional>
#include <string>

namespace orvdb::host {

class DefaultRegistryInfo : public RegistryInfo {
public:
    explicit DefaultRegistryInfo(EnvironmentLookup environment = processEnvironment);

    std::string get(int entry) const override;
    // Folder entries are made absolute when read; "" drops the value set, so
    // that the weaker sources show again.
    void set(int entry, std::string_view text) override;
    int languageId() const override;
    void setLanguageId(int id) override;

    // Reads the config file now; nullopt goes back to ORVDB_CONFIG, "" means
    // none. On failure nothing changes and the error (naming the file) passes.
    void setConfigFile(std::optional<std::string> path);
    // Reads the environment and the config file again, now.
    void reload();

private:
    RegistrySources readSources(const std::optional<std::string>& configFile) const;
    // Under the lock: the combined values, reading the sources first if needed.
    const RegistryValues& valuesLocked() const;

    EnvironmentLookup environment_;
    mutable std::mutex mutex_;
    std::optional<std::string> configFile_;
    RegistryValues explicit_;
    mutable std::optional<RegistrySources> sources_;
    mutable std::optional<RegistryValues> combined_;
};

}  // namespace orvdb::host
