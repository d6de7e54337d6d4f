#include "host/registry_loader.hpp"

#include "base/names.hpp"

#include <ini.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace orvdb::host {

namespace {

using namespace registry_entry;

constexpr std::pair<std::string_view, int> kNamedEntries[] = {
    {"dataroot", kDataRoot},
    {"libraryfolder", kLibraryFolder},
    {"templatefolder", kTemplateFolder},
    {"parametersfolder", kParametersFolder},
    {"workshopfolder", kWorkshopFolder},
    {"managerparamfolder", kManagerParamFolder},
    {"languagefolder", kLanguageFolder},
    {"provider", kProviderName},
};

std::optional<int> parseInteger(std::string_view text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// A folder text made absolute against base and ending with '/'.
std::string absoluteFolder(std::string_view text, const fs::path& base) {
    std::string folder = normaliseFolderText(text);
    fs::path path(folder);
    if (path.is_relative()) {
        path = base / path;
    }
    std::string result = path.lexically_normal().generic_string();
    return normaliseFolderText(result);
}

fs::path currentDirectory() {
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (ec) {
        throw std::runtime_error("cannot determine the current directory: " + ec.message());
    }
    return cwd;
}

// Absolute folders for the folder entries among values; others unchanged.
void makeFoldersAbsolute(RegistryValues& values, const fs::path& base) {
    for (auto& [entry, text] : values.entries) {
        if (isRegistryFolderEntry(entry) && !text.empty()) {
            text = absoluteFolder(text, base);
        }
    }
}

// inih reads through this so that the handler knows the line it is on.
struct ConfigReader {
    const std::string* text = nullptr;
    size_t pos = 0;
    int line = 0;
    int errorLine = 0;
    std::string error;
    RegistryValues values;

    void fail(std::string message) {
        if (errorLine == 0) {
            errorLine = line;
            error = std::move(message);
        }
    }
};

char* readConfigLine(char* buffer, int size, void* stream) {
    auto& reader = *static_cast<ConfigReader*>(stream);
    const std::string& text = *reader.text;
    if (reader.pos >= text.size() || size <= 1) {
        return nullptr;
    }
    size_t end = text.find('\n', reader.pos);
    end = (end == std::string::npos) ? text.size() : end + 1;
    size_t length = std::min(end - reader.pos, static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data() + reader.pos, length);
    buffer[length] = '\0';
    reader.pos += length;
    ++reader.line;
    return buffer;
}

int handleConfigValue(void* user, const char* section, const char* name, const char* value) {
    auto& reader = *static_cast<ConfigReader*>(user);
    if (!base::sameName(section, "registry")) {
        return 1;
    }
    std::string_view key(name);
    if (std::string_view(value).empty()) {
        return 1;
    }
    if (base::sameName(key, "languageid")) {
        auto id = parseInteger(value);
        if (!id) {
            reader.fail("LanguageId must be an integer, not '" + std::string(value) + "'");
            return 0;
        }
        reader.values.languageId = *id;
        return 1;
    }
    std::optional<int> entry = parseInteger(key);
    if (entry) {
        if (*entry < 0 || *entry >= kRegistryEntryCount) {
            reader.fail("entry number " + std::string(key) + " is outside 0.." +
                        std::to_string(kRegistryEntryCount - 1));
            return 0;
        }
    } else {
        std::string folded = base::foldName(key);
        for (const auto& [known, number] : kNamedEntries) {
            if (folded == known) {
                entry = number;
            }
        }
        if (!entry) {
            reader.fail("unknown key '" + std::string(key) + "' in section [registry]");
            return 0;
        }
    }
    reader.values.entries[*entry] = value;
    return 1;
}

// Environment values, with folders made absolute against the current directory.
RegistryValues environmentValues(const EnvironmentLookup& environment) {
    RegistryValues values;
    for (int entry = 0; entry < kRegistryEntryCount; ++entry) {
        auto text = environment("ORVDB_REGISTRY_" + std::to_string(entry));
        if (text && !text->empty()) {
            values.entries[entry] = *text;
        }
    }
    if (auto root = environment("ORVDB_DATA_ROOT"); root && !root->empty()) {
        values.entries[kDataRoot] = *root;
    }
    if (auto id = environment("ORVDB_LANGUAGE_ID"); id && !id->empty()) {
        auto parsed = parseInteger(*id);
        if (!parsed) {
            throw std::runtime_error("ORVDB_LANGUAGE_ID must be an integer, not '" + *id + "'");
        }
        values.languageId = *parsed;
    }
    return values;
}

// Values of a stronger source replace those of a weaker one.
void overlay(RegistryValues& weaker, const RegistryValues& stronger) {
    for (const auto& [entry, text] : stronger.entries) {
        if (!text.empty()) {
            weaker.entries[entry] = text;
        }
    }
    if (stronger.languageId) {
        weaker.languageId = stronger.languageId;
    }
}

}  // namespace

std::optional<std::string> processEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) {
        return std::nullopt;
    }
    return std::string(value);
}

