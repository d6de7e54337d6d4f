// Fills the default registry information for a program that plays the host
// (the CLI). Sources, strongest first:
//
//   1. settings given by the program (CLI flags such as --data-root);
//   2. environment: ORVDB_DATA_ROOT (entry 30), ORVDB_REGISTRY_<n> (entry n),
//      ORVDB_LANGUAGE_ID, and ORVDB_CONFIG naming the config file when the
//      settings name none;
//   3. the config file, section [registry], keys by number ("30=/srv/suite")
//      or by name: DataRoot (30), LibraryFolder (28), TemplateFolder (29),
//      ParametersFolder (9), WorkshopFolder (57), ManagerParamFolder (63),
//      LanguageFolder (64), Provider (4), LanguageId. Other sections are
//      ignored; names are matched without regard to case;
//   4. folders derived from the data root R when no source gives them:
//
//        30 data root          R            (holds Providers/)
//        28 library folder     R            (XLib.Mdb)
//        29 template folder    R            (Data/DataModel.Dat)
//         9 parameters folder  R            (Velmardix_Params.dat)
//        57 workshop folder    R/XMan/      (Xmandata.mdb)
//        63 manager params     R/XMan/      (XManParam.Mdb)
//        64 language folder    R/Languages/ (XLng.mdb)
//
//      With no data root anywhere, R is the current directory.
//
// Empty values count as not given. Folder entries are made absolute (the
// upgrade changes the working directory) and end with '/'; relative folders
// in the config file are taken relative to the file's own folder, others
// relative to the current directory.
#pragma once

#include "host/registry_info.hpp"

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace orvdb::host {

struct RegistryValues {
    std::map<int, std::string> entries;
    std::optional<int> languageId;
};

struct RegistrySettings {
    std::string configFile;  // "" = none given
    std::string dataRoot;    // "" = none given
    RegistryValues values;   // further entries given explicitly
};

using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The process environment (std::getenv).
std::optional<std::string> processEnvironment(const std::string& name);

// Reads the [registry] section of a config file. Relative folder values are
// made absolute against the file's folder. Throws std::runtime_error naming
// the file (and the line) when it cannot be read or holds a bad line or key.
RegistryValues readRegistryConfig(const std::string& path);

// What the environment and the config file give, read once, and the folder
// that relative folders of the environment and of explicit settings follow.
struct RegistrySources {
    RegistryValues config;
    RegistryValues environment;
    std::string baseDirectory;  // absolute, ends with '/'
};

// Reads the environment and the config file (configFile, or ORVDB_CONFIG
// when it is empty); the base directory is the current one. Throws
// std::runtime_error naming the file or the variable that is wrong.
RegistrySources readRegistrySources(const std::string& configFile,
                                    const EnvironmentLookup& environment = processEnvironment);

// Every entry the sources and the explicit values give, the strongest
// winning, plus the derived folders; folders absolute and ending with '/'.
RegistryValues combineRegistry(const RegistrySources& sources,
                               const RegistryValues& explicitValues);

// Sets every entry that some source gives, and the derived folders.
void loadRegistry(RegistryInfo& registry, const RegistrySettings& settings = {},
                  const EnvironmentLookup& environment = processEnvironment);

}  // namespace orvdb::host
