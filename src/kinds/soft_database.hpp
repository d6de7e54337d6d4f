// TSoftDatabase: the common base of the suite's database kinds. It reads the
// schema version from the table Version, checks database files before a
// kind opens them, and keeps the log of the last upgrade for callers that
// show it (the host itself never sees it).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <orvdb/com_ptr.hpp>

#include "data/database.hpp"

namespace orvdb::kinds {

class TSoftDatabase : public data::torvc_Database {
public:
    using torvc_Database::torvc_Database;

    // The file at path exists and is writable: otherwise a message is shown
    // (a read-only file always; a missing one unless quiet) and false comes
    // back. providerName is for the provider kinds' fallback.
    static bool CheckDatabaseFile(std::string& path, std::string& providerName, bool quiet);

    // Lines the last Update wrote to its log.
    const std::vector<std::string>& lastUpgradeLog() const { return lastUpgradeLog_; }

protected:
    std::u16string version() override;
    void purge() override {}

    // Runs an upgrade with a fresh log that is kept afterwards, also when
    // the upgrade fails part way.
    template <class Run>
    void withUpgradeLog(Run&& run) {
        std::vector<std::string> log;
        try {
            run(log);
        } catch (...) {
            lastUpgradeLog_ = std::move(log);
            throw;
        }
        lastUpgradeLog_ = std::move(log);
    }

    std::vector<std::string> lastUpgradeLog_;
};

// Opens a kind's new connection. A connection that cannot open has told
// the host why (HandleException) and is dropped: the kinds hand out open
// databases or none.
ComPtr<iDatabase> openOrDrop(ComPtr<iDatabase> database);

// Registry information entry (a folder ending with '/') + the rest.
std::string registryPath(int entry, std::string_view rest);
// entry 9 + "Velmardix_Params.dat"
std::string parametersFilePath();

}  // namespace orvdb::kinds
