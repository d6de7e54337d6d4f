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
#include <filesystem>
#include <memory>
#include <optional>
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

enum class CheckScope : uint8_t {
    // Every page, row, long value and index entry.
    Whole,
    // Definitions and usage maps against the global map, and the owner of
    // every data page the maps list: what a commit relies on (cheap: no
    // rows, no index trees).
    Maps,
};

// Never throws for damage: what cannot be read becomes a finding.
CheckReport checkJetFile(const JetFile& file, CheckScope scope = CheckScope::Whole);
// The file at `path`, even when its catalog cannot be read (the catalog table
// and every page are then checked without the other tables). Throws JetError
// when the file cannot be opened at all (not a Jet file, wrong password).
CheckReport checkJetFile(const std::filesystem::path& path,
                         const std::optional<std::string>& password);

// The checks of one table on their own: its maps and data pages, its rows
// and long values, its index trees against its rows. What other tables or
// the global map say of its pages is left to checkJetFile.
std::vector<CheckFinding> checkJetTable(const std::shared_ptr<PageSource>& source,
                                        const std::shared_ptr<const TableDefinition>& table);

// The same check fed with the table's rows by a caller that reads them
// anyway (a store loading them), so that they are decoded once:
//
//   TableCheck check(source, definition);
//   while (reader.next(row)) { ...; check.addRow(row); }
//   std::vector<CheckFinding> findings = check.finish();
//
// The maps are checked when the check is made, the indexes by finish().
class TableCheck {
public:
    TableCheck(const std::shared_ptr<PageSource>& source,
               const std::shared_ptr<const TableDefinition>& table);
    ~TableCheck();
    TableCheck(const TableCheck&) = delete;
    TableCheck& operator=(const TableCheck&) = delete;

    // The next live row, in the order a TableReader gives them.
    void addRow(const Row& row);
    // The rows could not all be read: `why` becomes a finding, and the
    // indexes are checked against the rows read before.
    void rowsUnreadable(const std::string& why);
    // Call once, after the last row.
    std::vector<CheckFinding> finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// "error: <text>" or "warning: <text>".
std::string describe(const CheckFinding& finding);

}  // namespace orvdb::jet
