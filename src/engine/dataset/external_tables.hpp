// Tables of other database files, as Access SQL names them in FROM:
//
//   SELECT Name FROM [XLIB].TypeArticleXLIB
//
// reads table TypeArticleXLIB of the file XLIB.mdb. As in Jet, ".mdb" is added
// to a name without an extension and a relative name is taken from the
// working folder; here that folder belongs to the connection (never the
// process's current directory, which is used only when the connection has
// none). Each path component is found without regard to letter case when it
// does not exist as written.
//
// The store reads such a table through a read-only virtual table of its own
// SQLite connection (temp schema, one per file and table) that opens the
// other file for each scan, so it always sees what that file holds now and
// never keeps it open between statements.
#pragma once

#include "engine/sql/translate/schema_resolver.hpp"

#include <filesystem>
#include <string>

namespace orvdb::engine {

class WorkingStore;

// The file [database] names, resolved as above; throws SqlError (Jet's
// "Could not find file") when there is no such file.
std::filesystem::path externalDatabasePath(std::string_view database,
                                           const std::string& workingFolder);

// The store's catalog, plus the tables of other databases.
class ExternalTables : public sql::SchemaResolver {
public:
    ExternalTables(WorkingStore& store, const std::string& workingFolder)
        : store_(store), workingFolder_(workingFolder) {}

    std::optional<sql::ResolvedTable> findTable(std::string_view name) const override;
    std::optional<sql::ResolvedView> findView(std::string_view name) const override;
    std::optional<sql::ResolvedTable> findExternalTable(std::string_view database,
                                                        std::string_view table) const override;
    void statementBegins(bool changesData) const override;

private:
    WorkingStore& store_;
    const std::string& workingFolder_;
};

}  // namespace orvdb::engine
