#include "jet/read/database_info.hpp"

#include <cstdio>

#include "jet/format/codes.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {

namespace {

// The Access version that last wrote the database's own objects; the Jet 4
// file format is the same for both.
std::string formatName(const std::string& accessVersion) {
    if (accessVersion == "08.50") {
        return "Access 2000";
    }
    if (accessVersion == "09.50") {
        return "Access 2002-2003";
    }
    return "Jet 4";
}

std::string sortOrderName(uint16_t lcid, uint8_t version) {
    char buffer[64];
    if (lcid == kGeneralSortOrder) {
        std::snprintf(buffer, sizeof buffer, "General%s (0x0409)", version == 0 ? " Legacy" : "");
    } else {
        std::snprintf(buffer, sizeof buffer, "LCID 0x%04X", lcid);
    }
    return buffer;
}

}  // namespace

DatabaseInfo describeDatabase(const JetFile& file, bool includeSystemTables) {
    DatabaseInfo info;
    const DatabaseHeader& header = file.header();
    info.codePage = header.codePage;
    info.sortOrder = header.sortOrder;
    info.sortOrderVersion = header.sortOrderVersion;
    info.creationDate = header.creationDate;
    info.hasPassword = !header.password.empty();
    info.pageCount = file.pageCount();
    ObjectProperties properties = file.databaseProperties();
    Value version = properties.object.value("AccessVersion");
    if (const auto* text = std::get_if<std::string>(&version)) {
        info.accessVersion = *text;
    }
    info.format = formatName(info.accessVersion);
    for (const CatalogObject* object : file.catalog().tables(includeSystemTables)) {
        TableSummary summary;
        summary.name = object->name;
        summary.system = object->isSystemTable();
        summary.rowCount = file.table(object->name)->rowCount;
        info.tables.push_back(std::move(summary));
    }
    return info;
}

std::string formatDatabaseInfo(const DatabaseInfo& info) {
    std::string out;
    out += "Format: " + info.format;
    if (!info.accessVersion.empty()) {
        out += " (AccessVersion " + info.accessVersion + ")";
    }
    out += "\n";
    out += "Code page: " + std::to_string(info.codePage) + "\n";
    out += "Sort order: " + sortOrderName(info.sortOrder, info.sortOrderVersion) + "\n";
    out += "Pages: " + std::to_string(info.pageCount) + "\n";
    out += "Created: " + DateTime{info.creationDate}.toString() + "\n";
    out += std::string("Password: ") + (info.hasPassword ? "yes" : "no") + "\n";
    out += "Tables: " + std::to_string(info.tables.size()) + "\n";
    for (const TableSummary& table : info.tables) {
        out += "  " + table.name + (table.system ? " (system)" : "") + ": " +
               std::to_string(table.rowCount) + " rows\n";
    }
    return out;
}

}  // namespace orvdb::jet
