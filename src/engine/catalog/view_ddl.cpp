// Saved queries: CREATE VIEW and DROP VIEW, with the MSysObjects and
// MSysQueries rows a Jet file keeps a query as.
#include "engine/catalog/catalog.hpp"

#include "engine/catalog/saved_query_rows.hpp"
#include "engine/catalog/system_tables.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

namespace orvdb::engine {

void Catalog::createView(const std::string& name, const std::string& sql) {
    checkNewObjectName(name);
    Savepoint savepoint(db_);
    const int64_t id = allocateObjectId();
    Stmt(db_, "INSERT INTO _orv_views (id, name, sql) VALUES (?,?,?)")
        .bind(1, id)
        .bind(2, name)
        .bind(3, sql)
        .run();
    const SavedQueryDefinition definition = savedQueryDefinition(sql);
    Stmt(db_, "UPDATE _orv_views SET kind=? WHERE id=?")
        .bind(1, int64_t{static_cast<uint8_t>(definition.kind)})
        .bind(2, id)
        .run();
    insertMSysObject(id, kTablesContainerId, name, ObjectType::Query,
                     ::orvdb::jet::queryObjectFlags(definition.kind));
    writeQueryRows(*this, db_, id, definition.rows);
    savepoint.commit();
    load();
}

void Catalog::dropView(std::string_view name) {
    const ViewInfo* view = findViewInfo(name);
    if (!view) {
        throw EngineError(msg::tableNotFound(name));
    }
    Savepoint savepoint(db_);
    const int64_t id = view->id;
    const std::string viewName = view->name;
    Stmt(db_, "DELETE FROM _orv_views WHERE id=?").bind(1, id).run();
    if (findTableInfo("MSysQueries")) {
        Stmt(db_, "DELETE FROM MSysQueries WHERE ObjectId=?").bind(1, id).run();
    }
    deleteMSysObject(viewName, kTablesContainerId);
    savepoint.commit();
    load();
}

}  // namespace orvdb::engine
