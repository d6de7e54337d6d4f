// The upgrade of one database as `orvdb upgrade` runs it, shared by the
// one-kind form (`--kind`) and the walk over a whole data root (`--all`).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvdb::cli {

// One database as the host names it: its kind, and the provider folder
// (provider, filling, hardware) or the database name (manager).
struct UpgradeTarget {
    std::string kind;
    std::string provider;
    std::string database;
};

struct UpgradeOptions {
    UpgradeTarget target;
    bool all = false;
    std::vector<std::string> databases;  // --database, repeatable with --all
    std::string stringsFile;
    std::string progress = "auto";
};

struct UpgradeOutcome {
    std::string path;
    std::string before;
    std::string after;
};

// Opens the target's database as the host does and runs its Update, writing
// the database, provider, version before, log and version after lines to
// out. Throws with the message when the database cannot be opened or the
// upgrade fails (the log lines are written first).
UpgradeOutcome upgradeDatabase(const UpgradeTarget& target, const std::string& stringsFile,
                               std::ostream& out);

// `orvdb upgrade --all`.
void runUpgradeAll(const UpgradeOptions& options);

}  // namespace orvdb::cli
