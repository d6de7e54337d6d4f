#include "module/schema_maintenance.hpp"

#include "host/cursor_calls.hpp"
#include "host/folder_server_info.hpp"
#include "host/paths.hpp"
#include "host/schema_renames.hpp"

namespace orvdb::module {

namespace {

using host::calls::PushedQuery;

constexpr int32_t kExecute = 1;

}  // namespace

void renameTable(iDatabase& db, std::u16string_view oldName, std::u16string_view newName,
                 bool dropOld, bool dropNewFirst) {
    host::renameTable(db, oldName, newName, dropOld, dropNewFirst);
}

void renameColumn(iDatabase& db, std::u16string_view table, std::u16string_view oldColumn,
                  std::u16string_view newColumn, std::u16string_view columnType, bool dropOld,
                  bool recreateKeys) {
    host::renameColumn(db, table, oldColumn, newColumn, columnType, dropOld, recreateKeys);
}

void flushTable(iDatabase& db, std::u16string_view table) {
    PushedQuery query(db);
    query.setKind(kExecute);
    query.run(u"DELETE FROM " + std::u16string(table));
    query.run(u"ALTER TABLE  " + std::u16string(table) + u"  ALTER COLUMN  Id AUTOINCREMENT");
}

void setForeignKeyChecks(iDatabase& db, bool enabled) {
    PushedQuery query(db);
    query.run(enabled ? u"SET FOREIGN_KEY_CHECKS = 1" : u"SET FOREIGN_KEY_CHECKS = 0");
}

bool databaseFileExists(IServerInfo& description) {
    return host::fileExists(host::serverDatabasePath(description));
}

}  // namespace orvdb::module
