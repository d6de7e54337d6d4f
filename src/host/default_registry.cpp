#include "host/default_registry.hpp"

#include <stdexcept>

namespace orvdb::host {

namespace {

void checkEntry(int entry) {
    if (entry < 0 || entry >= kRegistryEntryCount) {
        throw std::out_of_range("registry information has no entry " + std::to_string(entry) +
                                " (entries are 0 to " + std::to_string(kRegistryEntryCount - 1) +
                                ")");
    }
}

}  // namespace

DefaultRegistryInfo::DefaultRegistryInfo(EnvironmentLookup environment)
    : environment_(std::move(environment)) {}

RegistrySources DefaultRegistryInfo::readSources(
    const std::optional<std::string>& configFile) const {
    if (configFile && configFile->empty()) {
        // No config file at all, whatever ORVDB_CONFIG says.
        return readRegistrySources("", [this](const std::string& name) {
            return name == "ORVDB_CONFIG" ? std::nullopt : environment_(name);
        });
    }
    return readRegistrySources(configFile.value_or(""), environment_);
}

const RegistryValues& DefaultRegistryInfo::valuesLocked() const {
    if (!sources_) {
        sources_ = readSources(configFile_);
        combined_.reset();
    }
    if (!combined_) {
        combined_ = combineRegistry(*sources_, explicit_);
    }
    return *combined_;
}

std::string DefaultRegistryInfo::get(int entry) const {
    checkEntry(entry);
    std::lock_guard lock(mutex_);
    const auto& entries = valuesLocked().entries;
    auto it = entries.find(entry);
    if (it == entries.end()) {
        return {};
    }
    return it->second;
}

void DefaultRegistryInfo::set(int entry, std::string_view text) {
    checkEntry(entry);
    std::lock_guard lock(mutex_);
    if (text.empty()) {
        explicit_.entries.erase(entry);
    } else {
        explicit_.entries[entry] = std::string(text);
    }
    combined_.reset();
}

int DefaultRegistryInfo::languageId() const {
    std::lock_guard lock(mutex_);
    return valuesLocked().languageId.value_or(0);
}

void DefaultRegistryInfo::setLanguageId(int id) {
    std::lock_guard lock(mutex_);
    explicit_.languageId = id;
    combined_.reset();
}

void DefaultRegistryInfo::setConfigFile(std::optional<std::string> path) {
    RegistrySources sources = readSources(path);
    std::lock_guard lock(mutex_);
    configFile_ = std::move(path);
    sources_ = std::move(sources);
    combined_.reset();
}

void DefaultRegistryInfo::reload() {
    std::lock_guard lock(mutex_);
    sources_.reset();
    valuesLocked();
}

}  // namespace orvdb::host
