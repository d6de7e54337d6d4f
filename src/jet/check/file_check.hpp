// A consistency check of a whole Jet 4 file: every page is read and what
// the structures say about each other is compared: the global usage map
// with the pages tables, indexes and long values use; each table's
// owned-pages map with the data pages naming it; row counts; each index's
// tree with the table's rows.
//
//   CheckReport report = checkJetFile(JetFile::open("orders.mdb"));
//   for (const CheckFinding& finding : report.findings) { ... }
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jet/read/jet_file.hpp"

namespace orvdb::jet {

enum class CheckSeverity : uint8_t {
    // Readers are not misled; Access keeps such files (a stale statistic).
    Warning,
    Error,
};

struct CheckFinding {
    CheckSeverity severity = CheckSeverity::Error;
    std::string text;  // names the page, table, index or row concerned
};

struct CheckReport {
    uint32_t pages = 0;
    size_t tables = 0;
    size_t indexes = 0;  // physical indexes
    std::vector<CheckFinding> findings;

    bool hasErrors() const;
};

// Never throws for damage: what cannot be read becomes a finding.
CheckReport checkJetFile(const JetFile& file);

// "error: <text>" or "warning: <text>".
std::string describe(const CheckFinding& finding);

}  // namespace orvdb::jet
