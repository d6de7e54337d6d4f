#include "module/connection_settings.hpp"

#include <charconv>
#include <stdexcept>

#include "data/mariadb/database_factory.hpp"

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
    settings.mariadb = settings.format == data::mariadb::kFormatTag;
    if (settings.mariadb) {
        auto raw = [&](std::string_view key, std::string_view fallback) {
            return file.value(section, key).value_or(std::string(fallback));
        };
        data::mariadb::Settings& server = settings.server;
        server.host = raw("HOST", "localhost");
        server.socket = raw("SOCKET", "");
        server.database = raw("DATABASE", "");
        server.user = raw("USER", "");
        server.password = raw("PASSWORD", "");
        std::string port = raw("PORT", std::to_string(data::mariadb::kDefaultPort));
        auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), server.port);
        if (error != std::errc() || end != port.data() + port.size() || server.port == 0 ||
            server.port > 65535) {
            throw std::invalid_argument("connection settings [" + section + "]: PORT '" + port +
                                        "' is not a port number");
        }
    }
    return settings;
}

}  // namespace orvdb::module
