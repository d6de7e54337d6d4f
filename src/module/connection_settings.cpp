#include "module/connection_settings.hpp"

namespace orvdb::module {

std::string upperCaseAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

ConnectionSettings readConnectionSettings(const ProfileFile& file, std::string_view alias) {
    const std::string section = "CONNEXION" + std::string(alias);
    auto read = [&](std::string_view key, std::string_view fallback) {
        return upperCaseAscii(file.value(section, key).value_or(std::string(fallback)));
    };
    ConnectionSettings settings;
    settings.name = read("NAME", "UNDEFINED");
    settings.alias = read("ALIAS", settings.name);
    settings.path = read("PATH", "");
    settings.paramPath = read("PARAMPATH", "");
    settings.format = read("FORMAT", "");
    settings.open = read("OPEN", "FALSE") == "TRUE";
    return settings;
}

}  // namespace orvdb::module