RegistryValues readRegistryConfig(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read config file '" + path + "': " + std::strerror(errno));
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        throw std::runtime_error("cannot read config file '" + path + "'");
    }
    std::string text = content.str();

    // inih would silently split longer lines.
    int lineNumber = 1;
    for (size_t start = 0; start < text.size(); ++lineNumber) {
        size_t end = text.find('\n', start);
        size_t stop = (end == std::string::npos) ? text.size() : end;
        if (stop - start >= INI_MAX_LINE - 1) {
            throw std::runtime_error(path + ":" + std::to_string(lineNumber) +
                                     ": line longer than " + std::to_string(INI_MAX_LINE - 2) +
                                     " characters");
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }

    ConfigReader reader;
    reader.text = &text;
    int syntaxLine = ini_parse_stream(readConfigLine, &reader, handleConfigValue, &reader);
    if (reader.errorLine != 0 && (syntaxLine <= 0 || reader.errorLine <= syntaxLine)) {
        throw std::runtime_error(path + ":" + std::to_string(reader.errorLine) + ": " +
                                 reader.error);
    }
    if (syntaxLine > 0) {
        throw std::runtime_error(path + ":" + std::to_string(syntaxLine) +
                                 ": expected [section], key=value or a comment");
    }
    if (syntaxLine < 0) {
        throw std::runtime_error("cannot parse config file '" + path + "'");
    }

    fs::path base = fs::path(path).parent_path();
    if (base.empty() || base.is_relative()) {
        base = currentDirectory() / base;
    }
    makeFoldersAbsolute(reader.values, base);
    return reader.values;
}

RegistrySources readRegistrySources(const std::string& configFile,
                                    const EnvironmentLookup& environment) {
    RegistrySources sources;
    sources.baseDirectory = absoluteFolder("", currentDirectory());
    std::string file = configFile;
    if (file.empty()) {
        file = environment("ORVDB_CONFIG").value_or("");
    }
    if (!file.empty()) {
        sources.config = readRegistryConfig(file);
    }
    sources.environment = environmentValues(environment);
    makeFoldersAbsolute(sources.environment, sources.baseDirectory);
    return sources;
}

RegistryValues combineRegistry(const RegistrySources& sources,
                               const RegistryValues& explicitValues) {
    RegistryValues values = sources.config;
    overlay(values, sources.environment);
    RegistryValues given = explicitValues;
    makeFoldersAbsolute(given, sources.baseDirectory);
    overlay(values, given);

    auto& entries = values.entries;
    if (entries[kDataRoot].empty()) {
        entries[kDataRoot] = sources.baseDirectory;
    }
    const std::string root = entries[kDataRoot];
    const std::pair<int, std::string> derived[] = {
        {kLibraryFolder, root},
        {kTemplateFolder, root},
        {kParametersFolder, root},
        {kWorkshopFolder, root + "XMan/"},
        {kManagerParamFolder, root + "XMan/"},
        {kLanguageFolder, root + "Languages/"},
    };
    for (const auto& [entry, folder] : derived) {
        if (entries[entry].empty()) {
            entries[entry] = folder;
        }
    }
    return values;
}

void loadRegistry(RegistryInfo& registry, const RegistrySettings& settings,
                  const EnvironmentLookup& environment) {
    RegistryValues given = settings.values;
    if (!settings.dataRoot.empty()) {
        given.entries[kDataRoot] = settings.dataRoot;
    }
    const RegistryValues values =
        combineRegistry(readRegistrySources(settings.configFile, environment), given);
    for (const auto& [entry, text] : values.entries) {
        registry.set(entry, text);
    }
    if (values.languageId) {
        registry.setLanguageId(*values.languageId);
    }
}

}  // namespace orvdb::host
