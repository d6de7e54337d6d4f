// The rows of MSysObjects and MSysACEs that go with each table, query and
// relationship, kept in step as Jet keeps them. A store without those tables
// (one that is not a Jet file's mirror) simply has none of these rows.
#include "engine/catalog/catalog.hpp"

namespace orvdb::engine {

namespace {

// Now as a Jet date (days since 1899-12-30, local time), for SQL.
constexpr std::string_view kJetNowSql = "julianday('now','localtime') - 2415018.5";

}  // namespace

void Catalog::insertMSysObject(int64_t id, int64_t parentId, std::string_view name, ObjectType type,
                               int64_t flags) {
    if (!findTableInfo("MSysObjects")) {
        return;
    }
    Stmt insert(db_,
                "INSERT INTO MSysObjects (Id, ParentId, Name, Type, DateCreate, DateUpdate, "
                "Flags, Owner) VALUES (?, ?, ?, ?, " +
                    std::string(kJetNowSql) + ", " + std::string(kJetNowSql) +
                    ", ?, (SELECT Owner FROM MSysObjects WHERE Id = ?))");
    insert.bind(1, id).bind(2, parentId).bind(3, name);
    insert.bind(4, int64_t{::orvdb::jet::typeCode(type)}).bind(5, flags);
    insert.bind(6, int64_t{kDatabaseObjectId}).run();
    if (parentId == kTablesContainerId && permissionsPresent()) {
        grantInheritedPermissions(id);
    }
}

// A new table or query gets the permissions its container passes on: each
// account holding an inheritable entry on the Tables container gets the same
// rights on the object. The creator-owner entry (its account holds no rights
// on the database itself) goes to the object's owner.
void Catalog::grantInheritedPermissions(int64_t id) {
    std::map<std::string, int64_t> rights;  // SID bytes -> access mask
    std::vector<std::string> order;
    Stmt owner(db_, "SELECT Owner FROM MSysObjects WHERE Id = ?");
    owner.bind(1, int64_t{kDatabaseObjectId});
    const std::string ownerSid =
        owner.step() && !owner.isNull(0) ? owner.getBlob(0) : std::string();
    Stmt inherited(db_,
                   "SELECT SID, ACM, EXISTS (SELECT 1 FROM MSysACEs AS d WHERE d.ObjectId = ? "
                   "AND d.SID = c.SID) FROM MSysACEs AS c WHERE c.ObjectId = ? AND "
                   "c.FInheritable <> 0 ORDER BY c.rowid");
    inherited.bind(1, int64_t{kDatabaseObjectId}).bind(2, int64_t{kTablesContainerId});
    while (inherited.step()) {
        std::string sid = inherited.isNull(0) ? std::string() : inherited.getBlob(0);
        const bool holdsDatabaseRights = inherited.getInt(2) != 0;
        if (!holdsDatabaseRights) {
            if (ownerSid.empty()) {
                continue;
            }
            sid = ownerSid;
        }
        if (sid.empty()) {
            continue;
        }
        if (!rights.count(sid)) {
            order.push_back(sid);
        }
        rights[sid] |= inherited.getInt(1);
    }
    Stmt insert(db_, "INSERT INTO MSysACEs (ObjectId, SID, ACM, FInheritable) VALUES (?,?,?,0)");
    for (const std::string& sid : order) {
        insert.reset();
        insert.bind(1, id).bindBlob(2, sid.data(), sid.size()).bind(3, rights[sid]).run();
    }
}

bool Catalog::permissionsPresent() {
    const TableInfo* permissions = findTableInfo("MSysACEs");
    if (permissions == nullptr) {
        return false;
    }
    if (!rowsPresent(permissions->id) && tableNameSource_) {
        tableNameSource_(*permissions, true);  // reads them in
    }
    return true;
}

void Catalog::deleteMSysObject(std::string_view name, int64_t parentId) {
    if (!findTableInfo("MSysObjects")) {
        return;
    }
    Stmt query(db_, "SELECT rowid, Name FROM MSysObjects WHERE ParentId=?");
    query.bind(1, parentId);
    std::vector<int64_t> rowids;
    while (query.step()) {
        if (sameName(query.getText(1), name)) {
            rowids.push_back(query.getInt(0));
        }
    }
    const bool hasPermissions = permissionsPresent();
    for (int64_t rowid : rowids) {
        if (hasPermissions) {
            Stmt(db_,
                 "DELETE FROM MSysACEs WHERE ObjectId = (SELECT Id FROM MSysObjects WHERE rowid=?)")
                .bind(1, rowid)
                .run();
        }
        Stmt(db_, "DELETE FROM MSysObjects WHERE rowid=?").bind(1, rowid).run();
    }
}

void Catalog::touchMSysObject(int64_t id) {
    if (!findTableInfo("MSysObjects")) {
        return;
    }
    Stmt(db_, "UPDATE MSysObjects SET DateUpdate = " + std::string(kJetNowSql) + " WHERE Id=?")
        .bind(1, id)
        .run();
}

}  // namespace orvdb::engine
