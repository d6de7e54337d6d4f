#include "engine/catalog/catalog.hpp"

#include "engine/catalog/catalog_sql.hpp"
#include "engine/catalog/system_tables.hpp"
#include "engine/engine_error.hpp"
#include "engine/jet_errors.hpp"
#include "engine/store/sqlite_util.hpp"

#include <algorithm>
#include <set>

namespace orvdb::engine {

namespace {

constexpr std::string_view kHiddenSchema = R"sql(
CREATE TABLE _orv_meta(key TEXT PRIMARY KEY, value);
CREATE TABLE _orv_tables(id INTEGER PRIMARY KEY, name TEXT NOT NULL, stored TEXT NOT NULL,
  system INTEGER NOT NULL, last_auto INTEGER NOT NULL DEFAULT 0, position INTEGER NOT NULL);
CREATE TABLE _orv_columns(table_id INTEGER NOT NULL, ordinal INTEGER NOT NULL, name TEXT NOT NULL,
  type INTEGER NOT NULL, size INTEGER NOT NULL, auto INTEGER NOT NULL, required INTEGER NOT NULL,
  allow_zero INTEGER NOT NULL, compressed INTEGER NOT NULL, precision INTEGER NOT NULL,
  scale INTEGER NOT NULL, default_expr TEXT, seed INTEGER NOT NULL, step INTEGER NOT NULL,
  PRIMARY KEY(table_id, ordinal));
CREATE TABLE _orv_indexes(table_id INTEGER NOT NULL, ordinal INTEGER NOT NULL, name TEXT NOT NULL,
  columns TEXT NOT NULL, flags INTEGER NOT NULL, PRIMARY KEY(table_id, ordinal));
CREATE TABLE _orv_views(id INTEGER PRIMARY KEY, name TEXT NOT NULL, sql TEXT NOT NULL,
  kind INTEGER NOT NULL DEFAULT 1);
INSERT INTO _orv_meta VALUES ('format', 1), ('next_id', 16);
)sql";

// Index flags as stored in _orv_indexes.flags.
enum : int {
    kIxUnique = 1,
    kIxPrimary = 2,
    kIxIgnoreNulls = 4,
    kIxRequired = 8,
    kIxForeign = 16,
};

std::string encodeIndexColumns(const IndexDef& index) {
    std::string out;
    for (const auto& c : index.columns) {
        if (!out.empty()) {
            out += '\x1e';
        }
        out += c.column;
        out += '\x1f';
        out += c.descending ? 'D' : 'A';
    }
    return out;
}

std::vector<IndexColumn> decodeIndexColumns(const std::string& text) {
    std::vector<IndexColumn> out;
    size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        size_t end = text.find('\x1e', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string part = text.substr(start, end - start);
        size_t sep = part.rfind('\x1f');
        IndexColumn c;
        c.column = part.substr(0, sep);
        c.descending = sep != std::string::npos && part.substr(sep + 1) == "D";
        out.push_back(std::move(c));
        start = end + 1;
    }
    return out;
}

std::string storedNameFor(const std::string& name) {
    std::string folded = foldName(name);
    if (folded.rfind("sqlite_", 0) == 0 || folded.rfind("_orv_", 0) == 0) {
        return "orv_t_" + name;
    }
    return name;
}

}  // namespace

const ColumnDef* TableInfo::findColumn(std::string_view n) const {
    for (const auto& c : columns) {
        if (sameName(c.name, n)) {
            return &c;
        }
    }
    return nullptr;
}

const IndexDef* TableInfo::primaryKey() const {
    for (const auto& i : indexes) {
        if (i.primary) {
            return &i;
        }
    }
    return nullptr;
}

const ColumnDef* TableInfo::autoNumberColumn() const {
    for (const auto& c : columns) {
        if (c.autoNumber) {
            return &c;
        }
    }
    return nullptr;
}

std::string sqliteIndexName(const TableInfo& table, const IndexDef& index) {
    return "orvix_" + std::to_string(table.id) + "_" + foldName(index.name);
}

Catalog::Catalog(sqlite3* db) : db_(db) {}

