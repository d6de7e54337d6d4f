// A summary of a database for diagnostics (`orvdb info`).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvdb::jet {

class JetFile;

struct TableSummary {
    std::string name;
    uint32_t rowCount = 0;  // as the table definition records it
    bool system = false;
};

struct DatabaseInfo {
    std::string format;         // "Access 2000", "Access 2002-2003" or "Jet 4"
    std::string accessVersion;  // MSysDb's AccessVersion ("08.50"); empty when absent
    uint16_t codePage = 0;
    uint16_t sortOrder = 0;
    uint8_t sortOrderVersion = 0;
    uint32_t pageCount = 0;
    double creationDate = 0;
    bool hasPassword = false;
    std::vector<TableSummary> tables;
};

DatabaseInfo describeDatabase(const JetFile& file, bool includeSystemTables = false);

// Human-readable lines: "Format: Access 2000", "Code page: 1252", ...
std::string formatDatabaseInfo(const DatabaseInfo& info);

}  // namespace orvdb::jet