bool Catalog::hasCatalog(sqlite3* db) {
    Stmt s(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name='_orv_tables'");
    return s.step();
}

void Catalog::initializeHidden() {
    execSql(db_, kHiddenSchema);
}

void Catalog::registerTable(const TableInfo& info) {
    execSql(db_, catalog_sql::createTableSql(info));
    Stmt ins(db_,
             "INSERT INTO _orv_tables (id, name, stored, system, last_auto, position) "
             "VALUES (?, ?, ?, ?, ?, (SELECT coalesce(max(position), 0) + 1 FROM _orv_tables))");
    ins.bind(1, info.id).bind(2, info.name).bind(3, info.storedName);
    ins.bind(4, int64_t{info.system}).bind(5, info.lastAutoNumber).run();
    saveTableDefinition(info);
}

void Catalog::registerSavedQuery(int64_t id, const std::string& name, const std::string& sql,
                                 QueryKind kind) {
    Stmt(db_, "INSERT INTO _orv_views (id, name, sql, kind) VALUES (?,?,?,?)")
        .bind(1, id)
        .bind(2, name)
        .bind(3, sql)
        .bind(4, int64_t{static_cast<uint8_t>(kind)})
        .run();
}

std::vector<std::string> Catalog::materializeIndexes() {
    std::vector<std::string> problems;
    for (const auto& t : tables_) {
        for (const auto& ix : t.indexes) {
            try {
                createSqliteIndex(t, ix);
            } catch (const EngineError& e) {
                problems.push_back("index '" + ix.name + "' of table '" + t.name +
                                   "': " + e.what());
            }
        }
    }
    return problems;
}

std::string Catalog::storedNameFor(const std::string& name) {
    return engine::storedNameFor(name);
}

void Catalog::load() {
    tables_.clear();
    views_.clear();
    relationships_.clear();
    tableIndex_.clear();
    {
        Stmt s(db_,
               "SELECT id, name, stored, system, last_auto FROM _orv_tables ORDER BY position");
        while (s.step()) {
            TableInfo t;
            t.id = s.getInt(0);
            t.name = s.getText(1);
            t.storedName = s.getText(2);
            t.system = s.getInt(3) != 0;
            t.lastAutoNumber = s.getInt(4);
            tables_.push_back(std::move(t));
        }
    }
    std::map<int64_t, TableInfo*> byId;
    for (size_t i = 0; i < tables_.size(); ++i) {
        byId[tables_[i].id] = &tables_[i];
        tableIndex_[foldName(tables_[i].name)] = i;
    }
    {
        Stmt s(db_,
               "SELECT table_id, name, type, size, auto, required, allow_zero, compressed, "
               "precision, scale, default_expr, seed, step FROM _orv_columns "
               "ORDER BY table_id, ordinal");
        while (s.step()) {
            auto it = byId.find(s.getInt(0));
            if (it == byId.end()) {
                continue;
            }
            ColumnDef c;
            c.name = s.getText(1);
            c.type = static_cast<JetType>(s.getInt(2));
            c.size = static_cast<int>(s.getInt(3));
            c.autoNumber = s.getInt(4) != 0;
            c.required = s.getInt(5) != 0;
            c.allowZeroLength = s.getInt(6) != 0;
            c.compressedUnicode = s.getInt(7) != 0;
            c.precision = static_cast<int>(s.getInt(8));
            c.scale = static_cast<int>(s.getInt(9));
            if (!s.isNull(10)) {
                c.defaultValue = s.getText(10);
            }
            c.autoSeed = s.getInt(11);
            c.autoStep = s.getInt(12);
            it->second->columns.push_back(std::move(c));
        }
    }
    {
        Stmt s(
            db_,
            "SELECT table_id, name, columns, flags FROM _orv_indexes ORDER BY table_id, ordinal");
        while (s.step()) {
            auto it = byId.find(s.getInt(0));
            if (it == byId.end()) {
                continue;
            }
            IndexDef ix;
            ix.name = s.getText(1);
            ix.columns = decodeIndexColumns(s.getText(2));
            int flags = static_cast<int>(s.getInt(3));
            ix.unique = flags & kIxUnique;
            ix.primary = flags & kIxPrimary;
            ix.ignoreNulls = flags & kIxIgnoreNulls;
            ix.required = flags & kIxRequired;
            ix.foreignKey = flags & kIxForeign;
            it->second->indexes.push_back(std::move(ix));
        }
    }
    {
        Stmt s(db_, "SELECT id, name, sql, kind FROM _orv_views ORDER BY id");
        while (s.step()) {
            views_.push_back(
                {s.getInt(0), s.getText(1), s.getText(2), static_cast<QueryKind>(s.getInt(3))});
        }
    }
    if (findTableInfo("MSysRelationships")) {
        Stmt s(db_,
               "SELECT szRelationship, grbit, icolumn, szObject, szColumn, szReferencedObject, "
               "szReferencedColumn FROM MSysRelationships ORDER BY rowid");
        std::map<std::string, size_t> byName;
        std::vector<std::pair<int64_t, size_t>> order;
        while (s.step()) {
            std::string name = s.getText(0);
            std::string key = foldName(name);
            auto found = byName.find(key);
            if (found == byName.end()) {
                Relationship r;
                r.name = name;
                r.grbit = static_cast<int32_t>(s.getInt(1));
                r.foreignTable = s.getText(3);
                r.primaryTable = s.getText(5);
                relationships_.push_back(std::move(r));
                found = byName.emplace(key, relationships_.size() - 1).first;
            }
            Relationship& r = relationships_[found->second];
            size_t pos = static_cast<size_t>(std::max<int64_t>(0, s.getInt(2)));
            if (r.foreignColumns.size() <= pos) {
                r.foreignColumns.resize(pos + 1);
                r.primaryColumns.resize(pos + 1);
            }
            r.foreignColumns[pos] = s.getText(4);
            r.primaryColumns[pos] = s.getText(6);
        }
    }
}

const TableInfo* Catalog::findTableInfo(std::string_view name) const {
    auto it = tableIndex_.find(foldName(name));
    return it == tableIndex_.end() ? nullptr : &tables_[it->second];
}

TableInfo* Catalog::mutableTable(std::string_view name) {
    auto it = tableIndex_.find(foldName(name));
    return it == tableIndex_.end() ? nullptr : &tables_[it->second];
}

TableInfo& Catalog::requireTable(std::string_view name) {
    TableInfo* t = mutableTable(name);
    if (!t) {
        throw EngineError(jet::tableNotFound(name));
    }
    return *t;
}

const ViewInfo* Catalog::findViewInfo(std::string_view name) const {
    std::string key = foldName(name);
    for (const auto& v : views_) {
        if (foldName(v.name) == key) {
            return &v;
        }
    }
    return nullptr;
}

std::vector<const TableInfo*> Catalog::tables() const {
    std::vector<const TableInfo*> out;
    for (const auto& t : tables_) {
        out.push_back(&t);
    }
    return out;
}

std::vector<const ViewInfo*> Catalog::views() const {
    std::vector<const ViewInfo*> out;
    for (const auto& v : views_) {
        out.push_back(&v);
    }
    return out;
}

std::vector<std::string> Catalog::userTableNames() const {
    std::vector<std::string> out;
    for (const auto& t : tables_) {
        if (!t.system) {
            out.push_back(t.name);
        }
    }
    return out;
}

std::optional<sql::ResolvedTable> Catalog::findTable(std::string_view name) const {
    const TableInfo* t = findTableInfo(name);
    if (!t) {
        return std::nullopt;
    }
    return sql::ResolvedTable{t->name, t->storedName, t->columns};
}

std::optional<sql::ResolvedView> Catalog::findView(std::string_view name) const {
    const ViewInfo* v = findViewInfo(name);
    // Only select, union and crosstab queries can be read from.
    if (!v || !v->returnsRows()) {
        return std::nullopt;
    }
    return sql::ResolvedView{v->name, v->sql};
}

void Catalog::checkNewObjectName(std::string_view name) const {
    jet::checkValidName(name);
    if (findTableInfo(name) || findViewInfo(name)) {
        throw EngineError("Table '" + std::string(name) + "' already exists.");
    }
}

int64_t Catalog::allocateObjectId() {
    Stmt get(db_, "SELECT value FROM _orv_meta WHERE key='next_id'");
    int64_t id = get.step() ? get.getInt(0) : 16;
    // Ids of objects must not collide with those a mirrored file brought.
    Stmt maxId(db_, "SELECT max(id) FROM _orv_tables");
    if (maxId.step() && !maxId.isNull(0)) {
        id = std::max(id, maxId.getInt(0) + 1);
    }
    Stmt maxView(db_, "SELECT max(id) FROM _orv_views");
    if (maxView.step() && !maxView.isNull(0)) {
        id = std::max(id, maxView.getInt(0) + 1);
    }
    // Nor with any other object of the file (forms, relationships, ...):
    // references to an id must stay unambiguous.
    if (findTableInfo("MSysObjects")) {
        Stmt maxObject(db_, "SELECT max(Id) FROM MSysObjects WHERE Id > 0 AND Id < ?");
        maxObject.bind(1, int64_t{kContainersId});
        if (maxObject.step() && !maxObject.isNull(0)) {
            id = std::max(id, maxObject.getInt(0) + 1);
        }
    }
    Stmt put(db_, "INSERT OR REPLACE INTO _orv_meta VALUES ('next_id', ?)");
    put.bind(1, id + 1).run();
    return id;
}

void Catalog::saveTableDefinition(const TableInfo& table) {
    Stmt(db_, "DELETE FROM _orv_columns WHERE table_id=?").bind(1, table.id).run();
    Stmt(db_, "DELETE FROM _orv_indexes WHERE table_id=?").bind(1, table.id).run();
    Stmt col(db_, "INSERT INTO _orv_columns VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    int ordinal = 0;
    for (const auto& c : table.columns) {
        col.reset();
        col.bind(1, table.id).bind(2, int64_t{ordinal++}).bind(3, c.name);
        col.bind(4, int64_t{static_cast<int>(c.type)}).bind(5, int64_t{c.size});
        col.bind(6, int64_t{c.autoNumber}).bind(7, int64_t{c.required});
        col.bind(8, int64_t{c.allowZeroLength}).bind(9, int64_t{c.compressedUnicode});
        col.bind(10, int64_t{c.precision}).bind(11, int64_t{c.scale});
        if (c.defaultValue) {
            col.bind(12, *c.defaultValue);
        } else {
            col.bindNull(12);
        }
        col.bind(13, c.autoSeed).bind(14, c.autoStep);
        col.run();
    }
    Stmt ix(db_, "INSERT INTO _orv_indexes VALUES (?,?,?,?,?)");
    ordinal = 0;
    for (const auto& i : table.indexes) {
        int flags = (i.unique ? kIxUnique : 0) | (i.primary ? kIxPrimary : 0) |
                    (i.ignoreNulls ? kIxIgnoreNulls : 0) | (i.required ? kIxRequired : 0) |
                    (i.foreignKey ? kIxForeign : 0);
        ix.reset();
        ix.bind(1, table.id).bind(2, int64_t{ordinal++}).bind(3, i.name);
        ix.bind(4, encodeIndexColumns(i)).bind(5, int64_t{flags});
        ix.run();
    }
}

void Catalog::insertMSysObject(int64_t id, int64_t parentId, std::string_view name, ObjectType type,
                               int64_t flags) {
    if (!findTableInfo("MSysObjects")) {
        return;
    }
    Stmt s(db_,
           "INSERT INTO MSysObjects (Id, ParentId, Name, Type, DateCreate, DateUpdate, Flags, "
           "Owner) VALUES (?, ?, ?, ?, julianday('now','localtime') - 2415018.5, "
           "julianday('now','localtime') - 2415018.5, ?, "
           "(SELECT Owner FROM MSysObjects WHERE Id = ?))");
    s.bind(1, id).bind(2, parentId).bind(3, name).bind(4, int64_t{::orvdb::jet::typeCode(type)});
    s.bind(5, flags).bind(6, int64_t{kDatabaseObjectId}).run();
    if (parentId == kTablesContainerId && findTableInfo("MSysACEs")) {
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
    std::string ownerSid = owner.step() && !owner.isNull(0) ? owner.getBlob(0) : std::string();
    Stmt inherited(db_,
                   "SELECT SID, ACM, EXISTS (SELECT 1 FROM MSysACEs AS d WHERE d.ObjectId = ? "
                   "AND d.SID = c.SID) FROM MSysACEs AS c WHERE c.ObjectId = ? AND "
                   "c.FInheritable <> 0 ORDER BY c.rowid");
    inherited.bind(1, int64_t{kDatabaseObjectId}).bind(2, int64_t{kTablesContainerId});
    while (inherited.step()) {
        std::string sid = inherited.isNull(0) ? std::string() : inherited.getBlob(0);
        if (inherited.getInt(2) == 0) {
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

void Catalog::deleteMSysObject(std::string_view name, int64_t parentId) {
    if (!findTableInfo("MSysObjects")) {
        return;
    }
    Stmt s(db_, "SELECT rowid, Name FROM MSysObjects WHERE ParentId=?");
    s.bind(1, parentId);
    std::vector<int64_t> rows;
    while (s.step()) {
        if (sameName(s.getText(1), name)) {
            rows.push_back(s.getInt(0));
        }
    }
    for (int64_t r : rows) {
        if (findTableInfo("MSysACEs")) {
            Stmt(db_,
                 "DELETE FROM MSysACEs WHERE ObjectId = (SELECT Id FROM MSysObjects WHERE rowid=?)")
                .bind(1, r)
                .run();
        }
        Stmt(db_, "DELETE FROM MSysObjects WHERE rowid=?").bind(1, r).run();
    }
}

void Catalog::touchMSysObject(int64_t id) {
    if (!findTableInfo("MSysObjects")) {
        return;
    }
    Stmt(db_,
         "UPDATE MSysObjects SET DateUpdate = julianday('now','localtime') - 2415018.5 "
         "WHERE Id=?")
        .bind(1, id)
        .run();
}

void Catalog::createTable(const std::string& name, std::vector<ColumnDef> columns,
                          std::vector<IndexDef> indexes, bool system) {
    checkNewObjectName(name);
    if (columns.empty()) {
        throw EngineError("Table '" + name + "' must have at least one field.");
    }
    std::set<std::string> seen;
    int autoCount = 0;
    for (auto& c : columns) {
        jet::checkValidName(c.name);
        if (!seen.insert(foldName(c.name)).second) {
            throw EngineError("Field '" + c.name + "' already exists in table '" + name + "'.");
        }
        if (c.autoNumber && ++autoCount > 1) {
            throw EngineError("Table '" + name + "' can have only one AutoNumber field.");
        }
    }
    if (columns.size() > 255) {
        throw EngineError("Too many fields defined.");
    }

    Savepoint sp(db_);
    TableInfo t;
    t.id = allocateObjectId();
    t.name = name;
    t.storedName = storedNameFor(name);
    t.system = system;
    t.columns = std::move(columns);
    execSql(db_, catalog_sql::createTableSql(t));
    Stmt ins(db_,
             "INSERT INTO _orv_tables (id, name, stored, system, last_auto, position) "
             "VALUES (?, ?, ?, ?, 0, (SELECT coalesce(max(position), 0) + 1 FROM _orv_tables))");
    ins.bind(1, t.id).bind(2, t.name).bind(3, t.storedName).bind(4, int64_t{system}).run();
    saveTableDefinition(t);
    tables_.push_back(t);
    tableIndex_[foldName(t.name)] = tables_.size() - 1;
    int64_t flags = system ? static_cast<int32_t>(::orvdb::jet::kSystemObjectFlags) : 0;
    insertMSysObject(t.id, kTablesContainerId, name, ObjectType::Table, flags);
    for (auto& ix : indexes) {
        createIndex(name, std::move(ix));
    }
    rebuildTriggers();
    sp.commit();
    load();
}

void Catalog::dropTable(std::string_view name) {
    if (!findTableInfo(name) && findViewInfo(name)) {
        dropView(name);
        return;
    }
    TableInfo& t = requireTable(name);
    for (const auto& r : relationships_) {
        if (sameName(r.foreignTable, t.name) || sameName(r.primaryTable, t.name)) {
            throw EngineError(
                "Cannot delete this index or table.  It is either the current index or is used "
                "in a relationship. (table '" +
                t.name + "', relationship '" + r.name + "')");
        }
    }
    Savepoint sp(db_);
    execSql(db_, "DROP TABLE " + quoteIdent(t.storedName));
    Stmt(db_, "DELETE FROM _orv_tables WHERE id=?").bind(1, t.id).run();
    Stmt(db_, "DELETE FROM _orv_columns WHERE table_id=?").bind(1, t.id).run();
    Stmt(db_, "DELETE FROM _orv_indexes WHERE table_id=?").bind(1, t.id).run();
    deleteMSysObject(t.name, kTablesContainerId);
    if (findTableInfo("MSysACEs")) {
        Stmt(db_, "DELETE FROM MSysACEs WHERE ObjectId=?").bind(1, t.id).run();
    }
    sp.commit();
    load();
    rebuildTriggers();
}

void Catalog::addColumn(std::string_view table, ColumnDef column) {
    TableInfo& t = requireTable(table);
    jet::checkValidName(column.name);
    if (t.findColumn(column.name)) {
        throw EngineError("Field '" + column.name + "' already exists in table '" + t.name + "'.");
    }
    if (column.autoNumber && t.autoNumberColumn()) {
        throw EngineError("Table '" + t.name + "' can have only one AutoNumber field.");
    }
    if (t.columns.size() >= 255) {
        throw EngineError("Too many fields defined.");
    }
    Savepoint sp(db_);
    execSql(db_, "ALTER TABLE " + quoteIdent(t.storedName) + " ADD COLUMN " +
                     catalog_sql::columnSql(column));
    if (column.autoNumber) {
        // Existing rows are numbered in table order, as Jet does.
        Stmt rows(db_, "SELECT rowid FROM " + quoteIdent(t.storedName) + " ORDER BY rowid");
        std::vector<int64_t> ids;
        while (rows.step()) {
            ids.push_back(rows.getInt(0));
        }
        Stmt upd(db_, "UPDATE " + quoteIdent(t.storedName) + " SET " + quoteIdent(column.name) +
                          "=? WHERE rowid=?");
        int64_t value = t.lastAutoNumber;
        for (int64_t id : ids) {
            value = value == 0 ? column.autoSeed : value + column.autoStep;
            upd.reset();
            upd.bind(1, value).bind(2, id).run();
        }
        t.lastAutoNumber = value;
        Stmt(db_, "UPDATE _orv_tables SET last_auto=? WHERE id=?")
            .bind(1, value)
            .bind(2, t.id)
            .run();
    } else if (column.type == JetType::Boolean) {
        execSql(db_,
                "UPDATE " + quoteIdent(t.storedName) + " SET " + quoteIdent(column.name) + " = 0");
    }
    if (column.required) {
        Stmt nulls(db_, "SELECT 1 FROM " + quoteIdent(t.storedName) + " WHERE " +
                            quoteIdent(column.name) + " IS NULL LIMIT 1");
        if (nulls.step()) {
            throw EngineError(jet::requiredNull(t.name, column.name));
        }
    }
    t.columns.push_back(std::move(column));
    saveTableDefinition(t);
    touchMSysObject(t.id);
    rebuildTriggers();
    sp.commit();
    load();
}

void Catalog::alterColumn(std::string_view table, ColumnDef column) {
    TableInfo& t = requireTable(table);
    auto it = std::find_if(t.columns.begin(), t.columns.end(),
                           [&](const ColumnDef& c) { return sameName(c.name, column.name); });
    if (it == t.columns.end()) {
        throw EngineError(jet::fieldNotFound(t.name, column.name));
    }
    if (column.autoNumber && !it->autoNumber) {
        const ColumnDef* other = t.autoNumberColumn();
        if (other && !sameName(other->name, column.name)) {
            throw EngineError("Table '" + t.name + "' can have only one AutoNumber field.");
        }
    }
    column.name = it->name;
    Savepoint sp(db_);
    // Existing values are converted; one that cannot be makes the whole
    // statement fail.
    try {
        execSql(db_, "UPDATE " + quoteIdent(t.storedName) + " SET " + quoteIdent(column.name) +
                         " = jet_coerce(" + quoteIdent(column.name) + ", " +
                         std::to_string(static_cast<int>(column.type)) + ", " +
                         std::to_string(column.size) + ", " +
                         quoteText(t.name + "." + column.name) + ")");
    } catch (const EngineError& e) {
        throw EngineError(std::string("Data type conversion error. (field '") + t.name + "." +
                          column.name + "': " + e.what() + ")");
    }
    if (column.autoNumber) {
        // An autonumber column must hold distinct values: number the rows that have none.
        Stmt mx(db_,
                "SELECT max(" + quoteIdent(column.name) + ") FROM " + quoteIdent(t.storedName));
        int64_t last = mx.step() && !mx.isNull(0) ? mx.getInt(0) : 0;
        Stmt rows(db_, "SELECT rowid FROM " + quoteIdent(t.storedName) + " WHERE " +
                           quoteIdent(column.name) + " IS NULL ORDER BY rowid");
        std::vector<int64_t> ids;
        while (rows.step()) {
            ids.push_back(rows.getInt(0));
        }
        Stmt upd(db_, "UPDATE " + quoteIdent(t.storedName) + " SET " + quoteIdent(column.name) +
                          "=? WHERE rowid=?");
        for (int64_t id : ids) {
            last = last == 0 ? column.autoSeed : last + column.autoStep;
            upd.reset();
            upd.bind(1, last).bind(2, id).run();
        }
        // Declaring a counter again restarts it after the highest value present.
        t.lastAutoNumber = last;
        Stmt(db_, "UPDATE _orv_tables SET last_auto=? WHERE id=?")
            .bind(1, t.lastAutoNumber)
            .bind(2, t.id)
            .run();
    }
    if (column.required) {
        Stmt nulls(db_, "SELECT 1 FROM " + quoteIdent(t.storedName) + " WHERE " +
                            quoteIdent(column.name) + " IS NULL LIMIT 1");
        if (nulls.step()) {
            throw EngineError(jet::requiredNull(t.name, column.name));
        }
    }
    *it = std::move(column);
    saveTableDefinition(t);
    // Indexes on the column are rebuilt (their uniqueness is checked again).
    for (const auto& ix : t.indexes) {
        dropSqliteIndex(t, ix);
        createSqliteIndex(t, ix);
    }
    touchMSysObject(t.id);
    rebuildTriggers();
    sp.commit();
    load();
}

void Catalog::dropColumn(std::string_view table, std::string_view column) {
    TableInfo& t = requireTable(table);
    const ColumnDef* c = t.findColumn(column);
    if (!c) {
        throw EngineError(jet::fieldNotFound(t.name, column));
    }
    for (const auto& ix : t.indexes) {
        for (const auto& ic : ix.columns) {
            if (sameName(ic.column, column)) {
                throw EngineError(
                    "Cannot delete a field that is part of an index or is needed by the system. "
                    "(field '" +
                    t.name + "." + c->name + "', index '" + ix.name + "')");
            }
        }
    }
    for (const auto& r : relationships_) {
        auto uses = [&](const std::string& tbl, const std::vector<std::string>& cols) {
            if (!sameName(tbl, t.name)) {
                return false;
            }
            for (const auto& rc : cols) {
                if (sameName(rc, column)) {
                    return true;
                }
            }
            return false;
        };
        if (uses(r.foreignTable, r.foreignColumns) || uses(r.primaryTable, r.primaryColumns)) {
            throw EngineError(
                "Cannot delete this field.  It is part of one or more relationships. "
                "(field '" +
                t.name + "." + c->name + "')");
        }
    }
    if (t.columns.size() == 1) {
        throw EngineError("Cannot delete the only field of table '" + t.name + "'.");
    }
    std::string name = c->name;
    Savepoint sp(db_);
    // Triggers may name the column; they are generated again afterwards.
    catalog_sql::dropTableTriggers(db_, t);
    execSql(db_, "ALTER TABLE " + quoteIdent(t.storedName) + " DROP COLUMN " + quoteIdent(name));
    t.columns.erase(std::remove_if(t.columns.begin(), t.columns.end(),
                                   [&](const ColumnDef& x) { return x.name == name; }),
                    t.columns.end());
    saveTableDefinition(t);
    touchMSysObject(t.id);
    rebuildTriggers();
    sp.commit();
    load();
}

namespace {

bool sameIndexColumns(const IndexDef& a, const IndexDef& b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (!sameName(a.columns[i].column, b.columns[i].column) ||
            a.columns[i].descending != b.columns[i].descending) {
            return false;
        }
    }
    return true;
}

}  // namespace

// A non-unique index adds nothing SQLite needs when another index of the
// table begins with the same columns in the same directions: lookups use
// that one. Access files have many (the index of a foreign key beside the
// primary key that starts with the same column), and building them all
// would double the time a file takes to open. Of identical ones the first
// is kept.
bool Catalog::lookupCoveredByAnother(const TableInfo& table, const IndexDef& index) const {
    if (index.unique || index.primary) {
        return false;
    }
    bool seenSelf = false;
    for (const auto& other : table.indexes) {
        if (&other == &index || sameName(other.name, index.name)) {
            seenSelf = true;
            continue;
        }
        if (other.columns.size() < index.columns.size() ||
            !sameIndexColumns(other, index, index.columns.size())) {
            continue;
        }
        // A partial index serves only the rows it holds.
        if (other.ignoreNulls &&
            !(index.ignoreNulls && other.columns.size() == index.columns.size())) {
            continue;
        }
        bool identical = other.columns.size() == index.columns.size() && !other.unique &&
                         !other.primary && other.ignoreNulls == index.ignoreNulls;
        if (!identical || !seenSelf) {
            return true;
        }
    }
    return false;
}

void Catalog::restoreLookupIndexes(const TableInfo& table) {
    for (const auto& ix : table.indexes) {
        if (!lookupCoveredByAnother(table, ix)) {
            execSql(db_, catalog_sql::createIndexSql(table, ix, sqliteIndexName(table, ix), true));
        }
    }
}

void Catalog::createSqliteIndex(const TableInfo& table, const IndexDef& index) {
    if (lookupCoveredByAnother(table, index)) {
        return;
    }
    try {
        execSql(db_, catalog_sql::createIndexSql(table, index, sqliteIndexName(table, index)));
    } catch (const EngineError& e) {
        throw EngineError(jet::translateSqliteError(e.what()));
    }
}

void Catalog::dropSqliteIndex(const TableInfo& table, const IndexDef& index) {
    execSql(db_, "DROP INDEX IF EXISTS " + quoteIdent(sqliteIndexName(table, index)));
}

void Catalog::createIndex(std::string_view table, IndexDef index) {
    TableInfo& t = requireTable(table);
    jet::checkValidName(index.name);
    for (const auto& ix : t.indexes) {
        if (sameName(ix.name, index.name)) {
            throw EngineError("Table '" + t.name + "' already has an index named '" + index.name +
                              "'.");
        }
    }
    if (index.primary && t.primaryKey()) {
        throw EngineError("Primary key already exists.");
    }
    if (index.columns.empty() || index.columns.size() > 10) {
        throw EngineError("An index must have between 1 and 10 fields. (index '" + index.name +
                          "')");
    }
    for (auto& ic : index.columns) {
        const ColumnDef* c = t.findColumn(ic.column);
        if (!c) {
            throw EngineError(jet::fieldNotFound(t.name, ic.column));
        }
        if (c->type == JetType::Memo || c->type == JetType::OLE) {
            throw EngineError("Cannot create an index on the Memo or OLE field '" + c->name + "'.");
        }
        ic.column = c->name;
    }
    if (index.primary) {
        index.unique = true;
    }
    Savepoint sp(db_);
    if (index.primary || index.required) {
        for (const auto& ic : index.columns) {
            Stmt nulls(db_, "SELECT 1 FROM " + quoteIdent(t.storedName) + " WHERE " +
                                quoteIdent(ic.column) + " IS NULL LIMIT 1");
            if (nulls.step()) {
                throw EngineError("Index or primary key cannot contain a Null value.");
            }
        }
    }
    createSqliteIndex(t, index);
    t.indexes.push_back(std::move(index));
    saveTableDefinition(t);
    touchMSysObject(t.id);
    rebuildTriggers();
    sp.commit();
    load();
}

void Catalog::dropIndex(std::string_view table, std::string_view name) {
    TableInfo& t = requireTable(table);
    auto it = std::find_if(t.indexes.begin(), t.indexes.end(),
                           [&](const IndexDef& i) { return sameName(i.name, name); });
    if (it == t.indexes.end()) {
        throw EngineError("'" + std::string(name) + "' isn't an index in table '" + t.name + "'.");
    }
    for (const auto& r : relationships_) {
        if (it->primary && sameName(r.primaryTable, t.name)) {
            throw EngineError(
                "Cannot delete this index or table.  It is either the current index or is used "
                "in a relationship. (index '" +
                it->name + "', relationship '" + r.name + "')");
        }
    }
    Savepoint sp(db_);
    dropSqliteIndex(t, *it);
    t.indexes.erase(it);
    restoreLookupIndexes(t);
    saveTableDefinition(t);
    touchMSysObject(t.id);
    rebuildTriggers();
    sp.commit();
    load();
}

void Catalog::checkRelationshipHolds(const Relationship& rel) {
    const TableInfo* child = findTableInfo(rel.foreignTable);
    const TableInfo* parent = findTableInfo(rel.primaryTable);
    std::string sql = "SELECT 1 FROM " + quoteIdent(child->storedName) + " AS c WHERE ";
    std::string notNull, match;
    for (size_t i = 0; i < rel.foreignColumns.size(); ++i) {
        if (i) {
            notNull += " AND ";
            match += " AND ";
        }
        notNull += "c." + quoteIdent(rel.foreignColumns[i]) + " IS NOT NULL";
        match += "p." + quoteIdent(rel.primaryColumns[i]) + " = c." +
                 quoteIdent(rel.foreignColumns[i]) + " COLLATE JETTEXT";
    }
    sql += notNull + " AND NOT EXISTS (SELECT 1 FROM " + quoteIdent(parent->storedName) +
           " AS p WHERE " + match + ") LIMIT 1";
    Stmt s(db_, sql);
    if (s.step()) {
        throw EngineError("Data in the table '" + child->name +
                          "' violates referential integrity rules. (relationship '" + rel.name +
                          "' to table '" + parent->name + "')");
    }
}

void Catalog::saveRelationship(const Relationship& rel) {
    Stmt s(db_,
           "INSERT INTO MSysRelationships (ccolumn, grbit, icolumn, szColumn, szObject, "
           "szReferencedColumn, szReferencedObject, szRelationship) VALUES (?,?,?,?,?,?,?,?)");
    for (size_t i = 0; i < rel.foreignColumns.size(); ++i) {
        s.reset();
        s.bind(1, static_cast<int64_t>(rel.foreignColumns.size()))
            .bind(2, int64_t{rel.grbit})
            .bind(3, static_cast<int64_t>(i))
            .bind(4, rel.foreignColumns[i])
            .bind(5, rel.foreignTable)
            .bind(6, rel.primaryColumns[i])
            .bind(7, rel.primaryTable)
            .bind(8, rel.name);
        s.run();
    }
}

void Catalog::addRelationship(Relationship rel) {
    TableInfo& child = requireTable(rel.foreignTable);
    TableInfo& parent = requireTable(rel.primaryTable);
    rel.foreignTable = child.name;
    rel.primaryTable = parent.name;
    jet::checkValidName(rel.name);
    for (const auto& r : relationships_) {
        if (sameName(r.name, rel.name)) {
            throw EngineError("Relationship '" + rel.name + "' already exists.");
        }
    }
    // Without referenced columns the primary key is meant.
    if (rel.primaryColumns.empty()) {
        const IndexDef* pk = parent.primaryKey();
        if (!pk) {
            throw EngineError(
                "No unique index found for the referenced field of the primary table.");
        }
        for (const auto& c : pk->columns) {
            rel.primaryColumns.push_back(c.column);
        }
    }
    if (rel.primaryColumns.size() != rel.foreignColumns.size()) {
        throw EngineError("Syntax error in CONSTRAINT clause.");
    }
    for (auto& c : rel.foreignColumns) {
        const ColumnDef* col = child.findColumn(c);
        if (!col) {
            throw EngineError(jet::fieldNotFound(child.name, c));
        }
        c = col->name;
    }
    for (auto& c : rel.primaryColumns) {
        const ColumnDef* col = parent.findColumn(c);
        if (!col) {
            throw EngineError(jet::fieldNotFound(parent.name, c));
        }
        c = col->name;
    }
    // The referenced columns must carry a unique index (in any order).
    bool uniqueFound = false;
    for (const auto& ix : parent.indexes) {
        if (!ix.unique || ix.columns.size() != rel.primaryColumns.size()) {
            continue;
        }
        bool all = true;
        for (const auto& pc : rel.primaryColumns) {
            bool in = false;
            for (const auto& ic : ix.columns) {
                in = in || sameName(ic.column, pc);
            }
            all = all && in;
        }
        uniqueFound = uniqueFound || all;
    }
    if (!uniqueFound) {
        throw EngineError(
            "No unique index found for the referenced field of the primary table. "
            "(table '" +
            parent.name + "')");
    }
    Savepoint sp(db_);
    if (!(rel.grbit & relationship_flags::kNoIntegrity)) {
        checkRelationshipHolds(rel);
    }
    saveRelationship(rel);
    // Jet keeps an index on the foreign key columns of the referring table.
    IndexDef fk;
    fk.name = rel.name;
    fk.foreignKey = true;
    for (const auto& c : rel.foreignColumns) {
        fk.columns.push_back({c, false});
    }
    bool nameTaken = false;
    for (const auto& ix : child.indexes) {
        nameTaken = nameTaken || sameName(ix.name, fk.name);
    }
    if (!nameTaken) {
        createSqliteIndex(child, fk);
        child.indexes.push_back(fk);
        saveTableDefinition(child);
    }
    insertMSysObject(allocateObjectId(), kRelationshipsContainerId, rel.name,
                     ObjectType::Relationship, 0);
    relationships_.push_back(rel);
    rebuildTriggers();
    sp.commit();
    load();
}

void Catalog::dropConstraint(std::string_view table, std::string_view name) {
    TableInfo& t = requireTable(table);
    for (const auto& r : relationships_) {
        if (!sameName(r.name, name)) {
            continue;
        }
        Savepoint sp(db_);
        std::string relName = r.name;
        Stmt del(db_, "SELECT rowid, szRelationship FROM MSysRelationships");
        std::vector<int64_t> rows;
        while (del.step()) {
            if (sameName(del.getText(1), relName)) {
                rows.push_back(del.getInt(0));
            }
        }
        for (int64_t row : rows) {
            Stmt(db_, "DELETE FROM MSysRelationships WHERE rowid=?").bind(1, row).run();
        }
        deleteMSysObject(relName, kRelationshipsContainerId);
        TableInfo* child = mutableTable(r.foreignTable);
        if (child) {
            auto it = std::find_if(
                child->indexes.begin(), child->indexes.end(),
                [&](const IndexDef& i) { return i.foreignKey && sameName(i.name, relName); });
            if (it != child->indexes.end()) {
                dropSqliteIndex(*child, *it);
                child->indexes.erase(it);
                restoreLookupIndexes(*child);
                saveTableDefinition(*child);
            }
        }
        load();
        rebuildTriggers();
        sp.commit();
        return;
    }
    for (const auto& ix : t.indexes) {
        if (sameName(ix.name, name)) {
            dropIndex(table, name);
            return;
        }
    }
    throw EngineError("CHECK constraint '" + std::string(name) + "' does not exist. (table '" +
                      t.name + "')");
}

void Catalog::createView(const std::string& name, const std::string& sql) {
    checkNewObjectName(name);
    Savepoint sp(db_);
    int64_t id = allocateObjectId();
    Stmt(db_, "INSERT INTO _orv_views (id, name, sql) VALUES (?,?,?)")
        .bind(1, id)
        .bind(2, name)
        .bind(3, sql)
        .run();
    SavedQueryDefinition definition = savedQueryDefinition(sql);
    Stmt(db_, "UPDATE _orv_views SET kind=? WHERE id=?")
        .bind(1, int64_t{static_cast<uint8_t>(definition.kind)})
        .bind(2, id)
        .run();
    insertMSysObject(id, kTablesContainerId, name, ObjectType::Query,
                     ::orvdb::jet::queryObjectFlags(definition.kind));
    writeQueryRows(*this, db_, id, definition.rows);
    sp.commit();
    load();
}

void Catalog::dropView(std::string_view name) {
    const ViewInfo* v = findViewInfo(name);
    if (!v) {
        throw EngineError(jet::tableNotFound(name));
    }
    Savepoint sp(db_);
    int64_t id = v->id;
    std::string viewName = v->name;
    Stmt(db_, "DELETE FROM _orv_views WHERE id=?").bind(1, id).run();
    if (findTableInfo("MSysQueries")) {
        Stmt(db_, "DELETE FROM MSysQueries WHERE ObjectId=?").bind(1, id).run();
    }
    deleteMSysObject(viewName, kTablesContainerId);
    sp.commit();
    load();
}

void Catalog::rebuildTriggers() {
    for (const auto& t : tables_) {
        catalog_sql::dropTableTriggers(db_, t);
        for (const auto& sql : catalog_sql::triggerSql(t, *this)) {
            execSql(db_, sql);
        }
    }
}

int64_t Catalog::nextAutoNumber(std::string_view storedName) {
    for (auto& t : tables_) {
        if (t.storedName != storedName) {
            continue;
        }
        const ColumnDef* c = t.autoNumberColumn();
        int64_t step = c ? c->autoStep : 1;
        int64_t seed = c ? c->autoSeed : 1;
        t.lastAutoNumber = t.lastAutoNumber == 0 && seed != 0 ? seed : t.lastAutoNumber + step;
        if (t.lastAutoNumber > INT32_MAX) {
            throw EngineError("Overflow");
        }
        dirtyCounters_[t.storedName] = t.lastAutoNumber;
        return t.lastAutoNumber;
    }
    throw EngineError("No table '" + std::string(storedName) + "' for an AutoNumber value.");
}

void Catalog::noteAutoNumber(std::string_view storedName, int64_t value) {
    for (auto& t : tables_) {
        if (t.storedName != storedName) {
            continue;
        }
        if (value > t.lastAutoNumber) {
            t.lastAutoNumber = value;
            dirtyCounters_[t.storedName] = value;
        }
        return;
    }
}

void Catalog::flushAutoNumbers() {
    if (dirtyCounters_.empty()) {
        return;
    }
    if (counterUpdate_.handle() == nullptr) {
        counterUpdate_ = Stmt(db_, "UPDATE _orv_tables SET last_auto=? WHERE id=?");
    }
    for (const auto& entry : dirtyCounters_) {
        // By id: a rowid seek rather than a scan of the catalog's table.
        const std::string& stored = entry.first;
        auto t = std::find_if(tables_.begin(), tables_.end(),
                              [&](const TableInfo& info) { return info.storedName == stored; });
        if (t == tables_.end()) {
            continue;
        }
        counterUpdate_.reset();
        counterUpdate_.bind(1, entry.second).bind(2, t->id).run();
    }
    counterUpdate_.reset();
    dirtyCounters_.clear();
}

}  // namespace orvdb::engine
